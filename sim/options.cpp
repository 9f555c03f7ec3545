#include "sim/options.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace k7310::sim {

namespace {

template <typename T>
bool ParseNumber(std::string_view text, T& value, T lo, T hi) {
  T v{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v < lo || v > hi) return false;
  value = v;
  return true;
}

std::vector<std::string> Words(std::string_view line) {
  std::istringstream in{std::string(line)};
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

}  // namespace

bool ParseIdList(std::string_view text, std::vector<int>& ids) {
  std::vector<int> out;
  while (true) {
    const std::size_t comma = text.find(',');
    int id = 0;
    if (!ParseNumber(text.substr(0, comma), id, 1, 255)) return false;
    if (std::find(out.begin(), out.end(), id) != out.end()) return false;
    out.push_back(id);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  ids = std::move(out);
  return true;
}

bool ParseOptions(const std::vector<std::string>& args, SimOptions& o, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> inlineValue;
    if (const std::size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      inlineValue = name.substr(eq + 1);
      name.resize(eq);
    }
    auto value = [&](std::string& v) {
      if (inlineValue) {
        v = *inlineValue;
        return true;
      }
      if (i + 1 >= args.size()) return false;
      v = args[++i];
      return true;
    };
    auto bad = [&](const std::string& what) {
      error = "bad value for " + name + (what.empty() ? "" : ": " + what);
      return false;
    };
    std::string v;
    if (name == "--help" || name == "-h") {
      o.help = true;
    } else if (name == "--noise") {
      o.noise = true;
    } else if (name == "--control") {
      o.control = true;
    } else if (name == "--ids" || name == "--silent" || name == "--no-names") {
      if (!value(v)) return bad("missing");
      std::vector<int>& list = name == "--ids" ? o.ids : name == "--silent" ? o.silent : o.noNames;
      if (!ParseIdList(v, list)) return bad(v);
    } else if (name == "--ports") {
      if (!value(v) || !ParseNumber(v, o.ports, 1, 16)) return bad(v);
    } else if (name == "--link") {
      if (!value(v) || v.empty()) return bad(v);
      o.link = v;
    } else if (name == "--hangup-after") {
      std::int64_t ms = 0;
      if (!value(v) || !ParseNumber<std::int64_t>(v, ms, 0, 1000LL * 86400 * 365)) return bad(v);
      o.hangupAfterMs = ms;
    } else if (name == "--log") {
      if (!value(v) || v.empty()) return bad(v);
      o.logPath = v;
    } else if (name == "--seed") {
      if (!value(v) || !ParseNumber<std::uint32_t>(v, o.seed, 0, UINT32_MAX)) return bad(v);
    } else if (name == "--reply-delay") {
      if (!value(v) || !ParseNumber<std::int64_t>(v, o.replyDelayMs, 0, 10000)) return bad(v);
    } else {
      error = "unknown option " + args[i];
      return false;
    }
  }
  return true;
}

const char* UsageText() {
  return "Usage: k7310-sim [options]\n"
         "Simulates K_7310 processors behind pseudo-terminals. Prints the path of each bus's\n"
         "pseudo-terminal on its own line, then serves until SIGTERM, SIGINT or 'quit'.\n"
         "\n"
         "  --ids LIST          device IDs on every bus, e.g. 1,3 (default 1)\n"
         "  --ports N           number of buses, one pseudo-terminal each (default 1)\n"
         "  --link PATH         symbolic link to the first bus's pseudo-terminal (a stale link is replaced)\n"
         "  --silent LIST       these units take frames but never answer\n"
         "  --no-names LIST     these units never send the group names reply\n"
         "  --noise             garbage bytes (never A5) before replies and between them, once a frame came\n"
         "  --hangup-after MS   close the buses MS ms after start: the other end sees a hang-up\n"
         "  --log FILE          one line per frame: \"t_ms RX <hex>\", \"t_ms TX <hex>\", also \"t_ms NOISE <hex>\"\n"
         "                      and \"t_ms HANGUP\"; t_ms counts from start (for TX and NOISE: when the last byte\n"
         "                      went out); \" port=N\" follows when --ports > 1\n"
         "  --seed N            temperature drift and noise pattern (default 1)\n"
         "  --reply-delay MS    processing time before a reply starts (default 5)\n"
         "  --control           read control commands on stdin (below); without it stdin is left alone, so the\n"
         "                      simulator can run in the background of an interactive shell\n"
         "  --help              this text\n"
         "\n"
         "Replies go out at 9600 baud pace (about 1.04 ms a byte).\n"
         "\n"
         "Control commands, read on stdin with --control, one a line; each is answered \"ok ...\" or \"error ...\"\n"
         "on stdout:\n"
         "  silent ID       unit ID stops answering        talk ID     it answers everything again\n"
         "  no-names ID     unit ID sends no names reply   names ID    it sends them again\n"
         "  noise on|off    noise on every bus             hangup [N]  close bus N (default: all)\n"
         "  temp ID RAW     fix the raw temperature reading (1123 = 70 C or more .. 5118 = 10 C or less)\n"
         "  atten ID DB     set the attenuation reading    quit        exit as on SIGTERM\n";
}

std::optional<ControlCommand> ParseControl(std::string_view line, std::string& error) {
  const std::vector<std::string> w = Words(line);
  error.clear();
  if (w.empty()) {
    error = "empty command";
    return std::nullopt;
  }
  using K = ControlCommand::Kind;
  ControlCommand c;
  const std::string& verb = w[0];
  auto needId = [&](K kind) -> std::optional<ControlCommand> {
    if (w.size() != 2 || !ParseNumber(w[1], c.id, 1, 255)) {
      error = verb + " needs one device ID";
      return std::nullopt;
    }
    c.kind = kind;
    return c;
  };
  auto needIdValue = [&](K kind, int lo, int hi) -> std::optional<ControlCommand> {
    if (w.size() != 3 || !ParseNumber(w[1], c.id, 1, 255) || !ParseNumber(w[2], c.value, lo, hi)) {
      error = verb + " needs a device ID and a value " + std::to_string(lo) + ".." + std::to_string(hi);
      return std::nullopt;
    }
    c.kind = kind;
    return c;
  };
  if (verb == "silent") return needId(K::Silent);
  if (verb == "talk") return needId(K::Talk);
  if (verb == "no-names") return needId(K::NoNames);
  if (verb == "names") return needId(K::Names);
  if (verb == "temp") return needIdValue(K::Temp, 0, 0xFFFF);
  if (verb == "atten") return needIdValue(K::Atten, 0, 255);
  if (verb == "noise") {
    if (w.size() != 2 || (w[1] != "on" && w[1] != "off")) {
      error = "noise needs on or off";
      return std::nullopt;
    }
    c.kind = K::Noise;
    c.value = w[1] == "on" ? 1 : 0;
    return c;
  }
  if (verb == "hangup") {
    c.kind = K::HangUp;
    if (w.size() == 1) return c;
    if (w.size() == 2 && ParseNumber(w[1], c.value, 1, 16)) return c;
    error = "hangup takes an optional port number";
    return std::nullopt;
  }
  if (verb == "quit" && w.size() == 1) {
    c.kind = K::Quit;
    return c;
  }
  error = "unknown command: " + std::string(line);
  return std::nullopt;
}

}  // namespace k7310::sim
