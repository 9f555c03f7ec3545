#include "protocol/parser.h"

#include "protocol/catalogue.h"
#include "protocol/group_block.h"

namespace k7310 {
namespace {

void Consume(std::string& t, std::size_t n) {
  if (t.size() <= n)
    t.clear();
  else
    t.erase(0, n);
}

// Clears a routing flag; true when it was set.
bool Take(bool& flag) {
  const bool was = flag;
  flag = false;
  return was;
}

}  // namespace

std::vector<Reply> ParseReceived(DeviceSession& s) {
  std::vector<Reply> out;
  std::string& rx = s.RxHex;

  if (rx.size() >= reply::kRxHexLimit) rx.clear();
  if (!StartsWithSync(rx)) rx.clear();

  if (const auto settings = DecodeDeviceSettings(rx)) {
    ParameterModel& m = s.model;
    m.LastLoadedGroup = settings->lastLoadedGroup;
    m.DeviceSetting1 = settings->setting1;
    m.DeviceSetting2 = settings->setting2;
    m.TempThreshold = settings->tempThreshold;
    Consume(rx, reply::kSettingsChars);
    out.push_back(rx::DeviceSettings{*settings});
  }

  if (const auto status = DecodeStatus(rx)) {
    Consume(rx, reply::kStatusChars);
    out.push_back(rx::Status{*status});
    return out;  // a status reply ends the run
  }

  if (IsSettingsAck(rx)) {
    out.push_back(rx::SettingsAck{Take(s.flags.AwaitIdAck)});
    Consume(rx, reply::kAckChars);
  }

  if (IsStoreAck(rx)) {
    out.push_back(rx::StoreAck{Take(s.flags.AwaitSaveAck)});
    Consume(rx, reply::kAckChars);
  }

  if (s.flags.AwaitDumpAll && IsStoredGroup(rx)) {
    rx::StoredGroup stored{rx.substr(0, kBlockTextLength), ++s.DumpCount, false};
    Consume(rx, kBlockTextLength);
    if (s.DumpCount >= kGroupCount) {
      s.DumpCount = 0;
      s.flags.AwaitDumpAll = false;
      stored.last = true;
    }
    out.push_back(std::move(stored));
  }

  if (IsActiveGroup(rx)) {
    if (Take(s.flags.AwaitKeep)) {
      // The block text stays where it is: the load that kept it reads it from PendingBlock.
      s.PendingBlock = rx;
      out.push_back(rx::ActiveGroup{rx::BlockRoute::Keep, rx.substr(0, kBlockTextLength)});
      return out;
    }
    if (Take(s.flags.AwaitDumpOne)) {
      out.push_back(rx::ActiveGroup{rx::BlockRoute::DumpOne, rx.substr(0, kBlockTextLength)});
      rx.clear();
      return out;
    }
    DecodeBlock(rx, s.model);
    s.commandSlots.ClearAllSlots();
    rx.clear();
    if (Take(s.flags.AwaitRecall)) {
      s.commandSlots.RaiseSlot(kQueryDeviceSettingsSlot);
      out.push_back(rx::ActiveGroup{rx::BlockRoute::Recall, {}});
    } else {
      out.push_back(rx::ActiveGroup{rx::BlockRoute::Apply, {}});
    }
    return out;
  }

  if (const auto names = DecodeGroupNames(rx)) {
    s.GroupName = *names;
    rx.clear();
    s.commandSlots.RaiseSlot(kQueryDeviceSettingsSlot);
    out.push_back(rx::Names{});
  }
  return out;
}

}  // namespace k7310
