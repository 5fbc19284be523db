// What the Qt widget costs from a host's write to updated pixels on the offscreen platform: a
// host move (setPutMove, then the paint it causes), a one-pixel update and a full repaint; and
// a host move up to the QML item's pixels in the software scene graph.
// Instructions come from callgrind (tools/instructions.py), times from the benchmark.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QSignalSpy>
#include <memory>
#include <string>

#include "bench/ops_main.h"
#include "velmora/board_widget.h"

namespace {

constexpr const char* kOperationNames = "QtHostMove QtOnePixelUpdate QtFullRepaint QuickHostMove";

// A shown board whose pending paints have been made.
struct ShownBoard {
  velmora::BoardWidget widget;

  ShownBoard() {
    widget.show();
    Settle();
  }
  static void Settle() { QCoreApplication::processEvents(); }

  void HostMove(long i) {
    widget.setPutMove(i % 2 == 0 ? QStringLiteral("E2-E4") : QStringLiteral("E4-E2"));
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

// The QML item shown in a view, its first frame made.
struct ShownItem {
  QQuickView view;
  QSignalSpy frames{&view, &QQuickWindow::frameSwapped};

  ShownItem() {
    view.engine()->addImportPath(QStringLiteral(VELMORA_QML_IMPORT_DIR));
    QQmlComponent component(view.engine());
    component.setData("import Velmora\nChessBoard {}", QUrl());
    view.setContent(QUrl(), &component, component.create());
    view.show();
    frames.wait();
  }

  // A host move and the frame that shows it.
  void HostMove(long i) {
    view.rootObject()->setProperty("putMove", i % 2 == 0 ? "E2-E4" : "E4-E2");
    frames.wait();
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
  ShownItem item;
  long i = 0;
  for (auto _ : state) item.HostMove(i++);
}
BENCHMARK(MeasureQuickHostMove)->Name("QuickHostMove")->Unit(benchmark::kMicrosecond);

// `--ops NAME COUNT`: COUNT operations after one warm-up, for callgrind.
int RunOps(const std::string& name, long count) {
  if (name == "QuickHostMove") {
    ShownItem item;
    for (long i = 0; i <= count; ++i) item.HostMove(i);
    return 0;
  }
  const Operation operation = OperationNamed(name);
  if (operation == nullptr) return 2;
  ShownBoard board;
  for (long i = 0; i <= count; ++i) operation(board, i);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Measured without a screen, as the tests run.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) qputenv("QT_QUICK_BACKEND", "software");
  QApplication application(argc, argv);
  return velmora::bench::OpsMain(argc, argv, kOperationNames, RunOps);
}
