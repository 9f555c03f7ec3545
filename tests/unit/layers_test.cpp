// Every include of the source tree points down the layers: core, backend, widget kit, panels, main window.
#include <gtest/gtest.h>

#include "tests/unit/layers.h"

namespace k7310::layers {
namespace {

std::string Join(const std::vector<std::string>& v) {
  std::string s;
  for (const auto& x : v) s += "  " + x + "\n";
  return s;
}

TEST(Layers, TheTreeHasNoIncludeAgainstTheLayers) {
  const auto files = ReadTree(K7310_SOURCE_DIR);
  ASSERT_GT(files.size(), 50u) << "the source tree was not found at " << K7310_SOURCE_DIR;
  const auto bad = Violations(files);
  EXPECT_TRUE(bad.empty()) << Join(bad);
}

TEST(Layers, PlantedWrongIncludesAreFound) {
  const struct {
    const char* file;
    const char* text;
  } planted[] = {
      {"protocol/parser.cpp", "#include <QString>\n"},                      // Qt in the core
      {"eq/scales.cpp", "#include \"link/device_backend.h\"\n"},           // core -> backend
      {"link/device_backend.cpp", "#include <QWidget>\n"},                 // widgets in the backend
      {"device/backend/device_search.cpp", "#include \"app/kit/regions.h\"\n"},  // backend -> window
      {"eq/ui/eq_box.cpp", "#include \"app/form1.h\"\n"},                  // panel -> main window
      {"channel/ui/gain_panel.cpp", "#include \"link/serial_link.h\"\n"},  // panel -> backend internals
      {"app/kit/panel_frame.cpp", "#include \"eq/ui/eq_box.h\"\n"},        // kit -> panel
      {"tests/unit/x_test.cpp", "#include \"sim/pty_bus.h\"\n"},           // the simulator's front-end
      {"link/usb_platform.cpp", "#include \"sim/hidapi/sim_usb_control.h\"\n"},  // the simulated USB library
  };
  for (const auto& p : planted) {
    const auto bad = Violations({{p.file, p.text}});
    EXPECT_EQ(bad.size(), 1u) << p.file << ": " << p.text;
  }
  // And what is allowed stays allowed.
  const auto good = Violations({{"eq/ui/eq_box.cpp", "#include \"link/device_backend.h\"\n#include <QWidget>\n"},
                                {"link/port_list.cpp", "#include \"device/port_keys.h\"\n#include <QFileInfo>\n"},
                                {"app/main.cpp", "#include \"link/serial_link.h\"\n"},
                                {"sim/main.cpp", "#include \"sim/pty_bus.h\"\n"},
                                {"tests/e2e/usb_test.cpp", "#include \"sim/hidapi/sim_usb_control.h\"\n"},
                                {"sim/hidapi/sim_hidapi.cpp", "#include \"sim/usb_personality.h\"\n"}});
  EXPECT_TRUE(good.empty()) << Join(good);
}

TEST(Layers, PathsFallIntoTheirLayers) {
  EXPECT_EQ(LayerOf("protocol/frame.h"), Layer::Core);
  EXPECT_EQ(LayerOf("eq/scales.cpp"), Layer::Core);
  EXPECT_EQ(LayerOf("eq/ui/eq_box.cpp"), Layer::Panel);
  EXPECT_EQ(LayerOf("device/backend/device_search.h"), Layer::Backend);
  EXPECT_EQ(LayerOf("link/link.h"), Layer::Backend);
  EXPECT_EQ(LayerOf("app/kit/dialogs.h"), Layer::Kit);
  EXPECT_EQ(LayerOf("app/form1.h"), Layer::Shell);
  EXPECT_EQ(LayerOf("sim/processor.cpp"), Layer::Core);
  EXPECT_EQ(LayerOf("sim/pty_bus.cpp"), Layer::SimFront);
  EXPECT_EQ(LayerOf("sim/usb_personality.cpp"), Layer::Core);
  EXPECT_EQ(LayerOf("sim/hidapi/sim_hidapi.cpp"), Layer::SimFront);
}

}  // namespace
}  // namespace k7310::layers
