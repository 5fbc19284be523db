// The board from the keyboard in the real window: key messages, a dialog's message loop, the
// focus mark's pixels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "view/accessible_parts.h"
#include "window_fixture.h"

namespace velmora::testing {
namespace {

// Rows 1 to 8: both sides can castle, a pawn of each side is one step from promoting.
constexpr std::u16string_view kKeyboardGame =
    u"R***K**R"
    u"*******p"
    u"********"
    u"****p***"
    u"********"
    u"********"
    u"*P******"
    u"r***k**r";

class KeyboardWindowTest : public SurfaceTest {
 protected:
  void SetUp() override {
    SurfaceTest::SetUp();
    SetFocus(window_->hwnd());
    Pump();
  }

  // Where the mark on square n lies in the window, as the painter places it.
  PixelBox MarkBox(std::int16_t n) const {
    return ScreenGrid().BoxOf({ControlName::kSquarePicture, n},
                              *FocusMarkRect(control_->surface(), n));
  }

  // Dark pixels where the mark would be on square n: its outline three pixels inside the square.
  int MarkPixels(const Capture& capture, std::int16_t n) const {
    const PixelBox mark = MarkBox(n);
    int dark = 0;
    for (int x = mark.left; x < mark.right; ++x) dark += capture.At(x, mark.top) == RGB(0, 0, 0);
    return dark;
  }
};

TEST_F(KeyboardWindowTest, AWholeGameByPostedKeyMessages) {
  control_->PutPosition(std::u16string(kKeyboardGame));
  std::vector<std::u16string> moves;
  host_.handler = [&](EventId id, std::span<const EventArg>) {
    if (id == EventId::kChange) moves.push_back(control_->GetMove());
  };
  Type({VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_SPACE, VK_RIGHT, VK_RIGHT, VK_RETURN});
  EXPECT_EQ(control_->board().RowText(1), u"R****RK*") << "white castled king side";
  Type({VK_HOME}, true);
  Type({VK_END, VK_LEFT, VK_LEFT, VK_LEFT, VK_SPACE, VK_LEFT, VK_LEFT, VK_RETURN});
  EXPECT_EQ(control_->board().RowText(8), u"**kr***r") << "black castled queen side";
  // B7 to B8, the bishop chosen by arrows; H2 to H1, the queen chosen by letter.
  Type({VK_LEFT, VK_DOWN, VK_SPACE, VK_UP, VK_RETURN, VK_DOWN, VK_DOWN, VK_DOWN, VK_UP, VK_SPACE});
  Type({VK_END, VK_NEXT, VK_UP, VK_SPACE, VK_DOWN, VK_RETURN, 'Q'});
  // The rook goes up three squares and takes the pawn beside it.
  Type({VK_END}, true);
  Type({VK_LEFT, VK_LEFT, VK_SPACE, VK_UP, VK_UP, VK_UP, VK_RETURN, VK_SPACE, VK_LEFT, VK_RETURN});
  Type({VK_HOME, VK_SPACE});
  EXPECT_EQ(control_->board().PositionText(),
            u"R*****Kq"
            u"********"
            u"********"
            u"****R***"
            u"********"
            u"********"
            u"********"
            u"*Bkr***r");
  ASSERT_EQ(boxes_.boxes().size(), 1u);
  EXPECT_EQ(boxes_.boxes()[0].text, L"Empty Square");
  EXPECT_EQ(moves, (std::vector<std::u16string>{u"E1", u"E8", u"B7", u"B7-B8", u"H2", u"H2-H1",
                                                u"F1", u"F1-F4", u"F4", u"F4-E4"}));
}

TEST_F(KeyboardWindowTest, TheHostTakesAKeyAndADisabledWindowIgnoresKeys) {
  host_.handler = [](EventId id, std::span<const EventArg> args) {
    if (id == EventId::kKeyDown) *std::get<std::int16_t*>(args[0]) = 0;
  };
  Type({VK_UP, VK_SPACE});
  EXPECT_EQ(control_->focus().Square(), 1);
  EXPECT_EQ(control_->entry_state(), EntryState::kIdle);
  EXPECT_EQ(host_.Count(EventId::kKeyDown), 2);
  host_.handler = nullptr;
  control_->Enabled(false);
  Type({VK_UP, VK_SPACE});
  EXPECT_EQ(control_->focus().Square(), 1);
  EXPECT_EQ(host_.Count(EventId::kKeyDown), 2);
}

TEST_F(KeyboardWindowTest, AHeldSpaceRepeatsWithoutClickingAgain) {
  // A held key repeats its key-down with the previous-state bit set, and is released once.
  constexpr LPARAM kRepeat = 0x40000001;
  PostMessageW(window_->hwnd(), WM_KEYDOWN, VK_SPACE, 1);
  PostMessageW(window_->hwnd(), WM_KEYDOWN, VK_SPACE, kRepeat);
  PostMessageW(window_->hwnd(), WM_KEYDOWN, VK_SPACE, kRepeat);
  PostMessageW(window_->hwnd(), WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0000001u));
  Pump();
  EXPECT_EQ(control_->GetMove(), u"A1") << "one click: the rook is picked up, not put back";
  EXPECT_EQ(control_->entry_state(), EntryState::kPicked);
  EXPECT_EQ(host_.Count(EventId::kKeyDown), 3) << "the host hears every repeat";
}

TEST_F(KeyboardWindowTest, ADialogsMessageLoopLeavesTheBoardItsKeys) {
  // IsDialogMessage first, as a dialog-style host runs its loop: without the window's dialog
  // code it would take the arrows and Enter for its own navigation.
  PostMessageW(window_->hwnd(), WM_KEYDOWN, VK_UP, 1);
  PostMessageW(window_->hwnd(), WM_KEYDOWN, VK_RIGHT, 1);
  PostMessageW(window_->hwnd(), WM_KEYDOWN, VK_RETURN, 1);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (IsDialogMessageW(parent_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  EXPECT_EQ(control_->focus().Square(), 10) << "B2";
  EXPECT_EQ(control_->GetMove(), u"B2") << "Enter picked the pawn up";
}

TEST_F(KeyboardWindowTest, DialogCodesWantArrowsCharactersAndEntersKeyPressOnly) {
  struct Case {
    UINT message;
    WPARAM key;
    LRESULT expected;
  };
  constexpr LRESULT kBase = DLGC_WANTARROWS | DLGC_WANTCHARS;
  const Case cases[] = {
      {WM_KEYDOWN, VK_RETURN, kBase | DLGC_WANTMESSAGE},
      {WM_KEYUP, VK_RETURN, kBase},
      {WM_KEYDOWN, VK_TAB, kBase},
      {WM_KEYDOWN, VK_ESCAPE, kBase},
      {WM_KEYDOWN, VK_LEFT, kBase},
  };
  for (const Case& c : cases) {
    MSG msg{window_->hwnd(), c.message, c.key, 0, 0, {}};
    EXPECT_EQ(SendMessageW(window_->hwnd(), WM_GETDLGCODE, c.key, reinterpret_cast<LPARAM>(&msg)),
              c.expected)
        << c.message << " " << c.key;
  }
  EXPECT_EQ(SendMessageW(window_->hwnd(), WM_GETDLGCODE, 0, 0), kBase);
}

TEST_F(KeyboardWindowTest, TheMarkIsPaintedAfterAKeyAndGoneAfterAClick) {
  Type({VK_UP});
  UpdateWindow(window_->hwnd());
  const Capture marked = CaptureClient(window_->hwnd());
  marked.SaveBmp(ScreenPath(L"surface-focus-mark.bmp"));
  const std::int16_t a2 = 9;
  EXPECT_EQ(MarkPixels(marked, a2), MarkBox(a2).width()) << "the whole top edge";
  EXPECT_EQ(MarkPixels(marked, 1), 0);
  SetFocus(parent_);
  Pump();
  UpdateWindow(window_->hwnd());
  EXPECT_EQ(MarkPixels(CaptureClient(window_->hwnd()), a2), 0) << "no mark without the focus";
  SetFocus(window_->hwnd());
  Click(SquareCentre(a2));
  UpdateWindow(window_->hwnd());
  EXPECT_EQ(MarkPixels(CaptureClient(window_->hwnd()), a2), 0) << "a click hides the mark";
}

TEST_F(KeyboardWindowTest, MouseOnlyUsePaintsTodaysPixels) {
  UpdateWindow(window_->hwnd());
  const Capture before = CaptureClient(window_->hwnd());
  invalidated_pixels_ = 0;
  Click(SquareCentre(2));   // B1
  Click(SquareCentre(18));  // C3
  Click(SquareCentre(18));
  Click(SquareCentre(2));
  // Four picture changes and the move display's four texts; nothing for a focus mark.
  const PixelGrid grid = ScreenGrid();
  const auto area = [&grid](ControlRef ref) {
    const PixelBox box = grid.BoxOf(*FindControl(ref));
    return static_cast<std::uint64_t>(box.width()) * static_cast<std::uint64_t>(box.height());
  };
  EXPECT_EQ(invalidated_pixels_,
            4 * area({ControlName::kSquarePicture, 2}) + 4 * area({ControlName::kMoveDisplay}));
  // The knight is home again; with the move display emptied, every pixel is as it was.
  control_->GetMove(u"");
  UpdateWindow(window_->hwnd());
  const Capture after = CaptureClient(window_->hwnd());
  EXPECT_TRUE(after.pixels == before.pixels);
}

}  // namespace
}  // namespace velmora::testing
