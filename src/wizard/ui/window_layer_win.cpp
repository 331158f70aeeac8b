#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "app/message_loop.h"
#include "wizard/ui/control.h"
#include "wizard/ui/window_layer.h"

namespace setup::ui {

namespace {

constexpr int kMaxStoredPosition = 32767;

DWORD EditStyle(uint32_t flags) {
  DWORD style = WS_CHILD | WS_TABSTOP | ES_LEFT;
  if (flags & kMultiLine) {
    style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
  } else {
    style |= ES_AUTOHSCROLL;
  }
  if (flags & kVerticalScroll) style |= WS_VSCROLL;
  if (flags & kReadOnly) style |= ES_READONLY;
  return style;
}

// Window class and styles of a control kind.
const char* ClassFor(Kind kind, DWORD* style) {
  *style = WS_CHILD;
  switch (kind) {
    case Kind::kPushButton:
      *style |= WS_TABSTOP | BS_PUSHBUTTON;
      return "BUTTON";
    case Kind::kCheckBox:
      *style |= WS_TABSTOP | BS_AUTOCHECKBOX;
      return "BUTTON";
    case Kind::kLabel:
      *style |= SS_LEFT | SS_NOTIFY;
      return "STATIC";
    case Kind::kProgressBar:
      return PROGRESS_CLASSA;
    case Kind::kEditBox:
      return "EDIT";
    case Kind::kImageButton:
      *style |= WS_TABSTOP;
      return kImageButtonClass;
    case Kind::kTransparentLabel:
      return kTransparentLabelClass;
    case Kind::kShapeBox:
      *style |= WS_CLIPCHILDREN;
      return kShapeBoxClass;
    case Kind::kPageContainer:
      *style |= WS_CLIPCHILDREN;
      return kPageContainerClass;
    case Kind::kPictureBox:
      return kPictureBoxClass;
    case Kind::kOpenFileDialog:
      break;
  }
  return nullptr;
}

bool OwnClass(Kind kind) {
  return kind == Kind::kImageButton || kind == Kind::kTransparentLabel || kind == Kind::kShapeBox ||
         kind == Kind::kPageContainer || kind == Kind::kPictureBox;
}

}  // namespace

Form::Form() = default;

Form::~Form() {
  for (auto& row : fonts_)
    for (HFONT f : row)
      if (f) DeleteObject(f);
  for (auto& c : controls_)
    if (c->brush) DeleteObject(c->brush);
  if (background_) DeleteObject(background_);
}

void Form::OnClick(const char* name, Handler handler) {
  clicks_[name] = handler;
}
void Form::OnLeftButtonDown(const char* name, Handler handler) {
  leftDowns_[name] = handler;
}
void Form::OnFeedback(const char* name, FeedbackHandler handler) {
  feedbacks_[name] = handler;
}
void Form::OnPosted(UINT code, PostedHandler handler) {
  posted_[code] = handler;
}

HFONT Form::Font(FontKind kind, bool underline) const {
  if (kind == FontKind::kNone || kind == FontKind::kSystemGui)
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HFONT& font = fonts_[static_cast<int>(kind)][underline ? 1 : 0];
  if (!font) {
    LOGFONTA lf{};
    lf.lfHeight = kind == FontKind::kSmall ? -12 : -16;
    lf.lfWeight = FW_NORMAL;
    lf.lfUnderline = underline;
    lf.lfCharSet = GB2312_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    std::strcpy(lf.lfFaceName, "微软雅黑");
    font = CreateFontIndirectA(&lf);
  }
  return font;
}

bool Form::Create(const FormLayout& layout) {
  layout_ = &layout;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  RegisterControlClasses(WindowProc);
  background_ = CreateSolidBrush(layout.background);
  const int x = (GetSystemMetrics(SM_CXSCREEN) - layout.designWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - layout.designHeight) / 2;
  window_ = CreateWindowExA(WS_EX_APPWINDOW, kFormClass, "",
                            WS_POPUP | WS_MINIMIZEBOX | WS_SYSMENU | WS_CLIPCHILDREN, x, y,
                            layout.designWidth, layout.designHeight, nullptr, nullptr,
                            GetModuleHandleA(nullptr), this);
  if (!window_) return false;
  NoteTopLevelWindowOpened();
  CreateControls();
  if (onLoadArt_) onLoadArt_(*this);
  if (onCreate_) onCreate_();
  if (IsWindow(window_)) {
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
  }
  return true;
}

void Form::CreateControls() {
  controls_.clear();
  byName_.clear();
  for (size_t i = 0; i < layout_->controls.size(); ++i) {
    auto c = std::make_unique<Control>();
    c->form = this;
    c->entry = &layout_->controls[i];
    c->index = static_cast<int>(i);
    c->visible = (c->entry->flags & kHidden) == 0;
    c->normalBack = c->entry->scheme.normal;
    c->parent = c->entry->parent ? Find(c->entry->parent) : nullptr;
    byName_[c->entry->name] = c.get();
    controls_.push_back(std::move(c));
  }
  for (auto& owned : controls_) {
    Control* c = owned.get();
    DWORD style = 0;
    const char* cls = ClassFor(c->kind(), &style);
    if (!cls) continue;  // no window of its own
    if (c->kind() == Kind::kEditBox) style = EditStyle(c->entry->flags);
    if (c->kind() == Kind::kCheckBox && (c->entry->flags & kVCenter)) style |= BS_VCENTER;
    if (c->kind() == Kind::kProgressBar && (c->entry->flags & kSmooth)) style |= PBS_SMOOTH;
    if (c->entry->flags & kDisabled) style |= WS_DISABLED;
    DWORD exStyle = (c->entry->flags & kSunken) ? WS_EX_CLIENTEDGE : 0;
    // Drawn over what lies beneath: repainted whenever that changes.
    if (c->kind() == Kind::kTransparentLabel) exStyle |= WS_EX_TRANSPARENT;
    HWND parent = c->parent ? c->parent->hwnd : window_;
    HWND hwnd =
        CreateWindowExA(exStyle, cls, c->entry->text, style | WS_CLIPSIBLINGS, c->entry->x,
                        c->entry->y, c->entry->width, c->entry->height, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + c->index)),
                        GetModuleHandleA(nullptr), OwnClass(c->kind()) ? c : nullptr);
    if (!hwnd) continue;
    c->hwnd = hwnd;
    // Listed topmost first: each new sibling goes beneath the ones before it.
    SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!OwnClass(c->kind())) {
      SetPropA(hwnd, "SetupControl", c);
      c->previous = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SystemControlProc)));
    }
    if (c->entry->font != FontKind::kNone)
      SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font(c->entry->font, false)), FALSE);
    if (c->kind() == Kind::kCheckBox)
      SendMessageA(hwnd, BM_SETCHECK, (c->entry->flags & kChecked) ? BST_CHECKED : BST_UNCHECKED,
                   0);
    if (c->kind() == Kind::kProgressBar) SendMessageA(hwnd, PBM_SETRANGE32, 0, 1000);
  }
  // The window's own children in their stacking order, topmost first.
  for (const char* name : layout_->childrenTopDown)
    if (Control* c = Find(name))
      SetWindowPos(c->hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (auto& c : controls_) RefreshEffectiveVisibility(c.get());
}

// A control shows when its visible property is set and, on a page, that page is current.
void Form::RefreshEffectiveVisibility(Control* c) {
  if (!c->hwnd) return;
  bool show = c->visible;
  if (c->parent && c->parent->kind() == Kind::kPageContainer && c->entry->page >= 0)
    show = show && c->parent->currentPage == c->entry->page;
  ShowWindow(c->hwnd, show ? SW_SHOWNA : SW_HIDE);
}

void Form::ApplyPage(Control* container) {
  for (auto& c : controls_)
    if (c->parent == container) RefreshEffectiveVisibility(c.get());
}

Control* Form::Find(const char* name) const {
  auto it = byName_.find(name);
  return it == byName_.end() ? nullptr : it->second;
}

Control* Form::FromWindow(HWND hwnd) const {
  for (auto& c : controls_)
    if (c->hwnd == hwnd) return c.get();
  return nullptr;
}

HWND Form::Handle(const char* name) const {
  Control* c = Find(name);
  return c ? c->hwnd : nullptr;
}

Text Form::GetText(const char* name) const {
  Control* c = Find(name);
  if (!c || !c->hwnd) return Text();
  Text text(static_cast<size_t>(GetWindowTextLengthA(c->hwnd)) + 1, '\0');
  text.resize(
      static_cast<size_t>(GetWindowTextA(c->hwnd, &text[0], static_cast<int>(text.size()))));
  return text;
}

void Form::SetText(const char* name, const Text& text) {
  Control* c = Find(name);
  if (!c || !c->hwnd) return;
  if (GetText(name) != text) SetWindowTextA(c->hwnd, text.c_str());  // no redraw for the same text
}

void Form::SetPictures(const char* name, Gdiplus::GpImage* normal, Gdiplus::GpImage* hot) {
  Control* c = Find(name);
  if (!c) return;
  c->picture = normal;
  c->hotPicture = hot;
  if (c->hwnd) InvalidateRect(c->hwnd, nullptr, FALSE);
}

bool Form::Visible(const char* name) const {
  Control* c = Find(name);
  return c && c->visible;
}

void Form::SetVisible(const char* name, bool visible) {
  if (Control* c = Find(name)) {
    c->visible = visible;
    RefreshEffectiveVisibility(c);
  }
}

void Form::SetLeft(const char* name, int left) {
  Control* c = Find(name);
  if (!c || !c->hwnd) return;
  RECT rc;
  GetWindowRect(c->hwnd, &rc);
  MapWindowPoints(nullptr, GetParent(c->hwnd), reinterpret_cast<POINT*>(&rc), 2);
  SetWindowPos(c->hwnd, nullptr, left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetTop(const char* name, int top) {
  Control* c = Find(name);
  if (!c || !c->hwnd) return;
  RECT rc;
  GetWindowRect(c->hwnd, &rc);
  MapWindowPoints(nullptr, GetParent(c->hwnd), reinterpret_cast<POINT*>(&rc), 2);
  SetWindowPos(c->hwnd, nullptr, rc.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Form::Disabled(const char* name) const {
  Control* c = Find(name);
  return c && c->hwnd && !IsWindowEnabled(c->hwnd);
}

void Form::SetDisabled(const char* name, bool disabled) {
  if (Control* c = Find(name)) EnableWindow(c->hwnd, !disabled);
}

bool Form::Checked(const char* name) const {
  Control* c = Find(name);
  return c && SendMessageA(c->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form::SetNormalBackColor(const char* name, uint32_t color) {
  if (Control* c = Find(name)) {
    c->normalBack = color;
    InvalidateRect(c->hwnd, nullptr, FALSE);
  }
}

uint32_t Form::NormalBackColor(const char* name) const {
  Control* c = Find(name);
  return c ? c->normalBack : 0;
}

int Form::CurrentPage(const char* name) const {
  Control* c = Find(name);
  return c ? c->currentPage : 0;
}

void Form::SetCurrentPage(const char* name, int page) {
  Control* c = Find(name);
  if (!c || page < 0 || page >= static_cast<int>(layout_->pages.size())) return;
  c->currentPage = page;
  ApplyPage(c);
}

int Form::Position(const char* name) const {
  Control* c = Find(name);
  return c ? c->position : 0;
}

void Form::SetPosition(const char* name, int position) {
  Control* c = Find(name);
  if (!c) return;
  const int stored = position < 0                    ? 0
                     : position > kMaxStoredPosition ? kMaxStoredPosition
                                                     : position;
  if (stored == c->position) return;  // nothing to redraw
  c->position = stored;
  SendMessageA(c->hwnd, PBM_SETPOS, stored > 1000 ? 1000 : stored, 0);
}

void Form::SetCaption(const Text& caption) {
  SetWindowTextA(window_, caption.c_str());
}

void Form::SetWidth(int width) {
  RECT rc;
  GetWindowRect(window_, &rc);
  SetWindowPos(window_, nullptr, 0, 0, width, rc.bottom - rc.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetHeight(int height) {
  RECT rc;
  GetWindowRect(window_, &rc);
  SetWindowPos(window_, nullptr, 0, 0, rc.right - rc.left, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Minimise() {
  if (IsWindowVisible(window_)) ShowWindow(window_, SW_MINIMIZE);
}

void Form::Close() {
  if (IsWindow(window_)) DestroyWindow(window_);
}

bool Form::RaiseFeedback(const char* name, int32_t first, int32_t second) const {
  Control* c = Find(name);
  return c && c->hwnd &&
         PostMessageA(c->hwnd, kMsgFeedback, static_cast<WPARAM>(first),
                      static_cast<LPARAM>(second));
}

bool Form::PostToWindow(UINT code, WPARAM wParam, LPARAM lParam) const {
  return window_ && PostMessageA(window_, kMsgPosted + code, wParam, lParam);
}

bool Form::FilterMessage(MSG* msg) {
  if (msg->message != WM_KEYDOWN || msg->wParam != VK_ESCAPE || !IsWindow(window_)) return false;
  if (msg->hwnd != window_ && !IsChild(window_, msg->hwnd)) return false;
  const LRESULT code =
      SendMessageA(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
  if (msg->hwnd != window_ && (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE))) return false;
  Close();
  return true;
}

void Form::RaiseClick(Control* control) {
  auto it = clicks_.find(control->entry->name);
  if (it != clicks_.end() && it->second) it->second();
}

void Form::RaiseLeftButtonDown(Control* control) {
  auto it = leftDowns_.find(control->entry->name);
  if (it != leftDowns_.end() && it->second) it->second();
}

// Messages that a window of the form gets on behalf of its children.
LRESULT Form::Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool* handled) {
  *handled = false;
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && lParam) {
        if (Control* c = FromWindow(reinterpret_cast<HWND>(lParam))) {
          *handled = true;
          RaiseClick(c);
        }
      }
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: {
      Control* c = FromWindow(reinterpret_cast<HWND>(lParam));
      if (!c) return 0;
      const uint32_t back = c->entry->fillColor != kNoColor ? c->entry->fillColor : GroundColor(c);
      if (!c->brush) c->brush = CreateSolidBrush(back);
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, c->entry->textColor == kNoColor ? 0 : c->entry->textColor);
      SetBkColor(dc, back);
      *handled = true;
      return reinterpret_cast<LRESULT>(c->brush);
    }
    case kMsgFeedback: {
      *handled = true;
      Control* c = FromWindow(hwnd);
      if (!c) return 0;
      auto it = feedbacks_.find(c->entry->name);
      if (it != feedbacks_.end() && it->second)
        it->second(static_cast<int32_t>(wParam), static_cast<int32_t>(lParam));
      return 0;
    }
    default:
      return 0;
  }
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Form* form = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  if (!form) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (msg >= kMsgPosted && msg < kMsgPosted + 64) {
    auto it = form->posted_.find(msg - kMsgPosted);
    if (it != form->posted_.end() && it->second) it->second(wParam, lParam);
    return 0;
  }
  bool handled = false;
  const LRESULT r = form->Dispatch(hwnd, msg, wParam, lParam, &handled);
  if (handled) return r;
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT rc;
      GetClientRect(hwnd, &rc);
      FillRect(reinterpret_cast<HDC>(wParam), &rc, form->background_);
      return 1;
    }
    case WM_LBUTTONDOWN:
      StartWindowDrag(hwnd);
      return 0;
    case WM_DESTROY:
      if (form->onDestroy_) form->onDestroy_();
      return 0;
    case WM_NCDESTROY:
      form->window_ = nullptr;
      NoteTopLevelWindowClosed();
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace setup::ui
