// controller_en: the K_7310 control program.
#include <QApplication>

#include <cstdio>

#include "app/demo_options.h"
#include "app/device_app.h"
#include "app/dialogs.h"
#include "app/form1.h"
#include "app/form4.h"
#include "app/form_disconnected.h"
#include "texts/texts.h"

int main(int argc, char** argv) {
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

  // Serial device paths on the command line join the port list (for example a simulator's pseudo-terminal).
  QStringList extraPorts = QApplication::arguments();
  extraPorts.removeFirst();
  // Demo options (--connect, --screenshot, ...) are not port paths.
  k7310::DemoOptions demo;
  QString demoError;
  if (!k7310::TakeDemoOptions(extraPorts, demo, demoError)) {
    std::fprintf(stderr, "controller_en: %s\n", qPrintable(demoError));
    return 2;
  }
  k7310::DeviceApp device(form1, formDisconnected, dialogs, extraPorts);
  device.Start();
  k7310::StartDemo(demo, form1, device);

  form1.show();
  return app.exec();
}
