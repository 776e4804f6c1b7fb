#include "platform/RegFile.h"

#include "platform/Cp1251.h"

#include <QLatin1StringView>

#include <array>

namespace zv::regfile {

using namespace Qt::StringLiterals;

namespace {

constexpr QLatin1StringView kRegedit4Header = "REGEDIT4"_L1;
constexpr QLatin1StringView kVersion5Header = "Windows Registry Editor Version 5.00"_L1;

const QString kMissingHeader =
    u"missing header: the first line must be REGEDIT4 or Windows Registry Editor Version 5.00"_s;

enum class Format { Regedit4, Version5 };

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

QStringView trimLeft(QStringView s) {
  qsizetype i = 0;
  while (i < s.size() && isBlank(s[i])) ++i;
  return s.mid(i);
}

QStringView trimRight(QStringView s) {
  qsizetype n = s.size();
  while (n > 0 && isBlank(s[n - 1])) --n;
  return s.first(n);
}

int hexDigit(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9') return u - u'0';
  if (u >= u'a' && u <= u'f') return u - u'a' + 10;
  if (u >= u'A' && u <= u'F') return u - u'A' + 10;
  return -1;
}

// 1..8 hex digits as a 32-bit number.
std::optional<std::uint32_t> parseHex32(QStringView s) {
  if (s.isEmpty() || s.size() > 8) return std::nullopt;
  std::uint32_t v = 0;
  for (QChar c : s) {
    const int d = hexDigit(c);
    if (d < 0) return std::nullopt;
    v = (v << 4) | std::uint32_t(d);
  }
  return v;
}

void appendUtf16le(QByteArray& out, QStringView text) {
  for (QChar c : text) {
    out.append(char(c.unicode() & 0xFF));
    out.append(char(c.unicode() >> 8));
  }
}

// Control characters other than tab cannot stand on a line of a .reg file, and an unpaired
// surrogate has no UTF-8 form; the position of the first offender, or -1.
qsizetype firstUnwritable(QStringView s) {
  for (qsizetype i = 0; i < s.size(); ++i) {
    const char16_t u = s[i].unicode();
    if (u < 0x20 && u != u'\t') return i;
    if (QChar::isHighSurrogate(u)) {
      if (i + 1 < s.size() && QChar::isLowSurrogate(s[i + 1].unicode())) {
        ++i;
        continue;
      }
      return i;
    }
    if (QChar::isLowSurrogate(u)) return i;
  }
  return -1;
}

QString describeChar(QChar c) { return u"U+"_s + QString::number(c.unicode(), 16).rightJustified(4, u'0').toUpper(); }

// ---- decoding the file into lines ---------------------------------------------------------

struct Lines {
  std::vector<QString> lines;
  std::optional<ParseError> error;
};

std::optional<ParseError> checkLine(const QString& line, int number) {
  if (line.size() > kMaxLineChars) return ParseError{number, u"line is longer than %1 characters"_s.arg(kMaxLineChars)};
  const qsizetype bad = firstUnwritable(line);
  if (bad >= 0) {
    const QChar c = line[bad];
    if (c.isSurrogate()) return ParseError{number, u"unpaired UTF-16 surrogate"_s};
    return ParseError{number, u"control character %1 in the text"_s.arg(describeChar(c))};
  }
  return std::nullopt;
}

Lines splitUtf8(QByteArrayView bytes) {
  Lines out;
  qsizetype start = 0;
  int number = 0;
  while (start <= bytes.size()) {
    qsizetype end = bytes.indexOf('\n', start);
    const bool last = end < 0;
    if (last) end = bytes.size();
    ++number;
    QByteArrayView raw = bytes.sliced(start, end - start);
    if (raw.endsWith('\r')) raw.chop(1);
    if (raw.size() > kMaxLineChars) {
      out.error = ParseError{number, u"line is longer than %1 characters"_s.arg(kMaxLineChars)};
      return out;
    }
    if (!raw.isValidUtf8()) {
      out.error = ParseError{number, u"text is not valid UTF-8"_s};
      return out;
    }
    QString line = QString::fromUtf8(raw);
    if (auto e = checkLine(line, number)) {
      out.error = e;
      return out;
    }
    out.lines.push_back(std::move(line));
    start = end + 1;
    if (last || start == bytes.size()) break;  // a final line end opens no further line
  }
  return out;
}

Lines splitUtf16le(QByteArrayView bytes) {
  Lines out;
  QString text;
  text.resize(bytes.size() / 2);
  for (qsizetype i = 0; i < text.size(); ++i)
    text[i] = QChar(char16_t(quint8(bytes[2 * i]) | (quint8(bytes[2 * i + 1]) << 8)));
  int number = 0;
  qsizetype start = 0;
  while (start <= text.size()) {
    qsizetype end = text.indexOf(u'\n', start);
    const bool last = end < 0;
    if (last) end = text.size();
    ++number;
    QString line = text.sliced(start, end - start);
    if (line.endsWith(u'\r')) line.chop(1);
    if (auto e = checkLine(line, number)) {
      out.error = e;
      return out;
    }
    out.lines.push_back(std::move(line));
    start = end + 1;
    if (last || start == text.size()) break;
  }
  if (bytes.size() % 2 != 0) {
    const int line = text.endsWith(u'\n') ? number + 1 : number;
    out.error = ParseError{line, u"UTF-16 text ends in the middle of a character"_s};
  }
  return out;
}

Lines decodeLines(QByteArrayView bytes) {
  if (bytes.startsWith("\xFF\xFE")) return splitUtf16le(bytes.sliced(2));
  if (bytes.startsWith("\xFE\xFF")) return Lines{{}, ParseError{1, u"UTF-16 big-endian text is not supported"_s}};
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes = bytes.sliced(3);
  return splitUtf8(bytes);
}

// ---- the line grammar ---------------------------------------------------------------------

class Parser {
 public:
  Parser(std::vector<QString> lines, Regedit4Text text) : m_lines(std::move(lines)), m_text(text) {}

  ReadResult run() {
    ReadResult result;
    const QStringView header = trimRight(m_lines.empty() ? QStringView() : m_lines[0]);
    if (header == kRegedit4Header) {
      m_format = Format::Regedit4;
    } else if (header == kVersion5Header) {
      m_format = Format::Version5;
    } else {
      result.error = ParseError{1, kMissingHeader};
      return result;
    }
    for (m_index = 1; m_index < m_lines.size(); ++m_index) {
      const QStringView line = trimLeft(m_lines[m_index]);
      std::optional<QString> error;
      if (line.isEmpty() || line.front() == u';') continue;
      if (line.front() == u'[')
        error = section(line, result);
      else if (line.front() == u'"' || line.front() == u'@')
        error = valueLine(line, result);
      else
        error = u"unrecognised line: expected [KEY], \"name\"=data, @=data or a ; comment"_s;
      if (error) {
        result.error = ParseError{m_errorLine ? m_errorLine : int(m_index) + 1, *error};
        result.document = {};
        result.lines.clear();
        return result;
      }
    }
    return result;
  }

 private:
  std::optional<QString> section(QStringView line, ReadResult& result) {
    line = trimRight(line);
    if (!line.endsWith(u']')) return u"key line without a closing ']'"_s;
    QStringView path = line.sliced(1, line.size() - 2);
    Section s;
    if (path.startsWith(u'-')) {
      s.remove = true;
      path = path.sliced(1);
    }
    if (auto e = checkPath(path)) return e;
    s.path = path.toString();
    result.document.sections.push_back(std::move(s));
    result.lines.push_back(SectionLines{int(m_index) + 1, {}});
    return std::nullopt;
  }

  static std::optional<QString> checkPath(QStringView path) {
    if (path.isEmpty()) return u"empty key path"_s;
    qsizetype depth = 0;
    for (QStringView part : path.tokenize(u'\\')) {
      if (part.isEmpty()) return u"empty key name in the path"_s;
      if (depth == 0 && !IsRootKeyName(part)) return u"unknown root key \"%1\""_s.arg(part.left(kMaxKeyNameChars));
      if (part.size() > kMaxKeyNameChars) return u"key name longer than %1 characters"_s.arg(kMaxKeyNameChars);
      if (++depth > kMaxKeyDepth) return u"key path deeper than %1 levels"_s.arg(kMaxKeyDepth);
    }
    return std::nullopt;
  }

  // A quoted name or string starting at s[pos] == '"'; pos ends after the closing quote.
  static std::optional<QString> quoted(QStringView s, qsizetype& pos, QString& out, QLatin1StringView what) {
    out.clear();
    for (++pos; pos < s.size(); ++pos) {
      const QChar c = s[pos];
      if (c == u'"') {
        ++pos;
        return std::nullopt;
      }
      if (c == u'\\') {
        if (++pos >= s.size()) break;
        const QChar e = s[pos];
        if (e != u'\\' && e != u'"')
          return u"unknown escape \\%1 in a %2 (only \\\\ and \\\" are defined)"_s.arg(e).arg(what);
        out.append(e);
      } else {
        out.append(c);
      }
    }
    return u"unterminated %1: the closing quote is missing"_s.arg(what);
  }

  std::optional<QString> valueLine(QStringView line, ReadResult& result) {
    if (result.document.sections.empty()) return u"value line before any [KEY] line"_s;
    Section& section = result.document.sections.back();
    const int lineNumber = int(m_index) + 1;  // before a hex list moves on to its continuations
    if (section.remove) return u"value line under a key deletion [-KEY]"_s;

    ValueLine v;
    qsizetype pos = 0;
    if (line.front() == u'@') {
      pos = 1;
    } else if (auto e = quoted(line, pos, v.name, "value name"_L1)) {
      return e;
    }
    if (v.name.size() > kMaxValueNameChars) return u"value name longer than %1 characters"_s.arg(kMaxValueNameChars);
    QStringView rest = trimLeft(line.sliced(pos));
    if (!rest.startsWith(u'=')) return u"expected '=' after the value name"_s;
    rest = trimLeft(rest.sliced(1));

    if (rest.startsWith(u'"')) {
      qsizetype p = 0;
      QString text;
      if (auto e = quoted(rest, p, text, "string"_L1)) return e;
      if (!trimRight(rest.sliced(p)).isEmpty()) return u"text after the closing quote"_s;
      v.value = Value{kTypeString, StringData(text)};
    } else if (trimRight(rest) == u"-"_s) {
      // "name"=- deletes the value.
    } else if (rest.startsWith("dword:"_L1, Qt::CaseInsensitive)) {
      const auto n = parseHex32(trimRight(rest.sliced(6)));
      if (!n) return u"dword: needs 1 to 8 hexadecimal digits"_s;
      QByteArray data(4, '\0');
      for (int i = 0; i < 4; ++i) data[i] = char((*n >> (8 * i)) & 0xFF);
      v.value = Value{kTypeDWord, data};
    } else if (rest.startsWith("hex"_L1, Qt::CaseInsensitive)) {
      rest = rest.sliced(3);
      std::uint32_t type = kTypeBinary;
      if (rest.startsWith(u'(')) {
        const qsizetype close = rest.indexOf(u')');
        const auto n = close > 0 ? parseHex32(rest.sliced(1, close - 1)) : std::nullopt;
        if (!n) return u"hex(N): needs a type number of 1 to 8 hexadecimal digits"_s;
        type = *n;
        rest = rest.sliced(close + 1);
      }
      if (!rest.startsWith(u':')) return u"expected ':' after hex"_s;
      QByteArray bytes;
      if (auto e = hexList(rest.sliced(1), bytes)) return e;
      const bool text = type == kTypeString || type == kTypeExpandString || type == kTypeMultiString;
      if (text && m_format == Format::Regedit4 && m_text == Regedit4Text::Windows1251) {
        QByteArray wide;
        appendUtf16le(wide, cp1251::Decode(bytes));
        bytes = wide;
      }
      v.value = Value{type, bytes};
    } else {
      return u"unrecognised value data: expected \"text\", dword:, hex:, hex(N): or -"_s;
    }
    section.values.push_back(std::move(v));
    result.lines.back().values.push_back(lineNumber);
    return std::nullopt;
  }

  // Comma-separated bytes; a trailing "\" continues the list on the next line.
  std::optional<QString> hexList(QStringView segment, QByteArray& out) {
    const int startLine = int(m_index) + 1;
    for (;;) {
      segment = trimRight(segment);
      const bool continued = segment.endsWith(u'\\');
      if (continued) segment = trimRight(segment.chopped(1));
      if (!segment.isEmpty()) {
        const qsizetype count = segment.count(u',') + 1;
        qsizetype k = 0;
        for (QStringView piece : segment.tokenize(u',')) {
          piece = trimRight(trimLeft(piece));
          const bool lastPiece = ++k == count;
          if (piece.isEmpty()) {
            if (lastPiece) break;  // a trailing comma
            return fail(u"empty byte in a hex list"_s);
          }
          const auto b = piece.size() <= 2 ? parseHex32(piece) : std::nullopt;
          if (!b) return fail(u"bad hex byte \"%1\""_s.arg(piece.left(16)));
          out.append(char(*b));
        }
      }
      if (!continued) return std::nullopt;
      if (m_index + 1 >= m_lines.size()) {
        m_errorLine = startLine;
        return u"hex list continues past the end of the file"_s;
      }
      ++m_index;
      segment = trimLeft(m_lines[m_index]);
    }
  }

  QString fail(QString message) {
    m_errorLine = int(m_index) + 1;
    return message;
  }

  std::vector<QString> m_lines;
  Regedit4Text m_text;
  Format m_format = Format::Regedit4;
  std::size_t m_index = 0;
  int m_errorLine = 0;
};

// ---- writing ------------------------------------------------------------------------------

QString quote(QStringView s) {
  QString out;
  out.reserve(s.size() + 2);
  out.append(u'"');
  for (QChar c : s) {
    if (c == u'\\' || c == u'"') out.append(u'\\');
    out.append(c);
  }
  out.append(u'"');
  return out;
}

// The text of a REG_SZ that round-trips through a quoted string, or nothing. Very long text
// goes to a wrapped hex(1) list instead, so no written line passes the reader's limit.
std::optional<QString> plainString(const Value& v, qsizetype nameChars) {
  if (v.type != kTypeString || v.data.size() < 2 || v.data.size() % 2 != 0) return std::nullopt;
  if (3 * (v.data.size() + nameChars) + 16 > kMaxLineChars) return std::nullopt;
  const qsizetype units = v.data.size() / 2;
  QString text(units - 1, Qt::Uninitialized);
  for (qsizetype i = 0; i < units; ++i) {
    const char16_t u = char16_t(quint8(v.data[2 * i]) | (quint8(v.data[2 * i + 1]) << 8));
    if (i == units - 1) {
      if (u != 0) return std::nullopt;
    } else {
      text[i] = QChar(u);
    }
  }
  if (firstUnwritable(text) >= 0) return std::nullopt;
  return text;
}

constexpr qsizetype kHexWrapColumn = 77;  // then "\" makes 78, as registry editors wrap

void appendHex(QString& out, qsizetype column, QByteArrayView data) {
  static constexpr std::array<char16_t, 16> digits = {
      u'0', u'1', u'2', u'3', u'4', u'5', u'6', u'7', u'8', u'9', u'a', u'b', u'c', u'd', u'e', u'f'};
  for (qsizetype i = 0; i < data.size(); ++i) {
    const bool last = i + 1 == data.size();
    const qsizetype width = last ? 2 : 3;
    if (column + width > kHexWrapColumn) {
      out.append(u"\\\r\n  "_s);
      column = 2;
    }
    const auto b = quint8(data[i]);
    out.append(QChar(digits[b >> 4]));
    out.append(QChar(digits[b & 0xF]));
    if (!last) out.append(u',');
    column += width;
  }
}

}  // namespace

bool IsRootKeyName(QStringView name) {
  static constexpr std::array<QLatin1StringView, 6> roots = {"HKEY_CURRENT_USER"_L1,
                                                             "HKEY_LOCAL_MACHINE"_L1,
                                                             "HKEY_USERS"_L1,
                                                             "HKEY_CLASSES_ROOT"_L1,
                                                             "HKEY_CURRENT_CONFIG"_L1,
                                                             "HKEY_DYN_DATA"_L1};
  for (QLatin1StringView r : roots)
    if (name.compare(r, Qt::CaseInsensitive) == 0) return true;
  return false;
}

bool IsWritableName(QStringView name) { return firstUnwritable(name) < 0; }

QByteArray StringData(QStringView text) {
  QByteArray out;
  out.reserve(2 * text.size() + 2);
  appendUtf16le(out, text);
  out.append('\0');
  out.append('\0');
  return out;
}

QString StringFromData(QByteArrayView data) {
  QString out;
  const qsizetype units = data.size() / 2;
  out.reserve(units);
  for (qsizetype i = 0; i < units; ++i) {
    const char16_t u = char16_t(quint8(data[2 * i]) | (quint8(data[2 * i + 1]) << 8));
    if (u == 0) break;
    out.append(QChar(u));
  }
  return out;
}

ReadResult Read(QByteArrayView bytes, Regedit4Text regedit4Text) {
  if (bytes.size() > kMaxFileBytes) {
    ReadResult r;
    r.error = ParseError{1, u"file is larger than %1 bytes"_s.arg(kMaxFileBytes)};
    return r;
  }
  Lines lines = decodeLines(bytes);
  if (lines.error) {
    // Whatever is wrong with the first line, it is not a header: say that, it is the clearer
    // message for a file that is no registration file at all.
    ParseError error = *lines.error;
    if (error.line == 1 && !bytes.startsWith("\xFE\xFF")) error.message = kMissingHeader;
    ReadResult r;
    r.error = std::move(error);
    return r;
  }
  return Parser(std::move(lines.lines), regedit4Text).run();
}

QByteArray Write(const Document& document) {
  QString out;
  out.append(kRegedit4Header);
  out.append(u"\r\n\r\n"_s);
  for (const Section& s : document.sections) {
    out.append(s.remove ? u"[-"_s : u"["_s);
    out.append(s.path);
    out.append(u"]\r\n"_s);
    for (const ValueLine& v : s.values) {
      const qsizetype lineStart = out.size();
      out.append(v.name.isEmpty() ? u"@"_s : quote(v.name));
      out.append(u'=');
      if (!v.value) {
        out.append(u'-');
      } else if (const auto text = plainString(*v.value, v.name.size())) {
        out.append(quote(*text));
      } else if (v.value->type == kTypeDWord && v.value->data.size() == 4) {
        std::uint32_t n = 0;
        for (int i = 3; i >= 0; --i) n = (n << 8) | quint8(v.value->data[i]);
        out.append(u"dword:%1"_s.arg(n, 8, 16, QChar(u'0')));
      } else {
        out.append(v.value->type == kTypeBinary ? u"hex:"_s : u"hex(%1):"_s.arg(v.value->type, 0, 16));
        appendHex(out, out.size() - lineStart, v.value->data);
      }
      out.append(u"\r\n"_s);
    }
    out.append(u"\r\n"_s);
  }
  return out.toUtf8();
}

}  // namespace zv::regfile
