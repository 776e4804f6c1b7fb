#include "tasks/SelectorStore.h"

#include "platform/Registry.h"
#include "tasks/TSmartRand.h"

#include <optional>

namespace zv {
namespace {

// The stored bytes when the size rule admits them, else nothing.
std::optional<QByteArray> ReadState(Registry& registry, const QString& name, const TSmartRand& selector,
                                    SizeRule rule) {
  try {
    const int size = registry.GetDataSize(name);
    if (size <= 0 || size > 4 * selector.Words) return std::nullopt;
    if (rule == SizeRule::HalfWordRule && selector.Words / 2 != size / 8) return std::nullopt;
    QByteArray bytes(size, '\0');
    const int got = registry.ReadBinaryData(name, bytes.data(), size);
    if (got <= 0) return std::nullopt;
    bytes.truncate(got);
    return bytes;
  } catch (const RegistryError&) {
    return std::nullopt;
  }
}

}  // namespace

bool LoadUsedState(Registry& registry, const QString& name, TSmartRand& selector, SizeRule rule) {
  const auto bytes = ReadState(registry, name, selector, rule);
  if (!bytes) return false;
  selector.LoadUsedBytes(*bytes);
  return true;
}

bool LoadDoneState(Registry& registry, const QString& name, TSmartRand& selector) {
  if (!selector.TracksDone) return false;
  const auto bytes = ReadState(registry, name, selector, SizeRule::AtMostWords);
  if (!bytes) return false;
  selector.LoadDoneBytes(*bytes);
  selector.CountDone();
  return true;
}

void SaveUsedState(Registry& registry, const QString& name, TSmartRand& selector) {
  const QByteArray bytes = selector.UsedBytes();
  registry.WriteBinaryData(name, bytes.constData(), static_cast<int>(bytes.size()));
}

void SaveDoneState(Registry& registry, const QString& name, const TSmartRand& selector) {
  const QByteArray bytes = selector.DoneBytes();
  registry.WriteBinaryData(name, bytes.constData(), static_cast<int>(bytes.size()));
}

}  // namespace zv
