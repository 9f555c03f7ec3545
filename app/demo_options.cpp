#include "app/demo_options.h"

#include <QApplication>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <string>

#include "link/device_backend.h"
#include "app/form1.h"
#include "app/kit/ui_text.h"
#include "eq/scales.h"
#include "texts/texts.h"

namespace k7310 {
namespace {

// How often the demo looks at the window; far below anything a person would notice.
constexpr int kStepMs = 50;
// The readouts are filled and the group list is there: give the window one more second, as a person would wait.
constexpr int kSettleMs = 1000;
// A reply to a poll after the settings reply: the second reception once the poll runs is a status reply.
constexpr int kRepliesBeforeReady = 2;

// The EQ that --eq-demo gives the High output, as a loaded group would: three shaped bands, three flat ones spread
// over the scale, a high-pass and a low-pass.
void ShapeEqDemo(ParameterModel& m) {
  struct Band {
    int band, type;
    double hz, db, q;
  };
  constexpr Band kBands[] = {{0, 0, 100, 6, 1.4},  {1, 0, 1000, -8, 2},   {2, 2, 8000, 4, 1.4},
                             {3, 0, 300, 0, 1.4},  {4, 0, 3000, 0, 1.4},  {5, 0, 12500, 0, 1.4}};
  for (const Band& b : kBands) {
    const std::size_t i = static_cast<std::size_t>(kBandsPerChannel * kHigh + b.band);
    m.EqType[i] = b.type;
    m.EqFreqIndex[i] = NearestIndex(FreqTable, b.hz);
    (b.type == 0 ? m.EqPeakGainIndex[i] : m.EqShelfGainIndex[i]) = NearestIndex(EqGainTable, b.db);
    m.EqQIndex[i] = NearestIndex(QTable, b.q);
  }
  m.HpfFreqIndex[kHigh] = NearestIndex(FreqTable, 80);
  m.HpfType[kHigh] = 7;  // 24db-LR
  m.LpfFreqIndex[kHigh] = NearestIndex(FreqTable, 16000);
  m.LpfType[kHigh] = 0;  // 12db-Bworth
}

bool TakeInt(const QString& text, int low, int high, int& value) {
  bool ok = false;
  const int v = text.toInt(&ok, 10);
  if (!ok || v < low || v > high) return false;
  value = v;
  return true;
}

// Drives the window as a user would: waits for the sweep, picks the device ID, presses Button3; then waits until
// the link is up and the readouts are filled before the picture is taken.
class DemoDriver : public QObject {
 public:
  DemoDriver(const DemoOptions& options, TForm1& form, DeviceBackend& device)
      : QObject(&form), options_(options), form_(form), device_(device) {
    // Counts the receptions after the poll has started; the backend's own handling was connected first.
    for (Link* link : {device_.SerialLinkInUse(), static_cast<Link*>(device_.UsbLinkInUse())})
      if (link)
        QObject::connect(link, &Link::Arrived, this, [this] {
          if (device_.Timer(TimerId::Timer1).Enabled()) ++repliesWhilePolling_;
        });
    step_.setInterval(kStepMs);
    QObject::connect(&step_, &QTimer::timeout, this, [this] { Step(); });
    if (options_.connect || !options_.screenshot.isEmpty() || options_.eqDemo) step_.start();
    if (options_.quitAfterMs >= 0) QTimer::singleShot(options_.quitAfterMs, this, [this] { Quit(); });
  }

 private:
  bool SweepEnded() const { return !form_.GroupBox1->isHidden() && form_.RzGroupBox3->isHidden(); }
  bool Connected() const { return device_.State() != ConnectionState::Disconnected; }
  bool StatusShown() const {
    const UiTexts& t = Texts();
    const bool changed = form_.GroupBox3->RzLabel29->text() != Ui(t.RzLabel29) ||
                         form_.GroupBox3->RzLabel32->text() != Ui(t.RzLabel32);
    return changed || repliesWhilePolling_ >= kRepliesBeforeReady;
  }
  bool Ready() const {
    return Connected() && device_.Timer(TimerId::Timer1).Enabled() && StatusShown() &&
           form_.GroupBox2->RzGroupBox4->RzComboBox10->count() > 0;
  }

  void Step() {
    if (options_.connect && !clicked_ && SweepEnded()) PressConnect();
    if (!clicked_ && options_.connect) return;
    if (readySince_ < 0 && Ready()) {
      readySince_ = elapsed_;
      const QString link = device_.UsbInUse() ? QStringLiteral("USB") : form_.GroupBox2->RzComboBox1->currentText();
      std::printf("connected: %s, device ID %d\n", qPrintable(link), device_.Session().DeviceIndex + 1);
      std::fflush(stdout);
    }
    if (readySince_ >= 0 && !Connected()) {
      readySince_ = -1;  // the link ended: start again if it comes back
      std::fprintf(stderr, "demo: the link ended\n");
    }
    elapsed_ += kStepMs;
    // Also after Timer6 has given Button3 back, so that the picture shows the steady connected window. Without
    // --connect the window is steady once the sweep has ended.
    const bool steady = options_.connect ? readySince_ >= 0 && elapsed_ - readySince_ >= kSettleMs &&
                                               form_.GroupBox2->Button3->isEnabled()
                                         : SweepEnded();
    if (!steady) return;
    if (options_.eqDemo && !shaped_) {
      ShapeEq();
      return;  // the picture one step later, once the panel has been painted
    }
    if (!options_.screenshot.isEmpty() && !shot_) Shoot();
    if (shot_ || options_.screenshot.isEmpty()) step_.stop();
  }

  // As if a group holding the demo EQ had been loaded, then the High EQ button pressed.
  void ShapeEq() {
    shaped_ = true;
    ShapeEqDemo(device_.Session().model);
    emit device_.ModelApplied();
    form_.GroupBox1->RzButton41->click();
  }

  void PressConnect() {
    QComboBox* ids = form_.GroupBox2->RzComboBox6;
    QPushButton* button = form_.GroupBox2->Button3;
    if (!button->isEnabled() || Connected()) return;
    // As a user's choice in the list: the index changes and the list reports the activation.
    const int index = options_.id - 1;
    ids->setCurrentIndex(index);
    emit ids->activated(index);
    emit ids->textActivated(ids->currentText());
    button->click();
    clicked_ = true;
    if (device_.Session().DeviceIndex != index)
      std::fprintf(stderr, "demo: device ID %d chosen, but the window addresses ID %d\n", options_.id,
                   device_.Session().DeviceIndex + 1);
  }

  void Shoot() {
    shot_ = true;
    // The whole main window: menu bar, client area and status bar.
    const QPixmap picture = form_.grab();
    if (!picture.save(options_.screenshot, "PNG")) {
      std::fprintf(stderr, "demo: cannot write %s\n", qPrintable(options_.screenshot));
      failed_ = true;
      return;
    }
    std::printf("screenshot: %s\n", qPrintable(options_.screenshot));
    std::fflush(stdout);
  }

  void Quit() {
    int code = 0;
    if (!options_.screenshot.isEmpty() && !shot_) {
      std::fprintf(stderr, "demo: no screenshot taken (%s)\n",
                   !SweepEnded()                      ? "the start-up sweep had not ended"
                   : options_.connect && !Connected()    ? "not connected"
                   : options_.connect && readySince_ < 0 ? "no status reply and group list yet"
                                                         : "still waiting");
      code = 1;
    }
    if (failed_) code = 1;
    // Closing the window ends a running sweep; the quit that the last closed window would post later must not
    // replace the exit code.
    QApplication::setQuitOnLastWindowClosed(false);
    form_.close();
    QCoreApplication::exit(code);
  }

  DemoOptions options_;
  TForm1& form_;
  DeviceBackend& device_;
  QTimer step_;
  bool clicked_ = false;
  bool shot_ = false;
  bool shaped_ = false;
  bool failed_ = false;
  int repliesWhilePolling_ = 0;
  int elapsed_ = 0;
  int readySince_ = -1;
};

}  // namespace

bool TakeDemoOptions(QStringList& args, DemoOptions& options, QString& error) {
  QStringList rest;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    QString name = arg;
    QString value;
    bool inlineValue = false;
    if (arg.startsWith(QLatin1String("--")) && arg.contains(QLatin1Char('='))) {
      name = arg.section(QLatin1Char('='), 0, 0);
      value = arg.section(QLatin1Char('='), 1);
      inlineValue = true;
    }
    const bool takesValue = name == QLatin1String("--id") || name == QLatin1String("--screenshot") ||
                            name == QLatin1String("--quit-after");
    if (name == QLatin1String("--connect") && !inlineValue) {
      options.connect = true;
      continue;
    }
    if (name == QLatin1String("--eq-demo") && !inlineValue) {
      options.eqDemo = true;
      continue;
    }
    if (name == QLatin1String("--report-first-paint") && !inlineValue) {
      options.reportFirstPaint = true;
      continue;
    }
    if (!takesValue) {
      rest << arg;
      continue;
    }
    if (!inlineValue) {
      if (i + 1 >= args.size()) {
        error = name + QLatin1String(" needs a value");
        return false;
      }
      value = args[++i];
    }
    if (name == QLatin1String("--id") && !TakeInt(value, 1, 255, options.id)) {
      error = QLatin1String("--id takes a device ID 1..255, not \"") + value + QLatin1Char('"');
      return false;
    }
    if (name == QLatin1String("--quit-after") && !TakeInt(value, 0, 24 * 3600 * 1000, options.quitAfterMs)) {
      error = QLatin1String("--quit-after takes milliseconds, not \"") + value + QLatin1Char('"');
      return false;
    }
    if (name == QLatin1String("--screenshot")) {
      if (value.isEmpty()) {
        error = QLatin1String("--screenshot needs a file name");
        return false;
      }
      options.screenshot = value;
    }
  }
  args = rest;
  return true;
}

CommandLine ParseCommandLine(const QStringList& given) {
  CommandLine line;
  QStringList args = given;
  for (const QString& a : args) {
    if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
      line.action = CommandLine::Action::Help;
      return line;
    }
    if (a == QLatin1String("--version")) {
      line.action = CommandLine::Action::Version;
      return line;
    }
  }
  if (!TakeDemoOptions(args, line.demo, line.error)) {
    line.action = CommandLine::Action::Error;
    return line;
  }
  for (const QString& a : args) {
    if (a.startsWith(QLatin1Char('-'))) {
      line.action = CommandLine::Action::Error;
      line.error = QLatin1String("unknown option \"") + a + QLatin1String("\" (see --help)");
      return line;
    }
    line.ports << a;
  }
  return line;
}

QString UsageText(const QString& program) {
  return QStringLiteral(
             "Usage: %1 [OPTION]... [SERIAL-DEVICE]...\n"
             "The control program of the K_7310 loudspeaker processor.\n"
             "Every SERIAL-DEVICE (for example a simulator's pseudo-terminal) joins the port list.\n"
             "\n"
             "  --connect             connect by itself once the start-up sweep has ended\n"
             "  --id N                the device ID (1..255) to pick before connecting\n"
             "  --eq-demo             shape the High output's EQ and open its panel\n"
             "  --screenshot PATH     save a picture of the window (PNG), connected with --connect\n"
             "  --quit-after MS       end after MS milliseconds\n"
             "  --report-first-paint  print the time of the first paint\n"
             "  --version             print the version and exit\n"
             "  --help                print this help and exit\n")
      .arg(program);
}

void StartDemo(const DemoOptions& options, TForm1& form, DeviceBackend& device) {
  if (options.reportFirstPaint) new FirstPaintReporter(&form);
  if (options.connect || !options.screenshot.isEmpty() || options.quitAfterMs >= 0 || options.eqDemo)
    new DemoDriver(options, form, device);
}

}  // namespace k7310
