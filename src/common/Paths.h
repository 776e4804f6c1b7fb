#pragma once
// Folder and temporary-name helpers of the system information module.
//
// Windows paths end in a backslash; on Linux the separator is "/", so the trailing-separator
// rule appends "/". The Temp folder is $TMPDIR, or /tmp when that is unset or empty (the
// Linux counterparts of the environment variable "Temp").

#include <QProcessEnvironment>
#include <QString>

namespace zv {

class RandomSource;

// A non-empty path that does not end in "/" gets one; an empty path stays empty.
QString IncludeTrailingSlash(const QString& path);

// The Temp folder, always ending in "/".
QString TempFolderFrom(const QProcessEnvironment& environment);

// Eight letters, each drawn uniformly from "a" to "z".
QString RandomName(RandomSource& random);

}  // namespace zv
