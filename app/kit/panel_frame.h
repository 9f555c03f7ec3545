// The editing panels beside the channel strip open one at a time. The frame works from a table with one row per
// panel kind: its box, its title labels and texts, the buttons that open it per channel, where it stands, and what
// closing it does. It remembers which panel is open (PanelKind, SelectedChannel), opens a panel in the common eight
// steps and closes it again, repainting the button that opened it.
#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace k7310 {

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

struct PanelRow {
  using Titles = std::array<std::string, 4>;
  // Fills a panel's controls from the model for a channel (step 6 of the opening).
  using Fill = std::function<void(int channel)>;
  enum class Place { Area, BesideButton };

  Panel kind = Panel::kNone;
  QWidget* box = nullptr;
  // Title labels and their texts by channel (a channel without a text keeps the label as it is).
  std::vector<std::pair<QLabel*, const Titles*>> titles;
  // The buttons that open the panel, by channel (nullptr where a channel has none).
  std::array<QPushButton*, 4> openers{};
  // A button that stands for the panel whatever the channel (the temperature button).
  QPushButton* soleOpener = nullptr;
  Place place = Place::Area;
  // One box serves every channel: switching channels keeps it up (the EQ box).
  bool sharedByChannels = false;
  // Opening it hides the BTL box.
  bool hidesBtl = false;
  // What opening it shows besides the box (the crossover part of the EQ box).
  std::function<void()> onOpen;
  Fill fill;
};

class PanelFrame {
 public:
  // The fixed place of the editing area, below the strip.
  static constexpr int kAreaX = 7;
  static constexpr int kAreaY = 232;

  // The rows; the strip's frame gives the places of the buttons (for panels that open beside them).
  void Add(PanelRow row);
  void SetStrip(QWidget* strip) { strip_ = strip; }
  void SetBtlBox(QWidget* btl) { btl_ = btl; }
  PanelRow* Row(Panel kind);

  Panel PanelKind = Panel::kNone;
  int SelectedChannel = -1;
  bool KeepEqBox = false;

  // Hides the open panel (a box shared by the channels stays while KeepEqBox is set), paints its button back to the
  // normal colour and forgets it.
  void ClosePanel();
  // Opens the panel of the given kind for a channel from its button: closes another open panel, paints the button,
  // sets the title, fills, places and shows the panel. The same panel for the same channel is refilled, not closed.
  void OpenPanel(Panel kind, int channel, QPushButton* button);
  // Shows the search result box (the "search result" button and the end of a search); SelectedChannel stays.
  void ShowSearchResult();
  // What the corner close buttons do.
  void CornerClose();
  void SetFill(Panel kind, PanelRow::Fill fill);

  // Connects every opener of the table and the given corner close buttons.
  void WireButtons(const std::vector<QAbstractButton*>& cornerCloseButtons);

 private:
  QPushButton* OpenButton(const PanelRow& row, int channel) const;

  std::vector<PanelRow> rows_;
  QWidget* strip_ = nullptr;
  QWidget* btl_ = nullptr;
};

}  // namespace k7310
