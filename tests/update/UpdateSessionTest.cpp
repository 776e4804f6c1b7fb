// The update window's steps apart from the window: finding a server and its index, and the
// download of the ticked items with the hand-off, over a fake transfer in a private folder.

#include "platform/Cp1251.h"
#include "platform/RandomSource.h"
#include "sound/PackageSoundService.h"
#include "update/UpdateFolder.h"
#include "update/UpdateHandOff.h"
#include "update/UpdateSession.h"

#include <gtest/gtest.h>

#include "support/FakeUpdateTransfer.h"
#include "support/RowName.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace zv {
namespace {

using namespace Qt::StringLiterals;
using test::FakeUpdateTransfer;

const QString kFirst = u"http://one.test"_s;
const QString kSecond = u"http://two.test"_s;
const QByteArray kIndex = *cp1251::Encode(
    u"shell=15000^zv15010.sh{}Программа (размер 1 200 Кб)\r\n"
    u"{News}Новые звуки\r\n"
    u"zvq1=3^zvq1.sh{}Задания 1-100 (размер 20 Кб)\r\n"_s);

class CollectedLog final : public UpdateLog {
 public:
  void Log(const QString& line) override { lines << line; }
  QStringList lines;
};

class Session : public ::testing::Test {
 protected:
  UpdateSession Make(InstalledVersions installed = {}) {
    return UpdateSession({transfer, {kFirst, kSecond}, folder, random, installed});
  }
  QStringList Left() const { return QDir(folder).entryList(QDir::Files | QDir::Hidden); }

  QTemporaryDir temp;
  QString folder = temp.path() + u"/"_s;
  FakeUpdateTransfer transfer;
  ClockSeededRandom random{7};
};

struct DiscoveryRow {
  const char* name;
  std::function<void(FakeUpdateTransfer&)> serve;
  std::optional<CheckFailure> failure;
  std::vector<QString> urls;  // asked, in order
};

class Discovery : public Session, public ::testing::WithParamInterface<DiscoveryRow> {};

TEST_P(Discovery, AsksTheServersInTurnAndLeavesNoTemporaryFile) {
  GetParam().serve(transfer);
  UpdateSession session = Make();
  CollectedLog log;
  const CheckOutcome outcome = session.Check(log);
  EXPECT_EQ(outcome.failure, GetParam().failure);
  EXPECT_EQ(transfer.Urls(), GetParam().urls);
  if (!GetParam().failure) {
    ASSERT_EQ(outcome.offer.items.size(), 1u);  // the program item is not newer
    EXPECT_EQ(outcome.offer.items[0].fileName, u"zvq1.sh"_s);
  }
  EXPECT_EQ(transfer.requests[0].check, FirstLineCheck::On);
  EXPECT_TRUE(Left().isEmpty()) << Left().join(u' ').toStdString();
}

const QString kAddressOnFirst = u"http://one.test/ZVUpdateURL.idx"_s;
const QString kAddressOnSecond = u"http://two.test/ZVUpdateURL.idx"_s;

INSTANTIATE_TEST_SUITE_P(
    Rows, Discovery,
    ::testing::Values(
        DiscoveryRow{"FirstServerAnswers",
                     [](FakeUpdateTransfer& fake) {
                       fake.Serve(kAddressOnFirst, "http://files.test/u/\r\nhttp://spare.test/u/\r\n");
                       fake.Serve(u"http://files.test/u/ZV1500.idx"_s, kIndex);
                     },
                     std::nullopt,
                     {kAddressOnFirst, u"http://files.test/u/ZV1500.idx"_s}},
        DiscoveryRow{"FirstDownSecondAnswers",
                     [](FakeUpdateTransfer& fake) {
                       fake.Serve(kAddressOnSecond, "http://files.test/u/\r\n");
                       fake.Serve(u"http://files.test/u/ZV1500.idx"_s, kIndex);
                     },
                     std::nullopt,
                     {kAddressOnFirst, kAddressOnSecond, u"http://files.test/u/ZV1500.idx"_s}},
        DiscoveryRow{"HtmlPageAtTheFirstCountsAsNoAnswer",
                     [](FakeUpdateTransfer& fake) {
                       fake.Serve(kAddressOnFirst, "<html><body>502 Bad Gateway</body></html>\r\n");
                       fake.Serve(kAddressOnSecond, "http://files.test/u/\r\n");
                       fake.Serve(u"http://files.test/u/ZV1500.idx"_s, kIndex);
                     },
                     std::nullopt,
                     {kAddressOnFirst, kAddressOnSecond, u"http://files.test/u/ZV1500.idx"_s}},
        DiscoveryRow{
            "OneLineAddressFileFallsBackToTheAnsweringServer",
            [](FakeUpdateTransfer& fake) {
              fake.Serve(kAddressOnSecond, "http://files.test/u/");
              fake.Serve(u"http://two.test/ZV1500.idx"_s, kIndex);
            },
            std::nullopt,
            {kAddressOnFirst, kAddressOnSecond, u"http://files.test/u/ZV1500.idx"_s, u"http://two.test/ZV1500.idx"_s}},
        DiscoveryRow{"IndexAtTheBaseNotShellTakesTheAlternate",
                     [](FakeUpdateTransfer& fake) {
                       fake.Serve(kAddressOnFirst, "http://files.test/u/\r\nhttp://spare.test/u/\r\n");
                       fake.Serve(u"http://files.test/u/ZV1500.idx"_s, "<html>moved</html>\r\n");
                       fake.Serve(u"http://spare.test/u/ZV1500.idx"_s, kIndex);
                     },
                     std::nullopt,
                     {kAddressOnFirst, u"http://files.test/u/ZV1500.idx"_s, u"http://spare.test/u/ZV1500.idx"_s}},
        DiscoveryRow{
            "NoServerAnswers", [](FakeUpdateTransfer&) {}, CheckFailure::NoServer, {kAddressOnFirst, kAddressOnSecond}},
        DiscoveryRow{"NoIndexAtEitherBase",
                     [](FakeUpdateTransfer& fake) {
                       fake.Serve(kAddressOnFirst, "http://files.test/u/\r\nhttp://spare.test/u/\r\n");
                       fake.Fail(u"http://spare.test/u/ZV1500.idx"_s, kIndex.left(20));
                     },
                     CheckFailure::NoIndex,
                     {kAddressOnFirst, u"http://files.test/u/ZV1500.idx"_s, u"http://spare.test/u/ZV1500.idx"_s}}),
    test::RowName{});

TEST_F(Session, TheLogNamesEachStep) {
  transfer.Serve(kAddressOnSecond, "http://files.test/u/\r\n");
  transfer.Serve(u"http://files.test/u/ZV1500.idx"_s, kIndex);
  UpdateSession session = Make();
  CollectedLog log;
  session.Check(log);
  EXPECT_EQ(log.lines,
            (QStringList{u"Поиск серверов обновлений:"_s,
                         kFirst,
                         kSecond,
                         u"Получение списка обновлений..."_s,
                         u"http://files.test/u/"_s}));
  EXPECT_EQ(session.BaseAddress(), u"http://files.test/u/"_s);
}

TEST_F(Session, NoPrivateFolderNoTransfer) {
  UpdateSession session({transfer, {kFirst, kSecond}, QString(), random, {}});
  CollectedLog log;
  EXPECT_EQ(session.Check(log).failure, CheckFailure::NoFolder);
  EXPECT_TRUE(transfer.requests.empty());
}

// --- the download -------------------------------------------------------------------------

class RecordedProgress final : public DownloadProgress {
 public:
  void ItemStarting(int position, const UpdateItem&) override { started.push_back(position); }
  void Chunk() override {
    ++chunks;
    if (onChunk) onChunk();
  }
  void ItemFinished(int position, bool failed) override {
    finished.push_back(position);
    if (failed) failures.push_back(position);
  }
  std::vector<int> started, finished, failures;
  int chunks = 0;
  std::function<void()> onChunk;
};

std::vector<UpdateItem> Items(int count) {
  std::vector<UpdateItem> items;
  for (int i = 0; i < count; ++i)
    items.push_back({u"item%1.sh"_s.arg(i), 2 * kDownloadChunkBytes, u"Позиция %1"_s.arg(i)});
  return items;
}

class Downloads : public Session {
 protected:
  // The check that sets the base address the items are fetched from.
  UpdateSession Checked() {
    transfer.Serve(kAddressOnFirst, "http://files.test/u/\r\n");
    transfer.Serve(u"http://files.test/u/ZV1500.idx"_s, kIndex);
    UpdateSession session = Make();
    CollectedLog log;
    EXPECT_FALSE(session.Check(log).failure);
    transfer.requests.clear();
    return session;
  }
  void ServeItems(int count) {
    for (int i = 0; i < count; ++i)
      transfer.Serve(u"http://files.test/u/item%1.sh"_s.arg(i), QByteArray(int(kDownloadChunkBytes) + 5, 'x'));
  }
  QByteArray Script() const {
    QFile f(folder + QString::fromUtf16(kHandOffFileName));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
};

// A failed item is marked and reported but not run; "runapp" goes to the last one that arrived.
TEST_F(Downloads, TheTickedItemsInOrderThenTheHandOff) {
  UpdateSession session = Checked();
  ServeItems(4);
  transfer.Fail(u"http://files.test/u/item3.sh"_s, "half");
  RecordedProgress progress;
  const DownloadOutcome out = session.Download(Items(4), {0, 2, 3}, progress);

  ASSERT_EQ(out.end, DownloadEnd::HandOffReady);
  EXPECT_EQ(out.script, folder + QString::fromUtf16(kHandOffFileName));
  EXPECT_EQ(
      transfer.Urls(),
      (std::vector<QString>{
          u"http://files.test/u/item0.sh"_s, u"http://files.test/u/item2.sh"_s, u"http://files.test/u/item3.sh"_s}));
  EXPECT_EQ(transfer.requests[0].destination, folder + u"item0.sh"_s);
  EXPECT_EQ(transfer.requests[0].expected, 2 * kDownloadChunkBytes);
  EXPECT_EQ(progress.started, (std::vector<int>{0, 2, 3}));
  EXPECT_EQ(progress.finished, (std::vector<int>{0, 2, 3}));
  EXPECT_EQ(progress.failures, (std::vector<int>{3}));
  EXPECT_EQ(progress.chunks, 5);
  for (int i : {0, 2, 3}) EXPECT_TRUE(session.Marks().IsSet(i)) << i;
  EXPECT_FALSE(session.Marks().IsSet(1));
  EXPECT_TRUE(QFileInfo(folder + u"item2.sh"_s).isExecutable());
  const QByteArray f = QFile::encodeName(folder);
  EXPECT_EQ(Script(),
            "#!/bin/sh\nexec >/dev/null 2>&1\n'" + f + "item0.sh' 'modest'\n'" + f +
                "item2.sh' 'modest' 'runapp'\nrm -f -- '" + f + "item0.sh'\nrm -f -- '" + f + "item2.sh'\nrm -f -- '" +
                f + "item3.sh'\nrm -f -- \"$0\"\n");
}

// Cancel during the second chunk of the second item: that file is deleted, the first stays,
// no further item is asked for and nothing is handed over.
TEST_F(Downloads, CancelStopsAfterTheChunkInHand) {
  UpdateSession session = Checked();
  ServeItems(3);
  transfer.afterChunk = [&](const QString& url, int chunk) {
    if (url.endsWith(u"item1.sh"_s) && chunk == 2) session.Cancel();
  };
  RecordedProgress progress;
  EXPECT_EQ(session.Download(Items(3), {0, 1, 2}, progress).end, DownloadEnd::Cancelled);
  EXPECT_EQ(transfer.requests.size(), 2u);
  EXPECT_TRUE(QFile::exists(folder + u"item0.sh"_s));
  EXPECT_FALSE(QFile::exists(folder + u"item1.sh"_s));
  EXPECT_TRUE(Script().isEmpty());
}

TEST_F(Downloads, NothingArrivedNothingToRun) {
  UpdateSession session = Checked();
  RecordedProgress progress;
  EXPECT_EQ(session.Download(Items(2), {0, 1}, progress).end, DownloadEnd::NothingArrived);
  EXPECT_TRUE(session.Marks().IsSet(0) && session.Marks().IsSet(1));
  EXPECT_TRUE(Script().isEmpty());
}

// The marks cover list positions 0..255: the 257th item and later are downloaded like the
// others but never marked, and marking them changes no other mark.
TEST_F(Downloads, The257thItemGetsNoMark) {
  UpdateSession session = Checked();
  ServeItems(258);
  RecordedProgress progress;
  EXPECT_EQ(session.Download(Items(258), {255, 256, 257}, progress).end, DownloadEnd::HandOffReady);
  EXPECT_EQ(progress.finished, (std::vector<int>{255, 256, 257}));
  EXPECT_TRUE(session.Marks().IsSet(255));
  EXPECT_FALSE(session.Marks().IsSet(256));
  EXPECT_FALSE(session.Marks().IsSet(257));
  EXPECT_FALSE(session.Marks().IsSet(0));
  EXPECT_FALSE(session.Marks().IsSet(1));
}

// --- what the offers are compared with, and where the downloads go -----------------------------

TEST(InstalledVersions, EachPackageCountFieldInItsPlace) {
  SoundCoverage c;
  for (int k = 0; k < kSoundCategoryCount; ++k) c.comments[std::size_t(k)] = 100 + k;
  for (int q = 0; q < 15; ++q) c.voicedRevision[std::size_t(q)] = 200 + q;
  c.allVoicedPresent = true;
  const InstalledVersions v = InstalledVersionsOf(c, 15000);
  EXPECT_EQ(v.build, 15000);
  EXPECT_TRUE(v.allVoicedPresent);
  for (int k = 0; k < kSoundCategoryCount; ++k)
    EXPECT_EQ(v.packageCounts[std::size_t(PackageSoundService::PackageOf(SoundCategory(k)))], 100 + k) << k;
  EXPECT_EQ(v.packageCounts[*PackageIndex(u"zvq1")], 200);
  EXPECT_EQ(v.packageCounts[*PackageIndex(u"zvq15")], 214);
}

struct FolderRow {
  const char* name;
  std::function<void(const QString& path)> plant;  // what lies at the folder's path beforehand
  bool usable;
};

class PrivateFolder : public ::testing::TestWithParam<FolderRow> {};

TEST_P(PrivateFolder, UsedOnlyWhenOursAndClosedToOthers) {
  QTemporaryDir temp;
  const QString path = temp.path() + u"/zorvik-update-"_s + QString::number(::getuid());
  GetParam().plant(path);
  const std::optional<QString> folder = PrepareUpdateFolder(temp.path() + u"/"_s);
  EXPECT_EQ(folder.has_value(), GetParam().usable);
  if (folder) {
    EXPECT_EQ(*folder, path + u"/"_s);
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, PrivateFolder,
                         ::testing::Values(FolderRow{"MadeWhenMissing", [](const QString&) {}, true},
                                           FolderRow{"KeptFromBefore",
                                                     [](const QString& p) {
                                                       ::mkdir(QFile::encodeName(p).constData(), 0700);
                                                     },
                                                     true},
                                           FolderRow{"OpenToOthers",
                                                     [](const QString& p) {
                                                       ::mkdir(QFile::encodeName(p).constData(), 0700);
                                                       ::chmod(QFile::encodeName(p).constData(), 0777);
                                                     },
                                                     false},
                                           FolderRow{"ALinkElsewhere",
                                                     [](const QString& p) {
                                                       QDir().mkpath(p + u"-target"_s);
                                                       QFile::link(p + u"-target"_s, p);
                                                     },
                                                     false},
                                           FolderRow{"AFileInItsPlace",
                                                     [](const QString& p) {
                                                       QFile f(p);
                                                       (void)f.open(QIODevice::WriteOnly);
                                                     },
                                                     false}),
                         test::RowName{});

}  // namespace
}  // namespace zv
