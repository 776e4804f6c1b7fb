// The progress file's layout: the frame, the binary groups' continuation lines, the counter and
// the order of the groups.

#include "tasks/ProgressExport.h"

#include <QByteArrayList>

#include <gtest/gtest.h>

#include "support/RowName.h"

namespace zv {
namespace {

QByteArray Words(int count) {
  QByteArray bytes;
  for (int i = 0; i < count * 4; ++i) bytes.append(static_cast<char>(0xA0 + i % 64));
  return bytes;
}

QByteArrayList Lines(const QByteArray& text) {
  QByteArrayList lines = text.split('\n');
  EXPECT_TRUE(lines.back().isEmpty()) << "the text ends with a line end";
  lines.removeLast();
  for (QByteArray& line : lines) {
    EXPECT_TRUE(line.endsWith('\r')) << "a bare line feed: " << line.constData();
    line.chop(1);
  }
  return lines;
}

struct GroupRow {
  const char* name;
  int words;
  std::vector<int> bytesPerLine;
};

class BinaryGroup : public ::testing::TestWithParam<GroupRow> {};

TEST_P(BinaryGroup, ContinuesAfterEvery32BytesAndNowhereElse) {
  const GroupRow& row = GetParam();
  const QByteArray bytes = Words(row.words);
  const QByteArrayList lines = Lines(QByteArray("\"V\"") + HexValueText(bytes));
  ASSERT_EQ(lines.size(), static_cast<qsizetype>(row.bytesPerLine.size()));
  QByteArray joined;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    QByteArray line = lines[i];
    if (i == 0) {
      ASSERT_TRUE(line.startsWith("\"V\"=hex:"));
      line = line.mid(8);
    }
    const bool last = i + 1 == lines.size();
    EXPECT_EQ(line.endsWith(",\\"), !last) << "line " << i;
    if (!last) line.chop(2);
    EXPECT_FALSE(line.startsWith(' ')) << "continuations are not indented";
    EXPECT_EQ(line.split(',').size(), row.bytesPerLine[static_cast<std::size_t>(i)]) << "line " << i;
    joined += (joined.isEmpty() ? "" : ",") + line;
  }
  EXPECT_EQ(QByteArray::fromHex(joined.replace(',', "")), bytes);
  EXPECT_EQ(joined, joined.toUpper()) << "hex digits are upper case";
}

INSTANTIATE_TEST_SUITE_P(Layout, BinaryGroup,
                         ::testing::Values(GroupRow{"one_word", 1, {4}}, GroupRow{"exactly_8_words", 8, {32}},
                                           GroupRow{"selector_of_16_words", 16, {32, 32}},
                                           GroupRow{"tasks_selector_of_47_words", 47, {32, 32, 32, 32, 32, 28}}),
                         test::RowName{});

TEST(ProgressExport, FrameHoldsKeyDateGroupsInFixedOrderAndCounter) {
  struct Row {
    const char* name;
    std::int32_t rCount;
    const char* counterLine;
  };
  for (const Row& row : {Row{"zero", 0, "\"RCount\"=dword:00000000"},
                         Row{"42", 42, "\"RCount\"=dword:0000002A"},
                         Row{"negative_as_unsigned", -1, "\"RCount\"=dword:FFFFFFFF"}}) {
    SCOPED_TRACE(row.name);
    // Listed out of order and without any sound category: the file brings the known order.
    std::vector<SelectorState> states = {{QStringLiteral("HeartTC"), Words(2)},
                                         {QStringLiteral("HeartP"), Words(6)},
                                         {QStringLiteral("DoneHeart"), Words(47)},
                                         {QStringLiteral("Heart"), Words(47)},
                                         {QStringLiteral("HeartOC"), Words(1)},
                                         {QStringLiteral("HeartRC"), Words(1)}};
    const QByteArray file =
        ProgressExportBytes(QStringLiteral("Software\\Ostwin\\Zorvik"), 46362.5, states, row.rCount);
    const QByteArrayList lines = Lines(file);
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[0], "REGEDIT4");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "[HKEY_CURRENT_USER\\Software\\Ostwin\\Zorvik]");
    // 46362.5 as a little-endian IEEE double: 0x40E6A35000000000.
    EXPECT_EQ(lines[3], "\"FirstDate\"=hex:00,00,00,00,50,A3,E6,40");
    EXPECT_EQ(lines.back(), row.counterLine);

    QByteArrayList names;
    for (const QByteArray& line : lines)
      if (line.startsWith("\"Heart") || line.startsWith("\"DoneHeart")) names += line.left(line.indexOf('='));
    EXPECT_EQ(names.join(' '), "\"Heart\" \"DoneHeart\" \"HeartP\" \"HeartRC\" \"HeartOC\" \"HeartTC\"");
    EXPECT_EQ(lines.size(), 4 + 6 + 6 + 1 + 1 + 1 + 1 + 1);
  }
}

}  // namespace
}  // namespace zv
