#include "eq/number_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace k7310 {
namespace {

constexpr int kSignificantDigits = 15;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string GeneralNumberText(double v) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v > 0 ? "INF" : "-INF";
  if (v == 0.0) return "0";  // also -0

  // Rounded to 15 significant digits: d.dddddddddddddde[+-]x
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.*e", kSignificantDigits - 1, v);
  std::string s(buf);
  const std::size_t ePos = s.find('e');
  const int exponent = std::atoi(s.c_str() + ePos + 1);
  std::string digits;
  const bool negative = s[0] == '-';
  for (std::size_t i = negative ? 1 : 0; i < ePos; ++i)
    if (IsDigit(s[i])) digits += s[i];
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent >= kSignificantDigits || exponent < -5) {
    out += digits[0];
    if (digits.size() > 1) out += '.' + digits.substr(1);
    out += 'E' + std::to_string(exponent);
  } else if (exponent < 0) {
    out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  } else {
    const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole) {
      out += digits + std::string(whole - digits.size(), '0');
    } else {
      out += digits.substr(0, whole) + '.' + digits.substr(whole);
    }
  }
  return out;
}

std::optional<double> ParseNumberText(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);

  // Check the shape first: from_chars alone would take "inf", "nan" and hexadecimal forms.
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t start = i;
  int mantissaDigits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++mantissaDigits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++mantissaDigits;
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    int exponentDigits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;

  // The sign is taken off above: from_chars reads no "+".
  double v = 0.0;
  const std::string_view body = text.substr(start);
  const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), v, std::chars_format::general);
  if (ec != std::errc() || end != body.data() + body.size()) return std::nullopt;
  return negative ? -v : v;
}

}  // namespace k7310
