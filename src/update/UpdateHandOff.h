#pragma once
// The hand-off to the downloaded installers: a command file the trainer starts detached just
// before it ends. It runs each downloaded installer in list order with "modest" (the last one
// also with "runapp", which starts the trainer again), then deletes every item's file and
// finally itself.
//
// Only installers that arrived whole are run: a failed or cancelled download leaves no file or
// a partial one, and running it would at best lose the "runapp" that restarts the trainer. So
// "runapp" goes to the last installer that did arrive; with none, there is nothing to hand
// over. The items' files are deleted whatever became of them.
//
// The folder holds the downloads and must be the user's own (not a folder others can write
// to), since whatever lies there under an item's name is run. The installers must be
// executable.

#include "platform/CommandFile.h"

#include <QString>

#include <optional>
#include <vector>

namespace zv {

inline constexpr const char16_t* kHandOffFileName = u"ZVUpdate.sh";

struct HandOffItem {
  QString fileName;  // a plain name (IsPlainFileName) inside the download folder
  bool downloaded = false;
};

// `folder` ends in "/". Nothing when no item was downloaded.
std::optional<CommandFile> BuildHandOff(const QString& folder, const std::vector<HandOffItem>& items);

}  // namespace zv
