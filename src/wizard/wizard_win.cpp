// The wizard window: creation, close, minimise, the licence panel, licence
// acceptance and folder browsing.
#include <windows.h>
#include <objbase.h>

#include <cstdlib>

#include "app/installer_state.h"
#include "app/message_box.h"
#include "app/message_loop.h"
#include "skin/caption_buttons.h"
#include "skin/drop_shadow.h"
#include "skin/png_loader.h"
#include "wizard/wizard.h"
#include "wizard/wizard_form.h"

extern const unsigned char banner_data[];
extern const unsigned banner_data_size;
extern const unsigned char button_normal_data[];
extern const unsigned button_normal_data_size;
extern const unsigned char button_hot_data[];
extern const unsigned button_hot_data_size;

namespace setup {

namespace {

ui::Form* g_wizard = nullptr;

const Text& AppName() {
  return State().app_info.agent_app.app_name;
}

ImageHandle LoadEmbedded(const unsigned char* data, unsigned size) {
  return LoadImageFromBytes(Bytes(data, data + size));
}

// The art carried by the form: the banner and the large buttons' pictures.
void LoadArt(ui::Form& form) {
  form.SetPictures("图片框1", LoadEmbedded(banner_data, banner_data_size), nullptr);
  const ImageHandle normal = LoadEmbedded(button_normal_data, button_normal_data_size);
  const ImageHandle hot = LoadEmbedded(button_hot_data, button_hot_data_size);
  for (const ui::ControlEntry& c : WizardForm().controls)
    if (c.flags & ui::kLargePictures) form.SetPictures(c.name, normal, hot);
}

void OnCreate() {
  ui::Form& w = Wizard();
  AttachShadow(w.window(), 0x808080);
  SkinCaptionButtons(w.Handle("图片框_关闭按钮"), w.Handle("图片框_最小化按钮"));
  w.SetWidth(600);
  w.SetHeight(430);
  w.SetCaption(AppName());
  w.SetText("标题W", AppName());
  w.SetText("编辑框_安装文件夹", "C:\\" + AppName() + "\\");
}

void OnClose() {
  if (WizardMessage("你真的要退出安装程序吗？", kCaptionNotice, MB_OKCANCEL | MB_ICONQUESTION) ==
      IDOK)
    std::exit(0);  // a running download ends with the process; the exit routine runs
}

void OnMinimise() {
  Wizard().Minimise();
}

void OnShowLicence() {
  Wizard().SetVisible("外形框2", true);
  Wizard().SetLeft("外形框2", 0);
  Wizard().SetTop("外形框2", 0);
}

void OnHideLicence() {
  Wizard().SetVisible("外形框2", false);
}

void OnAcceptance() {
  const bool accepted = Wizard().Checked("选择框_许可协议");
  Wizard().SetDisabled("超级按钮_安装", !accepted);
  Wizard().SetNormalBackColor("超级按钮_安装", accepted ? kBlue : kGreyed);
}

void OnBrowse() {
  Text base = ui::BrowseForFolder(Wizard().window(), "选择安装目录：");
  if (base.empty()) {
    base = "C:\\";
  } else if (!EndsWithChar(base, '\\')) {
    base += "\\";
  }
  Wizard().SetText("编辑框_安装文件夹", base + AppName() + "\\");
}

bool FilterWizardMessages(MSG* msg) {
  return g_wizard && g_wizard->FilterMessage(msg);
}

}  // namespace

ui::Form& Wizard() {
  return *g_wizard;
}

int WizardMessage(const Text& text, const Text& caption, unsigned style) {
  return ShowMessage(text, caption, style, g_wizard ? g_wizard->window() : nullptr);
}

void RegisterWindowHandlers(ui::Form& form) {
  form.OnLoadArt(LoadArt);
  form.OnCreate(OnCreate);
  form.OnClick("图片框_关闭按钮", OnClose);
  form.OnClick("图片框_最小化按钮", OnMinimise);
  form.OnLeftButtonDown("透明标签_用户协议", OnShowLicence);
  form.OnClick("超级按钮_返回", OnHideLicence);
  form.OnClick("选择框_许可协议", OnAcceptance);
  form.OnClick("超级按钮_浏览", OnBrowse);
}

bool OpenWizard() {
  // The folder browser and the shortcut object want COM on this thread.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  static ui::Form form;
  g_wizard = &form;
  RegisterWindowHandlers(form);
  RegisterInstallRunHandlers(form);
  RegisterProvisioningHandlers(form);
  RegisterRecoveryHandlers(form);
  SetMessageFilter(FilterWizardMessages);
  return form.Create(WizardForm());
}

}  // namespace setup
