#include "wizard/wizard_form.h"

extern const unsigned char licence_text_data[];

namespace setup {

using ui::ButtonScheme;
using ui::ControlEntry;
using ui::FontKind;
using ui::Kind;
using ui::kNoColor;

namespace {

constexpr ButtonScheme kBlueScheme = {kWhite, kBlue, kBlueHot, kBlue};
constexpr ButtonScheme kPlainScheme = {0x000000, kWhite, 0xECECEC, kWhite};
constexpr ButtonScheme kNoScheme = {0, 0, 0, 0};

ui::FormLayout MakeWizardForm() {
  ui::FormLayout w;
  w.name = "窗口";
  w.designLeft = 50;
  w.designTop = 50;
  w.designWidth = 602;
  w.designHeight = 480;
  w.background = kWhite;
  w.pages = {"安装", "安装中", "安装完成", "安装失败"};
  w.childrenTopDown = {"图片框_关闭按钮", "图片框_最小化按钮", "标题W",
                       "外形框2",         "选择夹1",           "图片框1"};
  const uint32_t none = 0;
  w.controls = {
      // Siblings are listed topmost first: a frame comes after the button it surrounds.
      // The window's own children.
      {"图片框_关闭按钮", Kind::kPushButton, nullptr, -1, 567, 3, 24, 24, "", FontKind::kNone,
       kNoColor, kNoColor, kNoColor, none, kNoScheme},
      {"图片框_最小化按钮", Kind::kPushButton, nullptr, -1, 541, 3, 24, 24, "", FontKind::kNone,
       kNoColor, kNoColor, kNoColor, none, kNoScheme},
      {"标题W", Kind::kTransparentLabel, nullptr, -1, 13, 8, 120, 16, "原始安装包",
       FontKind::kSmall, kWhite, kNoColor, kNoColor, ui::kDisabled, kNoScheme},
      {"外形框2", Kind::kShapeBox, nullptr, -1, 608, 0, 600, 432, "", FontKind::kNone, kNoColor,
       kBlue, kNoColor, none, kNoScheme},
      {"编辑框1", Kind::kEditBox, "外形框2", -1, 48, 48, 504, 328, LicenceText(),
       FontKind::kSystemGui, 0x000000, kWhite, kNoColor,
       ui::kMultiLine | ui::kVerticalScroll | ui::kSunken, kNoScheme},
      {"外形框3", Kind::kShapeBox, "外形框2", -1, 275, 392, 50, 26, "", FontKind::kNone, kNoColor,
       kNoColor, kFrameGrey, none, kNoScheme},
      {"超级按钮_返回", Kind::kImageButton, "外形框3", -1, 1, 1, 48, 24, "返回", FontKind::kSmall,
       kNoColor, kNoColor, kNoColor, none, kBlueScheme},
      {"选择夹1", Kind::kPageContainer, nullptr, -1, 0, 300, 600, 180, "", FontKind::kNone,
       kNoColor, kNoColor, kNoColor, none, kNoScheme},
      {"图片框1", Kind::kPictureBox, nullptr, -1, 0, 0, 600, 300, "banner", FontKind::kNone,
       kNoColor, kNoColor, kNoColor, none, kNoScheme},
      // Page 0 "安装".
      {"标签2", Kind::kLabel, "选择夹1", kPageInstall, 384, 108, 80, 24, "", FontKind::kNone,
       kNoColor, kNoColor, kNoColor, ui::kHidden, kNoScheme},
      {"超级按钮_浏览", Kind::kImageButton, "选择夹1", kPageInstall, 506, 9, 48, 24, "浏览",
       FontKind::kSmall, kNoColor, kNoColor, kNoColor, none, kPlainScheme},
      {"外形框4", Kind::kShapeBox, "选择夹1", kPageInstall, 505, 8, 50, 26, "", FontKind::kNone,
       kNoColor, kNoColor, kFrameGrey, none, kNoScheme},
      {"编辑框_安装文件夹", Kind::kEditBox, "选择夹1", kPageInstall, 54, 8, 444, 25,
       "C:\\Program Files (x86)\\", FontKind::kSmall, 0x000000, kWhite, kNoColor,
       ui::kReadOnly | ui::kSunken, kNoScheme},
      {"透明标签_用户协议", Kind::kTransparentLabel, "选择夹1", kPageInstall, 116, 99, 112, 24,
       "用户使用许可协议", FontKind::kSmall, kBlue, kNoColor, kNoColor, none, kNoScheme},
      {"选择框_许可协议", Kind::kCheckBox, "选择夹1", kPageInstall, 24, 99, 92, 24, "已阅读并同意",
       FontKind::kSmall, 0x000000, kWhite, kNoColor, ui::kChecked | ui::kVCenter, kNoScheme},
      {"超级按钮_安装", Kind::kImageButton, "选择夹1", kPageInstall, 170, 51, 260, 35, "开始安装",
       FontKind::kLarge, kNoColor, kNoColor, kNoColor, ui::kLargePictures, kBlueScheme},
      // Page 1 "安装中".
      {"进度条1", Kind::kProgressBar, "选择夹1", kPageInstalling, -1, -2, 602, 18, "",
       FontKind::kNone, kNoColor, kNoColor, kNoColor, ui::kSmooth, kNoScheme},
      {"透明标签_安装中", Kind::kTransparentLabel, "选择夹1", kPageInstalling, 214, 57, 178, 32,
       "与服务器连接中..", FontKind::kLarge, kStatusGrey, kNoColor, kNoColor, none, kNoScheme},
      // Page 2 "安装完成".
      {"超级按钮_运行", Kind::kImageButton, "选择夹1", kPageDone, 170, 72, 260, 35, "运  行",
       FontKind::kLarge, kNoColor, kNoColor, kNoColor, ui::kLargePictures, kBlueScheme},
      {"透明标签_安装中1", Kind::kTransparentLabel, "选择夹1", kPageDone, 265, 31, 69, 32,
       "安装完成", FontKind::kLarge, kStatusGrey, kNoColor, kNoColor, none, kNoScheme},
      // Page 3 "安装失败".
      {"通用对话框1", Kind::kOpenFileDialog, "选择夹1", kPageFailed, 8, 8, 26, 26, "",
       FontKind::kNone, kNoColor, kNoColor, kNoColor, none, kNoScheme},
      {"透明标签_安装中3", Kind::kTransparentLabel, "选择夹1", kPageFailed, 56, 88, 480, 32,
       "智能安装失败，请点击手动下载程序文件，并按照提示进行手动安装。", FontKind::kLarge, 0x0000FF,
       kNoColor, kNoColor, ui::kUnderline | ui::kHandCursor, kNoScheme},
      {"外形框1", Kind::kShapeBox, "选择夹1", kPageFailed, 505, 8, 50, 26, "", FontKind::kNone,
       kNoColor, kNoColor, kFrameGrey, none, kNoScheme},
      {"超级按钮_选择", Kind::kImageButton, "外形框1", -1, 1, 1, 48, 24, "选择", FontKind::kSmall,
       kNoColor, kNoColor, kNoColor, none, kPlainScheme},
      {"编辑框_程序文件", Kind::kEditBox, "选择夹1", kPageFailed, 54, 8, 444, 25,
       "将手动下载的程序文件的路径输入到此处，然后点手动安装即可完成。", FontKind::kSmall, 0x000000,
       kWhite, kNoColor, ui::kSunken, kNoScheme},
      {"超级按钮_手动安装", Kind::kImageButton, "选择夹1", kPageFailed, 170, 51, 260, 35,
       "手动安装", FontKind::kLarge, kNoColor, kNoColor, kNoColor, ui::kLargePictures, kBlueScheme},
  };
  return w;
}

}  // namespace

const char* LicenceText() {
  return reinterpret_cast<const char*>(licence_text_data);
}

const ui::FormLayout& WizardForm() {
  static const ui::FormLayout form = MakeWizardForm();
  return form;
}

}  // namespace setup
