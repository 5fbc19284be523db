#include <gtest/gtest.h>

#include <string>

#include "window_fixture.h"

namespace velmora::testing {
namespace {

using Event = TestHost::Event;

constexpr std::int16_t kE2 = 13, kE4 = 29, kA7 = 49, kA8 = 57, kH2 = 16, kH1 = 8;

// Rows 1 to 8: a white pawn on A7 and a black pawn on H2, each one step from promoting.
constexpr std::u16string_view kPromotionPosition =
    u"****K***"
    u"*******p"
    u"********"
    u"********"
    u"********"
    u"********"
    u"P*******"
    u"****k***";

// The pixel area of one square picture and of the move display at 96 dots per inch.
std::uint64_t Area(PixelBox box) {
  return static_cast<std::uint64_t>(box.width()) * static_cast<std::uint64_t>(box.height());
}

TEST_F(SurfaceTest, TwoClicksMoveAPiece) {
  Click(SquareCentre(kE2));
  Click(SquareCentre(kE4));
  EXPECT_EQ(CellAt(*control_, kE2), u'*');
  EXPECT_EQ(CellAt(*control_, kE4), u'P');
  EXPECT_EQ(control_->GetMove(), u"E2-E4");
  EXPECT_EQ(control_->surface().PictureOf(kE4), Picture::kWhitePawn);
  EXPECT_EQ(host_.Count(EventId::kChange), 2);
  EXPECT_TRUE(host_.SurfaceEvents().empty());
  EXPECT_EQ(GetFocus(), window_->hwnd());
  EXPECT_GT(keep_alive_calls_, 0);
}

TEST_F(SurfaceTest, PressAndReleaseOnDifferentSquaresIsNoClick) {
  Post(WM_LBUTTONDOWN, MK_LBUTTON, SquareCentre(kE2));
  Post(WM_LBUTTONUP, 0, SquareCentre(kE4));
  Pump();
  EXPECT_EQ(control_->entry_state(), EntryState::kIdle);
  EXPECT_EQ(control_->GetMove(), u"");
}

TEST_F(SurfaceTest, DoubleClickOnASquareIsOneClick) {
  const POINT e2 = SquareCentre(kE2);
  PostClick(e2);
  Post(WM_LBUTTONDBLCLK, MK_LBUTTON, e2);
  Post(WM_LBUTTONUP, 0, e2);
  Pump();
  EXPECT_EQ(control_->entry_state(), EntryState::kPicked);
  EXPECT_EQ(control_->GetMove(), u"E2");
  EXPECT_TRUE(host_.SurfaceEvents().empty());
}

TEST_F(SurfaceTest, FirstClickOnAnEmptySquareShowsTheMessageBox) {
  Click(SquareCentre(kE4));
  ASSERT_EQ(boxes_.boxes().size(), 1u);
  EXPECT_EQ(boxes_.boxes()[0].text, L"Empty Square");
  EXPECT_EQ(boxes_.boxes()[0].caption, L"Project1");
  EXPECT_EQ(boxes_.boxes()[0].owner, parent_);
  EXPECT_EQ(control_->entry_state(), EntryState::kIdle);
}

struct PromotionCase {
  std::int16_t from, to, choice;
  char16_t promoted;
  ControlName panel;
};

class PromotionTest : public SurfaceTest, public ::testing::WithParamInterface<PromotionCase> {};

TEST_P(PromotionTest, AChoiceClickedDuringThePromptCompletesTheMove) {
  const PromotionCase c = GetParam();
  control_->PutPosition(std::u16string(kPromotionPosition));
  Click(SquareCentre(c.from));
  bool panel_shown = false;
  std::function<void()> look = [&] { panel_shown = control_->surface().IsVisible(c.panel); };
  // All queued before the destination's release is handled, so the prompt's own message
  // loop delivers the choice.
  PostClick(SquareCentre(c.to));
  PostAction(&look);
  PostClick(ChoiceCentre(c.choice));
  Pump();
  EXPECT_TRUE(panel_shown);
  EXPECT_EQ(CellAt(*control_, c.to), c.promoted);
  EXPECT_EQ(CellAt(*control_, c.from), u'*');
  EXPECT_FALSE(control_->surface().IsVisible(c.panel));
  EXPECT_FALSE(control_->surface().IsVisible(ControlName::kPromptBackdrop));
  EXPECT_EQ(control_->entry_state(), EntryState::kIdle);
}

INSTANTIATE_TEST_SUITE_P(
    EveryChoice, PromotionTest,
    ::testing::Values(PromotionCase{kA7, kA8, 0, u'Q', ControlName::kWhitePanel},
                      PromotionCase{kA7, kA8, 1, u'R', ControlName::kWhitePanel},
                      PromotionCase{kA7, kA8, 2, u'B', ControlName::kWhitePanel},
                      PromotionCase{kA7, kA8, 3, u'N', ControlName::kWhitePanel},
                      PromotionCase{kH2, kH1, 4, u'q', ControlName::kBlackPanel},
                      PromotionCase{kH2, kH1, 5, u'r', ControlName::kBlackPanel},
                      PromotionCase{kH2, kH1, 6, u'b', ControlName::kBlackPanel},
                      PromotionCase{kH2, kH1, 7, u'n', ControlName::kBlackPanel}));

TEST_F(SurfaceTest, SquareClicksDuringThePromptChangeNothing) {
  control_->PutPosition(std::u16string(kPromotionPosition));
  Click(SquareCentre(kA7));
  PostClick(SquareCentre(kA8));
  PostClick(SquareCentre(kE2));  // an empty square: no message box either
  PostClick(SquareCentre(5));    // the white king
  PostClick(ChoiceCentre(1));
  Pump();
  EXPECT_EQ(CellAt(*control_, kA8), u'R');
  EXPECT_EQ(CellAt(*control_, 5), u'K');
  EXPECT_EQ(control_->GetMove(), u"A7-A8");
  EXPECT_TRUE(boxes_.boxes().empty());
  EXPECT_EQ(control_->entry_state(), EntryState::kIdle);
}

TEST_F(SurfaceTest, QuitDuringThePromptAbandonsTheMoveAndIsPostedAgain) {
  control_->PutPosition(std::u16string(kPromotionPosition));
  Click(SquareCentre(kA7));
  PostClick(SquareCentre(kA8));
  PostQuitMessage(7);
  EXPECT_EQ(Pump(), std::optional<int>(7));
  EXPECT_EQ(control_->entry_state(), EntryState::kIdle);
  EXPECT_EQ(CellAt(*control_, kA7), u'P');
  EXPECT_EQ(CellAt(*control_, kA8), u'*');
  EXPECT_EQ(control_->surface().PictureOf(kA7), Picture::kWhitePawn);
  EXPECT_FALSE(control_->surface().IsVisible(ControlName::kWhitePanel));
}

TEST_F(SurfaceTest, ClosingTheFormDuringThePromptEndsTheWait) {
  control_->PutPosition(std::u16string(kPromotionPosition));
  Click(SquareCentre(kA7));
  PostClick(SquareCentre(kA8));
  PostMessageW(parent_, WM_CLOSE, 0, 0);
  Pump();
  EXPECT_FALSE(IsWindow(parent_));
  EXPECT_EQ(window_->hwnd(), nullptr);
  EXPECT_EQ(forms_.window(), nullptr);
  EXPECT_EQ(control_->entry_state(), EntryState::kIdle);
  EXPECT_EQ(CellAt(*control_, kA8), u'*');
  EXPECT_TRUE(forms_.ProcessPendingEvents());
}

TEST_F(SurfaceTest, AHostThatLetsGoOfTheWindowInsideAHandlerIsSafe) {
  host_.handler = [this](EventId id, std::span<const EventArg>) {
    if (id == EventId::kChange) window_.reset();
  };
  const HWND hwnd = window_->hwnd();
  Click(SquareCentre(kE2));
  EXPECT_EQ(window_, nullptr);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(control_->GetMove(), u"E2");
}

TEST_F(SurfaceTest, AHostMoveRepaintsItsTwoSquaresAndTheMoveDisplay) {
  // The first repaint takes the transparent design pictures off the empty squares; after it
  // only real changes count.
  control_->PutMove(u"**");
  UpdateWindow(window_->hwnd());
  invalidated_pixels_ = 0;
  control_->PutMove(u"E2-E4");
  const PixelGrid grid = ScreenGrid();
  const PixelBox e2 = grid.BoxOf(*FindControl({ControlName::kSquarePicture, kE2}));
  const PixelBox e4 = grid.BoxOf(*FindControl({ControlName::kSquarePicture, kE4}));
  const PixelBox move_display = grid.BoxOf(*FindControl({ControlName::kMoveDisplay}));
  // At 96 dpi: two 48 x 48 squares and the 73 x 25 move display.
  EXPECT_EQ(invalidated_pixels_, Area(e2) + Area(e4) + Area(move_display));
  // The window's pending repaint is exactly those three rectangles.
  const HRGN pending = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetUpdateRgn(window_->hwnd(), pending, FALSE), NULLREGION);
  const HRGN expected = CreateRectRgn(0, 0, 0, 0);
  for (const PixelBox box : {e2, e4, move_display}) {
    const HRGN part = CreateRectRgn(box.left, box.top, box.right, box.bottom);
    CombineRgn(expected, expected, part, RGN_OR);
    DeleteObject(part);
  }
  EXPECT_TRUE(EqualRgn(pending, expected));
  for (const HRGN region : {pending, expected}) DeleteObject(region);
}

// The empty squares' transparent design pictures give way to "no picture" unseen, so even the
// first move on a new control repaints only what it changes.
TEST_F(SurfaceTest, TheFirstHostMoveOnANewControlRepaintsOnlyWhatChanges) {
  UpdateWindow(window_->hwnd());
  invalidated_pixels_ = 0;
  control_->PutMove(u"E2-E4");
  const PixelGrid grid = ScreenGrid();
  const auto area = [&grid](ControlRef ref) { return Area(grid.BoxOf(*FindControl(ref))); };
  EXPECT_EQ(invalidated_pixels_, area({ControlName::kSquarePicture, kE2}) +
                                     area({ControlName::kSquarePicture, kE4}) +
                                     area({ControlName::kMoveDisplay}));
}

TEST_F(SurfaceTest, DisabledSurfaceTakesNoClicks) {
  control_->Enabled(false);
  EXPECT_FALSE(IsWindowEnabled(window_->hwnd()));
  // Posted messages reach a disabled window all the same; the core must turn them away.
  Click(SquareCentre(kE2));
  Click({3, 3});
  EXPECT_EQ(control_->entry_state(), EntryState::kIdle);
  EXPECT_TRUE(host_.SurfaceEvents().empty());
  control_->Enabled(true);
  EXPECT_TRUE(IsWindowEnabled(window_->hwnd()));
  Click(SquareCentre(kE2));
  EXPECT_EQ(control_->GetMove(), u"E2");
}

struct MouseCase {
  const char* name;
  std::vector<std::pair<UINT, WPARAM>> messages;  // all at the same point
  std::vector<Event> expected;
};

class SurfaceMouseTest : public SurfaceTest, public ::testing::WithParamInterface<MouseCase> {};

TEST_P(SurfaceMouseTest, ReachesTheHostWithButtonShiftAndTwips) {
  const POINT at{3, 4};  // on the background, clear of every constituent control
  for (const auto& [message, wparam] : GetParam().messages) Post(message, wparam, at);
  Pump();
  // The cases give X and Y at 96 dpi (15 twips a pixel); at other DPIs a pixel is fewer twips.
  std::vector<Event> expected = GetParam().expected;
  for (Event& event : expected) {
    if (event.args.size() != 4) continue;
    event.args[2] = at.x * 1440.0 / ExpectedDpi();
    event.args[3] = at.y * 1440.0 / ExpectedDpi();
  }
  EXPECT_EQ(host_.SurfaceEvents(), expected);
}

const Event kDown{EventId::kMouseDown, {1, 0, 45, 60}};
const Event kUp{EventId::kMouseUp, {1, 0, 45, 60}};
const Event kClick{EventId::kClick, {}};

INSTANTIATE_TEST_SUITE_P(
    Sequences, SurfaceMouseTest,
    ::testing::Values(
        MouseCase{
            "LeftClick", {{WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}}, {kDown, kUp, kClick}},
        MouseCase{"ShiftCtrlPress",
                  {{WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT | MK_CONTROL}},
                  {{EventId::kMouseDown, {1, 3, 45, 60}}}},
        MouseCase{"RightButton",
                  {{WM_RBUTTONDOWN, MK_RBUTTON}, {WM_RBUTTONUP, 0}},
                  {{EventId::kMouseDown, {2, 0, 45, 60}}, {EventId::kMouseUp, {2, 0, 45, 60}}}},
        MouseCase{"MiddleButton",
                  {{WM_MBUTTONDOWN, MK_MBUTTON}},
                  {{EventId::kMouseDown, {4, 0, 45, 60}}}},
        MouseCase{"MoveWithLeftHeld",
                  {{WM_MOUSEMOVE, MK_LBUTTON}},
                  {{EventId::kMouseMove, {1, 0, 45, 60}}}},
        MouseCase{"DoubleClick",
                  {{WM_LBUTTONDOWN, MK_LBUTTON},
                   {WM_LBUTTONUP, 0},
                   {WM_LBUTTONDBLCLK, MK_LBUTTON},
                   {WM_LBUTTONUP, 0}},
                  {kDown, kUp, kClick, {EventId::kDblClick, {}}, kUp}}),
    CaseName<MouseCase>);

TEST_F(SurfaceTest, MouseOverASquareDoesNotReachTheHost) {
  Post(WM_MOUSEMOVE, 0, SquareCentre(kE4));
  Post(WM_RBUTTONDOWN, MK_RBUTTON, SquareCentre(kE4));
  Post(WM_RBUTTONUP, 0, SquareCentre(kE4));
  Pump();
  EXPECT_TRUE(host_.SurfaceEvents().empty());
}

struct KeyCase {
  const char* name;
  std::vector<BYTE> held;  // virtual keys held down while the key is pressed
  WPARAM key;
  std::int16_t shift;
  std::optional<std::int16_t> character;  // the KeyPress that the key's translation makes
};

class SurfaceKeyTest : public SurfaceTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(SurfaceKeyTest, KeyDownAndUpCarryTheVirtualKeyAndShift) {
  BYTE saved[256], state[256] = {};
  GetKeyboardState(saved);
  for (BYTE vk : GetParam().held) state[vk] = 0x80;
  SetKeyboardState(state);
  SetFocus(window_->hwnd());
  // Each key message is pumped on its own, so the character that translating the press makes
  // comes before the release, as when typing.
  Post(WM_KEYDOWN, GetParam().key, {});
  Pump();
  Post(WM_KEYUP, GetParam().key, {});
  Pump();
  SetKeyboardState(saved);
  const double key = static_cast<double>(GetParam().key);
  const double shift = GetParam().shift;
  std::vector<Event> expected{{EventId::kKeyDown, {key, shift}}};
  if (GetParam().character)
    expected.push_back({EventId::kKeyPress, {double(*GetParam().character)}});
  expected.push_back({EventId::kKeyUp, {key, shift}});
  EXPECT_EQ(host_.SurfaceEvents(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, SurfaceKeyTest,
    ::testing::Values(KeyCase{"Plain", {}, 'A', 0, u'a'},
                      KeyCase{"Shift", {VK_SHIFT}, 'A', 1, u'A'},
                      KeyCase{"Ctrl", {VK_CONTROL}, VK_LEFT, 2, {}},
                      KeyCase{"Alt", {VK_MENU}, VK_F5, 4, {}},
                      KeyCase{"ShiftCtrlAlt", {VK_SHIFT, VK_CONTROL, VK_MENU}, 'Z', 7, {}}),
    CaseName<KeyCase>);

struct KeyPressCase {
  const char* name;
  std::int16_t host_writes;  // -1: the host leaves KeyAscii alone
  std::u16string passed_on;
};

class SurfaceKeyPressTest : public SurfaceTest,
                            public ::testing::WithParamInterface<KeyPressCase> {};

TEST_P(SurfaceKeyPressTest, TheWindowGoesOnWithWhatTheHostLeftInKeyAscii) {
  host_.handler = [](EventId id, std::span<const EventArg> args) {
    const std::int16_t write = GetParam().host_writes;
    if (id == EventId::kKeyPress && write >= 0) *std::get<std::int16_t*>(args[0]) = write;
  };
  Post(WM_CHAR, 'a', {});
  Pump();
  ASSERT_EQ(host_.SurfaceEvents().size(), 1u);
  EXPECT_EQ(host_.SurfaceEvents()[0], (Event{EventId::kKeyPress, {97}}));
  EXPECT_EQ(passed_characters_, GetParam().passed_on);
}

INSTANTIATE_TEST_SUITE_P(HostAnswers, SurfaceKeyPressTest,
                         ::testing::Values(KeyPressCase{"Untouched", -1, u"a"},
                                           KeyPressCase{"Swallowed", 0, u""},
                                           KeyPressCase{"Replaced", 'b', u"b"}),
                         CaseName<KeyPressCase>);

TEST(Win32FormsWithoutAWindow, ReportsClosingAndShowsAnUnownedBox) {
  MessageBoxCatcher boxes;
  Win32Forms forms(L"Caption");
  EXPECT_TRUE(forms.ProcessPendingEvents());
  forms.ShowMessage(u"Data Length Error");
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, L"Data Length Error");
  EXPECT_EQ(boxes.boxes()[0].caption, L"Caption");
  EXPECT_EQ(boxes.boxes()[0].owner, nullptr);
}

TEST_F(SurfaceTest, TheScreenIsAtTheDpiTheRunExpects) {
  EXPECT_EQ(DpiOfWindow(window_->hwnd()), ExpectedDpi());
  EXPECT_EQ(window_->grid().scale(), DeviceScale::Times(ExpectedDpi() / 96.0));
  RECT client;
  GetClientRect(window_->hwnd(), &client);
  EXPECT_EQ(client.right, window_->grid().DesignBox().right);
  EXPECT_EQ(client.bottom, window_->grid().DesignBox().bottom);
  // Every square the same size, whatever the DPI: 48, 72 or 96 pixels a side.
  EXPECT_EQ(window_->grid().picture_size().width, 48 * ExpectedDpi() / 96);
  // Resizing makes the window read its DPI again; the same DPI keeps the same grid.
  SetWindowPos(window_->hwnd(), nullptr, 0, 0, client.right + 10, client.bottom, SWP_NOMOVE);
  EXPECT_EQ(window_->grid().scale(), DeviceScale::Times(ExpectedDpi() / 96.0));
}

TEST_F(SurfaceTest, PaintsThePiecesOnTheirSquares) {
  const Capture before = CaptureClient(window_->hwnd());
  before.SaveBmp(ScreenPath(L"surface-initial" + DpiSuffix() + L".bmp"));
  EXPECT_EQ(WrongSquarePixels(before, ScreenGrid(), kE2, Picture::kWhitePawn), 0);
  EXPECT_EQ(WrongSquarePixels(before, ScreenGrid(), 60, Picture::kBlackQueen), 0);
  EXPECT_EQ(WrongSquarePixels(before, ScreenGrid(), kE4, Picture::kNone), 0);
  control_->PutMove(u"E2-E4");
  UpdateWindow(window_->hwnd());
  const Capture after = CaptureClient(window_->hwnd());
  EXPECT_EQ(WrongSquarePixels(after, ScreenGrid(), kE2, Picture::kNone), 0);
  EXPECT_EQ(WrongSquarePixels(after, ScreenGrid(), kE4, Picture::kWhitePawn), 0);
}

TEST_F(SurfaceTest, ThePromptCoversTheBoardWhileItWaits) {
  control_->PutPosition(std::u16string(kPromotionPosition));
  Click(SquareCentre(kA7));
  Capture during;
  std::function<void()> shoot = [&] {
    UpdateWindow(window_->hwnd());
    during = CaptureClient(window_->hwnd());
    during.SaveBmp(ScreenPath(L"surface-prompt" + DpiSuffix() + L".bmp"));
  };
  PostClick(SquareCentre(kA8));
  PostAction(&shoot);
  PostClick(ChoiceCentre(0));
  Pump();
  ASSERT_GT(during.width, 0);
  // The queen choice is painted inside the panel, on the panel's colour.
  const POINT queen = ChoiceCentre(0);
  int ink = 0;
  for (int y = -24; y < 24; ++y) {
    for (int x = -24; x < 24; ++x) ink += during.At(queen.x + x, queen.y + y) == RGB(0, 0, 0);
  }
  EXPECT_GT(ink, 0);
  // Left of the choice's picture: the panel's colour (30 pixels out at 96 dpi).
  const int beside = ScreenGrid().picture_size().width / 2 + 6;
  EXPECT_EQ(during.At(queen.x - beside, queen.y), RGB(255, 192, 128));
}

}  // namespace
}  // namespace velmora::testing
