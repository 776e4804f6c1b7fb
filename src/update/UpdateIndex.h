#pragma once
// The update server's two index files, parsed from their bytes (Windows-1251 lines ending in
// CR LF, LF or CR).
//
// "ZVUpdateURL.idx" names where the update files lie: line 1 the base address, line 2 an
// alternate. "ZV1500.idx" lists what the server offers, one line each:
//   {News}text                                 the text for the window's news label
//   id=version^file{flags}caption (size kB)    an item; without "=" the version is 0
// An item is important when its line holds "{!}" anywhere. The size is read from the caption's
// parenthesised tail: from the line's first "(" seven characters on (the bracket and a
// six-letter word), up to the line's last three characters, blanks removed, in kilobytes.
// Lines of other shapes, and items whose id is none of ours, are ignored (their version is not
// looked at, so a later format may add kinds of items). A known item whose version is not a
// decimal number ends the reading there.
//
// Everything here comes from a server and is untrusted: the parsers are total, run in time
// linear in the input, and bound what they accept (kMaxIndexBytes, kMaxIndexLineBytes).

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

namespace zv {

// An index larger than this is refused whole; a download of an index stops at it.
inline constexpr qsizetype kMaxIndexBytes = 1 << 20;
// A longer line is ignored (no caption, file name or news of that length is meaningful).
inline constexpr qsizetype kMaxIndexLineBytes = 4096;

// The sound packages' ids in the order the trainer loads them ("zv" + category).
inline constexpr std::array<std::u16string_view, 26> kPackageIds = {
    u"zvy",  u"zvf",  u"zvm0", u"zvm1", u"zvm2", u"zvm3",  u"zvm4",  u"zvm5",  u"zvn",
    u"zvt",  u"zvs",  u"zvq1", u"zvq2", u"zvq3", u"zvq4",  u"zvq5",  u"zvq6",  u"zvq7",
    u"zvq8", u"zvq9", u"zvq10", u"zvq11", u"zvq12", u"zvq13", u"zvq14", u"zvq15"};

// Position of a package id in kPackageIds; ids are compared exactly.
std::optional<int> PackageIndex(QStringView id);

// "ttp" at position 1 or 2 of a line ("http://…", "https://…"): the mark of a line holding a
// web address.
bool HoldsWebAddress(QStringView line);
// The check of a downloaded address file: its first line holds a web address. An HTML page
// (an error page of a server or a proxy) does not.
bool PassesFirstLineCheck(QByteArrayView content);

struct UpdateServers {
  QString base;       // ends in "/" as written by the server: the index name is appended as is
  QString alternate;  // used when the base holds no index
};

// Reads "ZVUpdateURL.idx" fetched from `answeringServer` (scheme and host, no trailing "/").
// Nothing when line 1 is no web address. A missing or unusable line 2 makes the answering
// server the alternate, with the "/" the base addresses carry.
std::optional<UpdateServers> ParseUpdateServers(QByteArrayView content, const QString& answeringServer);

struct IndexNews {
  QString text;
};
struct IndexItem {
  QString id;
  int version = 0;
  QString fileName;
  QString caption;
  qint64 size = 0;  // bytes: the caption's kilobytes x 1024; 0 when they do not parse
  bool important = false;
};
// A known item whose version does not parse; the reading stopped at it.
struct UnreadableVersion {
  QString id;
};
using IndexEntry = std::variant<IndexNews, IndexItem, UnreadableVersion>;

enum class IndexError {
  TooLarge,    // over kMaxIndexBytes
  NotAnIndex,  // the first line does not begin with "shell" (an error page, another file)
};

struct UpdateIndex {
  std::optional<IndexError> error;  // set: no entries
  std::vector<IndexEntry> entries;  // in file order; an UnreadableVersion is the last
};

UpdateIndex ParseUpdateIndex(QByteArrayView content);

}  // namespace zv
