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
// closed (and on destruction): under an advisory lock the hive is re-read, only this process's
// changes are replayed onto it, and the whole file is replaced atomically (temp file, fsync,
// rename). A hive that does not parse is moved aside as "<file>.corrupt-<time>" and the root
// starts empty.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <stdexcept>

namespace zv {

enum class RootKey { CurrentUser, LocalMachine, Users };

// Windows registry value types (numbers as REG_* constants).
enum class RegType : std::uint32_t {
  None = 0,
  String = 1,        // REG_SZ
  ExpandString = 2,  // REG_EXPAND_SZ
  Binary = 3,        // REG_BINARY
  DWord = 4,         // REG_DWORD
  MultiString = 7,   // REG_MULTI_SZ
};

// Thrown by typed reads of a value of another type or size, by writes that are refused
// (computed read-only values, no key open) and by reads with no key open.
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
  // Answers for the computed shell-folder values (see Registry::computed values).
  QString desktopDir;         // xdg-user-dir DESKTOP
  QString programsDir;        // ~/.local/share/applications
  QString startupDir;         // ~/.config/autostart
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

  // Setting the root closes an open key.
  void SetRootKey(RootKey root);
  RootKey GetRootKey() const;

  // Paths use backslashes and compare case-insensitively. A path starting with "\" or given
  // while no key is open is taken from the root; otherwise it is relative to the open key.
  // Returns false when the key does not exist and canCreate is false.
  bool OpenKey(const QString& path, bool canCreate);
  bool OpenKeyReadOnly(const QString& path);
  // Ends the group: writes this process's pending changes to the hive file.
  void CloseKey();
  bool HasCurrentKey() const;
  QString CurrentPath() const;

  bool KeyExists(const QString& path);
  // Deletes a key with all its subkeys. Relative paths as for OpenKey.
  bool DeleteKey(const QString& path);
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

private:
  struct Impl;
  std::unique_ptr<Impl> d;
};

}  // namespace zv
