#include "app/connection.h"

#include <QAbstractItemView>
#include <QStyledItemDelegate>

#include "app/form1.h"
#include "app/form_disconnected.h"
#include "app/kit/dialogs.h"
#include "app/kit/ui_text.h"
#include "link/device_backend.h"
#include "protocol/frame.h"
#include "texts/texts.h"

namespace k7310 {
namespace {

// The open port list shows every port by its full path; the closed list shows the short name that fits.
class FullPathDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->text = index.data(Qt::ToolTipRole).toString();
  }
};

}  // namespace

ConnectionController::ConnectionController(TForm1& form, TForm_Disconnected& warning, Dialogs& dialogs,
                                           DeviceBackend& backend)
    : QObject(&form),
      Timer6("Timer6", kTimer6Ms, this),
      Timer13("Timer13", kTimer13Ms, this),
      form_(form),
      warning_(warning),
      dialogs_(dialogs),
      backend_(backend) {
  Timer6.OnTimer([this] { Timer6Timer(); });
  Timer13.OnTimer([this] { Timer13Timer(); });
  TopBar& top = *form_.GroupBox2;
  connect(top.Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
  connect(form_.N8, &QAction::triggered, this, [this] { N8Click(); });
  for (int k = 1; k <= static_cast<int>(form_.ComItems.size()); ++k)
    connect(form_.ComItems[static_cast<std::size_t>(k - 1)], &QAction::triggered, this, [this, k] { ComItemClick(k); });
  top.RzComboBox1->setItemDelegate(new FullPathDelegate(top.RzComboBox1));
  connect(top.RzComboBox1, &QComboBox::currentIndexChanged, this, [this](int i) {
    backend_.Ports().Select(i);
    form_.GroupBox2->RzComboBox1->setToolTip(backend_.Ports().SelectedPath());
  });
  top.Image15->setPixmap(form_.LampOffBitmap.copy(0, 0, 25, 25));

  connect(&backend_, &DeviceBackend::StateChanged, this, [this](ConnectionState s) { StateChanged(s); });
  connect(&backend_, &DeviceBackend::Disconnecting, this, [this](bool full) { Disconnecting(full); });
  connect(&backend_, &DeviceBackend::Disconnected, this,
          [this] { form_.StatusPanel0->setText(Ui(Texts().StatusDisconnected)); });
  connect(&backend_, &DeviceBackend::LinkEnded, this, [this](LinkEnd why, bool was) { LinkEnded(why, was); });
  connect(&backend_, &DeviceBackend::PortListChanged, this, [this] { ShowPortList(); });
  connect(&backend_, &DeviceBackend::PortSelectionLocked, this, [this] {
    form_.GroupBox2->RzComboBox6->setEnabled(false);
    form_.GroupBox2->RzComboBox1->setEnabled(false);
  });
}

void ConnectionController::Start() {
  ShowPortList();
  if (backend_.Ports().Count() > 0) RefreshComMenu();
  Timer13.SetEnabled(true);
}

void ConnectionController::ShowPortList() {
  QComboBox* list = form_.GroupBox2->RzComboBox1;
  const PortList& ports = backend_.Ports();
  const QSignalBlocker quiet(list);
  list->clear();
  int widest = 0;
  for (const QString& path : ports.Paths()) {
    list->addItem(PortList::ShortName(path));
    list->setItemData(list->count() - 1, path, Qt::ToolTipRole);
    widest = std::max(widest, list->fontMetrics().horizontalAdvance(path));
  }
  list->view()->setMinimumWidth(widest + 24);
  list->setCurrentIndex(ports.Selected());
  list->setToolTip(ports.SelectedPath());
}

void ConnectionController::ClickEffects() {
  Timer6.SetEnabled(true);
  form_.GroupBox2->Button3->setEnabled(false);
}

void ConnectionController::Button3Click() {
  ClickEffects();
  if (backend_.State() == ConnectionState::Disconnected)
    Connect();
  else
    backend_.Disconnect(true);
}

void ConnectionController::Connect() {
  TForm1& f = form_;
  const UiTexts& T = Texts();
  // A new attempt closes the warning of the last one.
  if (warning_.isVisible()) warning_.close();
  // Close the open panel; the backend forgets unfinished actions.
  f.Panels.KeepEqBox = false;
  f.Panels.ClosePanel();
  f.RzGroupBox1->hide();
  f.regions.EnableEditing();
  if (!backend_.OpenForConnect()) {
    RefreshComMenu();
    dialogs_.Message(Ui(T.NoPort));
    return;
  }
  if (backend_.Session().DeviceIndex == kBroadcastIndex) {
    // Nothing answers in broadcast mode: nothing is asked and no watchdog is armed.
    f.GroupBox2->RzComboBox6->setEnabled(false);
    f.GroupBox2->RzComboBox1->setEnabled(false);
    const bool yes = dialogs_.Question(Ui(T.NoticeTitle), Ui(T.BroadcastQuestion));
    // The port may have gone while the question was open.
    if (!backend_.LinkOpen()) return;
    if (!yes) {
      backend_.MarkConnected();
      Button3Click();
      return;
    }
    f.regions.EnableWorkingControls(false);
    f.RzGroupBox16->move(208, 232);
    f.RzGroupBox16->show();
    f.RzGroupBox16->raise();
  } else {
    backend_.StartHandshake();
  }
  if (backend_.Ports().PortNumber != kPortNotFound) {
    f.StatusPanel0->setText(Ui(T.StatusConnected) + backend_.Ports().SelectedPath());
    backend_.MarkConnected();
  }
}

void ConnectionController::StateChanged(ConnectionState state) {
  const UiTexts& T = Texts();
  form_.GroupBox2->Button3->setText(Ui(state == ConnectionState::Disconnected ? T.Button3Design : T.Button3Connected));
}

void ConnectionController::Disconnecting(bool full) {
  TForm1& f = form_;
  if (full) {
    f.RzGroupBox16->hide();
    f.GroupBox2->RzGroupBox4->setEnabled(true);
  }
  f.RzGroupBox1->hide();
  f.regions.EnableEditing();
  f.GroupBox2->RzComboBox6->setEnabled(true);
  f.GroupBox2->RzComboBox1->setEnabled(true);
  // The menus a broadcast connection switched off come back with the disconnect.
  for (QAction* menu : {f.N1, f.N112, f.N6}) menu->setEnabled(true);
  RefreshComMenu();
}

void ConnectionController::N8Click() {
  const bool groups = form_.GroupBox2->RzGroupBox4->isEnabled();
  backend_.Disconnect(false);
  form_.GroupBox2->RzGroupBox4->setEnabled(groups);
}

void ConnectionController::LinkEnded(LinkEnd why, bool wasConnected) {
  // The backend has ended the link as a click on Button3 would; the button rests as after a click.
  if (wasConnected) ClickEffects();
  if (why == LinkEnd::NoAnswer || why == LinkEnd::DeviceRemoved)
    warning_.ShowCentredOn(&form_);
  else
    dialogs_.Message(Ui(Texts().NoPort));
}

void ConnectionController::Timer6Timer() {
  Timer6.SetEnabled(false);
  form_.GroupBox2->Button3->setEnabled(true);
}

void ConnectionController::Timer13Timer() {
  const QPixmap& lamp = backend_.LinkOpen() ? form_.LampOnBitmap : form_.LampOffBitmap;
  form_.GroupBox2->Image15->setPixmap(lamp.copy(0, 0, 25, 25));
}

void ConnectionController::RefreshComMenu() {
  const QStringList& paths = backend_.Ports().Paths();
  for (int i = 0; i < paths.size() && i < static_cast<int>(form_.ComItems.size()); ++i) {
    QAction* item = form_.ComItems[static_cast<std::size_t>(i)];
    item->setText(paths[i]);
    item->setVisible(true);
  }
}

void ConnectionController::ComItemClick(int k) {
  PortList& ports = backend_.Ports();
  if (k < 1 || static_cast<std::size_t>(k) > ports.PortNumbers().size() || k > ports.Count()) return;
  const int n = ports.PortNumbers()[static_cast<std::size_t>(k - 1)];
  if (n == ports.PortNumber) return;
  ports.PortNumber = n;
  if (n == kPortNotFound) return;
  const QString entry = ports.Paths()[k - 1];
  form_.ComItems[static_cast<std::size_t>(k - 1)]->setText(QStringLiteral("\u221A") + entry);
  form_.StatusPanel0->setText(Ui(Texts().StatusConnected) + entry);
}

}  // namespace k7310
