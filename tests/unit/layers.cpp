#include "tests/unit/layers.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace k7310::layers {
namespace {

bool StartsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }
bool Contains(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }

int Rank(Layer l) {
  switch (l) {
    case Layer::Core: return 0;
    case Layer::Backend: return 1;
    case Layer::Kit: return 2;
    case Layer::Panel: return 3;
    case Layer::Shell: return 4;
    default: return 9;
  }
}

const char* Name(Layer l) {
  switch (l) {
    case Layer::Core: return "core";
    case Layer::Backend: return "backend";
    case Layer::Kit: return "widget kit";
    case Layer::Panel: return "panel";
    case Layer::Shell: return "main window";
    case Layer::SimFront: return "simulator front-end";
    default: return "outside";
  }
}

// Qt headers the backend may use: Qt Core and Qt SerialPort.
const std::set<std::string>& BackendQt() {
  static const std::set<std::string> allowed = {
      "QObject", "QTimer", "QString", "QStringList", "QByteArray", "QEventLoop", "QElapsedTimer", "QFile",
      "QFileInfo", "QDir", "QRegularExpression", "QSerialPort", "QSerialPortInfo", "QStringDecoder",
      "QStringEncoder", "QCoreApplication", "QMetaObject", "QVariant", "QThread", "QMutex", "QPointer",
      "QtGlobal", "QDebug", "QSocketNotifier", "QDateTime", "QSaveFile", "QTemporaryFile", "QTextStream"};
  return allowed;
}

// Headers of the backend that only the backend and the composition root may see.
bool IsBackendInternal(const std::string& include) {
  return include == "link/serial_link.h" || include == "link/wait.h";
}

}  // namespace

Layer LayerOf(const std::string& p) {
  if (StartsWith(p, "tests/") || StartsWith(p, "bench/")) return Layer::Outside;
  if (p == "sim/main.cpp" || StartsWith(p, "sim/pty_bus.") || StartsWith(p, "sim/hidapi/")) return Layer::SimFront;
  if (StartsWith(p, "sim/")) return Layer::Core;
  if (StartsWith(p, "app/kit/")) return Layer::Kit;
  if (StartsWith(p, "app/")) return Layer::Shell;
  if (StartsWith(p, "link/") || Contains(p, "/backend/")) return Layer::Backend;
  if (Contains(p, "/ui/")) return Layer::Panel;
  for (const char* core : {"protocol/", "eq/", "channel/", "presets/", "device/", "texts/"})
    if (StartsWith(p, core)) return Layer::Core;
  return Layer::Outside;
}

std::vector<std::string> Violations(const std::vector<SourceFile>& files) {
  static const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  std::vector<std::string> out;
  for (const SourceFile& f : files) {
    const Layer from = LayerOf(f.path);
    std::istringstream lines(f.text);
    std::string line;
    while (std::getline(lines, line)) {
      std::smatch m;
      if (!std::regex_search(line, m, include)) continue;
      const bool angle = m[1] == "<";
      const std::string inc = m[2];
      auto fail = [&](const std::string& why) { out.push_back(f.path + ": " + inc + " (" + why + ")"); };
      if (angle) {
        const bool qt = StartsWith(inc, "Q") || StartsWith(inc, "Qt");
        if (!qt) continue;
        const std::string base = inc.substr(inc.rfind('/') == std::string::npos ? 0 : inc.rfind('/') + 1);
        if (from == Layer::Core) fail("the core uses no Qt");
        if (from == Layer::Backend && !BackendQt().count(base)) fail("the backend uses Qt Core only, no widgets");
        continue;
      }
      const Layer to = LayerOf(inc);
      // Tests drive the simulated USB library through its control calls; nothing else of a front-end is included.
      const bool usbControl = from == Layer::Outside && inc == "sim/hidapi/sim_usb_control.h";
      if (to == Layer::SimFront && from != Layer::SimFront && !usbControl) {
        fail("nothing includes the simulator's front-end");
        continue;
      }
      if (from == Layer::Outside || from == Layer::SimFront) continue;
      if (to == Layer::Outside) continue;
      if (Rank(to) > Rank(from)) fail(std::string("the ") + Name(from) + " may not include the " + Name(to));
      if (from == Layer::Panel && IsBackendInternal(inc)) fail("panels use the backend's interface, not its parts");
      if (from == Layer::Kit && IsBackendInternal(inc)) fail("the widget kit uses the backend's interface only");
    }
  }
  return out;
}

std::vector<SourceFile> ReadTree(const std::string& root) {
  namespace fs = std::filesystem;
  std::vector<SourceFile> files;
  for (const char* dir : {"app", "link", "protocol", "eq", "channel", "presets", "device", "texts", "sim", "tests",
                          "bench"}) {
    const fs::path base = fs::path(root) / dir;
    if (!fs::exists(base)) continue;
    for (const auto& e : fs::recursive_directory_iterator(base)) {
      if (!e.is_regular_file()) continue;
      const std::string ext = e.path().extension().string();
      if (ext != ".h" && ext != ".cpp") continue;
      std::ifstream in(e.path());
      std::stringstream text;
      text << in.rdbuf();
      files.push_back({fs::relative(e.path(), root).generic_string(), text.str()});
    }
  }
  std::sort(files.begin(), files.end(), [](const SourceFile& a, const SourceFile& b) { return a.path < b.path; });
  return files;
}

}  // namespace k7310::layers
