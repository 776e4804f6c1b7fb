#pragma once
// Protected groups of registry work. A group is one unit of failure: the first failure inside it
// (a key that cannot be opened, a value of the wrong type, a refused write) ends it at once, the
// values not yet handled keep their state, and nothing is reported. The key is always closed
// afterwards, also when the group ended by a failure.

#include "platform/Registry.h"

#include <QString>

#include <exception>
#include <type_traits>

namespace zv {

enum class GroupOutcome { Completed, Failed };

// Runs `work`; a failure thrown inside it ends it. Completed when `work` ran to its end (and,
// if it returns a bool, returned true).
template <typename Work>
GroupOutcome Protected(Work&& work) noexcept {
  try {
    if constexpr (std::is_same_v<decltype(work()), bool>) {
      return work() ? GroupOutcome::Completed : GroupOutcome::Failed;
    } else {
      work();
      return GroupOutcome::Completed;
    }
  } catch (const std::exception&) {
    return GroupOutcome::Failed;
  }
}

enum class KeyOpening { Existing, CreateIfMissing };

// One group on a key of HKEY_CURRENT_USER: sets the root (the accessor is shared with readers
// of other roots), opens `path`, runs `work` on it, and closes the key whatever happened.
// Failed when the key could not be opened or `work` failed.
template <typename Work>
GroupOutcome InKeyGroup(Registry& registry, const QString& path, KeyOpening opening, Work&& work) noexcept {
  const GroupOutcome outcome = Protected([&] {
    registry.SetRootKey(RootKey::CurrentUser);
    if (!registry.OpenKey(path, opening == KeyOpening::CreateIfMissing)) return false;
    work();
    return true;
  });
  Protected([&] { registry.CloseKey(); });  // a failing close loses nothing of the group's work
  return outcome;
}

}  // namespace zv
