#pragma once
// Reading a sound package through a device (the file, or a buffer in tests). Only the head and
// the offset table are read to check a package; a sound is read alone when it is played. A
// package may be hostile: nothing here reads outside the device or allocates more than its
// size, and a sound that cannot be read comes back empty (it plays nothing).

#include "sound/PackageFormat.h"

#include <QByteArray>

class QIODevice;

namespace zv {

enum class PackageStatus {
  Intact,
  BadVersion,  // the version byte is neither 1 nor 34 (or the file ends before it)
  Corrupt,     // the length field or the checksum disagrees, or the head is cut short
};

struct PackageInspection {
  PackageStatus status = PackageStatus::Corrupt;
  PackageHead head;  // valid unless BadVersion
};

// Checks the package open for reading in `device` (positioned anywhere).
PackageInspection InspectPackage(QIODevice& device, bool voiced);

// Sound `index` of the package, unscrambled: for a comment package index 0..M-1, for a voiced
// package the task index - 1 (0..1499; its sound is index mod 100). Empty when the package or
// its table does not allow reading it.
QByteArray ReadPackageSound(QIODevice& device, bool voiced, int index);

}  // namespace zv
