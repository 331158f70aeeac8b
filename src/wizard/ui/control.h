// One control of a form: its window and the state the window layer keeps for it.
#pragma once

#include <windows.h>

#include "wizard/ui/form.h"

namespace Gdiplus {
class GpImage;
}

namespace setup::ui {

class Form;

struct Control {
  Form* form = nullptr;
  const ControlEntry* entry = nullptr;  // its line in the form
  int index = 0;
  HWND hwnd = nullptr;
  Control* parent = nullptr;            // null: the window itself
  bool visible = true;                  // the visible property; a page may still hide the control
  int currentPage = 0;                  // page containers
  int position = 0;                     // progress bars: the stored position
  uint32_t normalBack = 0;              // image buttons: background when normal
  bool hot = false, pressed = false;    // image buttons: under the mouse, held down
  Gdiplus::GpImage* picture = nullptr;  // picture box, or an image button's normal picture
  Gdiplus::GpImage* hotPicture = nullptr;  // image button under the mouse
  WNDPROC previous = nullptr;              // system controls: the procedure before ours
  HBRUSH brush = nullptr;                  // background brush handed out for WM_CTLCOLOR*

  Kind kind() const { return entry->kind; }
};

// Window classes of the layer's own controls.
extern const char kFormClass[];
extern const char kImageButtonClass[];
extern const char kTransparentLabelClass[];
extern const char kShapeBoxClass[];
extern const char kPageContainerClass[];
extern const char kPictureBoxClass[];

// Registers the classes once per process.
void RegisterControlClasses(WNDPROC formProc);

// The procedure of the layer's own control classes, and the subclass
// procedure put on system controls (labels, progress bars, edits, buttons).
LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SystemControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Starts moving the top-level window as if its caption were dragged.
void StartWindowDrag(HWND anyChild);

// Fills `dc` with what lies beneath `control`: its ground colour, then the
// lower siblings that can print themselves.
void PaintBeneath(Control* control, HDC dc);

// The colour a control stands on: the fill of the nearest filled shape box
// above it, else the window's background.
uint32_t GroundColor(const Control* control);

}  // namespace setup::ui
