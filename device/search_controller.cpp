#include "device/search_controller.h"

#include <QCoreApplication>

#include <algorithm>

#include "app/device_app.h"
#include "app/form1.h"
#include "app/ui_text.h"
#include "app/wait.h"
#include "protocol/catalogue.h"

namespace k7310 {

SearchController::SearchController(DeviceApp& app) : app_(app) {
  TForm1& f = app_.form;
  app_.timers[TimerId::Timer124].OnTimer([this] { Timer124Timer(); });
  QObject::connect(f.GroupBox3->Button8, &QPushButton::clicked, &app_, [this] { ID1Click(); });
  QObject::connect(f.ID1, &QAction::triggered, &app_, [this] { ID1Click(); });
  QObject::connect(f.GroupBox3->Button9, &QPushButton::clicked, &app_, [this] { N14Click(); });
  QObject::connect(f.N14, &QAction::triggered, &app_, [this] { N14Click(); });
  QObject::connect(f.RzGroupBox3->Button2, &QPushButton::clicked, &app_, [this] { Button2Click(); });
}

void SearchController::Credit() { hits.Mark(app_.PortNumber, ProbedIndex); }

void SearchController::Button2Click() { SearchCancel = 1; }

bool SearchController::Cancelled() const {
  // Closing the window ends a sweep as a cancel does.
  return SearchCancel != 0 || !app_.form.isVisible();
}

void SearchController::Run(const Sweep& sweep) {
  DeviceSession& s = app_.session;
  // The ports as the list shows them when the sweep starts.
  const int listed = app_.form.GroupBox2->RzComboBox1->count();
  const std::vector<int> numbers(app_.PortNumbers.begin(),
                                 app_.PortNumbers.begin() + std::min<std::ptrdiff_t>(listed, static_cast<std::ptrdiff_t>(app_.PortNumbers.size())));
  const int ports = static_cast<int>(numbers.size());
  for (int i = 0; i < ports; ++i) {
    QCoreApplication::processEvents();
    if (Cancelled()) break;
    app_.PortNumber = numbers[static_cast<std::size_t>(ports - 1 - i)];
    if (s.LinkOpen) {
      app_.CloseSerialPort();
      WaitWithMessages(100);
    }
    if (!app_.OpenSerialPort()) continue;
    for (int j = 0; j <= sweep.lastIndex; ++j) {
      QCoreApplication::processEvents();
      if (Cancelled()) break;
      WaitWithMessages(sweep.waitMs);
      s.RxHex.clear();
      app_.TxFrame.clear();
      app_.Transmit(QueryStatus(static_cast<std::uint8_t>(j)));
      ProbedIndex = j;
      app_.form.RzGroupBox3->RzProgressBar2->setValue(sweep.progress(j, i, ports));
      if (!app_.serial.IsOpen()) {
        if (sweep.stopOnError) return;
        break;
      }
    }
    // The answer to the last probe of a port arrives within the same wait as every other answer.
    if (!Cancelled()) WaitWithMessages(sweep.waitMs);
  }
}

void SearchController::ListResults(int lastRowCol) {
  SearchResultBox& box = *app_.form.RzGroupBox2;
  box.RzLabel6->setText(QString::fromLatin1(kSearchLabelNone));
  box.Memo1->clear();
  box.Memo1->hide();
  app_.PortNumber = -1;
  const SearchListing listing =
      ListSearchResults(hits, lastRowCol, lastRowCol, [this](int key) { return app_.portKeys.Name(key); });
  box.RzLabel6->setText(Ui(listing.label));
  if (listing.count > 0) {
    QStringList lines;
    for (const std::string& line : listing.lines) lines << Ui(line);
    box.Memo1->setPlainText(lines.join(QLatin1Char('\n')));
    box.Memo1->show();
  }
}

void SearchController::ShowWithoutSearch(bool withStrip) {
  TForm1& f = app_.form;
  if (withStrip) f.GroupBox1->show();
  for (QWidget* w : {static_cast<QWidget*>(f.RzGroupBox8), f.RzGroupBox12, static_cast<QWidget*>(f.GroupBox2),
                     static_cast<QWidget*>(f.GroupBox3)})
    w->show();
  f.N112->setVisible(true);
  f.N6->setVisible(true);
  f.RzGroupBox3->RzProgressBar2->setValue(0);
  f.RzGroupBox3->hide();
}

void SearchController::Timer124Timer() {
  TForm1& f = app_.form;
  DeviceSession& s = app_.session;
  app_.timers[TimerId::Timer124].SetEnabled(false);
  if (app_.HidDeviceAttached) {
    ShowWithoutSearch(true);
    return;
  }
  SearchCancel = 0;
  s.SearchRunning = 1;
  hits.ClearStartupArea();
  Run({kStartupSweepLastIndex, 500, false, [](int j, int i, int p) { return StartupSweepProgress(i, j, p); }});
  ListResults(kStartupListLast);
  if (s.LinkOpen) app_.CloseSerialPort();
  f.GroupBox1->show();
  f.GroupBox2->show();
  f.GroupBox3->show();
  f.N112->setVisible(true);
  f.N6->setVisible(true);
  f.RzGroupBox3->hide();
  s.SearchRunning = 0;
  f.Panels.PanelKind = Panel::kSearchResult;
  f.RzGroupBox2->show();
}

void SearchController::ID1Click() {
  TForm1& f = app_.form;
  DeviceSession& s = app_.session;
  if (app_.HidDeviceAttached) {
    ShowWithoutSearch(false);
    return;
  }
  if (s.LinkOpen) {
    app_.ShowWarning();
    return;
  }
  SearchCancel = 0;
  f.Panels.KeepEqBox = false;
  f.Panels.ClosePanel();
  app_.EnableWorkingControls(false);
  f.GroupBox2->RzGroupBox4->setEnabled(true);
  f.RzGroupBox3->RzProgressBar2->setValue(0);
  f.RzGroupBox3->show();
  f.RzGroupBox3->raise();
  s.SearchRunning = 1;
  hits.ClearAll();
  Run({kFullSearchLastIndex, 100, true, [](int j, int i, int p) { return FullSearchProgress(i, j, p); }});
  ListResults(kFullListLast);
  if (s.LinkOpen) app_.CloseSerialPort();
  app_.EnableWorkingControls(true);
  f.RzGroupBox3->hide();
  f.RzGroupBox3->RzProgressBar2->setValue(0);
  s.SearchRunning = 0;
  f.Panels.PanelKind = Panel::kSearchResult;
  f.RzGroupBox2->show();
}

void SearchController::N14Click() { app_.form.Panels.ShowSearchResult(); }

}  // namespace k7310
