#pragma once
// The packages: every sound of every buildable package encoded (or taken from the cache), then
// written in the package format into the output folder.

#include "SoundPipeline.h"
#include "SoundSources.h"

#include "sound/PackageFormat.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace zv::soundbuild {

// Voiced packages start at this revision; the internet update compares it with its list.
inline constexpr std::uint16_t kVoicedRevision = 1;

// Package `category` (load index) holding `sounds`, in the current version: a comment package
// counts its sounds, a voiced package carries its revision.
PackageContent PackageOf(int category, std::vector<QByteArray> sounds);

struct BuildReport {
  int packages = 0;
  int spoken = 0;  // sounds encoded in this run
  int cached = 0;  // sounds taken from the cache
  qint64 bytes = 0;
  double seconds = 0;  // of speech
  QStringList errors;
};

// Writes every package `content` can fill into `outputDir` (a file is rewritten only when its
// bytes change) and removes the packages of that folder it cannot build any more.
BuildReport BuildPackages(const Tools& tools, const ContentSounds& content, const SoundCache& cache,
                          const QString& outputDir, int jobs);

// Reads every package of `dir` back as the trainer does: each must be intact, and each of its
// sounds must decode (with opusdec). Returns the faults found; counts the sounds in `sounds`.
QStringList VerifyPackages(const QString& dir, int jobs, int& sounds);

}  // namespace zv::soundbuild
