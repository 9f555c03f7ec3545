// Writes the seed corpus of the fuzz targets from real frames: the replies the simulated processor gives to the
// program's requests, the neutral block of the tests, and two requests.
//   <dir>/frames/  frame texts as RxHex holds them (targets that take plain text)
//   <dir>/parser/  the same behind a state byte, also split into two reads ('|')
//   <dir>/usb_reassembly/  the replies as the unit's USB input reports: a header report, then data reports
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "protocol/catalogue.h"
#include "protocol/frame.h"
#include "protocol_fixtures.h"
#include "sim/processor.h"
#include "sim/usb_personality.h"

namespace {

using namespace k7310;
namespace fs = std::filesystem;

std::string ReplyOf(sim::Unit& unit, const Bytes& request) {
  const std::optional<Bytes> r = unit.Take(request, 0);
  if (!r) {
    std::cerr << "fuzz_seeds: no reply to " << ToSpacedHex(request) << "\n";
    std::exit(1);
  }
  return ToHexText(*r);
}

void Write(const fs::path& file, const std::string& content) {
  std::ofstream out(file, std::ios::binary);
  out << content;
  if (!out) {
    std::cerr << "fuzz_seeds: cannot write " << file << "\n";
    std::exit(1);
  }
}

// A reply as the unit sends it on USB: its input reports back to back.
std::string AsUsbReports(const Bytes& frame) {
  std::string out;
  for (const sim::UsbReportData& r : sim::ReplyReports(frame)) out.append(r.begin(), r.end());
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: fuzz_seeds DIR\n";
    return 2;
  }
  const fs::path dir = argv[1];
  fs::create_directories(dir / "frames");
  fs::create_directories(dir / "parser");
  fs::create_directories(dir / "usb_reassembly");

  sim::Unit unit(3);
  const std::uint8_t d = unit.DeviceIndex();
  ParameterModel m;
  m.NewDeviceId = 3;
  const std::string status = ReplyOf(unit, QueryStatus(d));
  const std::string settings = ReplyOf(unit, QueryDeviceSettings(d));
  const std::string settingsAck = ReplyOf(unit, WriteDeviceSettings(m, d));
  const std::string storeAck = ReplyOf(unit, StoreGroup(d, 2, "Stage"));
  const std::vector<std::pair<std::string, std::string>> frames = {
      {"status", status},
      {"settings", settings},
      {"settings_ack", settingsAck},
      {"store_ack", storeAck},
      {"active_group", ReplyOf(unit, QueryCurrentBlock(d))},
      {"recalled_group", ReplyOf(unit, RecallGroup(d, 5))},
      {"stored_group", ReplyOf(unit, ReadStoredGroup(d, 12))},
      {"group_names", ReplyOf(unit, QueryGroupNames(d))},
      {"neutral_block", test::NeutralBlockText()},
      {"settings_then_status", settings + status},
      {"ack_then_status", settingsAck + status},
      {"query_status", ToHexText(QueryStatus(0))},
      {"write_channel", ToHexText(WriteChannelSettings(m, 0, 0))},
  };

  // State bytes: nothing awaited, each routing flag, a running search, the last of twenty stored groups awaited.
  const std::vector<int> states = {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x84};
  for (const auto& [name, text] : frames) {
    Write(dir / "frames" / name, text);
    for (int st : states) {
      char tag[8];
      std::snprintf(tag, sizeof tag, "_%02X", st);
      Write(dir / "parser" / (name + tag), std::string(1, static_cast<char>(st)) + text);
    }
    const std::size_t half = text.size() / 2 & ~std::size_t{1};
    Write(dir / "parser" / (name + "_split"), std::string(1, '\0') + text.substr(0, half) + "|" + text.substr(half));
    Bytes frame;
    if (ParseHexText(text, frame) && frame.size() >= kHeaderSize) Write(dir / "usb_reassembly" / name, AsUsbReports(frame));
  }
  return 0;
}
