#include "platform/Cp1251.h"
#include "tasks/BuiltinContent.h"
#include "tasks/TaskCatalogue.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <set>

namespace zv {
namespace {

// The indices of the tasks written in content/tasks/q*.tsv, read from the files themselves
// (one task a line; blank lines and "#" comments aside), so the check follows the content as
// it grows.
std::set<int> WrittenTaskIndices() {
  std::set<int> indices;
  const QDir dir(QStringLiteral(ZV_CONTENT_DIR "/tasks"));
  for (const QString& name : dir.entryList({QStringLiteral("q*.tsv")}, QDir::Files)) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    for (const QByteArray& raw : file.readAll().split('\n')) {
      const QByteArray line = raw.trimmed();
      if (line.isEmpty() || line.startsWith('#')) continue;
      indices.insert(line.left(line.indexOf('\t')).toInt());
    }
  }
  return indices;
}

// The generated content as the program sees it: every task written in content/ loads with
// 3..5 interpretations and no other does, the text ends where the compiler said, and the
// display order is whole.
TEST(BuiltinContent, EveryWrittenTaskLoads) {
  const std::set<int> inFiles = WrittenTaskIndices();
  ASSERT_GE(inFiles.size(), 100u);
  const TaskCatalogue catalogue(content::TaskText(), content::SayingsText());
  TaskRecord r;
  std::set<int> written;
  for (int index = 1; index <= 1500; ++index) {
    const int n = catalogue.LoadTask(index, r);
    if (n == 0) continue;
    written.insert(index);
    ASSERT_GE(n, 3) << index;
    ASSERT_LE(n, 5) << index;
    for (int k = 0; k <= n; ++k) {
      const QString piece = cp1251::Decode(r.Slots[static_cast<std::size_t>(k)]);
      ASSERT_FALSE(piece.isEmpty()) << index;
      ASSERT_FALSE(piece.contains(QChar(0xFFFD))) << index;
    }
  }
  EXPECT_EQ(written, inFiles) << written.size() << " tasks load, " << inFiles.size() << " are written";
  EXPECT_EQ(catalogue.LoadTask(1501, r), 0);
  EXPECT_GE(catalogue.CountSayings(), 150);
}

TEST(BuiltinContent, DisplayOrderIsAPermutationStartingWithTheFixedTen) {
  const auto order = content::DisplayOrder();
  const std::vector<int> head(order.begin(), order.begin() + 10);
  EXPECT_EQ(head, (std::vector<int>{701, 101, 102, 26, 601, 501, 337, 502, 1, 2}));
  std::set<int> all(order.begin(), order.end());
  EXPECT_EQ(all.size(), 1500u);
  EXPECT_EQ(*all.begin(), 1);
  EXPECT_EQ(*all.rbegin(), 1500);
}

}  // namespace
}  // namespace zv
