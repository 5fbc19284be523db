#include "control/pointer_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/control_fixture.h"

namespace velmora::testing {
namespace {

// At one and a half times 96 dpi a pixel is 10 twips: X and Y show the grid's scale.
const PixelGrid kGrid(DeviceScale::Times(1.5));

enum class Where { kBackground, kE2, kE4 };

PointerPoint At(Where where, std::int16_t buttons_held = 0, std::int16_t shift = 0) {
  if (where == Where::kBackground) return {3, 4, shift, buttons_held};
  const std::int16_t n = where == Where::kE2 ? 13 : 29;
  const PixelBox box = kGrid.BoxOf(*FindControl({ControlName::kSquarePicture, n}));
  return {box.left + 5, box.bottom - 1, shift, buttons_held};
}

struct Step {
  enum Kind { kPress, kDoublePress, kRelease, kMove, kCaptureLost } kind;
  PointerButton button;
  PointerPoint at;
};

struct Case {
  const char* what;
  std::vector<Step> steps;
  std::vector<RecordingHost::Event> events;  // Change left out
  std::u16string get_move;
};

constexpr auto kL = PointerButton::kLeft;
constexpr auto kR = PointerButton::kRight;
const RecordingHost::Event kDown{EventId::kMouseDown, {1, 0, 30, 40}};
const RecordingHost::Event kUp{EventId::kMouseUp, {1, 0, 30, 40}};
const RecordingHost::Event kClick{EventId::kClick, {}};

class PointerInputTest : public ControlFixture, public ::testing::WithParamInterface<Case> {};

TEST_P(PointerInputTest, MakesClicksAndSurfaceEvents) {
  PointerInput input;
  for (const Step& step : GetParam().steps) {
    switch (step.kind) {
      case Step::kPress:
      case Step::kDoublePress:
        input.Press(*control, kGrid, step.button, step.kind == Step::kDoublePress, step.at);
        break;
      case Step::kRelease:
        input.Release(*control, kGrid, step.button, step.at);
        break;
      case Step::kMove:
        input.Move(*control, kGrid, step.at);
        break;
      case Step::kCaptureLost:
        input.CaptureLost();
        break;
    }
  }
  std::vector<RecordingHost::Event> events;
  for (const auto& entry : host.log()) {
    const auto* event = std::get_if<RecordingHost::Event>(&entry);
    if (event != nullptr && event->id != EventId::kChange) events.push_back(*event);
  }
  EXPECT_EQ(events.size(), GetParam().events.size());
  for (std::size_t i = 0; i < std::min(events.size(), GetParam().events.size()); ++i) {
    EXPECT_EQ(events[i].id, GetParam().events[i].id) << i;
    EXPECT_EQ(events[i].args, GetParam().events[i].args) << i;
  }
  EXPECT_EQ(control->GetMove(), GetParam().get_move);
  // A click on an empty square would show a message: none of these sequences clicks one.
  EXPECT_TRUE(forms.messages().empty());
  EXPECT_FALSE(input.following_press());
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, PointerInputTest,
    ::testing::Values(
        Case{"LeftClickOnTheBackground",
             {{Step::kPress, kL, At(Where::kBackground, 1)},
              {Step::kRelease, kL, At(Where::kBackground)}},
             {kDown, kUp, kClick},
             u""},
        Case{"ShiftedRightButtonMakesNoClick",
             {{Step::kPress, kR, At(Where::kBackground, 2, 1)},
              {Step::kRelease, kR, At(Where::kBackground, 0, 1)}},
             {{EventId::kMouseDown, {2, 1, 30, 40}}, {EventId::kMouseUp, {2, 1, 30, 40}}},
             u""},
        Case{"DoubleClickOnTheBackground",
             {{Step::kPress, kL, At(Where::kBackground, 1)},
              {Step::kRelease, kL, At(Where::kBackground)},
              {Step::kDoublePress, kL, At(Where::kBackground, 1)},
              {Step::kRelease, kL, At(Where::kBackground)}},
             {kDown, kUp, kClick, {EventId::kDblClick, {}}, kUp},
             u""},
        Case{"ClickOnASquarePicksItUp",
             {{Step::kPress, kL, At(Where::kE2, 1)}, {Step::kRelease, kL, At(Where::kE2)}},
             {},
             u"E2"},
        Case{"PressAndReleaseOnDifferentSquaresIsNoClick",
             {{Step::kPress, kL, At(Where::kE2, 1)}, {Step::kRelease, kL, At(Where::kE4)}},
             {},
             u""},
        Case{"DoubleClickOnASquareIsOneClick",
             {{Step::kPress, kL, At(Where::kE2, 1)},
              {Step::kRelease, kL, At(Where::kE2)},
              {Step::kDoublePress, kL, At(Where::kE2, 1)},
              {Step::kRelease, kL, At(Where::kE2)}},
             {},
             u"E2"},
        Case{"MovesWhileASquareIsHeldBelongToIt",
             {{Step::kPress, kL, At(Where::kE2, 1)},
              {Step::kMove, kL, At(Where::kBackground, 1)},
              {Step::kRelease, kL, At(Where::kE2)}},
             {},
             u"E2"},
        Case{"MoveOverTheBackgroundWithNothingHeld",
             {{Step::kMove, kL, At(Where::kBackground)}},
             {{EventId::kMouseMove, {0, 0, 30, 40}}},
             u""},
        Case{"LostCaptureEndsThePress",
             {{Step::kPress, kL, At(Where::kE2, 1)},
              {Step::kCaptureLost, kL, {}},
              {Step::kRelease, kL, At(Where::kE2)}},
             {},
             u""}),
    CaseName<Case>);

TEST_F(ControlFixture, PointerKeepsCaptureWhileAButtonIsHeld) {
  PointerInput input;
  input.Press(*control, kGrid, PointerButton::kLeft, false, At(Where::kBackground, 1));
  input.Press(*control, kGrid, PointerButton::kRight, false, At(Where::kBackground, 3));
  EXPECT_TRUE(PointerInput::KeepsCapture(At(Where::kBackground, 1)));
  input.Release(*control, kGrid, PointerButton::kRight, At(Where::kBackground, 1));
  EXPECT_TRUE(input.following_press()) << "the left press is still followed";
  EXPECT_FALSE(PointerInput::KeepsCapture(At(Where::kBackground, 0)));
  input.Release(*control, kGrid, PointerButton::kLeft, At(Where::kBackground, 0));
  EXPECT_EQ(host.CountEvents(EventId::kClick), 1);
}

TEST_F(ControlFixture, PointerIsIgnoredWhileTheSurfaceIsDisabled) {
  control->Enabled(false);
  PointerInput input;
  input.Press(*control, kGrid, PointerButton::kLeft, false, At(Where::kE2, 1));
  input.Release(*control, kGrid, PointerButton::kLeft, At(Where::kE2));
  EXPECT_EQ(control->GetMove(), u"");
  EXPECT_EQ(host.CountEvents(EventId::kMouseDown), 0);
}

}  // namespace
}  // namespace velmora::testing
