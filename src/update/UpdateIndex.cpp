#include "update/UpdateIndex.h"

#include "platform/Cp1251.h"

namespace zv {
namespace {

using namespace Qt::StringLiterals;

// Calls `line` for each line of `content` (without its end); stops when it returns false.
template <typename Visit>
void ForEachLine(QByteArrayView content, Visit&& line) {
  qsizetype start = 0;
  const qsizetype size = content.size();
  while (start < size) {
    qsizetype end = start;
    while (end < size && content[end] != '\n' && content[end] != '\r') ++end;
    if (!line(content.sliced(start, end - start))) return;
    if (end < size && content[end] == '\r' && end + 1 < size && content[end + 1] == '\n') ++end;
    start = end + 1;
  }
}

QByteArrayView FirstLine(QByteArrayView content) {
  QByteArrayView first;
  ForEachLine(content, [&](QByteArrayView line) {
    first = line;
    return false;
  });
  return first;
}

std::optional<int> ParseVersion(QStringView text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok, 10);
  if (!ok) return std::nullopt;
  return value;
}

// The caption's size tail in kilobytes, as bytes.
qint64 ParseSize(const QString& line) {
  const qsizetype open = line.indexOf(u'(');
  if (open < 0) return 0;
  const qsizetype start = open + 7;
  const qsizetype end = line.size() - 3;
  if (end <= start) return 0;
  QString digits = line.mid(start, end - start);
  digits.remove(u' ');
  digits.remove(QChar(0x00A0));  // a no-break space between the thousands
  bool ok = false;
  const int kilobytes = digits.toInt(&ok, 10);
  if (!ok || kilobytes < 0) return 0;
  return qint64{kilobytes} * 1024;
}

bool IsKnownId(QStringView id) {
  return id == u"shell"_s || id == u"shellandsound"_s || PackageIndex(id).has_value();
}

}  // namespace

std::optional<int> PackageIndex(QStringView id) {
  for (std::size_t i = 0; i < kPackageIds.size(); ++i)
    if (id == QStringView(kPackageIds[i].data(), qsizetype(kPackageIds[i].size()))) return int(i);
  return std::nullopt;
}

bool HoldsWebAddress(QStringView line) {
  // Positions counted from 1: "ttp…" or one character and "ttp…".
  return line.startsWith(u"ttp"_s) || line.sliced(std::min<qsizetype>(1, line.size())).startsWith(u"ttp"_s);
}

bool PassesFirstLineCheck(QByteArrayView content) { return HoldsWebAddress(cp1251::Decode(FirstLine(content))); }

std::optional<UpdateServers> ParseUpdateServers(QByteArrayView content, const QString& answeringServer) {
  if (content.size() > kMaxIndexBytes) return std::nullopt;
  std::vector<QString> lines;
  ForEachLine(content, [&](QByteArrayView line) {
    lines.push_back(line.size() <= kMaxIndexLineBytes ? cp1251::Decode(line) : QString());
    return lines.size() < 2;
  });
  if (lines.empty() || !HoldsWebAddress(lines[0])) return std::nullopt;
  UpdateServers servers{lines[0], answeringServer + u'/'};
  if (lines.size() > 1 && HoldsWebAddress(lines[1])) servers.alternate = lines[1];
  return servers;
}

UpdateIndex ParseUpdateIndex(QByteArrayView content) {
  UpdateIndex index;
  if (content.size() > kMaxIndexBytes) {
    index.error = IndexError::TooLarge;
    return index;
  }
  if (!FirstLine(content).startsWith("shell")) {
    index.error = IndexError::NotAnIndex;
    return index;
  }
  ForEachLine(content, [&](QByteArrayView bytes) {
    if (bytes.size() > kMaxIndexLineBytes) return true;
    const QString line = cp1251::Decode(bytes);
    if (line.startsWith(u"{News}"_s)) {
      index.entries.emplace_back(IndexNews{line.mid(6)});
      return true;
    }
    const qsizetype equals = line.indexOf(u'=');
    const qsizetype caret = line.indexOf(u'^');
    const qsizetype idEnd = equals >= 0 ? equals : caret;
    if (idEnd < 0) return true;
    IndexItem item;
    item.id = line.left(idEnd);
    if (!IsKnownId(item.id)) return true;
    if (equals >= 0) {
      // A known id holds no "^", so the version ends at the first "^" (or the line's end).
      const qsizetype versionEnd = caret >= 0 ? caret : line.size();
      const std::optional<int> version = ParseVersion(QStringView(line).sliced(equals + 1, versionEnd - equals - 1));
      if (!version) {
        index.entries.emplace_back(UnreadableVersion{item.id});
        return false;
      }
      item.version = *version;
    }
    if (caret >= 0) {
      const qsizetype brace = line.indexOf(u'{', caret + 1);
      item.fileName = line.mid(caret + 1, brace >= 0 ? brace - caret - 1 : -1);
    }
    const qsizetype close = line.indexOf(u'}');
    if (close >= 0) item.caption = line.mid(close + 1);
    item.important = line.contains(u"{!}"_s);
    item.size = ParseSize(line);
    index.entries.emplace_back(std::move(item));
    return true;
  });
  return index;
}

}  // namespace zv
