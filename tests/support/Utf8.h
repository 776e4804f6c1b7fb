#pragma once
// Test texts are written in UTF-8; this makes a QString of one.

#include <QString>

namespace zv::test {

inline QString U(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace zv::test
