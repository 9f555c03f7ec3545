// The text tables hold UTF-8; the window shows QStrings.
#pragma once

#include <QString>

#include <string>

namespace k7310 {

inline QString Ui(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace k7310
