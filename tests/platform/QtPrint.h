#pragma once
// Readable GoogleTest output for Qt strings (found by argument-dependent lookup).

#include <QString>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
