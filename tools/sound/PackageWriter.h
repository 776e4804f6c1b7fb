#pragma once
// The packages: every sound of every buildable package encoded (or taken from the cache), then
// written in the package format into the output folder.

#include "SoundPipeline.h"
#include "SoundSources.h"

#include <QString>

namespace zv::soundbuild {

bool BuildPackages(const Tools& tools, const ContentSounds& content, const SoundCache& cache, const QString& outputDir,
                   int jobs);

}  // namespace zv::soundbuild
