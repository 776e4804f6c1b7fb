#include "update/UpdateHandOff.h"

namespace zv {

using namespace Qt::StringLiterals;

std::optional<CommandFile> BuildHandOff(const QString& folder, const std::vector<HandOffItem>& items) {
  std::size_t last = items.size();
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].downloaded) last = i;
  if (last == items.size()) return std::nullopt;

  CommandFile script;
  for (std::size_t i = 0; i <= last; ++i) {
    if (!items[i].downloaded) continue;
    QStringList arguments{u"modest"_s};
    if (i == last) arguments << u"runapp"_s;
    script.Run(folder + items[i].fileName, arguments);
  }
  for (const HandOffItem& item : items) script.DeleteFile(folder + item.fileName);
  script.DeleteSelf();
  return script;
}

}  // namespace zv
