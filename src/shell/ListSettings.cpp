#include "shell/ListSettings.h"

#include "common/ProgramKey.h"
#include "platform/Registry.h"
#include "platform/RegistryGroup.h"

#include <algorithm>

namespace zv {

void ReadListSettings(Registry& r, ListSettings& s) {
  InKeyGroup(r, ProgramKeyPath(), KeyOpening::CreateIfMissing, [&] {
    if (r.ValueExists(QStringLiteral("LogFont"))) s.font = r.ReadString(QStringLiteral("LogFont"));
    if (r.ValueExists(QStringLiteral("LogFontSize"))) {
      const int v = r.ReadInteger(QStringLiteral("LogFontSize"));
      if (v < -32768 || v > 32767) throw RegistryError("LogFontSize out of range");
      s.fontSize = std::clamp(v, ListSettings::kMinFontSize, ListSettings::kMaxFontSize);
    }
    if (r.ValueExists(QStringLiteral("LogHeight")))
      s.height = std::max(r.ReadInteger(QStringLiteral("LogHeight")), ListSettings::kMinHeight);
    if (r.ValueExists(QStringLiteral("LogWidth")))
      s.width = std::max(r.ReadInteger(QStringLiteral("LogWidth")), ListSettings::kMinWidth);
  });
}

void WriteListSettings(Registry& r, const ListSettings& s) {
  InKeyGroup(r, ProgramKeyPath(), KeyOpening::CreateIfMissing, [&] {
    r.WriteString(QStringLiteral("LogFont"), s.font);
    r.WriteInteger(QStringLiteral("LogFontSize"), s.fontSize);
    r.WriteInteger(QStringLiteral("LogHeight"), s.height);
    r.WriteInteger(QStringLiteral("LogWidth"), s.width);
  });
}

}  // namespace zv
