// The image button's logic, free of any window system: which state a message
// moves the button to, which image a state shows, and where the image goes.
#pragma once

#include <cstdint>

namespace setup {

// Draw states, as kept in the control's "Ember_DrawState" property.
enum DrawState : int {
  kDrawNormal = 0,
  kDrawHover = 1,
  kDrawPressed = 2,
  kDrawDisabled = 3,
};

// Image placement, as kept in "PngControl_BackType".
enum ImagePlacement : int {
  kPlaceNatural = 0,  // own size at the top-left corner
  kPlaceStretch = 1,  // stretched over the whole control
  kPlaceFit = 2,      // centred, shrunk to fit with its proportions kept, never enlarged
};

// What happens to an image button, named after the message that brings it.
enum class ButtonEvent {
  kMouseMove,       // WM_MOUSEMOVE
  kMouseLeave,      // WM_MOUSELEAVE
  kEnabled,         // WM_ENABLE with a nonzero wParam
  kDisabled,        // WM_ENABLE with wParam 0
  kFocusGained,     // WM_SETFOCUS
  kFocusLost,       // WM_KILLFOCUS
  kSetStatePushed,  // BM_SETSTATE with wParam 1
  kSetStateOther,   // BM_SETSTATE with any other wParam
  kLeftDown,        // WM_LBUTTONDOWN
  kLeftUp,          // WM_LBUTTONUP
};

// What the button procedure does for an event in a given state: optionally
// start mouse-leave tracking, then optionally SetDrawState(state, force), then
// optionally one more redraw.
struct DrawTransition {
  bool track = false;       // TrackMouseEvent(TME_LEAVE) first
  bool set = false;         // SetDrawState is called ...
  int state = kDrawNormal;  // ... with this state ...
  bool force = false;       // ... redrawing even when the state stays the same
  bool redraw = false;      // RedrawButton once more afterwards
};

// `focused` is the control's "PngControl_IsFoucs" after the event (focus events
// change it before they act).
DrawTransition TransitionFor(int state, ButtonEvent event, bool focused);

// The outcome of a transition: SetDrawState stores a state that differs and
// redraws when it changed or when forced.
struct DrawStep {
  int state = kDrawNormal;
  bool redrawn = false;
  bool tracked = false;
};
DrawStep StepDrawState(int state, ButtonEvent event, bool focused);

// The image shown in `state` from the four image handles (normal, hover,
// pressed, disabled): the state's own one, else the normal one; 0 when that is
// missing too. A state outside the four shows the normal image.
uintptr_t PickStateImage(int state, const uintptr_t images[4]);

struct IntSize {
  int width = 0;
  int height = 0;
  bool operator==(const IntSize& o) const { return width == o.width && height == o.height; }
};

// Shrinks an iw x ih image to fit a bw x bh box, keeping its proportions; an
// image that fits keeps its size. First the width: when iw > bw, w = bw and
// h = ih * bw / iw; then the height: when h > bh, w = w * bh / h and h = bh.
// Each quotient is truncated towards zero.
IntSize FitSize(int iw, int ih, int bw, int bh);

struct ImageRect {
  float x = 0, y = 0, width = 0, height = 0;
  bool operator==(const ImageRect& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height;
  }
};

// Where an image of iw x ih (as GDI+ reports it) is drawn in a w x h control.
ImageRect PlaceImage(int placement, float iw, float ih, int w, int h);

}  // namespace setup
