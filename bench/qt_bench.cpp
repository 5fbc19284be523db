// What the Qt widget costs from a host's write to updated pixels on the offscreen platform: a
// host move (setPutMove, then the paint it causes), a one-pixel update and a full repaint; and
// a host move up to the QML item's pixels in the software scene graph.
// Instructions come from callgrind (tools/instructions.py), times from the benchmark. Nothing in
// a measured loop waits for the wall clock: the front ends' animation clock is moved by hand,
// and the QML frames are rendered on demand, so a count never depends on how long the loop took.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickRenderControl>
#include <QQuickRenderTarget>
#include <QQuickWindow>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "bench/ops_main.h"
#include "platform/qt/board_widget_impl.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/quick/quick_board.h"
#include "velmora/board_widget.h"

namespace {

using velmora::bench::MeasuredLoop;

constexpr const char* kOperationNames = "QtHostMove QtOnePixelUpdate QtFullRepaint QuickHostMove";
constexpr int kSlideTime = 150;
constexpr int kItemSide = 400;

// A clock that stands still until the benchmark moves it, and wakes its front end only then.
class HandClock : public velmora::FrontEndClock {
 public:
  std::int64_t Now() const override { return now_; }
  void WakeAt(std::optional<std::int64_t> ms) override { due_ = ms; }

  // The front end's wake-up, when one is due by now: a slide queued since starts.
  void WakeIfDue() {
    if (!due_ || *due_ > now_) return;
    due_.reset();
    wake();
  }

 private:
  std::int64_t now_ = 0;
  std::optional<std::int64_t> due_;
};

HandClock& HandClockIn(std::unique_ptr<velmora::FrontEndClock>& held) {
  auto hand = std::make_unique<HandClock>();
  HandClock& clock = *hand;
  velmora::ReplaceClock(held, std::move(hand));
  return clock;
}

const char* HostMoveText(long i) {
  return i % 2 == 0 ? "E2-E4" : "E4-E2";
}

// A shown widget whose pending paints have been made.
struct ShownBoard {
  velmora::BoardWidget widget;
  HandClock& clock = HandClockIn(velmora::WidgetAccess::Of(widget).clock);

  ShownBoard() {
    widget.setAnimationTime(kSlideTime);
    widget.show();
    Settle();
  }
  static void Settle() { QCoreApplication::processEvents(); }

  void HostMove(long i) {
    widget.setPutMove(QString::fromLatin1(HostMoveText(i)));
    clock.WakeIfDue();
    Settle();
  }
  void OnePixel() {
    widget.update(10, 10, 1, 1);
    Settle();
  }
  void Full() {
    widget.update();
    Settle();
  }
};

// The QML item in a window whose frames a render control makes when asked, into a picture.
struct RenderedItem {
  QQuickRenderControl control;
  QQuickWindow window{&control};
  QImage pixels{kItemSide, kItemSide, QImage::Format_ARGB32_Premultiplied};
  QQmlEngine engine;
  std::unique_ptr<QQuickItem> item;
  HandClock* clock = nullptr;

  RenderedItem() {
    window.setRenderTarget(QQuickRenderTarget::fromPaintDevice(&pixels));
    window.resize(kItemSide, kItemSide);
    window.contentItem()->setSize(QSizeF(kItemSide, kItemSide));
    engine.addImportPath(QStringLiteral(VELMORA_QML_IMPORT_DIR));
    QQmlComponent component(&engine);
    component.setData(
        "import Velmora\nChessBoard { animationTime: " + QByteArray::number(kSlideTime) + " }",
        QUrl());
    item.reset(qobject_cast<QQuickItem*>(component.create()));
    item->setParentItem(window.contentItem());
    clock =
        &HandClockIn(velmora::QuickBoardAccess::Clock(static_cast<velmora::QuickBoard&>(*item)));
    Frame();
  }

  void Frame() {
    control.polishItems();
    control.beginFrame();
    control.sync();
    control.render();
    control.endFrame();
  }
  // A host move and the frame that shows it.
  void HostMove(long i) {
    item->setProperty("putMove", HostMoveText(i));
    clock->WakeIfDue();
    Frame();
  }
};

using Operation = void (*)(ShownBoard&, long);

Operation OperationNamed(const std::string& name) {
  if (name == "QtHostMove") return [](ShownBoard& board, long i) { board.HostMove(i); };
  if (name == "QtOnePixelUpdate") return [](ShownBoard& board, long) { board.OnePixel(); };
  if (name == "QtFullRepaint") return [](ShownBoard& board, long) { board.Full(); };
  return nullptr;
}

void Measure(benchmark::State& state, const char* name) {
  ShownBoard board;
  const Operation operation = OperationNamed(name);
  long i = 0;
  for (auto _ : state) operation(board, i++);
}

BENCHMARK_CAPTURE(Measure, HostMove, "QtHostMove")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Measure, OnePixelUpdate, "QtOnePixelUpdate")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Measure, FullRepaint, "QtFullRepaint")->Unit(benchmark::kMicrosecond);

void MeasureQuickHostMove(benchmark::State& state) {
  RenderedItem item;
  long i = 0;
  for (auto _ : state) item.HostMove(i++);
}
BENCHMARK(MeasureQuickHostMove)->Name("QuickHostMove")->Unit(benchmark::kMicrosecond);

// `--ops NAME COUNT`: COUNT operations after one warm-up, for callgrind.
int RunOps(const std::string& name, long count) {
  if (name == "QuickHostMove") {
    RenderedItem item;
    MeasuredLoop(count + 1, [&](long i) { item.HostMove(i); });
    return 0;
  }
  const Operation operation = OperationNamed(name);
  if (operation == nullptr) return 2;
  ShownBoard board;
  MeasuredLoop(count + 1, [&](long i) { operation(board, i); });
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Measured without a screen, as the tests run.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
  QApplication application(argc, argv);
  return velmora::bench::OpsMain(argc, argv, kOperationNames, RunOps);
}
