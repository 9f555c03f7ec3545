// What each BTL (bridged output) mode does to the channel strip.
#pragma once

#include <array>
#include <cstdint>

namespace k7310 {

enum class BtlPicture { Normal, LowMid, HighMid };

struct BtlDisplay {
  bool midRow;    // the Mid row's buttons
  bool highRow;   // the High row's buttons
  bool image6;    // line picture behind the High row
  bool image7;    // line picture behind the Mid row
  BtlPicture picture;  // the Mid row's icon
  std::uint32_t buttonRgb;  // colour of the "BTL Mode" button, 0xRRGGBB
};

inline constexpr std::array<BtlDisplay, 4> kBtlDisplay = {{
    {true, true, true, true, BtlPicture::Normal, 0xE0E0E0},
    {false, true, true, false, BtlPicture::LowMid, 0x008000},
    {false, true, true, false, BtlPicture::HighMid, 0x008000},
    {false, false, false, false, BtlPicture::HighMid, 0x008000},
}};

// The display of a mode; a block can bring any byte, and a mode outside 0..3 leaves the display as it is.
inline const BtlDisplay* BtlDisplayFor(int mode) {
  return mode >= 0 && mode < static_cast<int>(kBtlDisplay.size()) ? &kBtlDisplay[static_cast<std::size_t>(mode)]
                                                                    : nullptr;
}

}  // namespace k7310
