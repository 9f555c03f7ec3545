// The editing panels beside the channel strip open one at a time. The frame remembers which one is open
// (PanelKind, SelectedChannel), opens a panel in the common eight steps and closes it again, repainting the
// button that opened it.
#pragma once

#include <QPushButton>

#include <array>
#include <functional>

namespace k7310 {

class BtlBox;
class ChannelStrip;
class DelayPanel;
class EqBox;
class GainPanel;
class LimiterPanel;
class SearchResultBox;
class TemperaturePanel;
class GroupsBox;

// The numbers are those the rest of the program knows the panels by; 5 is never used.
enum class Panel : int {
  kNone = -1,
  kEq = 0,
  kLimiter = 1,
  kDelay = 2,
  kGain = 3,
  kSearchResult = 4,
  kTemperature = 6,
};

struct PanelWidgets {
  ChannelStrip* strip;
  EqBox* eq;
  LimiterPanel* limiter;
  DelayPanel* delay;
  GainPanel* gain;
  SearchResultBox* searchResult;
  TemperaturePanel* temperature;
  BtlBox* btl;
  GroupsBox* groups;  // owns the hidden SpeedButton2
};

class PanelFrame {
 public:
  // Fills a panel's controls from the model for a channel (step 6 of the opening).
  using Fill = std::function<void(int channel)>;

  explicit PanelFrame(const PanelWidgets& widgets);

  Panel PanelKind = Panel::kNone;
  int SelectedChannel = -1;
  bool KeepEqBox = false;

  // Hides the open panel (the EQ box stays while KeepEqBox is set), paints its button back to the normal colour
  // and forgets it.
  void ClosePanel();
  // Opens the panel of the given kind for a channel from its button: closes another open panel, paints the button,
  // sets the title, fills, places and shows the panel. The same panel for the same channel is refilled, not closed.
  void OpenPanel(Panel kind, int channel, QPushButton* button, const Fill& fill = {});
  // Shows the search result box (the "search result" button and the end of a search); SelectedChannel stays.
  void ShowSearchResult();
  // What the corner close buttons do.
  void CornerClose();

  // The fill OpenPanel runs when it is given none (the strip's buttons give none); empty fills nothing.
  // The search result box has no fill: its listing is written by the search.
  void SetFill(Panel kind, Fill fill);

  // Connects every panel button of the strip and every corner close button.
  void WireButtons();

 private:
  QPushButton* OpenButton(Panel kind, int channel) const;
  Fill& FillOf(Panel kind);

  PanelWidgets w_;
  std::array<Fill, 7> fills_;
};

}  // namespace k7310
