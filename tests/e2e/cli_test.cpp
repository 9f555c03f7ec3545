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

Outcome Controller(const QStringList& args) {
  QProcess p;
  // No display and no platform: what a terminal without X gives the program.
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("DISPLAY"));
  env.remove(QStringLiteral("WAYLAND_DISPLAY"));
  env.remove(QStringLiteral("QT_QPA_PLATFORM"));
  p.setProcessEnvironment(env);
  p.start(QStringLiteral(K7310_CONTROLLER_PATH), args);
  EXPECT_TRUE(p.waitForFinished(10000));
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

}  // namespace
}  // namespace k7310
