// What painting costs through the headless canvas: a full render at 1x and at fractional and
// double scales, one renderer reused as a window reuses its painter (the pieces are rasterized
// on the first render only, so later renders are fills, text and blends), a full repaint into
// a kept picture, a host move up to its repainted pixels (the boxes the core's repaint plan
// gives, nothing else), one pointer move of a dragged piece and one frame of a sliding piece up
// to their pixels; the largest set of marks a board can show (a circle on every square, an arrow
// between every ordered pair, 10,000 marks as a host writes them, duplicates and all) painted
// whole and repainted after a host move; a spare piece dragged from beside a board in edit mode
// and dropped on a square, up to its pixels; apart, what rasterizing all twelve pieces costs at 400
// pixels a square, as a large draw does. Instructions
// come from callgrind (tools/instructions.py), times from the benchmark.
#include <benchmark/benchmark.h>
#include <algorithm>

#include <memory>
#include <string>
#include <vector>

#include "bench/ops_main.h"
#include "bench/quiet_ports.h"
#include "control/board_control.h"
#include "control/pointer_input.h"
#include "control/presenter.h"
#include "platform/headless/png_renderer.h"
#include "view/accessible_parts.h"
#include "view/artwork.h"
#include "view/display_list.h"

namespace {

using velmora::PixelBox;
using velmora::bench::MeasuredLoop;

constexpr const char* kOperationNames =
    "Render1x Render1_5x Render2x RepaintAll1x RepaintHostMove1x DragFrame1x AnimationFrame1x "
    "RasterizePieces400 AllMarks1x AllMarksHostMove1x BoardHostMove1x FullRender400 DragFrame1600 "
    "AnimationFrame1600 RepaintHostMove1600 Resize1600 PaletteDrop400 AllMarks16000Clip";

// Collects the boxes the presenter asks to repaint for what the surface reports, as a window's
// update region does: a box asked for again is painted once.
class DirtyBoxes : public velmora::Screen {
 public:
  DirtyBoxes() { boxes.reserve(8); }

  void Repaint(const PixelBox& box) override {
    if (std::find(boxes.begin(), boxes.end(), box) == boxes.end()) boxes.push_back(box);
  }
  void WakeAt(std::optional<std::int64_t>) override {}

  std::vector<PixelBox> boxes;
};

// The side of a ChessBoard's area at 1x: squares of 48 pixels, as the first class's.
constexpr int kDesignSquaresSide = 8 * 48;

// A control on the quiet ports with its picture at 1x, painted whole once. A ChessBoard fills a
// square area of `side` pixels; the first class keeps its design.
struct Screen {
  explicit Screen(velmora::ControlClass control_class = velmora::ControlClass::kUserControl1,
                  int side = kDesignSquaresSide)
      : Screen(control_class, {0, 0, side, side}, {0, 0, 0, 0}) {
    image = renderer.Render(List());
  }
  // A ChessBoard filling a square of `side` pixels, of which the picture holds only the part
  // `shown` (a window far larger than the screen it is on); nothing painted yet.
  Screen(int side, const velmora::PixelBox& shown)
      : Screen(velmora::ControlClass::kChessBoard,
               velmora::Moved({0, 0, side, side}, -shown.left, -shown.top), shown) {}

  velmora::bench::QuietForms forms;
  velmora::bench::QuietHost host;
  std::shared_ptr<velmora::BoardControl> control;
  DirtyBoxes dirty;
  velmora::Presenter presenter;
  velmora::PngRenderer renderer{presenter.grid().scale()};
  velmora::RgbImage image;

  velmora::DisplayList List() const { return presenter.Display(); }
  // A host move, then the repaint of exactly what it changed.
  void HostMove(long i) {
    dirty.boxes.clear();
    control->PutMove(i % 2 == 0 ? u"E2-E4" : u"E4-E2");
    renderer.Repaint(image, List(), dirty.boxes);
  }
  void RepaintAll() { renderer.Repaint(image, List(), renderer.grid().DesignBox()); }
  void RepaintShown() { renderer.Repaint(image, List(), {0, 0, image.width(), image.height()}); }
  // The area becomes `side` pixels square: the pieces are drawn anew at their new size and the
  // whole picture repainted.
  void Resize(int side) {
    presenter.SetArea({0, 0, side, side}, 1);
    renderer.SetScale(presenter.grid().scale());
    image = velmora::RgbImage(side, side);
    RepaintAll();
  }
  // One pointer move of the piece dragged from E2, a few pixels either way, then the repaint
  // of what it changed.
  void DragFrame(long i) {
    dirty.boxes.clear();
    const velmora::Rect e4 = MiddleOf(29);
    control->DragTo(e4.left + (i % 2 == 0 ? 45 : -45), e4.top);
    renderer.Repaint(image, List(), dirty.boxes);
  }
  // A ChessBoard lifts the pawn on E2 for a drag.
  void LiftForDrag() {
    const velmora::Rect e2 = MiddleOf(13);
    control->BeginDrag(13, e2.left, e2.top);
    RepaintAll();
  }
  // The host moves the pawn on E2 to E4, sliding for the longest time a host may set, and the
  // clock starts it.
  void StartSlide() {
    control->AnimationTime(2000);
    control->PutMove(u"E2-E4");
    presenter.Tick(0);
    RepaintAll();
  }
  // One frame of that slide, the clock a few milliseconds on or back, then the repaint of what
  // it changed.
  void AnimationFrame(long i) {
    dirty.boxes.clear();
    presenter.Tick(i % 2 == 0 ? 900 : 940);
    renderer.Repaint(image, List(), dirty.boxes);
  }
  // Every circle and every arrow a board can show, in mixed colours, written as 10,000 marks
  // (each distinct mark first, then the arrows again in other colours), painted whole once.
  void ShowAllMarks() {
    constexpr char16_t kColours[] = u"GRYB";
    const auto name = [](int square) {
      return std::u16string{static_cast<char16_t>(u'a' + square % 8),
                            static_cast<char16_t>(u'1' + square / 8)};
    };
    std::u16string text;
    for (int i = 0; i < 10000; ++i) {
      const int pair = i % 4096;
      const int from = pair / 64, to = pair % 64;
      text += kColours[(i + i / 4096) % 4];
      text += name(from);
      if (to != from) text += name(to);
      text += u' ';
    }
    control->Marks(text);
  }
  // In edit mode, a spare piece dragged from its place beside the board onto E4 (a white queen,
  // then a black knight, so every drop changes the square), then the repaint of what it changed.
  void PaletteDrop(long i) {
    constexpr std::int16_t kFarKnight = 4, kNearQueen = 7;
    const velmora::PixelGrid& grid = presenter.grid();
    const velmora::PixelBox place =
        grid.BoxOf({velmora::ControlName::kSpare, i % 2 == 0 ? kNearQueen : kFarKnight}, {});
    const velmora::PixelBox e4 = *velmora::PartBox(control->surface(), grid, 29);
    const velmora::PointerPoint from{(place.left + place.right) / 2, (place.top + place.bottom) / 2,
                                     0, 1};
    const velmora::PointerPoint to{(e4.left + e4.right) / 2, (e4.top + e4.bottom) / 2, 0, 1};
    dirty.boxes.clear();
    pointer.Press(*control, grid, velmora::PointerButton::kLeft, false, from);
    pointer.Move(*control, grid, to);
    pointer.Release(*control, grid, velmora::PointerButton::kLeft, {to.x, to.y, 0, 0});
    renderer.Repaint(image, List(), dirty.boxes);
  }
  void StartEditing() {
    control->EditMode(true);
    RepaintAll();
  }
  velmora::PointerInput pointer;

 private:
  Screen(velmora::ControlClass control_class, const velmora::PixelBox& area,
         const velmora::PixelBox& shown)
      : control(velmora::BoardControl::Create(forms, host, control_class)),
        presenter(*control, dirty, area, 1),
        image(shown.width(), shown.height()) {
    presenter.Attach();
  }
  // The middle of a square's picture in twips, as the corner of an empty rectangle.
  static velmora::Rect MiddleOf(std::int16_t square) {
    const velmora::Rect r =
        velmora::SurfaceRect(*velmora::FindControl({velmora::ControlName::kSquarePicture, square}));
    return {r.left + r.width / 2, r.top + r.height / 2, 0, 0};
  }
};

void Render(benchmark::State& state, double scale) {
  const velmora::Surface surface;
  const velmora::DisplayList list = velmora::BuildDisplayList(surface, u"E2-E4");
  velmora::PngRenderer renderer(scale);
  renderer.Render(list);  // warm up: masks and glyph faces
  for (auto _ : state) benchmark::DoNotOptimize(renderer.Render(list));
}

BENCHMARK_CAPTURE(Render, 1x, 1.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Render, 1_5x, 1.5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Render, 2x, 2.0)->Unit(benchmark::kMillisecond);

void RepaintHostMove(benchmark::State& state) {
  Screen screen;
  long i = 0;
  for (auto _ : state) screen.HostMove(i++);
}
BENCHMARK(RepaintHostMove)->Unit(benchmark::kMicrosecond);

void RepaintAll(benchmark::State& state) {
  Screen screen;
  for (auto _ : state) screen.RepaintAll();
}
BENCHMARK(RepaintAll)->Unit(benchmark::kMicrosecond);

void DragFrame(benchmark::State& state) {
  Screen screen(velmora::ControlClass::kChessBoard);
  screen.LiftForDrag();
  long i = 0;
  for (auto _ : state) screen.DragFrame(i++);
}
BENCHMARK(DragFrame)->Unit(benchmark::kMicrosecond);

void AnimationFrame(benchmark::State& state) {
  Screen screen(velmora::ControlClass::kChessBoard);
  screen.StartSlide();
  long i = 0;
  for (auto _ : state) screen.AnimationFrame(i++);
}
BENCHMARK(AnimationFrame)->Unit(benchmark::kMicrosecond);

void RasterizePieces(int pixels) {
  for (int piece = 0; piece < velmora::kPieceCount; ++piece) {
    benchmark::DoNotOptimize(velmora::RasterizePiece(velmora::PieceAt(piece), {pixels, pixels}));
  }
}

void RasterizePieces400(benchmark::State& state) {
  for (auto _ : state) RasterizePieces(400);
}
BENCHMARK(RasterizePieces400)->Unit(benchmark::kMillisecond);

void AllMarks(benchmark::State& state) {
  Screen screen(velmora::ControlClass::kChessBoard);
  screen.ShowAllMarks();
  for (auto _ : state) screen.RepaintAll();
}
BENCHMARK(AllMarks)->Unit(benchmark::kMicrosecond);

void AllMarksHostMove(benchmark::State& state) {
  Screen screen(velmora::ControlClass::kChessBoard);
  screen.ShowAllMarks();
  screen.RepaintAll();
  long i = 0;
  for (auto _ : state) screen.HostMove(i++);
}
BENCHMARK(AllMarksHostMove)->Unit(benchmark::kMicrosecond);

// The first paint of a 700 x 600 part of a 16,000-pixel board with every mark, and the next.
void AllMarks16000Clip(benchmark::State& state) {
  for (auto _ : state) {
    Screen screen(16000, {7650, 7700, 8350, 8300});
    screen.ShowAllMarks();
    screen.RepaintShown();
    screen.RepaintShown();
  }
}
BENCHMARK(AllMarks16000Clip)->Unit(benchmark::kMillisecond);

double ScaleOf(const std::string& name) {
  return name == "Render1x" ? 1.0 : name == "Render1_5x" ? 1.5 : name == "Render2x" ? 2.0 : 0.0;
}

// `--ops NAME COUNT`: COUNT operations after one warm-up, for callgrind.
int RunOps(const std::string& name, long count) {
  if (name == "RasterizePieces400") {
    RasterizePieces(400);  // warm up: the pieces' outlines are built once
    MeasuredLoop(count, [](long) { RasterizePieces(400); });
    return 0;
  }
  const bool large = name.ends_with("1600");
  const int side = large ? 1600 : kDesignSquaresSide;
  if (name == "DragFrame1x" || name == "DragFrame1600") {
    Screen screen(velmora::ControlClass::kChessBoard, side);
    screen.LiftForDrag();
    MeasuredLoop(count + 1, [&](long i) { screen.DragFrame(i); });
    return 0;
  }
  if (name == "AnimationFrame1x" || name == "AnimationFrame1600") {
    Screen screen(velmora::ControlClass::kChessBoard, side);
    screen.StartSlide();
    MeasuredLoop(count + 1, [&](long i) { screen.AnimationFrame(i); });
    return 0;
  }
  if (name == "FullRender400" || name == "RepaintHostMove1600") {
    Screen screen(velmora::ControlClass::kChessBoard, large ? 1600 : 400);
    MeasuredLoop(count + 1, [&](long i) { large ? screen.HostMove(i) : screen.RepaintAll(); });
    return 0;
  }
  if (name == "PaletteDrop400") {
    Screen screen(velmora::ControlClass::kChessBoard, 400);
    screen.StartEditing();
    MeasuredLoop(count + 1, [&](long i) { screen.PaletteDrop(i); });
    return 0;
  }
  if (name == "Resize1600") {
    // Each step a size the pieces have not been drawn at lately.
    Screen screen(velmora::ControlClass::kChessBoard, 1600);
    MeasuredLoop(count + 1, [&](long i) { screen.Resize(1600 - 8 * static_cast<int>(i % 16)); });
    return 0;
  }
  if (name == "RepaintHostMove1x" || name == "RepaintAll1x") {
    Screen screen;
    const bool move = name == "RepaintHostMove1x";
    MeasuredLoop(count + 1, [&](long i) { move ? screen.HostMove(i) : screen.RepaintAll(); });
    return 0;
  }
  if (name == "AllMarks16000Clip") {
    Screen screen(16000, {7650, 7700, 8350, 8300});
    screen.ShowAllMarks();
    MeasuredLoop(count + 1, [&](long) { screen.RepaintShown(); });
    return 0;
  }
  if (name == "AllMarks1x" || name == "AllMarksHostMove1x" || name == "BoardHostMove1x") {
    Screen screen(velmora::ControlClass::kChessBoard);
    if (name != "BoardHostMove1x") {
      screen.ShowAllMarks();
      screen.RepaintAll();
    }
    const bool move = name != "AllMarks1x";
    MeasuredLoop(count + 1, [&](long i) { move ? screen.HostMove(i) : screen.RepaintAll(); });
    return 0;
  }
  const double scale = ScaleOf(name);
  if (scale == 0) return 2;
  const velmora::Surface surface;
  const velmora::DisplayList list = velmora::BuildDisplayList(surface, u"E2-E4");
  velmora::PngRenderer renderer(scale);
  renderer.Render(list);
  MeasuredLoop(count, [&](long) { benchmark::DoNotOptimize(renderer.Render(list)); });
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  return velmora::bench::OpsMain(argc, argv, kOperationNames, RunOps);
}
