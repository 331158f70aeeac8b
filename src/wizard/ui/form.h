// A window described as data: every control with its name, kind, parent or
// page, position, size, texts, fonts, colours and flags. The window layer
// builds the window from such a description.
#pragma once

#include <cstdint>
#include <vector>

namespace setup::ui {

enum class Kind {
  kPushButton,
  kImageButton,       // flat, colours per state, optional pictures, caption over them
  kTransparentLabel,  // text without background
  kLabel,
  kShapeBox,  // rectangle with line and fill; may hold other controls
  kEditBox,
  kCheckBox,
  kProgressBar,
  kPageContainer,  // pages without a tab strip and without a background
  kPictureBox,
  kOpenFileDialog,  // no window of its own
};

enum class FontKind { kNone, kSystemGui, kSmall, kLarge };

// Picture placement of a picture box.
enum class Placement { kNatural = 0, kStretch = 1, kFit = 2 };

// Image-button colours: caption, and background when normal, hot and focused.
struct ButtonScheme {
  uint32_t caption, normal, hot, focused;
};

constexpr uint32_t kNoColor = 0xFFFFFFFF;

// Flags of a control.
enum : uint32_t {
  kHidden = 1u << 0,
  kDisabled = 1u << 1,
  kChecked = 1u << 2,
  kMultiLine = 1u << 3,
  kVerticalScroll = 1u << 4,
  kReadOnly = 1u << 5,
  kSunken = 1u << 6,
  kUnderline = 1u << 7,
  kHandCursor = 1u << 8,
  kLargePictures = 1u << 9,  // image button drawn over the normal and hot pictures
  kSmooth = 1u << 10,        // progress bar
  kVCenter = 1u << 11,       // check box text vertically centred
};

struct ControlEntry {
  const char* name;
  Kind kind;
  const char* parent;  // null: the window itself
  int page;            // page of the parent page container; -1 when the parent has none
  int x, y, width, height;
  const char* text;
  FontKind font;
  uint32_t textColor;  // COLORREF 0x00BBGGRR, or kNoColor for the default
  uint32_t fillColor;  // background or fill, or kNoColor for none
  uint32_t lineColor;  // shape outline, or kNoColor for none
  uint32_t flags;
  ButtonScheme scheme;  // image buttons
};

struct FormLayout {
  const char* name;
  int designLeft, designTop, designWidth, designHeight;
  uint32_t background;
  std::vector<const char*> pages;            // captions of the page container's pages
  std::vector<ControlEntry> controls;        // in creation order: parents before children
  std::vector<const char*> childrenTopDown;  // direct children of the window, topmost first
};

// Each control's window carries an id: kFirstControlId + its index in the
// form. UI automation and tests address controls by name through it.
constexpr int kFirstControlId = 1000;
// The id of the named control; 0 when the form has none of that name.
int ControlId(const FormLayout& layout, const char* name);
// The name of the control with that id; empty when there is none.
const char* ControlName(const FormLayout& layout, int id);

// Whether pressing the left button on a control of this kind moves the window.
bool MovesWindow(Kind kind);

// The checks every description must pass: unique names, parents that exist
// and are declared first, pages within the container, the window's children
// all in the stacking list. Returns the first problem, or null.
const char* CheckForm(const FormLayout& layout);

}  // namespace setup::ui
