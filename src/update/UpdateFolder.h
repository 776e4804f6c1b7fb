#pragma once
// The folder the update downloads into and runs its installers from: Temp +
// "zorvik-update-<uid>/". The Temp folder is shared, so anyone could plant a file there under
// an item's name and have the hand-off run it; this folder is made by its user with mode 0700
// and used only when it is a real folder (not a link), owned by the user, with exactly that
// mode. Otherwise the update refuses to download ("Загрузка не удалась").

#include <QString>

#include <optional>

namespace zv {

// The folder's path ending in "/", made when missing; nothing when it cannot be made or is
// not safe to use. `tempFolder` ends in "/".
std::optional<QString> PrepareUpdateFolder(const QString& tempFolder);

}  // namespace zv
