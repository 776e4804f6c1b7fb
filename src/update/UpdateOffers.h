#pragma once
// What the update window offers: the index's items newer than what is installed, in index
// order, up to and including the first important one offered (the reading stops there, so
// news and items after it are not seen).
//
// Program items: "shell" is offered for a version 1..255 above the build, or more than 256
// above it while some voiced-task package is missing; "shellandsound" for more than 256 above
// it when every voiced-task package is present. 256 above offers neither. A package item is
// offered when the installed package's count field is below the item's version.
//
// An item whose file name is not a plain name is never offered: the name becomes a path in
// the download folder and a word of the hand-off script, so it must not reach outside that
// folder or look like an option.

#include "update/UpdateIndex.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace zv {

struct InstalledVersions {
  int build = 15000;
  bool allVoicedPresent = false;     // all fifteen voiced-task packages were found
  std::array<int, 26> packageCounts{};  // count field per kPackageIds entry; 0 when absent or rejected
};

struct UpdateItem {
  QString fileName;
  qint64 size = 0;  // expected bytes
  QString caption;
};

struct UpdateOffer {
  std::vector<UpdateItem> items;
  bool important = false;                    // the last item carries "{!}"
  std::optional<QString> news;               // the last news line read
  std::optional<QString> unreadableVersionOf;  // the id whose version ended the reading
};

// 1..64 characters of A-Z, a-z, 0-9, ".", "_", "-"; not starting with "." or "-"; no "..".
bool IsPlainFileName(QStringView name);

bool IsOffered(const IndexItem& item, const InstalledVersions& installed);

UpdateOffer OfferUpdates(const UpdateIndex& index, const InstalledVersions& installed);

// The window's headline for the result of a check.
QString OfferHeadline(const UpdateOffer& offer);

// The information message for an unreadable version, English and Russian.
QString UnreadableVersionEnglish(const QString& id);
QString UnreadableVersionRussian(const QString& id);

}  // namespace zv
