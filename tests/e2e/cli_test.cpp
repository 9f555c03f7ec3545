// The controller's command line: --help and --version need no display, an unknown option is an error.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

namespace k7310 {
namespace {

struct Outcome {
  int code = -1;
  QString out, err;
};

Outcome Controller(const QStringList& args, const QProcessEnvironment& extra = {}, int waitMs = 10000) {
  QProcess p;
  // No display and no platform: what a terminal without X gives the program.
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("DISPLAY"));
  env.remove(QStringLiteral("WAYLAND_DISPLAY"));
  env.remove(QStringLiteral("QT_QPA_PLATFORM"));
  env.insert(extra);
  p.setProcessEnvironment(env);
  p.start(QStringLiteral(K7310_CONTROLLER_PATH), args);
  EXPECT_TRUE(p.waitForFinished(waitMs));
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAllStandardOutput()),
          QString::fromLocal8Bit(p.readAllStandardError())};
}

TEST(CommandLine, HelpVersionAndUnknownOptions) {
  int argc = 1;
  char name[] = "test_cli";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);

  const Outcome help = Controller({QStringLiteral("--help")});
  EXPECT_EQ(help.code, 0);
  EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: controller_en"))) << help.out.toStdString();
  EXPECT_TRUE(help.out.contains(QStringLiteral("--connect")));

  const Outcome version = Controller({QStringLiteral("--version")});
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out, QStringLiteral("API for Version K_7310 V1.2.7H\n"));

  const struct {
    QStringList args;
    const char* says;
  } bad[] = {{{QStringLiteral("--bogus")}, "unknown option \"--bogus\""},
             {{QStringLiteral("--ids"), QStringLiteral("0")}, "unknown option \"--ids\""},
             {{QStringLiteral("--id"), QStringLiteral("0")}, "--id takes a device ID 1..255"},
             {{QStringLiteral("--quit-after")}, "--quit-after needs a value"}};
  for (const auto& b : bad) {
    const Outcome r = Controller(b.args);
    EXPECT_EQ(r.code, 2) << b.args.join(' ').toStdString();
    EXPECT_TRUE(r.err.contains(QString::fromUtf8(b.says))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
  }
}

// The program as built links the system's USB HID library; the simulator's library of the same name, found first,
// stands in for it (as in the USB demo): the program then takes the simulated unit and connects over USB.
TEST(CommandLine, TheSimulatedUsbLibraryStandsInForTheSystemsOne) {
  int argc = 1;
  char name[] = "test_cli";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  QProcessEnvironment env;
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("LD_LIBRARY_PATH"), QStringLiteral(K7310_SIM_USB_LIBRARY_DIR));
  env.insert(QStringLiteral("K7310_SIM_USB"), QStringLiteral("1"));
  const Outcome r = Controller({QStringLiteral("--connect"), QStringLiteral("--quit-after"), QStringLiteral("6000")},
                               env, 30000);
  EXPECT_EQ(r.code, 0) << r.err.toStdString();
  EXPECT_TRUE(r.out.contains(QStringLiteral("connected: USB, device ID 1"))) << r.out.toStdString();
}

}  // namespace
}  // namespace k7310
