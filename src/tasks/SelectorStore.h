#pragma once
// Loading and saving a selector's state as a binary registry value.
//
// Loading rule: an absent value leaves the selector fresh; a value is taken only when its size
// is at most 4 x Words bytes (with HalfWordRule also when Words / 2 == size / 8, the rule of the
// correct-answer window's selectors); a value that is not binary or holds no bytes is ignored.
// A shorter value fills only the leading bytes. Every failure is silent: the caller's key is
// open and stays usable.

#include <QString>

namespace zv {

class Registry;
class TSmartRand;

enum class SizeRule { AtMostWords, HalfWordRule };

// Reads `name` into the selector's Used set; true when a value was taken.
bool LoadUsedState(Registry& registry, const QString& name, TSmartRand& selector,
                   SizeRule rule = SizeRule::AtMostWords);
// Reads `name` into the Done set by the same size rule and, when taken, counts it (CountDone).
bool LoadDoneState(Registry& registry, const QString& name, TSmartRand& selector);

// Writes Used (tail bits clear) or Done as 4 x Words bytes. Registry errors propagate so the
// caller's group ends as any other failed write would end it.
void SaveUsedState(Registry& registry, const QString& name, TSmartRand& selector);
void SaveDoneState(Registry& registry, const QString& name, const TSmartRand& selector);

}  // namespace zv
