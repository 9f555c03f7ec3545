#include "device/ui/search_controller.h"

#include "app/kit/panel_frame.h"
#include "app/kit/regions.h"
#include "app/kit/ui_text.h"
#include "device/ui/search_boxes.h"
#include "link/device_backend.h"
#include "texts/texts.h"

namespace k7310 {

SearchController::SearchController(DeviceBackend& backend, const SearchControls& controls, const Regions& regions,
                                   PanelFrame& panels, std::function<void()> showWarning, QObject* parent)
    : QObject(parent),
      startup(backend, hits, this),
      full(backend, hits, DeviceSearch::FullSearch(), this),
      backend_(backend),
      c_(controls),
      regions_(regions),
      panels_(panels),
      showWarning_(std::move(showWarning)) {
  connect(c_.Button8, &QPushButton::clicked, this, [this] { ID1Click(); });
  connect(c_.ID1, &QAction::triggered, this, [this] { ID1Click(); });
  connect(c_.Button9, &QPushButton::clicked, this, [this] { N14Click(); });
  connect(c_.N14, &QAction::triggered, this, [this] { N14Click(); });
  connect(c_.RzGroupBox3->Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  for (DeviceSearch* op : {static_cast<DeviceSearch*>(&startup), &full})
    connect(op, &Operation::Progress, this, [this](int p) { c_.RzGroupBox3->RzProgressBar2->setValue(p); });
  connect(&startup, &Operation::Finished, this, [this] { StartupDone(); });
  connect(&full, &Operation::Finished, this, [this] { FullDone(); });
}

void SearchController::Start() {
  startup.Arm([this] { return backend_.UsbInUse(); });
}

void SearchController::Button2Click() {
  startup.Cancel();
  full.Cancel();
}

void SearchController::ListResults(int lastRowCol) {
  const UiTexts& t = Texts();
  SearchResultBox& box = *c_.RzGroupBox2;
  box.RzLabel6->setText(Ui(t.SearchResultNone));
  box.Memo1->clear();
  box.Memo1->hide();
  const auto entries = ListSearchResults(hits, lastRowCol, lastRowCol);
  if (entries.empty()) return;
  const auto lines = SearchMemoLines(
      entries, [this](int port) { return backend_.Ports().PathOf(port).toStdString(); },
      {t.SearchEntryPort, t.SearchEntryDevice, t.SearchEntryEnd});
  QStringList text;
  for (const std::string& line : lines) text << Ui(line);
  box.RzLabel6->setText(Ui(t.SearchResultFound));
  box.Memo1->setPlainText(text.join(QLatin1Char('\n')));
  box.Memo1->show();
}

void SearchController::ShowWithoutSearch(bool withStrip) {
  if (withStrip) regions_.GroupBox1->show();
  for (QWidget* w : {regions_.RzGroupBox8, regions_.RzGroupBox12, regions_.GroupBox2, regions_.GroupBox3}) w->show();
  regions_.N112->setVisible(true);
  regions_.N6->setVisible(true);
  c_.RzGroupBox3->RzProgressBar2->setValue(0);
  c_.RzGroupBox3->hide();
}

void SearchController::StartupDone() {
  if (startup.Skipped()) {
    ShowWithoutSearch(true);
    return;
  }
  ListResults(kStartupListLast);
  regions_.ShowMain();
  c_.RzGroupBox3->hide();
  panels_.ShowSearchResult();
}

void SearchController::ID1Click() {
  if (backend_.UsbInUse()) {
    ShowWithoutSearch(false);
    return;
  }
  if (backend_.LinkOpen()) {
    showWarning_();
    return;
  }
  if (full.Running() || startup.Running()) return;
  panels_.KeepEqBox = false;
  panels_.ClosePanel();
  regions_.EnableWorkingControls(false);
  regions_.RzGroupBox4->setEnabled(true);
  c_.RzGroupBox3->RzProgressBar2->setValue(0);
  c_.RzGroupBox3->show();
  c_.RzGroupBox3->raise();
  full.Start();
}

void SearchController::FullDone() {
  ListResults(kFullListLast);
  regions_.EnableWorkingControls(true);
  c_.RzGroupBox3->hide();
  c_.RzGroupBox3->RzProgressBar2->setValue(0);
  panels_.ShowSearchResult();
}

void SearchController::N14Click() { panels_.ShowSearchResult(); }

}  // namespace k7310
