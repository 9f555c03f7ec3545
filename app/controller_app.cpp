#include "app/controller_app.h"

#include "app/form1.h"
#include "app/form_disconnected.h"

namespace k7310 {

ControllerApp::ControllerApp(TForm1& form, TForm_Disconnected& warning, Dialogs& dialogs, QStringList extraPorts)
    : connection(form, warning, dialogs, backend),
      view(form, backend),
      usbView(form, dialogs, usb),
      search(backend,
             {form.GroupBox3->Button8, form.GroupBox3->Button9, form.ID1, form.N14, form.RzGroupBox3,
              form.RzGroupBox2},
             form.regions, form.Panels, [&form, &warning] { warning.ShowCentredOn(&form); }, &form),
      deviceId(backend,
               {form.GroupBox2, form.GroupBox3, form.GroupBox2->RzComboBox6, form.GroupBox2->RzLabel10,
                form.GroupBox2->RzEdit2, form.GroupBox2->Button1, form.GroupBox2->RzButton8,
                form.GroupBox2->Button3, form.GroupBox2->Image15},
               dialogs, form.Panels, [&form, &warning] { warning.ShowCentredOn(&form); }, &form),
      deviceSettings(backend,
                     {form.GroupBox1->RzButton7, form.GroupBox1->RzButton98, form.rzgrpbx_btl,
                      form.RzGroupBox13->RzComboBox9, form.RzGroupBox8, form.RzGroupBox2},
                     dialogs, form.Panels, [this] { view.ShowModel(); }, &form),
      eq(*form.RzGroupBox8, backend, form.Panels, &form),
      bandEditor(*form.RzGroupBox8, backend, editSnapshot, form.RzGroupBox1, form.RzGroupBox1->RzProgressBar1,
                 form.regions, [this] { return eq.SelectedChannel(); },
                 [this](int k) {
                   eq.SelectedBand = k;
                   eq.UpdateBand(backend.Session().model.EqType[static_cast<std::size_t>(k)]);
                 },
                 &form),
      crossoverEditor(*form.RzGroupBox8, backend, editSnapshot, [this] { return eq.SelectedChannel(); },
                      [this, &form](int c) {
                        eq.UpdateCrossover(c, true, form.RzGroupBox8->RzComboBox69->currentIndex());
                        eq.UpdateCrossover(c, false, form.RzGroupBox8->RzComboBox71->currentIndex());
                      },
                      &form),
      channel(backend, *form.GroupBox1, *form.RzGroupBox7, *form.RzGroupBox6, form.Panels, editSnapshot,
              [this] { return view.ApplyingModel; }, &form),
      gain(backend, *form.RzGroupBox5, form.Panels, editSnapshot, &form) {
  eq.fillEditors = [this](int c) {
    bandEditor.FillEqPanel(c);
    crossoverEditor.Fill(c);
  };
  eq.showBandEdits = [this](int k) { bandEditor.ShowBandPosition(k); };
  backend.SetSerialLink(&serial);
  backend.SetUsbLink(&usb);
  backend.Ports().source = [extraPorts] { return ListSerialPorts(extraPorts); };
}

ControllerApp::~ControllerApp() {
  backend.SetSerialLink(nullptr);
  backend.SetUsbLink(nullptr);
}

void ControllerApp::Start() {
  backend.Start();
  // The devices present now are reported before the start-up sweep looks for one.
  usb.Start();
  connection.Start();
  search.Start();
}

}  // namespace k7310
