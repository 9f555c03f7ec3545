// bench_eq_drag: what a marker drag on the EQ graph costs.
//
//   (1) one drag step as the graph does it: one band recomputed (its marker moves every step), the channel's eight
//       arrays summed, the grid copied, the curve (672 columns) and the six markers with their numbers drawn on the
//       720 x 249 image; also the band alone, the drawing alone and the drawing's three parts, and a whole group
//       recomputed and redrawn. Thread CPU time, median of repeats.
//   (2) one mouse move through the real window's controller (the band's edits, the queued frame, the redraw), the
//       events sent straight to the graph, no event loop in between.
//   (3) CPU of the real window while it is dragged: the High EQ panel open, 200 mouse moves a second for some
//       seconds on a timer (getrusage), and how many times the graph was painted meanwhile; then a burst phase that
//       queues ten moves a tick, where the paints must coalesce to about one a tick. The timer's own cost is
//       measured first, without moves.
//
//   bench_eq_drag [--drag-only] [--seconds N]
// No serial port is opened: the window gets an empty port list and is never started.
#include <sys/resource.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <span>
#include <vector>

#include "app/controller_app.h"
#include "app/form1.h"
#include "app/form_disconnected.h"
#include "app/kit/dialogs.h"
#include "eq/response.h"
#include "eq/scales.h"
#include "eq/ui/eq_box.h"
#include "eq/ui/response_graph.h"

namespace k7310 {
namespace {

// No dialog is expected during a drag; one that comes anyway is reported and answered No / cancelled.
class NoDialogs : public Dialogs {
 public:
  void Message(const QString& text) override { Unexpected(text); }
  bool Question(const QString&, const QString& text) override {
    Unexpected(text);
    return false;
  }
  QString SaveFileName(const QString& name, const QString&) override {
    Unexpected(name);
    return {};
  }
  QString OpenFileName(const QString&) override {
    Unexpected(QStringLiteral("open dialog"));
    return {};
  }

 private:
  static void Unexpected(const QString& what) { std::fprintf(stderr, "unexpected dialog: %s\n", qPrintable(what)); }
};

double ThreadCpuMicros() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e6 + static_cast<double>(ts.tv_nsec) / 1e3;
}

double ProcessCpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Microseconds of thread CPU per call of step: the median over `repeats` runs of `count` calls each (after one run
// that warms the caches and the lazily made tables).
double MedianMicros(const std::function<void(int)>& step, int count, int repeats = 9) {
  for (int i = 0; i < count; ++i) step(i);
  std::vector<double> runs;
  for (int r = 0; r < repeats; ++r) {
    const double t0 = ThreadCpuMicros();
    for (int i = 0; i < count; ++i) step(i);
    runs.push_back((ThreadCpuMicros() - t0) / count);
  }
  std::sort(runs.begin(), runs.end());
  return runs[runs.size() / 2];
}

// A triangle wave between lo and hi, period 2 (hi - lo) steps.
int Triangle(int i, int lo, int hi) {
  const int span = hi - lo;
  const int p = i % (2 * span);
  return lo + (p < span ? p : 2 * span - p);
}

// A group with every band and crossover in use (types, frequencies, gains and Qs spread over their ranges).
ParameterModel BusyGroup() {
  ParameterModel m;
  for (int k = 0; k < kBandCount; ++k) {
    const std::size_t i = static_cast<std::size_t>(k);
    m.EqType[i] = k % 3;
    m.EqFreqIndex[i] = (k * 37 + 11) % (kMaxFreqIndex + 1);
    m.EqPeakGainIndex[i] = (k * 29 + 30) % (kMaxEqGainIndex + 1);
    m.EqShelfGainIndex[i] = (k * 23 + 60) % (kMaxEqGainIndex + 1);
    m.EqQIndex[i] = (k * 13 + 2) % (kMaxQIndex + 1);
  }
  for (int c = 0; c < kChannelCount; ++c) {
    const std::size_t i = static_cast<std::size_t>(c);
    m.HpfType[i] = (2 * c + 1) % 9;
    m.HpfFreqIndex[i] = 20 + 10 * c;
    m.LpfType[i] = (2 * c + 6) % 9;
    m.LpfFreqIndex[i] = 220 - 10 * c;
  }
  return m;
}

// Grid, curve and markers of channel c, as the controller's redraw does it.
void Redraw(ResponseGraph& graph, const EqCurves& curves, int c) {
  graph.CopyGrid();
  const ResponseArray sum = CompositeCurve(curves, c);
  graph.DrawResponseCurve(std::span<const double>(sum.data() + (kFirstResponseColumn - kResponseColumnOffset),
                                                  kLastResponseColumn - kFirstResponseColumn + 1));
  std::array<QPoint, kBandsPerChannel> markers;
  for (int b = 0; b < kBandsPerChannel; ++b) {
    const MarkerPoint m = curves.BandMarker[static_cast<std::size_t>(kBandsPerChannel * c + b)];
    markers[static_cast<std::size_t>(b)] = {m.x, m.y};
  }
  graph.DrawBandMarkers(markers);
}

void StepFigures(ResponseGraph& graph) {
  ParameterModel model = BusyGroup();
  EqCurves curves;
  RecomputeGroup(curves, model);
  const int c = kHigh;
  const int band = 1;  // a peak in the busy group
  const std::size_t bi = static_cast<std::size_t>(band);
  model.EqType[bi] = 0;
  // The marker moves every step: a new frequency and a new gain, as a diagonal drag gives.
  const auto moveBand = [&](int i) {
    model.EqFreqIndex[bi] = Triangle(i, 10, 230);
    model.EqPeakGainIndex[bi] = Triangle(i * 3, 20, 170);
    UpdateBand(curves, model, band, 0);
  };
  const int n = 3000;
  const double step = MedianMicros(
      [&](int i) {
        moveBand(i);
        Redraw(graph, curves, c);
      },
      n);
  const double bandOnly = MedianMicros(moveBand, n);
  ResponseArray sink{};
  const double composite = MedianMicros(
      [&](int i) {
        sink = CompositeCurve(curves, c);
        sink[0] += i;
      },
      n * 4);
  const double draw = MedianMicros([&](int) { Redraw(graph, curves, c); }, n);
  const ResponseArray sum = CompositeCurve(curves, c);
  const std::span<const double> columns(sum.data() + (kFirstResponseColumn - kResponseColumnOffset),
                                        kLastResponseColumn - kFirstResponseColumn + 1);
  std::array<QPoint, kBandsPerChannel> markers;
  for (int b = 0; b < kBandsPerChannel; ++b) {
    const MarkerPoint m = curves.BandMarker[static_cast<std::size_t>(kBandsPerChannel * c + b)];
    markers[static_cast<std::size_t>(b)] = {m.x, m.y};
  }
  const double copy = MedianMicros([&](int) { graph.CopyGrid(); }, n * 4);
  const double curve = MedianMicros([&](int) { graph.DrawResponseCurve(columns); }, n);
  const double marks = MedianMicros([&](int) { graph.DrawBandMarkers(markers); }, n);
  const double recompute = MedianMicros([&](int) { RecomputeGroup(curves, model); }, n / 10);
  const double group = MedianMicros(
      [&](int) {
        RecomputeGroup(curves, model);
        Redraw(graph, curves, c);
      },
      n / 10);

#if defined(__x86_64__)
  // The response math runs three to four times slower right after the markers' numbers were drawn than after a
  // vzeroupper: something on the text path leaves the upper halves of the vector registers dirty, which slows the
  // math's SSE code down until they are cleared.
  const double afterText = MedianMicros(
      [&](int) {
        RecomputeGroup(curves, model);
        graph.DrawBandMarkers(markers);
      },
      n / 10);
  const double afterClear = MedianMicros(
      [&](int) {
        RecomputeGroup(curves, model);
        graph.DrawBandMarkers(markers);
        asm volatile("vzeroupper");
      },
      n / 10);
#endif
  std::printf("drag step (band + composite + grid + curve + markers): %.1f us CPU = %.0f steps/s (target >= 8000)\n",
              step, 1e6 / step);
  std::printf("  band alone (UpdateBand, peak): %.2f us; composite curve: %.2f us; drawing alone: %.1f us\n", bandOnly,
              composite, draw);
  std::printf("  drawing: grid copy %.2f us, curve %.1f us, six markers with numbers %.1f us\n", copy, curve, marks);
  std::printf("group applied (RecomputeGroup + one redraw): %.1f us CPU = %.1f drag steps (target <= 6); "
              "RecomputeGroup alone %.1f us\n",
              group, group / step, recompute);
#if defined(__x86_64__)
  std::printf("  RecomputeGroup + markers: %.1f us; the same with the vector registers' upper halves cleared after the "
              "markers: %.1f us\n",
              afterText, afterClear);
#endif
}

void Mouse(QWidget* w, QEvent::Type type, QPoint at, bool post = false) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  if (post) {
    QApplication::postEvent(w, new QMouseEvent(type, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::LeftButton, held,
                                               Qt::NoModifier));
    return;
  }
  QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::LeftButton, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

// Counts the graph's paint events and the moves that reached it.
class GraphWatch : public QObject {
 public:
  explicit GraphWatch(QWidget* graph) : QObject(graph) { graph->installEventFilter(this); }
  int paints = 0;
  int moves = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    if (e->type() == QEvent::MouseMove) ++moves;
    return false;
  }
};

// Where the drag is at move i: the second High marker swept over most of the graph.
QPoint DragPoint(int i) { return {Triangle(i, 110, 670), Triangle(i * 2, 40, 190)}; }

struct DragRun {
  double seconds = 0;
  double cpu = 0;
  int ticks = 0;
  int moves = 0;
  int paints = 0;
};

// Drives the drag from a precise timer every intervalMs for the given time; each tick sends one move (or posts
// `perTick` of them, queued behind each other).
DragRun Drag(QWidget* graph, GraphWatch& watch, int intervalMs, int perTick, bool post, double seconds) {
  DragRun run;
  int i = 0;
  QTimer tick;
  tick.setTimerType(Qt::PreciseTimer);
  tick.setInterval(intervalMs);
  QObject::connect(&tick, &QTimer::timeout, [&] {
    ++run.ticks;
    for (int k = 0; k < perTick; ++k) Mouse(graph, QEvent::MouseMove, DragPoint(i++), post);
  });
  QApplication::processEvents();
  const int paints0 = watch.paints, moves0 = watch.moves;
  const auto wall0 = std::chrono::steady_clock::now();
  const double cpu0 = ProcessCpuSeconds();
  tick.start();
  QTimer::singleShot(static_cast<int>(seconds * 1000), [] { QApplication::exit(0); });
  QApplication::exec();
  tick.stop();
  run.cpu = ProcessCpuSeconds() - cpu0;
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
  run.paints = watch.paints - paints0;
  run.moves = watch.moves - moves0;
  return run;
}

int WindowFigures(bool withSteps, double seconds) {
  NoDialogs dialogs;
  TForm1 form(dialogs);
  TForm_Disconnected warning(&form);
  warning.hide();
  ControllerApp app(form, warning, dialogs, {});
  app.backend.Ports().source = [] { return QStringList{}; };  // no port of this machine is ever listed
  form.show();
  form.GroupBox1->show();
  form.GroupBox1->RzButton41->click();  // High EQ
  ResponseGraph* graph = form.RzGroupBox8->Image5;
  if (!graph->isVisible()) {
    std::fprintf(stderr, "the High EQ panel did not open\n");
    return 1;
  }
  if (withSteps) StepFigures(*graph);

  // Press on the second High marker where it stands.
  const MarkerPoint start = app.eq.curves.BandMarker[1];
  Mouse(graph, QEvent::MouseButtonPress, {start.x, start.y});
  if (!app.eq.Dragging() || app.eq.SelectedBand != 1) {
    std::fprintf(stderr, "the press did not pick the second marker\n");
    return 1;
  }
  if (withSteps) {
    const double move = MedianMicros([&](int i) { Mouse(graph, QEvent::MouseMove, DragPoint(i)); }, 2000);
    // The same with the paint pass that follows it, and the graph's paint alone (the pass after update()).
    const double moveAndPaint = MedianMicros(
        [&](int i) {
          Mouse(graph, QEvent::MouseMove, DragPoint(i));
          QApplication::processEvents();
        },
        1000);
    const double graphPaint = MedianMicros(
        [&](int) {
          graph->update();
          QApplication::processEvents();
        },
        1000);
    std::printf("one mouse move through the window's controller (edits, queued frame, redraw; no paint): %.1f us "
                "CPU\n  with the paint pass after it: %.1f us; the graph's paint pass alone: %.1f us\n",
                move, moveAndPaint, graphPaint);
  }

  GraphWatch watch(graph);
  const DragRun idle = Drag(graph, watch, 5, 0, false, seconds / 2.5);
  std::printf("the 5 ms timer alone, no moves, for %.2f s: CPU %.2f %% of one core\n", idle.seconds,
              100 * idle.cpu / idle.seconds);
  const DragRun steady = Drag(graph, watch, 5, 1, false, seconds);
  std::printf("dragging at 200 moves/s for %.2f s: CPU %.3f s = %.2f %% of one core (%.0f us a move); %d moves, "
              "%d paints of the graph\n",
              steady.seconds, steady.cpu, 100 * steady.cpu / steady.seconds, 1e6 * steady.cpu / steady.moves,
              steady.moves, steady.paints);
  const DragRun burst = Drag(graph, watch, 5, 10, true, seconds / 2.5);
  std::printf("burst, 10 queued moves a tick every 5 ms for %.2f s: CPU %.2f %% of one core; %d ticks, %d moves, "
              "%d paints of the graph\n",
              burst.seconds, 100 * burst.cpu / burst.seconds, burst.ticks, burst.moves, burst.paints);
  Mouse(graph, QEvent::MouseButtonRelease, DragPoint(0));
  int code = 0;
  if (steady.paints > steady.moves) {
    std::fprintf(stderr, "more paints than moves while dragging\n");
    code = 1;
  }
  if (burst.paints > burst.ticks + 1) {
    std::fprintf(stderr, "the paints of a burst did not coalesce\n");
    code = 1;
  }
  return code;
}

}  // namespace
}  // namespace k7310

int main(int argc, char** argv) {
  bool steps = true;
  double seconds = 5;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--drag-only") == 0) {
      steps = false;
    } else if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      seconds = std::atof(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: bench_eq_drag [--drag-only] [--seconds N]\n");
      return 2;
    }
  }
  QApplication app(argc, argv);
  return k7310::WindowFigures(steps, seconds);
}
