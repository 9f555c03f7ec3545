// The simulator's command line and the control commands it reads on stdin (with --control).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace k7310::sim {

struct SimOptions {
  std::vector<int> ids{1};
  int ports = 1;
  std::string link;
  std::vector<int> silent;
  std::vector<int> noNames;
  bool noise = false;
  std::optional<std::int64_t> hangupAfterMs;
  std::string logPath;
  std::uint32_t seed = 1;
  std::int64_t replyDelayMs = 5;
  bool control = false;  // read control commands on stdin; off, stdin is never touched
  bool help = false;
};

// Parses argv[1..]; on failure returns false with a message in error.
bool ParseOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error);
// Comma-separated device IDs 1..255, no repeats.
bool ParseIdList(std::string_view text, std::vector<int>& ids);
const char* UsageText();

struct ControlCommand {
  enum class Kind { Silent, Talk, NoNames, Names, Noise, HangUp, Quit, Temp, Atten };
  Kind kind = Kind::Quit;
  int id = 0;     // unit for the per-unit commands
  int value = 0;  // reading for temp and atten; 1/0 for noise on/off; port (1-based, 0 = all) for hangup
};

// One line of the control channel; nothing (with a message in error) for an unknown or malformed command.
std::optional<ControlCommand> ParseControl(std::string_view line, std::string& error);

}  // namespace k7310::sim
