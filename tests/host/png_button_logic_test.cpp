#include "skin/png_button_logic.h"

#include <gtest/gtest.h>

namespace setup {
namespace {

TEST(FitSize, ShrinksWithProportionsAndNeverEnlarges) {
  struct Case {
    int iw, ih, bw, bh;
    IntSize fit;
  };
  const Case cases[] = {
      {11, 11, 24, 24, {11, 11}},   // the close glyph
      {12, 13, 24, 24, {12, 13}},   // the minimise glyph
      {48, 24, 24, 24, {24, 12}},   // too wide
      {24, 48, 24, 24, {12, 24}},   // too tall
      {50, 40, 24, 24, {24, 19}},   // 40 x 24 / 50 = 19.2, truncated; fits
      {48, 100, 24, 24, {11, 24}},  // both: 100 x 24 / 48 = 50, then 24 x 24 / 50 = 11.52
      {24, 24, 24, 24, {24, 24}},  {0, 0, 24, 24, {0, 0}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FitSize(c.iw, c.ih, c.bw, c.bh), c.fit) << c.iw << "x" << c.ih;
}

TEST(PlaceImage, PlacementsInA24PixelButton) {
  struct Case {
    int placement;
    float iw, ih;
    ImageRect at;
  };
  const Case cases[] = {
      {kPlaceFit, 11, 11, {6, 6, 11, 11}},  // (24 - 11) / 2 = 6.5, truncated
      {kPlaceFit, 12, 13, {6, 5, 12, 13}},
      {kPlaceFit, 48, 24, {0, 6, 24, 12}},
      {kPlaceFit, 50, 40, {0, 2, 24, 19}},
      {kPlaceStretch, 11, 11, {0, 0, 24, 24}},
      {kPlaceNatural, 12, 13, {0, 0, 12, 13}},
      {kPlaceNatural, 48, 24, {0, 0, 48, 24}},  // not clipped to the button
      {7, 11, 11, {0, 0, 11, 11}},              // unknown placements draw at natural size
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlaceImage(c.placement, c.iw, c.ih, 24, 24), c.at)
        << "placement " << c.placement << " " << c.iw << "x" << c.ih;
}

// One row per event: the next state from normal, hover, pressed and disabled,
// whether the button is redrawn, and whether mouse-leave tracking starts.
struct TransitionRow {
  const char* name;
  ButtonEvent event;
  bool focused;
  int next[4];
  bool redrawn[4];
  bool tracked[4];
};

constexpr bool T = true, F = false;
constexpr int N = kDrawNormal, H = kDrawHover, P = kDrawPressed, D = kDrawDisabled;

const TransitionRow kTransitions[] = {
    // A move over a hot button neither restarts tracking nor redraws.
    {"mouse move", ButtonEvent::kMouseMove, F, {H, H, P, H}, {T, F, F, T}, {T, F, F, T}},
    {"mouse leave", ButtonEvent::kMouseLeave, F, {N, N, N, N}, {T, T, T, T}, {}},
    {"left down", ButtonEvent::kLeftDown, F, {P, P, P, P}, {T, T, T, T}, {}},
    {"left up", ButtonEvent::kLeftUp, F, {N, N, H, N}, {T, T, T, T}, {}},
    {"BM_SETSTATE 1", ButtonEvent::kSetStatePushed, F, {P, P, P, P}, {T, T, T, T}, {}},
    {"BM_SETSTATE 1, focused", ButtonEvent::kSetStatePushed, T, {P, P, P, P}, {T, T, T, T}, {}},
    {"BM_SETSTATE other", ButtonEvent::kSetStateOther, F, {N, N, N, N}, {T, T, T, T}, {}},
    {"BM_SETSTATE other, focused", ButtonEvent::kSetStateOther, T, {H, H, H, H}, {T, T, T, T}, {}},
    {"focus gained", ButtonEvent::kFocusGained, T, {N, H, H, D}, {F, F, T, F}, {}},
    {"focus lost", ButtonEvent::kFocusLost, F, {N, N, P, D}, {F, T, F, F}, {}},
    {"enabled", ButtonEvent::kEnabled, F, {N, N, N, N}, {T, T, T, T}, {}},
    {"disabled", ButtonEvent::kDisabled, F, {D, D, D, D}, {T, T, T, T}, {}},
};

TEST(DrawStateMachine, TransitionTable) {
  for (const TransitionRow& row : kTransitions)
    for (int from = kDrawNormal; from <= kDrawDisabled; ++from) {
      const DrawStep step = StepDrawState(from, row.event, row.focused);
      EXPECT_EQ(step.state, row.next[from]) << row.name << " from " << from;
      EXPECT_EQ(step.redrawn, row.redrawn[from]) << row.name << " from " << from;
      EXPECT_EQ(step.tracked, row.tracked[from]) << row.name << " from " << from;
    }
}

TEST(DrawStateMachine, SetStateIsNotForcedButRedrawsOnceMore) {
  // BM_SETSTATE stores the state without forcing, then redraws in every case.
  const DrawTransition same = TransitionFor(kDrawPressed, ButtonEvent::kSetStatePushed, false);
  EXPECT_TRUE(same.set);
  EXPECT_EQ(same.state, kDrawPressed);
  EXPECT_FALSE(same.force);
  EXPECT_TRUE(same.redraw);
  // Every other state change is forced and needs no further redraw.
  const DrawTransition down = TransitionFor(kDrawPressed, ButtonEvent::kLeftDown, false);
  EXPECT_TRUE(down.force);
  EXPECT_FALSE(down.redraw);
  // Focus changes that do not apply call nothing at all.
  const DrawTransition gained = TransitionFor(kDrawNormal, ButtonEvent::kFocusGained, true);
  EXPECT_FALSE(gained.set || gained.redraw || gained.track);
}

TEST(StateImage, FallsBackToTheNormalImage) {
  struct Case {
    uintptr_t images[4];
    int state;
    uintptr_t shown;
  };
  const Case cases[] = {
      {{10, 20, 30, 40}, kDrawNormal, 10},  {{10, 20, 30, 40}, kDrawHover, 20},
      {{10, 20, 30, 40}, kDrawPressed, 30}, {{10, 20, 30, 40}, kDrawDisabled, 40},
      {{10, 0, 0, 0}, kDrawHover, 10},      {{10, 0, 0, 0}, kDrawDisabled, 10},
      {{0, 20, 0, 0}, kDrawHover, 20},      {{0, 20, 0, 0}, kDrawPressed, 0},  // background only
      {{0, 0, 0, 0}, kDrawNormal, 0},       {{10, 20, 30, 40}, 4, 10},
      {{10, 20, 30, 40}, -1, 10},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PickStateImage(c.state, c.images), c.shown)
        << "state " << c.state << " images " << c.images[0] << "," << c.images[1] << ","
        << c.images[2] << "," << c.images[3];
}

}  // namespace
}  // namespace setup
