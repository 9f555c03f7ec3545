// Numbers as the edits of the window show and read them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace k7310 {

// The general number format: the shortest text that reads back as the value to 15 significant digits, no
// trailing zeros, "." as the decimal point (19.7, 1000, 0.2, -24, 0). Very large and very small magnitudes
// switch to an exponent ("1E15", "1.5E-6").
std::string GeneralNumberText(double v);

// The number a user typed: blanks around it, an optional sign, digits with at most one ".", an optional exponent
// ("E" or "e", a sign, digits). Anything else, an empty text, or a magnitude beyond a double gives no number.
std::optional<double> ParseNumberText(std::string_view text);

}  // namespace k7310
