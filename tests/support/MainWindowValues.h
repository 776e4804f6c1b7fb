#pragma once
// The values the main window writes to the program key when it closes, with their types
// (Volume only while the volume bar is shown, so it is not in this list).

#include "platform/Registry.h"

#include <utility>

namespace zv::test {

inline constexpr std::pair<const char*, RegType> kMainWindowValues[] = {
    {"MainFormLeft", RegType::DWord}, {"MainFormTop", RegType::DWord}, {"FirstDate", RegType::Binary},
    {"RCount", RegType::DWord},       {"Heart", RegType::Binary},      {"DoneHeart", RegType::Binary},
    {"HeartP", RegType::Binary},      {"HeartRC", RegType::Binary},    {"TicTac", RegType::DWord},
    {"Sound", RegType::DWord},        {"ToTL", RegType::DWord},        {"TimeLimit", RegType::DWord},
    {"Tasks", RegType::DWord},        {"ViewIndex", RegType::DWord},   {"AskFont", RegType::String},
    {"AskFontSize", RegType::DWord},  {"AskFontBold", RegType::DWord}, {"AskFontItalic", RegType::DWord},
    {"AnsFont", RegType::String},     {"AnsFontSize", RegType::DWord}, {"AnsFontBold", RegType::DWord},
    {"AnsFontItalic", RegType::DWord}};

}  // namespace zv::test
