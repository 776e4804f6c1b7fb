#include "platform/Registry.h"

#include "platform/HiveFile.h"
#include "platform/HiveTree.h"
#include "platform/RegFile.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QtEndian>

#include <array>
#include <cstring>
#include <mutex>

namespace zv {

using namespace Qt::StringLiterals;

// The types the accessor's private state holds. Not in the anonymous namespace: a member of a
// class with external linkage must not have a type of internal linkage.
namespace registry_detail {

// One parsed state of a hive file. Immutable; shared between Registry objects of the process
// through the cache below, so opening a key of an unchanged hive costs one stat().
struct Snapshot {
  hivefile::Stamp stamp;
  std::int64_t verifiedAtNs = 0;
  QByteArray bytes;
  std::shared_ptr<const HiveTree> tree;
  bool trusted() const { return hivefile::Trusted(stamp, verifiedAtNs); }
};
using SnapshotPtr = std::shared_ptr<const Snapshot>;

struct ComputedKey {
  RootKey root;
  QStringList path;
  QStringList folded;
  std::vector<std::pair<QString, QString>> values;  // name, text
};

}  // namespace registry_detail

using registry_detail::ComputedKey;
using registry_detail::Snapshot;
using registry_detail::SnapshotPtr;

namespace {

constexpr int kRootCount = 3;
// Far above what settings need (the real registry advises under 2 KiB), far below the file
// limit, so one oversized value cannot make the hive unreadable.
constexpr qsizetype kMaxValueBytes = 1024 * 1024;
int indexOf(RootKey root) { return static_cast<int>(root); }

// ---- hive snapshots -----------------------------------------------------------------------

// Parsed hives by file path. A cache of immutable snapshots, not shared state: a stale entry
// is never used, because every use checks the file's stamp (and, for a racy stamp, content).
struct SnapshotCache {
  std::mutex mutex;
  QHash<QString, SnapshotPtr> entries;

  SnapshotPtr get(const QString& path) {
    std::lock_guard guard(mutex);
    return entries.value(path);
  }
  void put(const QString& path, SnapshotPtr snapshot) {
    std::lock_guard guard(mutex);
    entries.insert(path, std::move(snapshot));
  }
};

SnapshotCache& snapshotCache() {
  static SnapshotCache cache;
  return cache;
}

enum class Parsed { Ok, Empty, Corrupt };

struct ParseOutcome {
  Parsed kind = Parsed::Empty;
  std::shared_ptr<const HiveTree> tree;
  QString problem;
};

ParseOutcome parseHive(const hivefile::Contents& contents, const QString& rootName) {
  auto empty = std::make_shared<const HiveTree>(rootName);
  if (!contents.stamp.exists) return {Parsed::Empty, empty, {}};
  if (contents.error) return {Parsed::Empty, empty, *contents.error};  // unreadable: leave it be
  if (contents.notRegular) return {Parsed::Corrupt, empty, u"not a regular file"_s};
  if (contents.tooLarge) return {Parsed::Corrupt, empty, u"larger than %1 bytes"_s.arg(regfile::kMaxFileBytes)};
  if (contents.bytes.isEmpty()) return {Parsed::Empty, empty, {}};
  const regfile::ReadResult read = regfile::Read(contents.bytes, regfile::Regedit4Text::Utf16le);
  if (!read.ok()) return {Parsed::Corrupt, empty, u"line %1: %2"_s.arg(read.error->line).arg(read.error->message)};
  auto tree = std::make_shared<HiveTree>(rootName);
  if (auto problem = tree->Merge(read.document)) return {Parsed::Corrupt, empty, *problem};
  return {Parsed::Ok, std::move(tree), {}};
}

void warn(const QString& message) { qWarning("registry: %s", qPrintable(message)); }

// The current snapshot of a hive. `known` is the caller's last one; `lockHeld` says whether the
// caller holds the hive's lock (moving a corrupt file aside needs it).
SnapshotPtr currentSnapshot(const QString& path, const QString& rootName, const SnapshotPtr& known, bool lockHeld) {
  const hivefile::Stamp stamp = hivefile::StatPath(path);
  if (known && known->stamp == stamp && known->trusted()) return known;
  SnapshotPtr cached = snapshotCache().get(path);
  if (cached && cached->stamp == stamp && cached->trusted()) return cached;

  const std::int64_t before = hivefile::NowNs();
  hivefile::Contents contents = hivefile::ReadAll(path, regfile::kMaxFileBytes);
  auto fresh = std::make_shared<Snapshot>();
  fresh->stamp = contents.stamp;
  fresh->verifiedAtNs = before;
  fresh->bytes = contents.bytes;
  // Same bytes as a snapshot we hold: no parse.
  for (const SnapshotPtr& s : {known, cached}) {
    if (s && contents.stamp.exists && !contents.error && !contents.tooLarge && !contents.notRegular &&
        s->stamp.exists && s->bytes == contents.bytes) {
      fresh->bytes = s->bytes;
      fresh->tree = s->tree;
      snapshotCache().put(path, fresh);
      return fresh;
    }
  }

  ParseOutcome outcome = parseHive(contents, rootName);
  if (outcome.kind == Parsed::Corrupt) {
    // Keep the bad file for inspection and start the root empty. Only under the lock, so that
    // a good file another process has just put in its place is never moved.
    if (!lockHeld) {
      hivefile::Lock lock(path);
      if (lock.Held()) return currentSnapshot(path, rootName, known, true);
      warn(u"%1 does not parse (%2) and %3; reading it as empty"_s.arg(path, outcome.problem, lock.Error()));
    } else if (const hivefile::MoveResult moved = hivefile::MoveAside(path); moved.error) {
      warn(u"%1 does not parse (%2) and %3; reading it as empty"_s.arg(path, outcome.problem, *moved.error));
    } else {
      warn(u"%1 does not parse (%2); moved aside to %3"_s.arg(path, outcome.problem, moved.movedTo));
      fresh->stamp = hivefile::StatPath(path);
    }
    fresh->bytes.clear();
  } else if (!outcome.problem.isEmpty()) {
    warn(u"%1; reading it as empty"_s.arg(outcome.problem));
  }
  fresh->tree = std::move(outcome.tree);
  snapshotCache().put(path, fresh);
  return fresh;
}

// ---- computed values ----------------------------------------------------------------------

QStringList foldAll(const QStringList& parts) {
  QStringList out;
  out.reserve(parts.size());
  for (const QString& p : parts) out.append(HiveTree::Fold(p));
  return out;
}

std::vector<ComputedKey> computedKeys(const RegistryPaths& paths) {
  const QString shellFolders = u"Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"_s;
  auto key = [](RootKey root, const QString& path, std::vector<std::pair<QString, QString>> values) {
    const QStringList parts = path.split(u'\\');
    return ComputedKey{root, parts, foldAll(parts), std::move(values)};
  };
  return {
      key(RootKey::CurrentUser,
          u"Software\\"_s + shellFolders,
          {{u"Desktop"_s, paths.desktopDir}, {u"Programs"_s, paths.programsDir}, {u"Startup"_s, paths.startupDir}}),
      key(RootKey::LocalMachine,
          u"SOFTWARE\\"_s + shellFolders,
          {{u"Common Programs"_s, paths.commonProgramsDir}, {u"Common Desktop"_s, QString()}}),
      key(RootKey::LocalMachine,
          u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion"_s,
          {{u"ProgramFilesDir"_s, u"/opt/"_s}}),
  };
}

bool startsWith(const QStringList& list, const QStringList& prefix) {
  if (prefix.size() > list.size()) return false;
  for (qsizetype i = 0; i < prefix.size(); ++i)
    if (list[i] != prefix[i]) return false;
  return true;
}

QByteArray dwordData(std::uint32_t v) {
  QByteArray data(4, '\0');
  qToLittleEndian(v, data.data());
  return data;
}

QString desktopFromTool() {
  // xdg-user-dir answers from user-dirs.dirs; asked once per home and config folder.
  static std::mutex mutex;
  static QHash<QString, QString> answers;
  const QString home = QDir::homePath();
  const QString key = home + u'\n' + qEnvironmentVariable("XDG_CONFIG_HOME");
  std::lock_guard guard(mutex);
  if (auto it = answers.constFind(key); it != answers.constEnd()) return *it;
  QString answer;
  QProcess tool;
  tool.start(u"xdg-user-dir"_s, {u"DESKTOP"_s}, QIODevice::ReadOnly);
  if (tool.waitForFinished(3000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0) {
    answer = QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
  } else {
    tool.kill();
    tool.waitForFinished(1000);
  }
  // The tool answers the home folder itself when no desktop is configured.
  if (answer.isEmpty() || !QDir::isAbsolutePath(answer) || QDir(answer) == QDir(home)) answer = home + u"/Desktop"_s;
  answers.insert(key, answer);
  return answer;
}

QString envDir(const char* name, const QString& fallback) {
  const QString v = qEnvironmentVariable(name);
  return !v.isEmpty() && QDir::isAbsolutePath(v) ? QDir::cleanPath(v) : fallback;
}

void computeFolders(RegistryPaths& p) {
  const QString home = QDir::homePath();
  const QString config = envDir("XDG_CONFIG_HOME", home + u"/.config"_s);
  const QString data = envDir("XDG_DATA_HOME", home + u"/.local/share"_s);
  p.desktopDir = desktopFromTool();
  p.programsDir = data + u"/applications"_s;
  p.startupDir = config + u"/autostart"_s;
  p.commonProgramsDir = u"/usr/share/applications"_s;
}

}  // namespace

// ---- names and paths ----------------------------------------------------------------------

QString RootKeyName(RootKey root) {
  switch (root) {
    case RootKey::CurrentUser:
      return u"HKEY_CURRENT_USER"_s;
    case RootKey::LocalMachine:
      return u"HKEY_LOCAL_MACHINE"_s;
    case RootKey::Users:
      return u"HKEY_USERS"_s;
  }
  return {};
}

std::optional<RootKey> RootKeyFromName(QStringView name) {
  for (RootKey r : {RootKey::CurrentUser, RootKey::LocalMachine, RootKey::Users})
    if (name.compare(RootKeyName(r), Qt::CaseInsensitive) == 0) return r;
  return std::nullopt;
}

RegistryPaths RegistryPaths::fromEnvironment() {
  const QString oneFolder = qEnvironmentVariable("ZORVIK_REGISTRY_DIR");
  if (!oneFolder.isEmpty()) return inOneFolder(oneFolder);
  RegistryPaths p;
  p.currentUserDir = envDir("XDG_CONFIG_HOME", QDir::homePath() + u"/.config"_s) + u"/Ostwin/registry"_s;
  p.localMachineDir = u"/etc/Ostwin/registry"_s;
  p.usersDir = p.localMachineDir;
  computeFolders(p);
  return p;
}

RegistryPaths RegistryPaths::inOneFolder(const QString& dir) {
  RegistryPaths p;
  p.currentUserDir = p.localMachineDir = p.usersDir = QDir::cleanPath(QDir(dir).absolutePath());
  computeFolders(p);
  return p;
}

QString RegistryPaths::hiveFile(RootKey root) const {
  const QString& dir = root == RootKey::CurrentUser    ? currentUserDir
                       : root == RootKey::LocalMachine ? localMachineDir
                                                       : usersDir;
  return dir + u'/' + RootKeyName(root) + u".reg"_s;
}

// ---- the accessor -------------------------------------------------------------------------

struct Registry::Impl {
  struct RootState {
    SnapshotPtr snapshot;
    std::shared_ptr<HiveTree> view;                  // snapshot + journal, while the journal is not empty
    std::vector<std::optional<HiveChange>> journal;  // emptied slots: superseded writes
    QHash<QString, std::size_t> lastWrite;           // path + name -> slot of the last SetValue
    std::size_t superseded = 0;                      // emptied slots
  };

  RegistryPaths paths;
  std::uint32_t access = KEY_ALL_ACCESS;
  RootKey root = RootKey::CurrentUser;
  std::array<RootState, kRootCount> roots;
  std::vector<ComputedKey> computed;
  bool keyOpen = false;
  bool readOnlyKey = false;
  QStringList current;  // names as stored

  RootState& Current() { return roots[indexOf(root)]; }

  const HiveTree& tree() {
    RootState& s = Current();
    if (!s.snapshot) refresh();
    return s.view ? *s.view : *s.snapshot->tree;
  }

  void rebuildView(RootState& s) {
    s.view.reset();
    if (s.journal.empty()) return;
    s.view = std::make_shared<HiveTree>(*s.snapshot->tree);
    for (const auto& change : s.journal)
      if (change) s.view->Apply(*change);
  }

  // Picks up changes other processes made to the file.
  void refresh() {
    RootState& s = Current();
    SnapshotPtr next = currentSnapshot(paths.hiveFile(root), RootKeyName(root), s.snapshot, false);
    const bool treeChanged = !s.snapshot || next->tree != s.snapshot->tree;
    s.snapshot = std::move(next);
    if (treeChanged) rebuildView(s);
  }

  void record(HiveChange change) {
    RootState& s = Current();
    if (!s.snapshot) refresh();
    if (!s.view) s.view = std::make_shared<HiveTree>(*s.snapshot->tree);
    s.view->Apply(change);
    if (change.kind != HiveChange::Kind::SetValue) {
      s.lastWrite.clear();  // key and value deletions end the window in which writes replace
      s.journal.push_back(std::move(change));
      return;
    }
    // A value written again replaces its earlier write (keeping the first spelling of the
    // name), so a loop of writes between two flushes keeps the journal small.
    const QString key = writeKey(change);
    if (auto it = s.lastWrite.constFind(key); it != s.lastWrite.constEnd()) {
      const std::size_t slot = *it;
      change.name = s.journal[slot]->name;
      if (slot + 1 == s.journal.size()) {
        s.journal[slot] = std::move(change);
        return;
      }
      s.journal[slot].reset();
      ++s.superseded;
    }
    s.lastWrite.insert(key, s.journal.size());
    s.journal.push_back(std::move(change));
    if (s.superseded > s.journal.size() / 2) compact(s);
  }

  static QString writeKey(const HiveChange& change) {
    return foldAll(change.path).join(u'\\') + u'\0' + HiveTree::Fold(change.name);
  }

  static void compact(RootState& s) {
    std::vector<std::optional<HiveChange>> kept;
    s.lastWrite.clear();
    for (auto& change : s.journal) {
      if (!change) continue;
      if (change->kind == HiveChange::Kind::SetValue)
        s.lastWrite.insert(writeKey(*change), kept.size());
      else
        s.lastWrite.clear();
      kept.push_back(std::move(change));
    }
    s.journal = std::move(kept);
    s.superseded = 0;
  }

  // Writes the root's journal into its hive file; throws RegistryError, keeping the journal.
  void flush(RootKey which) {
    RootState& s = roots[indexOf(which)];
    if (s.journal.empty()) return;
    const QString path = paths.hiveFile(which);
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir)) throw RegistryError("cannot create the registry folder " + dir.toStdString());
    hivefile::Lock lock(path);
    if (!lock.Held()) throw RegistryError(lock.Error().toStdString());
    SnapshotPtr base = currentSnapshot(path, RootKeyName(which), s.snapshot, true);
    HiveTree next(*base->tree);
    for (const auto& change : s.journal)
      if (change) next.Apply(*change);
    const QByteArray bytes = regfile::Write(next.ToDocument());
    // A file the reader would refuse would be moved aside on the next read: refuse it here.
    if (bytes.size() > regfile::kMaxFileBytes)
      throw RegistryError("the hive " + path.toStdString() + " would grow past its size limit");
    const std::int64_t before = hivefile::NowNs();
    if (auto error = hivefile::WriteAtomically(path, bytes)) throw RegistryError(error->toStdString());
    auto written = std::make_shared<Snapshot>();
    written->stamp = hivefile::StatPath(path);
    written->verifiedAtNs = before;
    written->bytes = bytes;
    written->tree = std::make_shared<const HiveTree>(std::move(next));
    snapshotCache().put(path, written);
    s.snapshot = std::move(written);
    s.journal.clear();
    s.lastWrite.clear();
    s.superseded = 0;
    s.view.reset();
  }

  // ---- paths ----

  QStringList absolute(const QString& path) const {
    QStringList parts = path.split(u'\\', Qt::SkipEmptyParts);
    if (path.startsWith(u'\\') || !keyOpen) return parts;
    return current + parts;
  }

  const ComputedKey* computedAt(const QStringList& folded) const {
    for (const ComputedKey& k : computed)
      if (k.root == root && k.folded == folded) return &k;
    return nullptr;
  }

  // A computed key or one of its ancestors (they exist without being stored).
  const ComputedKey* computedBelow(const QStringList& folded) const {
    for (const ComputedKey& k : computed)
      if (k.root == root && startsWith(k.folded, folded)) return &k;
    return nullptr;
  }

  // The path with the names as stored (or as computed), or nothing when the key is absent.
  std::optional<QStringList> resolve(const QStringList& parts) {
    const HiveTree::Key* key = &tree().Root();
    QStringList out;
    QStringList folded;
    for (const QString& part : parts) {
      folded.append(HiveTree::Fold(part));
      if (key) {
        const auto it = key->subkeys.find(folded.last());
        key = it == key->subkeys.end() ? nullptr : it->second.get();
        if (key) {
          out.append(key->name);
          continue;
        }
      }
      const ComputedKey* c = computedBelow(folded);
      if (!c) return std::nullopt;
      out.append(c->path[folded.size() - 1]);
    }
    return out;
  }

  static void checkNewKeyNames(const QStringList& parts) {
    if (parts.size() > regfile::kMaxKeyDepth) throw RegistryError("key path is too deep");
    for (const QString& p : parts)
      if (p.size() > regfile::kMaxKeyNameChars || !regfile::IsWritableName(p))
        throw RegistryError("invalid key name: " + p.toStdString());
  }

  // ---- values of the open key ----

  void requireKey() const {
    if (!keyOpen) throw RegistryError("no registry key is open");
  }

  struct Found {
    std::uint32_t type = 0;
    QByteArray data;
  };

  std::optional<Found> lookup(const QString& name) {
    requireKey();
    if (const ComputedKey* c = computedAt(foldAll(current))) {
      for (const auto& [n, text] : c->values)
        if (n.compare(name, Qt::CaseInsensitive) == 0) return Found{regfile::kTypeString, regfile::StringData(text)};
    }
    const HiveTree::Key* key = tree().Find(current);
    if (!key) return std::nullopt;
    const auto it = key->values.find(HiveTree::Fold(name));
    if (it == key->values.end()) return std::nullopt;
    return Found{it->second.type, it->second.data};
  }

  bool isComputedValue(const QString& name) const {
    if (const ComputedKey* c = computedAt(foldAll(current)))
      for (const auto& [n, text] : c->values)
        if (n.compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
  }

  void requireWritable(const QString& name) {
    requireKey();
    if (readOnlyKey) throw RegistryError("the key " + current.join(u'\\').toStdString() + " is open read-only");
    if (isComputedValue(name)) throw RegistryError("the value " + name.toStdString() + " is read-only");
    if (!resolve(current)) throw RegistryError("the key " + current.join(u'\\').toStdString() + " was deleted");
  }

  void write(const QString& name, std::uint32_t type, QByteArray data) {
    requireWritable(name);
    if (data.size() > kMaxValueBytes) throw RegistryError("the value " + name.toStdString() + " is too large");
    if (name.size() > regfile::kMaxValueNameChars || !regfile::IsWritableName(name))
      throw RegistryError("invalid value name: " + name.toStdString());
    record(HiveChange{HiveChange::Kind::SetValue, current, name, type, std::move(data)});
  }

  [[noreturn]] static void wrongType(const QString& name) {
    throw RegistryError("Invalid data type for '" + name.toStdString() + "'");
  }

  Found require(const QString& name) {
    auto found = lookup(name);
    if (!found) throw RegistryError("the value '" + name.toStdString() + "' does not exist");
    return *found;
  }
};

Registry::Registry(RegistryPaths paths, std::uint32_t access) : d(std::make_unique<Impl>()) {
  d->paths = std::move(paths);
  d->access = access;
  d->computed = computedKeys(d->paths);
}

Registry::~Registry() {
  for (RootKey r : {RootKey::CurrentUser, RootKey::LocalMachine, RootKey::Users}) {
    try {
      d->flush(r);
    } catch (const std::exception& e) {
      warn(u"changes to %1 were lost: %2"_s.arg(RootKeyName(r), QString::fromStdString(e.what())));
    }
  }
}

std::uint32_t Registry::Access() const { return d->access; }

std::optional<QString> Registry::HiveReadError(RootKey root) const {
  const QString path = d->paths.hiveFile(root);
  const hivefile::Contents contents = hivefile::ReadAll(path, regfile::kMaxFileBytes);
  if (contents.error) return contents.error;
  if (contents.notRegular) return path + u" is not a regular file"_s;
  if (contents.tooLarge) return path + u" is larger than %1 bytes"_s.arg(regfile::kMaxFileBytes);
  return std::nullopt;
}
void Registry::SetAccess(std::uint32_t access) { d->access = access; }

void Registry::SetRootKey(RootKey root) {
  if (root == d->root) return;
  CloseKey();  // throws before switching when the changes cannot be written
  d->root = root;
}

RootKey Registry::GetRootKey() const { return d->root; }

bool Registry::OpenKey(const QString& path, bool canCreate) {
  const QStringList parts = d->absolute(path);
  d->refresh();
  if (auto resolved = d->resolve(parts)) {
    d->current = *resolved;
  } else {
    if (!canCreate) return false;
    Impl::checkNewKeyNames(parts);
    d->record(HiveChange{HiveChange::Kind::CreateKey, parts, {}, 0, {}});
    d->current = *d->resolve(parts);
  }
  d->keyOpen = true;
  d->readOnlyKey = false;
  return true;
}

bool Registry::OpenKeyReadOnly(const QString& path) {
  if (!OpenKey(path, false)) return false;
  d->readOnlyKey = true;
  return true;
}

void Registry::CloseKey() {
  d->keyOpen = false;
  d->readOnlyKey = false;
  d->current.clear();
  d->flush(d->root);
}

void Registry::DiscardChanges() {
  d->keyOpen = false;
  d->readOnlyKey = false;
  d->current.clear();
  for (Impl::RootState& s : d->roots) {
    s.journal.clear();
    s.lastWrite.clear();
    s.superseded = 0;
    s.view.reset();
  }
}

bool Registry::HasCurrentKey() const { return d->keyOpen; }
QString Registry::CurrentPath() const { return d->current.join(u'\\'); }

bool Registry::KeyExists(const QString& path) {
  const QStringList parts = d->absolute(path);
  d->refresh();
  return d->resolve(parts).has_value();
}

bool Registry::DeleteKey(const QString& path) {
  // An empty path names the open key or the root; neither is deleted this way.
  if (path.split(u'\\', Qt::SkipEmptyParts).isEmpty()) return false;
  const QStringList parts = d->absolute(path);
  d->refresh();
  if (d->computedBelow(foldAll(parts)))
    throw RegistryError("the key " + parts.join(u'\\').toStdString() + " holds read-only values");
  if (!d->tree().Find(parts)) return false;
  d->record(HiveChange{HiveChange::Kind::DeleteKey, parts, {}, 0, {}});
  return true;
}

QStringList Registry::GetKeyNames() {
  d->requireKey();
  std::map<QString, QString> names;  // folded -> as stored
  if (const HiveTree::Key* key = d->tree().Find(d->current))
    for (const auto& [folded, child] : key->subkeys) names.emplace(folded, child->name);
  const QStringList folded = foldAll(d->current);
  for (const ComputedKey& c : d->computed)
    if (c.root == d->root && c.folded.size() > folded.size() && startsWith(c.folded, folded))
      names.emplace(c.folded[folded.size()], c.path[folded.size()]);
  QStringList out;
  for (const auto& [f, name] : names) out.append(name);
  return out;
}

QStringList Registry::GetValueNames() {
  d->requireKey();
  std::map<QString, QString> names;
  if (const HiveTree::Key* key = d->tree().Find(d->current))
    for (const auto& [folded, value] : key->values) names.emplace(folded, value.name);
  if (const ComputedKey* c = d->computedAt(foldAll(d->current)))
    for (const auto& [n, text] : c->values) names.emplace(HiveTree::Fold(n), n);
  QStringList out;
  for (const auto& [f, name] : names) out.append(name);
  return out;
}

bool Registry::ValueExists(const QString& name) { return d->lookup(name).has_value(); }

RegType Registry::GetDataType(const QString& name) {
  const auto found = d->lookup(name);
  return found ? static_cast<RegType>(found->type) : RegType::None;
}

int Registry::GetDataSize(const QString& name) {
  const auto found = d->lookup(name);
  return found ? int(found->data.size()) : -1;
}

bool Registry::DeleteValue(const QString& name) {
  d->requireWritable(name);
  if (!d->lookup(name)) return false;
  d->record(HiveChange{HiveChange::Kind::DeleteValue, d->current, name, 0, {}});
  return true;
}

std::int32_t Registry::ReadInteger(const QString& name) {
  const Impl::Found v = d->require(name);
  if (v.type != regfile::kTypeDWord || v.data.size() != 4) Impl::wrongType(name);
  return static_cast<std::int32_t>(qFromLittleEndian<std::uint32_t>(v.data.constData()));
}

void Registry::WriteInteger(const QString& name, std::int32_t value) {
  d->write(name, regfile::kTypeDWord, dwordData(static_cast<std::uint32_t>(value)));
}

bool Registry::ReadBool(const QString& name) { return ReadInteger(name) != 0; }
void Registry::WriteBool(const QString& name, bool value) { WriteInteger(name, value ? 1 : 0); }

QString Registry::ReadString(const QString& name) {
  const auto v = d->lookup(name);
  if (!v) return {};
  if (v->type != regfile::kTypeString && v->type != regfile::kTypeExpandString) Impl::wrongType(name);
  return regfile::StringFromData(v->data);
}

void Registry::WriteString(const QString& name, const QString& value) {
  d->write(name, regfile::kTypeString, regfile::StringData(value));
}

void Registry::WriteExpandString(const QString& name, const QString& value) {
  d->write(name, regfile::kTypeExpandString, regfile::StringData(value));
}

double Registry::ReadDateTime(const QString& name) {
  const Impl::Found v = d->require(name);
  if (v.type != regfile::kTypeBinary || v.data.size() != 8) Impl::wrongType(name);
  const std::uint64_t bits = qFromLittleEndian<std::uint64_t>(v.data.constData());
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

void Registry::WriteDateTime(const QString& name, double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  QByteArray data(8, '\0');
  qToLittleEndian(bits, data.data());
  d->write(name, regfile::kTypeBinary, data);
}

int Registry::ReadBinaryData(const QString& name, void* buffer, int bufSize) {
  const Impl::Found v = d->require(name);
  if (v.type != regfile::kTypeBinary) Impl::wrongType(name);
  if (v.data.size() > bufSize) throw RegistryError("the value '" + name.toStdString() + "' does not fit the buffer");
  if (!v.data.isEmpty()) std::memcpy(buffer, v.data.constData(), size_t(v.data.size()));
  return int(v.data.size());
}

void Registry::WriteBinaryData(const QString& name, const void* buffer, int size) {
  if (size < 0 || (size > 0 && !buffer)) throw RegistryError("invalid binary buffer");
  d->write(name, regfile::kTypeBinary, QByteArray(static_cast<const char*>(buffer), size));
}

QByteArray Registry::ReadRaw(const QString& name) { return d->require(name).data; }

void Registry::WriteRaw(const QString& name, RegType type, const QByteArray& data) {
  d->write(name, static_cast<std::uint32_t>(type), data);
}

}  // namespace zv
