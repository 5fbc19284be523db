// Drags in the real window by posted and sent mouse messages. What a drop does is the core's
// (tested there); here: that the window hands the core the left button's state, signed client
// pixels and the system's drag distance, and repaints what a drag frame changes.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "window_fixture.h"

namespace velmora::testing {
namespace {

constexpr std::int16_t kE1 = 5, kF1 = 6, kG1 = 7, kH1 = 8, kE2 = 13, kE3 = 21, kE4 = 29, kD5 = 36,
                       kE5 = 37, kA7 = 49, kB7 = 50, kA8 = 57;

// Rows 1 to 8.
constexpr std::u16string_view kCapturePosition =
    u"****K***"
    u"********"
    u"********"
    u"****P***"
    u"***p****"
    u"********"
    u"********"
    u"****k***";
constexpr std::u16string_view kCastlingPosition =
    u"****K**R"
    u"********"
    u"********"
    u"********"
    u"********"
    u"********"
    u"********"
    u"****k***";
constexpr std::u16string_view kPromotionPosition =
    u"****K***"
    u"********"
    u"********"
    u"********"
    u"********"
    u"********"
    u"P*******"
    u"****k***";

// Where the pointer is: a square's centre, or a client point off the board.
struct Spot {
  std::int16_t square = 0;
  POINT off{};
};
constexpr Spot On(std::int16_t square) {
  return {square, {}};
}
// Beside the board on the surface (the drag window is this much wider than high, so the fitted
// board leaves half of it on each side), and outside the window (which holds the pointer, so
// the release still reaches it, with negative coordinates).
constexpr int kRoomBeside = 40;
constexpr Spot kBesideTheBoard{0, {3, 4}};
constexpr Spot kOutsideTheWindow{0, {-30, 40}};

// What the host hears of a drag: the pick's Change, then for a move BeforeMove, the move's
// Change and AfterMove.
const std::vector<EventId> kMoveEvents{EventId::kChange, EventId::kBeforeMove, EventId::kChange,
                                       EventId::kAfterMove};
const std::vector<EventId> kPickEvents{EventId::kChange};

// One drag: pressed at the path's first spot, moved through the rest with the left button
// held, released at the last; `choice` is clicked on the chooser the drop shows. A move leaves
// the board as the start with `changes`; otherwise the piece stays picked.
struct DragCase {
  const char* name = "";
  std::u16string_view position{};  // empty: the initial position
  std::u16string_view legal_moves{};
  std::vector<Spot> path{};
  std::optional<std::int16_t> choice{};
  bool moves = true;
  std::vector<std::pair<std::int16_t, char16_t>> changes{};
  std::u16string get_move{};
  std::vector<EventId> events = kMoveEvents;
};

class DragWindowTest : public ChessBoardSurfaceTest,
                       public ::testing::WithParamInterface<DragCase> {
 protected:
  void SetUp() override {
    ChessBoardSurfaceTest::SetUp();
    RECT client;
    GetClientRect(window_->hwnd(), &client);
    MoveWindow(window_->hwnd(), 0, 0, client.right + kRoomBeside, client.bottom, TRUE);
    Pump();
  }
  POINT At(const Spot& spot) const {
    return spot.square != 0 ? SquareCentre(spot.square) : spot.off;
  }
};

TEST_P(DragWindowTest, ADropActsAsTheCoreDecides) {
  const DragCase& c = GetParam();
  if (!c.position.empty()) control_->PutPosition(std::u16string(c.position));
  ASSERT_FALSE(control_->LegalMoves(c.legal_moves));
  std::u16string expected = control_->board().PositionText();
  for (const auto& [square, cell] : c.changes)
    expected[static_cast<std::size_t>(square - 1)] = cell;
  host_.events.clear();

  Post(WM_LBUTTONDOWN, MK_LBUTTON, At(c.path.front()));
  for (auto spot = c.path.begin() + 1; spot != c.path.end(); ++spot) {
    Post(WM_MOUSEMOVE, MK_LBUTTON, At(*spot));
  }
  Post(WM_LBUTTONUP, 0, At(c.path.back()));
  if (c.choice) PostClick(SquareCentre(ChooserSquare(c.path.back().square, *c.choice)));
  Pump();

  EXPECT_EQ(control_->board().PositionText(), expected);
  EXPECT_EQ(control_->GetMove(), c.get_move);
  EXPECT_EQ(control_->entry_state(), c.moves ? EntryState::kIdle : EntryState::kPicked);
  EXPECT_FALSE(control_->surface().Drag());
  std::vector<EventId> events;
  for (const TestHost::Event& event : host_.events) events.push_back(event.id);
  EXPECT_EQ(events, c.events);
  EXPECT_TRUE(boxes_.boxes().empty());
  EXPECT_EQ(GetCapture(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Drops, DragWindowTest,
    ::testing::Values(DragCase{.name = "Move",
                               .path = {On(kE2), On(kE3), On(kE4)},
                               .changes = {{kE2, u'*'}, {kE4, u'P'}},
                               .get_move = u"E2-E4"},
                      DragCase{.name = "Capture",
                               .position = kCapturePosition,
                               .path = {On(kE4), On(kE5), On(kD5)},
                               .changes = {{kE4, u'*'}, {kD5, u'P'}},
                               .get_move = u"E4-D5"},
                      DragCase{.name = "CastlingByTheKing",
                               .position = kCastlingPosition,
                               .path = {On(kE1), On(kF1), On(kG1)},
                               .changes = {{kE1, u'*'}, {kF1, u'R'}, {kG1, u'K'}, {kH1, u'*'}},
                               .get_move = u"E1-G1"},
                      DragCase{.name = "PromotionThenChoice",
                               .position = kPromotionPosition,
                               .path = {On(kA7), On(kB7), On(kA8)},
                               .choice = 1,
                               .changes = {{kA7, u'*'}, {kA8, u'R'}},
                               .get_move = u"A7-A8"},
                      DragCase{.name = "BesideTheBoard",
                               .path = {On(kE2), On(kE3), kBesideTheBoard},
                               .moves = false,
                               .get_move = u"E2",
                               .events = kPickEvents},
                      DragCase{.name = "OutsideTheWindow",
                               .path = {On(kE2), On(kE3), kOutsideTheWindow},
                               .moves = false,
                               .get_move = u"E2",
                               .events = kPickEvents},
                      DragCase{.name = "UnlistedSquare",
                               .legal_moves = u"E2-E4 E2-E3",
                               .path = {On(kE2), On(kE4), On(kE5)},
                               .moves = false,
                               .get_move = u"E2",
                               .events = kPickEvents}),
    CaseName<DragCase>);

// Sets the system's drag distance (this session only) for as long as it lives.
class SystemDragDistance {
 public:
  explicit SystemDragDistance(int pixels)
      : width_(GetSystemMetrics(SM_CXDRAG)), height_(GetSystemMetrics(SM_CYDRAG)) {
    Set(pixels, pixels);
  }
  ~SystemDragDistance() { Set(width_, height_); }
  SystemDragDistance(const SystemDragDistance&) = delete;
  SystemDragDistance& operator=(const SystemDragDistance&) = delete;

 private:
  static void Set(int width, int height) {
    SystemParametersInfoW(SPI_SETDRAGWIDTH, static_cast<UINT>(width), nullptr, 0);
    SystemParametersInfoW(SPI_SETDRAGHEIGHT, static_cast<UINT>(height), nullptr, 0);
  }
  int width_, height_;
};

struct DistanceCase {
  const char* name;
  int dx, dy;  // from the press, inside its square
  bool drags;
};

class DragDistanceTest : public ChessBoardSurfaceTest,
                         public ::testing::WithParamInterface<DistanceCase> {};

// A distance well above the usual one, so a window that kept any default of its own would
// start its drags too early.
TEST_P(DragDistanceTest, TheSystemsDragDistanceSeparatesAClickFromADrag) {
  constexpr int kDistance = 10;
  const SystemDragDistance setting(kDistance);
  ASSERT_EQ(GetSystemMetrics(SM_CXDRAG), kDistance);
  const POINT e2 = SquareCentre(kE2);
  const POINT moved{e2.x + GetParam().dx, e2.y + GetParam().dy};
  Post(WM_LBUTTONDOWN, MK_LBUTTON, e2);
  Post(WM_MOUSEMOVE, MK_LBUTTON, moved);
  Pump();
  EXPECT_EQ(control_->surface().Drag().has_value(), GetParam().drags);
  Post(WM_LBUTTONUP, 0, moved);
  Pump();
  // A click on E2 picks it; so does a drop back on its own square.
  EXPECT_EQ(control_->entry_state(), EntryState::kPicked);
  EXPECT_EQ(control_->GetMove(), u"E2");
  EXPECT_FALSE(control_->surface().Drag());
}

INSTANTIATE_TEST_SUITE_P(Distances, DragDistanceTest,
                         ::testing::Values(DistanceCase{"WithinIsAClick", 10, -10, false},
                                           DistanceCase{"PastAcross", 11, 0, true},
                                           DistanceCase{"PastDown", 0, 11, true}),
                         CaseName<DistanceCase>);

TEST_F(SurfaceTest, AUserControl1WindowNeverDrags) {
  const POINT e4 = SquareCentre(kE4);
  bool dragged = false;
  std::function<void()> look = [&] { dragged = control_->surface().Drag().has_value(); };
  Post(WM_LBUTTONDOWN, MK_LBUTTON, SquareCentre(kE2));
  Post(WM_MOUSEMOVE, MK_LBUTTON, SquareCentre(kE3));
  PostAction(&look);
  Post(WM_MOUSEMOVE, MK_LBUTTON, e4);
  Post(WM_LBUTTONUP, 0, e4);
  Pump();
  EXPECT_FALSE(dragged);
  // A press and a release on different squares: no click, as ever.
  EXPECT_EQ(control_->entry_state(), EntryState::kIdle);
  EXPECT_EQ(control_->GetMove(), u"");
  EXPECT_EQ(CellAt(*control_, kE2), u'P');
  EXPECT_TRUE(host_.events.empty());
  EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(ChessBoardSurfaceTest, ADragFrameRepaintsThePiecesOldAndNewBoxesOnly) {
  const POINT e4 = SquareCentre(kE4);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, SquareCentre(kE2));
  Post(WM_MOUSEMOVE, MK_LBUTTON, e4);
  Pump();
  ASSERT_TRUE(control_->surface().Drag());
  // Painted: the piece over the empty E4, and faded on E2.
  UpdateWindow(window_->hwnd());
  const Capture during = CaptureClient(window_->hwnd());
  during.SaveBmp(ScreenPath(L"surface-drag" + DpiSuffix() + L".bmp"));
  const PixelGrid& grid = window_->grid();
  const Surface& surface = control_->surface();
  EXPECT_GT(WrongSquarePixels(during, grid, kE4, Picture::kNone, surface), 0);
  EXPECT_GT(WrongSquarePixels(during, grid, kE2, Picture::kWhitePawn, surface), 0);
  EXPECT_GT(WrongSquarePixels(during, grid, kE2, Picture::kNone, surface), 0);

  // One frame, sent so that its repaint is still pending when it returns.
  invalidated_rects_.clear();
  const POINT next{e4.x + 7, e4.y + 3};
  SendMessageW(window_->hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(next.x, next.y));
  ASSERT_EQ(invalidated_rects_.size(), 2u);
  const RECT was = invalidated_rects_[0], now = invalidated_rects_[1];
  const MaskSize piece = grid.picture_size();
  for (const RECT& box : invalidated_rects_) {
    EXPECT_EQ(box.right - box.left, piece.width);
    EXPECT_EQ(box.bottom - box.top, piece.height);
  }
  EXPECT_EQ(now.left - was.left, 7);
  EXPECT_EQ(now.top - was.top, 3);
  EXPECT_TRUE(PtInRect(&now, next));
  // The window's pending repaint is exactly those two boxes.
  const HRGN pending = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetUpdateRgn(window_->hwnd(), pending, FALSE), NULLREGION);
  const HRGN expected = CreateRectRgnIndirect(&was);
  const HRGN part = CreateRectRgnIndirect(&now);
  CombineRgn(expected, expected, part, RGN_OR);
  EXPECT_TRUE(EqualRgn(pending, expected));
  for (const HRGN region : {pending, expected, part}) DeleteObject(region);

  Post(WM_LBUTTONUP, 0, e4);
  Pump();
  EXPECT_EQ(CellAt(*control_, kE4), u'P');
}

// The window's timer drives a host move's slide: the pawn passes between the squares in the
// frames the timer paints, while E4 shows nothing, and lands there.
TEST_F(ChessBoardSurfaceTest, TheTimerSlidesAHostMoveToItsSquare) {
  ASSERT_FALSE(control_->AnimationTime(200));
  control_->PutMove(u"E2-E4");
  const Surface& surface = control_->surface();
  const std::int32_t from_top = SurfaceRect(*FindControl({ControlName::kSquarePicture, kE2})).top;
  const std::int32_t to_top = SurfaceRect(*FindControl({ControlName::kSquarePicture, kE4})).top;
  bool seen_between = false, seen_landing = false;
  invalidated_rects_.clear();
  // A guard against a timer that never comes, not a measure of speed.
  for (int tick = 0; tick < 500 && control_->NextTickAt(); ++tick) {
    Sleep(5);
    Pump();
    seen_landing |= surface.IsLanding(kE4);
    for (const auto& slide : surface.Sliding()) {
      seen_between |= slide && slide->y < from_top && slide->y > to_top;
    }
  }
  EXPECT_FALSE(control_->NextTickAt().has_value());
  EXPECT_TRUE(seen_between);
  EXPECT_TRUE(seen_landing);
  EXPECT_FALSE(surface.IsSliding());
  EXPECT_GE(invalidated_rects_.size(), 2u) << "the frames were repainted";
  EXPECT_EQ(surface.PictureOf(kE4), Picture::kWhitePawn);
}

}  // namespace
}  // namespace velmora::testing
