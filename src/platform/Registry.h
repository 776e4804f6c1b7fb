#pragma once
// Registry: the typed store that stands in for the Windows registry.
//
// Each root (HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS) is one REGEDIT4-syntax text file
// (UTF-8). The accessor is shaped like the typed registry accessor the program was designed
// around: set a root, open a key, read and write typed values, close the key. Typed reads throw
// RegistryError when the stored type or size does not match, so a caller's protected group of
// value operations ends at that point, exactly as with the real accessor.
//
// Durability: changes are kept in memory as a journal and applied to disk when the key is
// closed, when SetRootKey switches to another root, and on destruction: under an advisory lock
// (flock on "<hive>.lock") the hive is re-read, only this object's changes are replayed onto
// it, and the whole file is replaced atomically (temp file, fsync, rename, fsync of the
// folder). So two processes writing different values of one key both keep theirs, and a kill
// at any moment leaves the old or the new file. OpenKey switching keys does not write. A flush
// that cannot write throws RegistryError and keeps the journal for the next flush; the
// destructor never throws (it reports the loss on stderr).
//
// Reading: the hive is re-read when a key is opened (OpenKey, OpenKeyReadOnly, KeyExists,
// DeleteKey) if its file changed; an unchanged file costs one stat() and is never re-parsed.
// Within one open key the values are those of that moment plus this object's own changes.
// A hive that does not parse is moved aside as "<file>.corrupt-<yyyyMMdd-hhmmss>" in its own
// folder and the root starts empty; an unreadable one reads as empty.
//
// Hive files: "REGEDIT4", UTF-8, CRLF line ends, keys and values sorted by name; REG_EXPAND_SZ
// and REG_MULTI_SZ as hex(2)/hex(7) of their UTF-16LE bytes (see RegFile.h).
//
// Computed values: the shell folders and ProgramFilesDir (see RegistryPaths) are answered as
// read-only REG_SZ values and are never stored; their keys and the keys above them exist.
// Writing or deleting one, or deleting a key holding one, throws RegistryError.
//
// Sizes: GetDataSize and the stored data of strings are UTF-16LE with the terminator, as the
// wide registry API reports them ("abc" is 8 bytes).
//
// Not thread-safe: one object per thread; objects of one process may share hive files.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>

namespace zv {

enum class RootKey { CurrentUser, LocalMachine, Users };

// "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS"; FromName is case-insensitive.
QString RootKeyName(RootKey root);
std::optional<RootKey> RootKeyFromName(QStringView name);

// Windows registry value types (numbers as REG_* constants).
enum class RegType : std::uint32_t {
  None = 0,
  String = 1,        // REG_SZ
  ExpandString = 2,  // REG_EXPAND_SZ
  Binary = 3,        // REG_BINARY
  DWord = 4,         // REG_DWORD
  MultiString = 7,   // REG_MULTI_SZ
};

// Thrown by typed reads of a value of another type or size or of an absent value (except
// ReadString), by every value operation and GetKeyNames/GetValueNames with no key open, by
// refused writes (computed values, a key opened read-only or deleted, names that cannot be
// stored: control characters, key names over 255 characters; data over 1 MiB) and by flushes
// that fail.
class RegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Where the hive files live. fromEnvironment(): ZORVIK_REGISTRY_DIR puts all roots in one
// folder; otherwise HKCU is $XDG_CONFIG_HOME/Ostwin/registry/ (default ~/.config) and HKLM/HKU
// are /etc/Ostwin/registry/. File names: HKEY_CURRENT_USER.reg, HKEY_LOCAL_MACHINE.reg,
// HKEY_USERS.reg.
struct RegistryPaths {
  QString currentUserDir;
  QString localMachineDir;
  QString usersDir;
  // Answers for the computed shell-folder values (HKCU and HKLM
  // Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders); fromEnvironment()
  // and inOneFolder() fill them, tests may set them.
  QString desktopDir;         // xdg-user-dir DESKTOP; $HOME/Desktop when it has no answer
  QString programsDir;        // $XDG_DATA_HOME/applications (~/.local/share/applications)
  QString startupDir;         // $XDG_CONFIG_HOME/autostart (~/.config/autostart)
  QString commonProgramsDir;  // /usr/share/applications

  static RegistryPaths fromEnvironment();
  static RegistryPaths inOneFolder(const QString& dir);  // every root in dir, computed from env
  QString hiveFile(RootKey root) const;
};

// Standard access masks (kept for fidelity; the store itself grants everything).
inline constexpr std::uint32_t KEY_ALL_ACCESS = 0xF003F;
inline constexpr std::uint32_t KEY_WOW64_64KEY = 0x0100;
inline constexpr std::uint32_t KEY_READ = 0x20019;

class Registry {
 public:
  explicit Registry(RegistryPaths paths, std::uint32_t access = KEY_ALL_ACCESS);
  ~Registry();  // closes the key, flushing pending changes
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;

  std::uint32_t Access() const;
  void SetAccess(std::uint32_t access);

  // Switching to another root closes the key and flushes the old root's changes first; when
  // that flush throws, the root stays as it was. Setting the same root does nothing.
  void SetRootKey(RootKey root);
  RootKey GetRootKey() const;

  // Paths use backslashes and compare case-insensitively. A path starting with "\" or given
  // while no key is open is taken from the root; otherwise it is relative to the open key.
  // Returns false when the key does not exist and canCreate is false; the open key is then
  // unchanged. "" (no key open) or "\" opens the root itself.
  bool OpenKey(const QString& path, bool canCreate);
  // Like OpenKey without creating; writes through the key throw.
  bool OpenKeyReadOnly(const QString& path);
  // Ends the group: writes this object's pending changes to the hive file (also when no key is
  // open, e.g. after DeleteKey). Throws RegistryError when they cannot be written; the key is
  // closed all the same and the changes stay pending.
  void CloseKey();
  // Drops this object's changes not yet written, of every root, and closes the key without
  // writing: a group that fails halfway (an import refused at its tenth line) leaves the hives
  // exactly as they were.
  void DiscardChanges();
  bool HasCurrentKey() const;
  QString CurrentPath() const;

  // Why the root's hive file cannot be taken as it is — it exists but cannot be read
  // (permissions, I/O, not a regular file, over the size limit) — or nothing when it is
  // readable or absent. Reading treats such a hive as empty; a caller about to act on what a
  // hive says (delete what it names) asks first.
  std::optional<QString> HiveReadError(RootKey root) const;

  bool KeyExists(const QString& path);
  // Deletes a key with all its subkeys. Relative paths as for OpenKey. False when the key does
  // not exist or is the root.
  bool DeleteKey(const QString& path);
  // Sorted by name, computed keys included.
  QStringList GetKeyNames();
  QStringList GetValueNames();

  bool ValueExists(const QString& name);
  RegType GetDataType(const QString& name);  // None when absent
  int GetDataSize(const QString& name);      // -1 when absent
  bool DeleteValue(const QString& name);

  // DWORD (signed 32-bit).
  std::int32_t ReadInteger(const QString& name);
  void WriteInteger(const QString& name, std::int32_t value);
  // Flag: REG_DWORD 0/1; any non-zero reads as true.
  bool ReadBool(const QString& name);
  void WriteBool(const QString& name, bool value);
  // Text: REG_SZ; REG_EXPAND_SZ accepted on reading (no expansion). An absent value reads "".
  QString ReadString(const QString& name);
  void WriteString(const QString& name, const QString& value);
  void WriteExpandString(const QString& name, const QString& value);
  // Date-time: REG_BINARY of exactly 8 bytes, an OLE Automation date (little-endian double).
  double ReadDateTime(const QString& name);
  void WriteDateTime(const QString& name, double value);
  // Binary: copies at most bufSize bytes, returns the number copied; throws when the value is
  // not REG_BINARY or is larger than bufSize.
  int ReadBinaryData(const QString& name, void* buffer, int bufSize);
  void WriteBinaryData(const QString& name, const void* buffer, int size);
  // Any type as stored (strings UTF-16LE with terminator): for importing .reg files, whose
  // hex(N) values have no typed accessor. ReadRaw throws when the value is absent.
  QByteArray ReadRaw(const QString& name);
  void WriteRaw(const QString& name, RegType type, const QByteArray& data);

 private:
  struct Impl;
  std::unique_ptr<Impl> d;
};

}  // namespace zv
