// Readable Qt values in test failures: gtest would print a QString as the bytes of the object.
#pragma once

#include <QString>

#include <ostream>

// Found by argument-dependent lookup, so it lives in QString's namespace.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
