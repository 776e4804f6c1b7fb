#include "platform/Cp1251.h"
#include "support/ScriptedRandom.h"
#include "tasks/TSmartRand.h"
#include "tasks/TaskCatalogue.h"
#include "tasks/TaskText.h"

#include <gtest/gtest.h>

#include "support/RowName.h"

#include <set>

namespace zv {
namespace {

QByteArray W(const char* utf8) { return cp1251::Encode(QString::fromUtf8(utf8)).value(); }
QString U(const QByteArray& bytes) { return cp1251::Decode(bytes); }

// Builds the stored form of tasks (pieces in catalogue order) the way the content compiler does.
QByteArray StoredTasks(const std::vector<std::vector<const char*>>& tasks) {
  QByteArray out(1, kTaskEnd);
  for (const auto& task : tasks) {
    for (std::size_t k = 0; k < task.size(); ++k) {
      if (k > 0) out.append(kPieceSeparator);
      out.append(Scramble(W(task[k])));
    }
    out.append(kTaskEnd);
  }
  out.append('\0');
  return out;
}

QByteArray StoredSayings(const std::vector<const char*>& sayings) {
  QByteArray out(1, kSayingSeparator);
  for (const char* s : sayings) out.append(Scramble(W(s))).append(kSayingSeparator);
  out.append('\0');
  return out;
}

TEST(TaskText, DescrambleInvertsScrambleForEveryLength) {
  ClockSeededRandom random(42);
  for (int len = 0; len <= 255; ++len) {
    QByteArray text(len, '\0');
    for (char& c : text) c = static_cast<char>(random.Uniform(256));
    ASSERT_EQ(Descramble(Scramble(text)), text) << "length " << len;
  }
}

TEST(TaskText, StoredFormIsPinned) {
  // The stored bytes of "ёжик в тумане": changing the parameters would make every stored
  // text unreadable, so the form is fixed here.
  const QByteArray plain = W("ёжик в тумане");
  const QByteArray stored = Scramble(plain);
  EXPECT_EQ(stored.toHex(), QByteArray("e50fed35e03fec41f377f23920"));
  EXPECT_TRUE(IsStorable(stored));
  EXPECT_EQ(Descramble(stored), plain);
}

TEST(TaskText, CyrillicTextNeverStoresASeparator) {
  // Every character the content may use at any position stores as a byte that is neither a
  // separator nor zero -- except Latin "c" and "o" at odd positions, which the compiler refuses.
  QString alphabet = QString::fromUtf8(
      "абвгдеёжзийклмнопрстуфхцчшщъыьэюяАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"
      "0123456789 .,!?:;-()\"'«»—–");
  for (QChar a : alphabet) {
    for (QChar b : alphabet) {
      const QByteArray stored = Scramble(cp1251::Encode(QString(a) + b + a).value());
      ASSERT_TRUE(IsStorable(stored)) << QString(QString(a) + b).toStdString();
    }
  }
  EXPECT_FALSE(IsStorable(Scramble("xcx")));
}

struct CapitalCase {
  const char* name;
  const char* in;
  const char* out;
};
class CapitalizeRule : public ::testing::TestWithParam<CapitalCase> {};

TEST_P(CapitalizeRule, UpperCasesOnlySmallLetters) {
  EXPECT_EQ(U(Capitalize(W(GetParam().in))), QString::fromUtf8(GetParam().out));
}

INSTANTIATE_TEST_SUITE_P(Cases, CapitalizeRule,
                         ::testing::Values(CapitalCase{"cyrillic", "ну ты даёшь", "Ну ты даёшь"},
                                           CapitalCase{"lastCyrillic", "я", "Я"},
                                           CapitalCase{"yo", "ёлки-палки", "Ёлки-палки"},
                                           CapitalCase{"latin", "ok", "Ok"},
                                           CapitalCase{"digitKept", "5 баллов", "5 баллов"},
                                           CapitalCase{"quoteKept", "\"в тему\"", "\"в тему\""},
                                           CapitalCase{"guillemetKept", "«ага»", "«ага»"},
                                           CapitalCase{"capitalKept", "Маша", "Маша"}, CapitalCase{"empty", "", ""}),
                         zv::test::RowName{});

class CatalogueFixture : public ::testing::Test {
 protected:
  QByteArray tasks = StoredTasks({
      {"первая фраза", "верно", "неверно раз", "неверно два", "неверно три", "неверно четыре"},
      {"вторая фраза", "правильно", "ошибка раз", "ошибка два", "ошибка три"},
      {"ёлки-палки", "досада", "радость", "голод"},
  });
  QByteArray sayings = StoredSayings({"тише едешь - дальше будешь", "\"кавычки\" остаются", "век живи - век учись"});
  TaskCatalogue catalogue{tasks, sayings};
};

TEST_F(CatalogueFixture, LoadTaskFillsSlotsAndLeavesTheRest) {
  TaskRecord r;
  ASSERT_EQ(catalogue.LoadTask(1, r), 5);
  EXPECT_EQ(U(r.Slots[0]), QString::fromUtf8("Первая фраза"));
  EXPECT_EQ(U(r.Slots[1]), QString::fromUtf8("Верно"));
  EXPECT_EQ(U(r.Slots[5]), QString::fromUtf8("Неверно четыре"));
  ASSERT_EQ(catalogue.LoadTask(2, r), 4);
  EXPECT_EQ(U(r.Slots[4]), QString::fromUtf8("Ошибка три"));
  EXPECT_EQ(U(r.Slots[5]), QString::fromUtf8("Неверно четыре")) << "slot 5 keeps the earlier task";
  ASSERT_EQ(catalogue.LoadTask(3, r), 3);
  EXPECT_EQ(U(r.Slots[0]), QString::fromUtf8("Ёлки-палки"));
  EXPECT_EQ(U(r.Slots[3]), QString::fromUtf8("Голод")) << "the last piece ends at the last task end";
}

TEST_F(CatalogueFixture, IndicesTheTextDoesNotHoldAreEmpty) {
  TaskRecord r;
  for (int index : {0, -1, 4, 1500, 1501, 2000, 2001, 1'000'000}) {
    EXPECT_EQ(catalogue.LoadTask(index, r), 0) << index;
  }
  // A task not yet written is stored empty and loads like one above 2000.
  const QByteArray withGap = StoredTasks({{"фраза", "а", "б", "в"}}).chopped(1) + "c" + '\0';
  TaskCatalogue gap(withGap, {});
  EXPECT_EQ(gap.LoadTask(2, r), 0);
  // A text cut short in the middle of a task yields nothing rather than reading past it.
  const QByteArray shortened = tasks.left(tasks.size() - 5);
  TaskCatalogue cut(shortened, {});
  EXPECT_EQ(cut.LoadTask(3, r), 0);
}

TEST_F(CatalogueFixture, PiecesAreCutTo255) {
  const std::string longPiece(300, 'x');
  QByteArray text(1, kTaskEnd);
  text.append(Scramble(W("ф"))).append(kPieceSeparator).append(Scramble(QByteArray(longPiece.c_str())));
  text.append(kPieceSeparator).append(Scramble(W("б"))).append(kPieceSeparator).append(Scramble(W("в")));
  text.append(kTaskEnd);
  TaskCatalogue c(text, {});
  TaskRecord r;
  ASSERT_EQ(c.LoadTask(1, r), 3);
  EXPECT_EQ(r.Slots[1].size(), 255);
}

TEST_F(CatalogueFixture, SayingsAreCountedAndDrawnInQuotes) {
  EXPECT_EQ(catalogue.CountSayings(), 3);
  EXPECT_EQ(TaskCatalogue({}, {}).CountSayings(), 0);
  test::ScriptedRandom random{0, 1};  // word 0, bit 1: saying 2
  TSmartRand selector(catalogue.CountSayings(), false, 0, random);
  EXPECT_EQ(U(catalogue.DrawSaying(selector)), QString::fromUtf8("\"\"кавычки\" остаются\""));
  EXPECT_EQ(U(catalogue.Saying(1)), QString::fromUtf8("Тише едешь - дальше будешь"));
  EXPECT_TRUE(catalogue.Saying(4).isEmpty());
}

TEST(ConsolidationRemarks, EighteenDistinctCapitalisedRemarks) {
  ClockSeededRandom random(2);
  TSmartRand selector(kRemarkCount, false, 5, random);
  std::set<QString> drawn;
  for (int i = 0; i < kRemarkCount; ++i) {
    const QString remark = U(TaskCatalogue::DrawRemark(selector));
    ASSERT_FALSE(remark.isEmpty());
    EXPECT_TRUE(remark.front().isUpper()) << remark.toStdString();
    drawn.insert(remark);
  }
  EXPECT_EQ(drawn.size(), 18u);
  EXPECT_EQ(U(Capitalize(TaskCatalogue::Remark(8))), QString::fromUtf8("Переповторение - лишнее мучение"));
  EXPECT_EQ(U(TaskCatalogue::Remark(1)), QString::fromUtf8("всё когда-нибудь повторяется"));
  EXPECT_EQ(U(TaskCatalogue::Remark(18)), QString::fromUtf8("это не ново:"));
  EXPECT_TRUE(TaskCatalogue::Remark(19).isEmpty());
}

}  // namespace
}  // namespace zv
