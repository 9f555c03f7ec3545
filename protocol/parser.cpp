#include "protocol/parser.h"

#include <algorithm>

#include "eq/scales.h"
#include "protocol/catalogue.h"
#include "protocol/group_block.h"

namespace k7310 {

namespace {

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 0;
}

// Frame byte n of the receive text (the caller has checked the length).
int ByteAt(const std::string& t, std::size_t n) { return Hex(t[2 * n]) * 16 + Hex(t[2 * n + 1]); }

// Characters from..to, counted from 1, equal the given text.
bool At(const std::string& t, std::size_t from, std::string_view expected) {
  return t.size() >= from - 1 + expected.size() && std::string_view(t).substr(from - 1, expected.size()) == expected;
}

void Consume(std::string& t, std::size_t n) {
  if (t.size() <= n)
    t.clear();
  else
    t.erase(0, n);
}

void StartScanAndPoll(SessionHost& h) {
  h.SetTimer(TimerId::Timer1, true);
  h.SetTimer(TimerId::sendTimer, true);
}

}  // namespace

int TemperatureStep(int tempRaw) {
  return NearestIndex(TemperatureTable, static_cast<double>(std::min(tempRaw, 5118)));
}

std::string TemperatureText(int step) {
  if (step <= 0) return ">=70 \u00B0C";
  if (step >= 30) return "<=10 \u00B0C";
  return std::to_string(70 - 2 * step) + " \u00B0C";
}

std::string AttenuationText(int db) { return std::to_string(db) + " dB"; }

std::string LastLoadedGroupText(int n) {
  return std::string(n <= 4 ? "The last load group:Usr" : "The last load group:Pre") + std::to_string(n - 1) +
         "         ";
}

void ParseReceived(DeviceSession& s, SessionHost& h) {
  std::string& rx = s.RxHex;
  h.ResetHidAssembly();
  h.SetTimer(TimerId::chcon, false);
  h.SetTimer(TimerId::intimer, false);

  if (rx.size() >= kRxHexLimit) rx.clear();
  if (!At(rx, 1, "A5A5A5")) rx.clear();

  if (At(rx, 9, "520021000008") && rx.size() >= 40) {
    ParameterModel& m = s.model;
    m.LastLoadedGroup = ByteAt(rx, 10);
    m.DeviceSetting1 = ByteAt(rx, 11);
    m.DeviceSetting2 = ByteAt(rx, 12);
    m.TempThreshold = ByteAt(rx, 15);
    const int replying = ByteAt(rx, 3);
    Consume(rx, 40);
    h.ShowDeviceSettings(replying);
  }

  if (At(rx, 9, "52002B000008") && rx.size() >= 40) {
    if (s.SearchRunning) h.CreditSearchAnswer();
    const int raw = ByteAt(rx, 12) + 256 * ByteAt(rx, 13);
    const int attenuation = ByteAt(rx, 14);
    Consume(rx, 40);
    h.ShowStatus(TemperatureText(TemperatureStep(raw)), AttenuationText(attenuation));
    return;
  }

  if (At(rx, 9, "510021000000") && rx.size() >= 24) {
    if (s.flags.AwaitIdAck == 1) {
      s.flags.AwaitIdAck = 0;
      h.SetTimer(TimerId::Timer2, true);
    }
    Consume(rx, 24);
  }

  if (At(rx, 9, "510000000000") && rx.size() >= 24) {
    if (s.flags.AwaitSaveAck == 1) {
      s.flags.AwaitSaveAck = 0;
      h.SetTimer(TimerId::Timer11, true);
    }
    Consume(rx, 24);
  }

  if (rx.size() >= kBlockTextLength && At(rx, 9, "52") && At(rx, 13, "29") && s.flags.AwaitDumpAll == 1) {
    h.CollectStoredGroup(std::string_view(rx).substr(0, kBlockTextLength));
    Consume(rx, kBlockTextLength);
    if (++s.DumpCount >= kGroupCount) {
      h.SetTimer(TimerId::Timer9, false);
      s.DumpCount = 0;
      s.flags.AwaitDumpAll = 0;
      h.FinishDumpAll();
      StartScanAndPoll(h);
    }
  }

  if (At(rx, 9, "52") && At(rx, 13, "28") && rx.size() >= kBlockTextLength) {
    h.SetTimer(TimerId::chcon112, false);
    if (s.flags.AwaitKeep == 1) {
      s.flags.AwaitKeep = 0;
      s.PendingBlock = rx;
      h.SetTimer(TimerId::trunon1, true);
      return;
    }
    if (s.flags.AwaitDumpOne == 1) {
      s.flags.AwaitDumpOne = 0;
      const std::string block = rx.substr(0, kBlockTextLength);
      rx.clear();
      h.SaveDumpOne(block);
      StartScanAndPoll(h);
      return;
    }
    DecodeBlock(rx, s.model);
    h.ShowAppliedBlock();
    s.commandSlots.ClearAllSlots();
    rx.clear();
    h.LockPortSelection();
    if (s.flags.AwaitRecall != 1) {
      h.Transmit(QueryGroupNames(s.DeviceIndex));
    } else {
      s.flags.AwaitRecall = 0;
      s.commandSlots.RaiseSlot(kQueryDeviceSettingsSlot);
      h.SetTimer(TimerId::Timer22, false);
      h.FinishRecall();
      StartScanAndPoll(h);
    }
    return;
  }

  if (At(rx, 9, "520026") && rx.size() >= 824) {
    h.SetTimer(TimerId::chcon188, false);
    for (int j = 0; j < kGroupCount; ++j)
      for (int k = 0; k < kGroupNameSize; ++k)
        s.GroupName[static_cast<std::size_t>(j)][static_cast<std::size_t>(k)] =
            static_cast<std::uint8_t>(ByteAt(rx, static_cast<std::size_t>(10 + 20 * j + k)));
    rx.clear();
    h.ShowGroupNames();
    s.commandSlots.RaiseSlot(kQueryDeviceSettingsSlot);
    h.SetTimer(TimerId::sendTimer, true);
    h.SetTimer(TimerId::Timer1, true);
  }
}

}  // namespace k7310
