// controller_en: the K_7310 control program.
#include <QApplication>

#include <cstdio>

#include "app/controller_app.h"
#include "app/demo_options.h"
#include "app/form1.h"
#include "app/form4.h"
#include "app/form_disconnected.h"
#include "app/kit/dialogs.h"
#include "texts/texts.h"

int main(int argc, char** argv) {
  // The command line is read before the window system is reached, so --help works without a display.
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  const k7310::CommandLine line = k7310::ParseCommandLine(args);
  const QString program = QString::fromLocal8Bit(argv[0]).section(QLatin1Char('/'), -1);
  switch (line.action) {
    case k7310::CommandLine::Action::Help:
      std::fputs(qPrintable(k7310::UsageText(program)), stdout);
      return 0;
    case k7310::CommandLine::Action::Version:
      std::printf("%s\n", k7310::Texts().VersionMessage.c_str());
      return 0;
    case k7310::CommandLine::Action::Error:
      std::fprintf(stderr, "%s: %s\n", qPrintable(program), qPrintable(line.error));
      return 2;
    case k7310::CommandLine::Action::Run:
      break;
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(k7310::Texts().MainCaption.c_str()));

  // Message boxes have no parent window: the dialogs exist before the window they serve.
  k7310::QtDialogs dialogs(nullptr);
  k7310::TForm1 form1(dialogs);
  k7310::TForm4 form4(&form1);
  k7310::TForm_Disconnected formDisconnected(&form1);
  form4.hide();
  formDisconnected.hide();
  QObject::connect(form1.BTL1, &QAction::triggered, &form4, [&form4] { form4.exec(); });

  k7310::ControllerApp controller(form1, formDisconnected, dialogs, line.ports);
  controller.Start();
  k7310::StartDemo(line.demo, form1, controller.backend);

  form1.show();
  return app.exec();
}
