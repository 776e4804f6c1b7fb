#include "platform/HiveTree.h"

#include <functional>

namespace zv {
namespace {

using namespace Qt::StringLiterals;

std::unique_ptr<HiveTree::Key> clone(const HiveTree::Key& key) {
  auto out = std::make_unique<HiveTree::Key>();
  out->name = key.name;
  out->values = key.values;
  for (const auto& [folded, child] : key.subkeys) out->subkeys.emplace(folded, clone(*child));
  return out;
}

}  // namespace

HiveTree::HiveTree(QString rootName) { m_root.name = std::move(rootName); }

HiveTree::HiveTree(const HiveTree& other) : m_root(std::move(*clone(other.m_root))) {}

const HiveTree::Key* HiveTree::Find(const QStringList& path) const {
  const Key* key = &m_root;
  for (const QString& part : path) {
    const auto it = key->subkeys.find(Fold(part));
    if (it == key->subkeys.end()) return nullptr;
    key = it->second.get();
  }
  return key;
}

HiveTree::Key& HiveTree::Ensure(const QStringList& path) {
  Key* key = &m_root;
  for (const QString& part : path) {
    auto& slot = key->subkeys[Fold(part)];
    if (!slot) {
      slot = std::make_unique<Key>();
      slot->name = part;
    }
    key = slot.get();
  }
  return *key;
}

bool HiveTree::RemoveKey(const QStringList& path) {
  if (path.isEmpty()) {
    const bool had = !m_root.values.empty() || !m_root.subkeys.empty();
    m_root.values.clear();
    m_root.subkeys.clear();
    return had;
  }
  Key* parent = const_cast<Key*>(Find(path.first(path.size() - 1)));
  return parent && parent->subkeys.erase(Fold(path.last())) > 0;
}

void HiveTree::Apply(const HiveChange& change) {
  switch (change.kind) {
    case HiveChange::Kind::CreateKey:
      Ensure(change.path);
      break;
    case HiveChange::Kind::DeleteKey:
      RemoveKey(change.path);
      break;
    case HiveChange::Kind::SetValue: {
      // A value keeps the case of its first writer, as the registry does.
      auto& values = Ensure(change.path).values;
      auto [it, inserted] = values.try_emplace(Fold(change.name));
      if (inserted) it->second.name = change.name;
      it->second.type = change.type;
      it->second.data = change.data;
      break;
    }
    case HiveChange::Kind::DeleteValue:
      if (const Key* key = Find(change.path)) const_cast<Key*>(key)->values.erase(Fold(change.name));
      break;
  }
}

std::optional<QString> HiveTree::Merge(const regfile::Document& document) {
  for (const regfile::Section& section : document.sections) {
    QStringList path = section.path.split(u'\\');
    if (path.first().compare(m_root.name, Qt::CaseInsensitive) != 0)
      return u"key %1 is not under %2"_s.arg(section.path, m_root.name);
    path.removeFirst();
    if (section.remove) {
      RemoveKey(path);
      continue;
    }
    Key& key = Ensure(path);
    for (const regfile::ValueLine& line : section.values) {
      if (line.value) {
        Apply(HiveChange{HiveChange::Kind::SetValue, path, line.name, line.value->type, line.value->data});
      } else {
        key.values.erase(Fold(line.name));
      }
    }
  }
  return std::nullopt;
}

regfile::Document HiveTree::ToDocument() const {
  regfile::Document doc;
  std::function<void(const Key&, const QString&, bool)> walk = [&](const Key& key, const QString& path, bool isRoot) {
    const bool leaf = key.subkeys.empty();
    if (!key.values.empty() || (leaf && !isRoot)) {
      regfile::Section section{path, false, {}};
      for (const auto& [folded, v] : key.values) section.values.push_back({v.name, regfile::Value{v.type, v.data}});
      doc.sections.push_back(std::move(section));
    }
    for (const auto& [folded, child] : key.subkeys) walk(*child, path + u'\\' + child->name, false);
  };
  walk(m_root, m_root.name, true);
  return doc;
}

}  // namespace zv
