#include "PackageWriter.h"

namespace zv::soundbuild {

bool BuildPackages(const Tools&, const ContentSounds&, const SoundCache&, const QString&, int) { return false; }

}  // namespace zv::soundbuild
