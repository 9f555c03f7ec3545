// The layers of the source tree, and the check that every include points down. Used by the layer test.
#pragma once

#include <string>
#include <vector>

namespace k7310::layers {

enum class Layer {
  Core,       // protocol/, the top of eq/ channel/ presets/ device/, texts/, the simulator's model: no Qt
  Backend,    // link/ and the backend/ part of a subsystem folder: Qt Core (and Qt SerialPort), no Qt Widgets
  Kit,        // app/kit/: the window's widget kit
  Panel,      // the ui/ part of a subsystem folder: panels and their controllers
  Shell,      // app/: the main window, the composition root, the program
  SimFront,   // the simulator's front-end: its program and its pseudo-terminals
  Outside,    // tests, benchmarks, anything else
};

// The layer of a path relative to the source root ("eq/ui/eq_box.cpp").
Layer LayerOf(const std::string& path);

struct SourceFile {
  std::string path;  // relative to the source root
  std::string text;
};

// One include that crosses a layer the wrong way, as "<file>: <include> (<why>)".
std::vector<std::string> Violations(const std::vector<SourceFile>& files);

// The project's own sources under root (C++ files of the layered folders, tests and benchmarks).
std::vector<SourceFile> ReadTree(const std::string& root);

}  // namespace k7310::layers
