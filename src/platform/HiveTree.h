#pragma once
// HiveTree: one registry root in memory. Key and value names compare case-insensitively and
// keep the case they were created with. The tree converts from and to a regfile::Document
// (the hive file's content) and applies the changes a Registry journals, so the same change
// can be replayed onto a freshly read hive.

#include "platform/RegFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>

namespace zv {

struct HiveValue {
  QString name;
  std::uint32_t type = 0;
  QByteArray data;
};

// One change made through a Registry; paths are key names below the root.
struct HiveChange {
  enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
  Kind kind = Kind::CreateKey;
  QStringList path;
  QString name;  // value name for SetValue/DeleteValue
  std::uint32_t type = 0;
  QByteArray data;
};

class HiveTree {
 public:
  struct Key {
    QString name;
    std::map<QString, HiveValue> values;              // by folded name
    std::map<QString, std::unique_ptr<Key>> subkeys;  // by folded name
  };

  explicit HiveTree(QString rootName);
  HiveTree(const HiveTree& other);  // deep copy
  HiveTree& operator=(const HiveTree&) = delete;
  HiveTree(HiveTree&&) noexcept = default;
  HiveTree& operator=(HiveTree&&) noexcept = default;

  const QString& RootName() const { return m_root.name; }
  const Key& Root() const { return m_root; }
  const Key* Find(const QStringList& path) const;
  // Creates the missing keys of the path with the given names.
  Key& Ensure(const QStringList& path);
  // Deleting the root path empties the root.
  bool RemoveKey(const QStringList& path);
  void Apply(const HiveChange& change);

  // Applies a document's sections in order. Fails (tree partly changed; discard it) when a
  // section lies outside this root.
  std::optional<QString> Merge(const regfile::Document& document);
  // One section for every key that has values or no subkeys, keys and values sorted by
  // folded name: a deterministic file for the same content.
  regfile::Document ToDocument() const;

  static QString Fold(const QString& name) { return name.toCaseFolded(); }

 private:
  Key m_root;
};

}  // namespace zv
