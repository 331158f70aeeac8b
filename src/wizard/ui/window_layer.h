// The window layer: builds a window from its form description and gives the
// handlers what they need: control properties by name, the creation, click,
// left-button-down and feedback events, message boxes, the folder browser, the
// open-file dialog and the shell. Everything but RaiseFeedback and PostToWindow
// runs on the window's thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/text.h"
#include "wizard/ui/form.h"

namespace Gdiplus {
class GpImage;
}

namespace setup::ui {

using Handler = void (*)();
using FeedbackHandler = void (*)(int32_t first, int32_t second);
using PostedHandler = void (*)(WPARAM, LPARAM);

struct Control;  // one control's window and state

class Form {
 public:
  Form();
  ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Events, registered before Create.
  void OnCreate(Handler handler) { onCreate_ = handler; }
  void OnClick(const char* name, Handler handler);
  void OnLeftButtonDown(const char* name, Handler handler);
  void OnFeedback(const char* name, FeedbackHandler handler);
  // Called on the window's thread for each PostToWindow(code, ...).
  void OnPosted(UINT code, PostedHandler handler);
  // Called while the window is being destroyed.
  void OnDestroy(Handler handler) { onDestroy_ = handler; }
  // Called once the controls exist, before the creation event: loads the art.
  void OnLoadArt(void (*loader)(Form&)) { onLoadArt_ = loader; }
  // The pictures of a picture box (normal) or an image button (normal, hot).
  void SetPictures(const char* name, Gdiplus::GpImage* normal, Gdiplus::GpImage* hot);

  // Creates the window and every control (hidden), raises the creation event,
  // then shows the window. False when the window cannot be created.
  bool Create(const FormLayout& layout);
  HWND window() const { return window_; }
  HWND Handle(const char* name) const;

  // Control properties.
  Text GetText(const char* name) const;
  void SetText(const char* name, const Text& text);
  bool Visible(const char* name) const;
  void SetVisible(const char* name, bool visible);
  void SetLeft(const char* name, int left);
  void SetTop(const char* name, int top);
  bool Disabled(const char* name) const;
  void SetDisabled(const char* name, bool disabled);
  bool Checked(const char* name) const;
  void SetNormalBackColor(const char* name, uint32_t color);
  uint32_t NormalBackColor(const char* name) const;
  int CurrentPage(const char* name) const;
  void SetCurrentPage(const char* name, int page);
  // The stored position (0 to 32,767); the bar shows it limited to its range.
  int Position(const char* name) const;
  void SetPosition(const char* name, int position);

  // The window's own properties.
  void SetCaption(const Text& caption);
  void SetWidth(int width);
  void SetHeight(int height);
  void Minimise();
  void Close();

  // Any thread: raises the feedback event of a label without waiting.
  bool RaiseFeedback(const char* name, int32_t first, int32_t second) const;
  // Any thread: has the window's thread call the handler of `code` later.
  bool PostToWindow(UINT code, WPARAM wParam, LPARAM lParam) const;

  // The message-loop filter: Esc closes the window unless the focused control
  // takes the key for itself. True when the message was consumed.
  bool FilterMessage(MSG* msg);

  // Called by the control procedures.
  Control* Find(const char* name) const;
  Control* FromWindow(HWND hwnd) const;
  LRESULT Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool* handled);
  void RaiseClick(Control* control);
  void RaiseLeftButtonDown(Control* control);
  const FormLayout* layout() const { return layout_; }
  HFONT Font(FontKind kind, bool underline) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void ApplyPage(Control* container);
  void RefreshEffectiveVisibility(Control* control);

  const FormLayout* layout_ = nullptr;
  HWND window_ = nullptr;
  std::vector<std::unique_ptr<Control>> controls_;
  std::map<std::string, Control*> byName_;
  Handler onCreate_ = nullptr;
  Handler onDestroy_ = nullptr;
  void (*onLoadArt_)(Form&) = nullptr;
  std::map<std::string, Handler> clicks_, leftDowns_;
  std::map<std::string, FeedbackHandler> feedbacks_;
  std::map<UINT, PostedHandler> posted_;
  mutable HFONT fonts_[4][2] = {};  // made when first asked for
  HBRUSH background_ = nullptr;
};

// The window layer's private messages.
constexpr UINT kMsgFeedback = WM_APP + 1;  // to a label: wParam, lParam = the two values
constexpr UINT kMsgPosted = WM_APP + 2;    // to the window: PostToWindow codes start here

// System dialogs and the shell.
// The folder browser with a title, modal to `owner`: the chosen path, or empty.
Text BrowseForFolder(HWND owner, const Text& title);
// The open-file dialog: true with the chosen path when the user confirms.
bool ChooseFile(HWND owner, const Text& title, const Text& filter, Text* path);
// Opens a file or URL through the shell; false when the shell reports failure.
bool ShellOpen(HWND owner, const char* verb, const Text& file);

}  // namespace setup::ui
