// The update index read from a server's bytes, and what it offers against what is installed.
// Rows give the index as text (stored in Windows-1251) and its entries as one summary line
// each, so a field read from the wrong place shows in the row's diff.

#include "platform/Cp1251.h"
#include "update/UpdateIndex.h"
#include "update/UpdateOffers.h"

#include <gtest/gtest.h>

#include "support/RowName.h"

#include <QStringList>

#include <random>

namespace zv {
namespace {

using namespace Qt::StringLiterals;

QByteArray Bytes(const QString& text) {
  const std::optional<QByteArray> bytes = cp1251::Encode(text);
  EXPECT_TRUE(bytes.has_value());
  return bytes.value_or(QByteArray());
}

QString Summary(const IndexEntry& entry) {
  if (const auto* news = std::get_if<IndexNews>(&entry)) return u"news|"_s + news->text;
  if (const auto* bad = std::get_if<UnreadableVersion>(&entry)) return u"unreadable|"_s + bad->id;
  const IndexItem& i = std::get<IndexItem>(entry);
  return u"%1=%2|%3|%4|%5%6"_s.arg(i.id)
      .arg(i.version)
      .arg(i.fileName, i.caption)
      .arg(i.size)
      .arg(i.important ? u"|!"_s : QString());
}

QStringList Summaries(const UpdateIndex& index) {
  QStringList out;
  for (const IndexEntry& e : index.entries) out << Summary(e);
  return out;
}

const QString kShellLine = u"shell=15000^zv15000.sh{}Программа (размер 2 048 кБ)"_s;

struct LineRow {
  const char* name;
  const char16_t* lines;       // after a first "shell" line
  const char16_t* entries;     // the entries after the shell item, "\n"-separated
};

class IndexLines : public ::testing::TestWithParam<LineRow> {};

TEST_P(IndexLines, ReadAsTheirEntries) {
  const UpdateIndex index = ParseUpdateIndex(Bytes(kShellLine + u"\r\n"_s + QString::fromUtf16(GetParam().lines)));
  ASSERT_FALSE(index.error.has_value());
  QStringList entries = Summaries(index);
  ASSERT_FALSE(entries.isEmpty());
  EXPECT_EQ(entries.takeFirst(), u"shell=15000|zv15000.sh|Программа (размер 2 048 кБ)|2097152"_s);
  const QString expected = QString::fromUtf16(GetParam().entries);
  EXPECT_EQ(entries, expected.isEmpty() ? QStringList() : expected.split(u'\n'));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, IndexLines,
    ::testing::Values(
        LineRow{"ItemFields", u"zvq3=7^zvq3.sh{}Задания 201-300 (размер 1 234 кБ)",
                u"zvq3=7|zvq3.sh|Задания 201-300 (размер 1 234 кБ)|1263616"},
        LineRow{"NoEqualsMeansVersionZero", u"zvs^zvs.sh{}Приветствия (размер 15 кБ)",
                u"zvs=0|zvs.sh|Приветствия (размер 15 кБ)|15360"},
        LineRow{"SizeWithNoBreakSpace", u"zvy=2^zvy.sh{}Ответы (размер 1\u00A0000 кБ)",
                u"zvy=2|zvy.sh|Ответы (размер 1\u00A0000 кБ)|1024000"},
        LineRow{"SizeFromTheFirstBracketOfTheLine", u"zvt=2^zvt(1).sh{}Время (размер 5 кБ)",
                u"zvt=2|zvt(1).sh|Время (размер 5 кБ)|0"},
        LineRow{"SizeNotANumberIsZero", u"zvt=2^zvt.sh{}Время (размер много кБ)",
                u"zvt=2|zvt.sh|Время (размер много кБ)|0"},
        LineRow{"SizeNegativeIsZero", u"zvt=2^zvt.sh{}Время (размер -5 кБ)", u"zvt=2|zvt.sh|Время (размер -5 кБ)|0"},
        LineRow{"SizeTailTooShort", u"zvt=2^zvt.sh{}(размер)", u"zvt=2|zvt.sh|(размер)|0"},
        LineRow{"NoBracketNoSize", u"zvf=1^zvf.sh{}Прощания", u"zvf=1|zvf.sh|Прощания|0"},
        LineRow{"ImportantAnywhereInTheLine", u"zvn=4^zvn.sh{}Важно {!} (размер 1 кБ)",
                u"zvn=4|zvn.sh|Важно {!} (размер 1 кБ)|1024|!"},
        LineRow{"FlagsAreNotCaption", u"zvm2=3^zvm2.sh{!}Оценка 2 (размер 3 кБ)",
                u"zvm2=3|zvm2.sh|Оценка 2 (размер 3 кБ)|3072|!"},
        LineRow{"NewsFromTheSeventhCharacter", u"{News}Новости: озвучены все задания!",
                u"news|Новости: озвучены все задания!"},
        LineRow{"UnknownIdsIgnoredBeforeTheirVersion", u"zvx=abc^zvx.sh{}X\nZVS=5^zvs.sh{}x\nzvq16=1^q.sh{}x\nzvq=1^q.sh{}x",
                u""},
        LineRow{"OtherLinesIgnored", u"\n\nпросто текст\n{news}нет", u""},
        LineRow{"UnreadableVersionEndsTheReading", u"zvn=1a^zvn.sh{}x\nzvy=2^zvy.sh{}y", u"unreadable|zvn"},
        LineRow{"VersionBeyondThirtyTwoBits", u"zvn=4294967296^zvn.sh{}x", u"unreadable|zvn"},
        LineRow{"EmptyVersion", u"zvn=^zvn.sh{}x", u"unreadable|zvn"},
        LineRow{"EveryLineEnd", u"zvy=1^a{}1\rzvf=2^b{}2\nzvn=3^c{}3\r\n\r\nzvt=4^d{}4",
                u"zvy=1|a|1|0\nzvf=2|b|2|0\nzvn=3|c|3|0\nzvt=4|d|4|0"}),
    zv::test::RowName{});

TEST(Index, RefusesWhatIsNoIndex) {
  EXPECT_EQ(ParseUpdateIndex("<html><body>404</body></html>\r\nshell=15001^a{}b").error, IndexError::NotAnIndex);
  EXPECT_EQ(ParseUpdateIndex("").error, IndexError::NotAnIndex);
  EXPECT_EQ(ParseUpdateIndex("\r\nshell=15001^a{}b").error, IndexError::NotAnIndex);
  QByteArray huge = "shell=15001^a{}b\n";
  huge.append(QByteArray(kMaxIndexBytes, 'x'));
  const UpdateIndex tooLarge = ParseUpdateIndex(huge);
  EXPECT_EQ(tooLarge.error, IndexError::TooLarge);
  EXPECT_TRUE(tooLarge.entries.empty());
}

TEST(Index, AnOverlongLineIsSkippedAndTheRestRead) {
  QByteArray text = Bytes(kShellLine) + "\nzvs=9^zvs.sh{}" + QByteArray(kMaxIndexLineBytes, 'A') + "\nzvy=2^zvy.sh{}y";
  EXPECT_EQ(Summaries(ParseUpdateIndex(text)).last(), u"zvy=2|zvy.sh|y|0"_s);
  EXPECT_EQ(ParseUpdateIndex(text).entries.size(), 2u);
}

TEST(Index, ANulInANameIsReadButNeverOffered) {
  const UpdateIndex index = ParseUpdateIndex(QByteArrayLiteral("shell=1^a{}b\nzvs=5^zv\0s.sh{}x"));
  ASSERT_EQ(index.entries.size(), 2u);
  EXPECT_EQ(std::get<IndexItem>(index.entries[1]).fileName, QStringView(u"zv\0s.sh", 7));
  EXPECT_TRUE(OfferUpdates(index, InstalledVersions{}).items.empty());
}

// Garbage made of the format's own punctuation: every input gets a clear result; the offers
// made from it only ever carry plain names. (The sanitizer build turns any stray access into a
// failure.)
TEST(Index, GarbageNeverYieldsAnUnsafeOffer) {
  std::mt19937 random(1500);
  const QByteArray alphabet("=^{}(!)\r\n 0123456789zvqsheln.-/\\$\0\xE0\xFF", 36);
  InstalledVersions installed;
  for (int round = 0; round < 3000; ++round) {
    QByteArray text = "shell";
    const int length = int(random() % 400);
    for (int i = 0; i < length; ++i) text.append(alphabet[qsizetype(random() % std::size_t(alphabet.size()))]);
    const UpdateIndex index = ParseUpdateIndex(text);
    ASSERT_FALSE(index.error.has_value());
    for (const UpdateItem& item : OfferUpdates(index, installed).items) {
      ASSERT_TRUE(IsPlainFileName(item.fileName)) << text.toStdString();
      ASSERT_GE(item.size, 0);
    }
  }
}

struct ServersRow {
  const char* name;
  const char* content;
  const char16_t* base;  // empty: refused
  const char16_t* alternate;
};

class Servers : public ::testing::TestWithParam<ServersRow> {};

TEST_P(Servers, ReadFromTheAddressFile) {
  const auto servers = ParseUpdateServers(GetParam().content, u"http://second.example"_s);
  const QString base = QString::fromUtf16(GetParam().base);
  if (base.isEmpty()) {
    EXPECT_FALSE(servers.has_value());
    return;
  }
  ASSERT_TRUE(servers.has_value());
  EXPECT_EQ(servers->base, base);
  EXPECT_EQ(servers->alternate, QString::fromUtf16(GetParam().alternate));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Servers,
    ::testing::Values(
        ServersRow{"TwoLines", "http://a.example/zv/\r\nhttps://b.example/zv/\r\n", u"http://a.example/zv/",
                   u"https://b.example/zv/"},
        ServersRow{"OneLineFallsBackToTheAnsweringServerWithItsSlash", "http://a.example/zv/",
                   u"http://a.example/zv/", u"http://second.example/"},
        ServersRow{"UnusableSecondLineFallsBackToo", "http://a.example/zv/\nfile:///etc/", u"http://a.example/zv/",
                   u"http://second.example/"},
        ServersRow{"HtmlPageRefused", "<!DOCTYPE html>\nhttp://a.example/", u"", u""},
        ServersRow{"EmptyRefused", "", u"", u""}),
    zv::test::RowName{});

TEST(FirstLineCheck, WantsAWebAddressOnTheFirstLine) {
  for (const char* passes : {"http://a.example/", "https://a.example/", "ttp://a", "xttp://a", "http"})
    EXPECT_TRUE(PassesFirstLineCheck(passes)) << passes;
  for (const char* fails : {"", "<html>http://a", "\r\nhttp://a", " http://a", "ftp://a", "htt"})
    EXPECT_FALSE(PassesFirstLineCheck(fails)) << fails;
}

// --- offers ---

struct ProgramRow {
  const char* name;
  int ahead;  // the item's version less the build
  bool allVoiced;
  bool shell;
  bool shellAndSound;
};

class ProgramItems : public ::testing::TestWithParam<ProgramRow> {};

TEST_P(ProgramItems, OfferedByTheirDistanceFromTheBuild) {
  InstalledVersions installed;
  installed.build = 15000;
  installed.allVoicedPresent = GetParam().allVoiced;
  const int version = 15000 + GetParam().ahead;
  EXPECT_EQ(IsOffered({u"shell"_s, version, u"zv.sh"_s, {}, 0, false}, installed), GetParam().shell);
  EXPECT_EQ(IsOffered({u"shellandsound"_s, version, u"zv.sh"_s, {}, 0, false}, installed), GetParam().shellAndSound);
}

INSTANTIATE_TEST_SUITE_P(Rows, ProgramItems,
                         ::testing::Values(ProgramRow{"Same", 0, false, false, false},
                                           ProgramRow{"Older", -1, false, false, false},
                                           ProgramRow{"OneAhead", 1, true, true, false},
                                           ProgramRow{"Ahead255", 255, true, true, false},
                                           ProgramRow{"Ahead256OffersNeither", 256, false, false, false},
                                           ProgramRow{"Ahead256OffersNeitherWithAllVoiced", 256, true, false, false},
                                           ProgramRow{"Ahead257WithoutAllVoiced", 257, false, true, false},
                                           ProgramRow{"Ahead257WithAllVoiced", 257, true, false, true},
                                           ProgramRow{"FarAheadNoOverflow", 2147483647 - 15000, true, false, true}),
                         zv::test::RowName{});

// Each package against its own count field: a mix-up of ids ("zvq1" and "zvq15", "zvm0" and
// "zvm5") would offer or hide the wrong one.
TEST(PackageItems, EachAgainstItsOwnCountField) {
  InstalledVersions installed;
  for (std::size_t i = 0; i < kPackageIds.size(); ++i) installed.packageCounts[i] = 10 + int(i);
  for (std::size_t i = 0; i < kPackageIds.size(); ++i) {
    const QString id = QString::fromUtf16(kPackageIds[i].data(), qsizetype(kPackageIds[i].size()));
    EXPECT_FALSE(IsOffered({id, 10 + int(i), id + u".sh"_s, {}, 0, false}, installed)) << id.toStdString();
    EXPECT_TRUE(IsOffered({id, 11 + int(i), id + u".sh"_s, {}, 0, false}, installed)) << id.toStdString();
  }
  installed.packageCounts.fill(0);  // absent or rejected
  EXPECT_TRUE(IsOffered({u"zvq7"_s, 1, u"zvq7.sh"_s, {}, 0, false}, installed));
}

struct OfferRow {
  const char* name;
  const char16_t* lines;  // after a shell line that offers nothing
  const char16_t* offered;  // file names, "," separated
  bool important;
  const char16_t* news;        // empty: none
  const char16_t* unreadable;  // empty: none
};

class Offers : public ::testing::TestWithParam<OfferRow> {};

TEST_P(Offers, ListedInIndexOrderUpToTheFirstImportantOne) {
  InstalledVersions installed;
  installed.packageCounts.fill(5);
  const UpdateOffer offer =
      OfferUpdates(ParseUpdateIndex(Bytes(u"shell=15000^zv.sh{}x\n"_s + QString::fromUtf16(GetParam().lines))),
                   installed);
  QStringList names;
  for (const UpdateItem& item : offer.items) names << item.fileName;
  EXPECT_EQ(names.join(u','), QString::fromUtf16(GetParam().offered));
  EXPECT_EQ(offer.important, GetParam().important);
  EXPECT_EQ(offer.news.value_or(QString()), QString::fromUtf16(GetParam().news));
  EXPECT_EQ(offer.unreadableVersionOf.value_or(QString()), QString::fromUtf16(GetParam().unreadable));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Offers,
    ::testing::Values(
        OfferRow{"NothingNewerButNews", u"zvy=5^y.sh{}y\n{News}Скоро новые задания", u"", false,
                 u"Скоро новые задания", u""},
        OfferRow{"ImportantFirstIsTheOnlyOne", u"zvy=6^y.sh{!}y\nzvf=6^f.sh{}f\n{News}после", u"y.sh", true, u"",
                 u""},
        OfferRow{"ImportantAfterAnotherStopsAfterIt", u"zvf=6^f.sh{}f\nzvy=6^y.sh{!}y\nzvn=6^n.sh{}n", u"f.sh,y.sh",
                 true, u"", u""},
        OfferRow{"ImportantNotNewerDoesNotStop", u"zvy=5^y.sh{!}y\nzvf=6^f.sh{}f", u"f.sh", false, u"", u""},
        OfferRow{"UnreadableAfterItemsKeepsThem", u"zvf=6^f.sh{}f\nzvn=x^n.sh{}n\nzvt=6^t.sh{}t", u"f.sh", false,
                 u"", u"zvn"},
        OfferRow{"UnreadableAfterTheImportantStopIsNotReached", u"zvf=6^f.sh{!}f\nzvn=x^n.sh{}n", u"f.sh", true,
                 u"", u""},
        OfferRow{"LastNewsReadWins", u"{News}первая\nzvf=6^f.sh{}f\n{News}вторая", u"f.sh", false, u"вторая", u""},
        OfferRow{"UnsafeNamesSkippedTheRestOffered",
                 u"zvy=6^../y.sh{!}y\nzvf=6^f;rm -rf ~{}f\nzvn=6^-n{}n\nzvt=6^t.sh{}t", u"t.sh", false, u"", u""}),
    zv::test::RowName{});

TEST(FileNames, OnlyPlainNamesInsideTheFolder) {
  for (const char16_t* plain : {u"zvq3.sh", u"ZV15010_setup-2.bin", u"a", u"zv.s.h"})
    EXPECT_TRUE(IsPlainFileName(QString::fromUtf16(plain)));
  EXPECT_TRUE(IsPlainFileName(QString(64, u'a')));
  for (const char16_t* unsafe : {u"", u"../x", u"..", u"a..b", u"a/b", u"/etc/passwd", u"a\\b", u"a b", u"-rf",
                                 u".profile", u"a;b", u"$(id)", u"a`id`", u"a'b", u"a|b", u"a*", u"a\nb", u"зв.sh"})
    EXPECT_FALSE(IsPlainFileName(QString::fromUtf16(unsafe))) << QString::fromUtf16(unsafe).toStdString();
  EXPECT_FALSE(IsPlainFileName(QString(65, u'a')));
  EXPECT_FALSE(IsPlainFileName(QStringView(u"a\0b", 3)));
}

}  // namespace
}  // namespace zv
