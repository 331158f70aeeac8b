#include "skin/png_button_logic.h"

#include <cstdint>

namespace setup {

DrawTransition TransitionFor(int state, ButtonEvent event, bool focused) {
  DrawTransition t;
  auto set = [&t](int to, bool force) {
    t.set = true;
    t.state = to;
    t.force = force;
  };
  switch (event) {
    case ButtonEvent::kMouseMove:
      // Already hot: tracking runs, and the picture is right.
      if (state != kDrawHover && state != kDrawPressed) {
        t.track = true;
        set(kDrawHover, true);
      }
      break;
    case ButtonEvent::kMouseLeave:
      set(kDrawNormal, true);
      break;
    case ButtonEvent::kEnabled:
      set(kDrawNormal, true);
      break;
    case ButtonEvent::kDisabled:
      set(kDrawDisabled, true);
      break;
    case ButtonEvent::kFocusGained:
      if (state == kDrawPressed) set(kDrawHover, true);
      break;
    case ButtonEvent::kFocusLost:
      if (state == kDrawHover) set(kDrawNormal, true);
      break;
    case ButtonEvent::kSetStatePushed:
      set(kDrawPressed, false);
      t.redraw = true;
      break;
    case ButtonEvent::kSetStateOther:
      set(focused ? kDrawHover : kDrawNormal, false);
      t.redraw = true;
      break;
    case ButtonEvent::kLeftDown:
      set(kDrawPressed, true);
      break;
    case ButtonEvent::kLeftUp:
      set(state == kDrawPressed ? kDrawHover : kDrawNormal, true);
      break;
  }
  return t;
}

DrawStep StepDrawState(int state, ButtonEvent event, bool focused) {
  const DrawTransition t = TransitionFor(state, event, focused);
  DrawStep step;
  step.state = state;
  step.tracked = t.track;
  if (t.set) {
    step.redrawn = t.force || t.state != state;
    step.state = t.state;
  }
  step.redrawn = step.redrawn || t.redraw;
  return step;
}

uintptr_t PickStateImage(int state, const uintptr_t images[4]) {
  const uintptr_t own = (state >= kDrawNormal && state <= kDrawDisabled) ? images[state] : 0;
  return own != 0 ? own : images[kDrawNormal];
}

IntSize FitSize(int iw, int ih, int bw, int bh) {
  // Products in 64 bits, so that no image size overflows them.
  IntSize s{iw, ih};
  if (iw > bw) {
    s.width = bw;
    s.height = iw != 0 ? static_cast<int>(int64_t{ih} * bw / iw) : 0;
  }
  if (s.height > bh) {
    s.width = s.height != 0 ? static_cast<int>(int64_t{s.width} * bh / s.height) : 0;
    s.height = bh;
  }
  return s;
}

ImageRect PlaceImage(int placement, float iw, float ih, int w, int h) {
  switch (placement) {
    case kPlaceStretch:
      return {0, 0, static_cast<float>(w), static_cast<float>(h)};
    case kPlaceFit: {
      const IntSize fit = FitSize(static_cast<int>(iw), static_cast<int>(ih), w, h);
      return {static_cast<float>((w - fit.width) / 2), static_cast<float>((h - fit.height) / 2),
              static_cast<float>(fit.width), static_cast<float>(fit.height)};
    }
    default:
      return {0, 0, iw, ih};
  }
}

}  // namespace setup
