// The update site: its index read back by the trainer's own parsers, and its installers run
// with sh into a temporary home, whole and damaged.

#include "UpdateSite.h"

#include "sound/PackageFormat.h"
#include "update/UpdateIndex.h"
#include "update/UpdateOffers.h"

#include <gtest/gtest.h>

#include "support/PackageFixture.h"
#include "support/RowName.h"

#include <functional>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

namespace zv::updatesite {
namespace {

using namespace Qt::StringLiterals;

constexpr int kY = 0;    // zvy.cok, a comment package
constexpr int kQ3 = 13;  // zvq3.cok, voiced tasks 201-300

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A site built from fixture packages: zvy with 7 sounds, zvq3 of revision 2.
class SiteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_packages.Write(kY, BuildPackage(test::FixtureContent(kY, 7)));
    m_packages.Write(kQ3, BuildPackage(test::FixtureContent(kQ3, 2)));
    ASSERT_EQ(BuildSite(m_packages.Path(), Site(), {u"http://127.0.0.1:8080/site/"_s, u"http://127.0.0.1:8081"_s}),
              std::nullopt);
  }
  QString Site() const { return m_site.path(); }
  QString SiteFile(const QString& name) const { return QDir(m_site.path()).filePath(name); }
  QByteArray Package(int category) const { return ReadFile(m_packages.FilePath(category)); }

  test::PackageFolder m_packages;
  QTemporaryDir m_site;
};

TEST_F(SiteTest, TheIndexReadsBackAsTheWindowWillReadIt) {
  const auto servers = ParseUpdateServers(ReadFile(SiteFile(u"ZVUpdateURL.idx"_s)), u"http://127.0.0.1:8080"_s);
  ASSERT_TRUE(servers.has_value());
  EXPECT_EQ(servers->base, u"http://127.0.0.1:8080/site/"_s);
  EXPECT_EQ(servers->alternate, u"http://127.0.0.1:8081/"_s);

  const QByteArray bytes = ReadFile(SiteFile(u"ZV1500.idx"_s));
  EXPECT_TRUE(bytes.contains("\r\n"));
  const UpdateIndex index = ParseUpdateIndex(bytes);
  ASSERT_FALSE(index.error.has_value());
  ASSERT_EQ(index.entries.size(), 4u);  // shell, news, zvy, zvq3
  EXPECT_EQ(std::get<IndexItem>(index.entries[0]).id, u"shell"_s);
  EXPECT_FALSE(std::get<IndexNews>(index.entries[1]).text.isEmpty());

  struct Expected {
    int category;
    QString id;
    int version;
    QString title;
  };
  const Expected expected[] = {{kY, u"zvy"_s, 7, u"Голос: возгласы на верный ответ"_s},
                               {kQ3, u"zvq3"_s, 2, u"Голос: задания 201–300"_s}};
  for (std::size_t i = 0; i < 2; ++i) {
    const auto& item = std::get<IndexItem>(index.entries[i + 2]);
    const Expected& e = expected[i];
    SCOPED_TRACE(e.id.toStdString());
    const qint64 size = QFileInfo(SiteFile(e.id + u".run"_s)).size();
    const qint64 kilobytes = (size + 1023) / 1024;
    EXPECT_EQ(item.id, e.id);
    EXPECT_EQ(item.version, e.version);
    EXPECT_EQ(item.fileName, e.id + u".run"_s);
    EXPECT_EQ(item.caption, e.title + u" (размер %1 кБ)"_s.arg(kilobytes));
    EXPECT_EQ(item.size, kilobytes * 1024);  // the caption's tail, read by the "(" rule
    EXPECT_FALSE(item.important);
  }

  // An installation without packages is offered both packages, never the build it already is.
  const UpdateOffer offer = OfferUpdates(index, InstalledVersions{});
  ASSERT_EQ(offer.items.size(), 2u);
  EXPECT_EQ(offer.items[0].fileName, u"zvy.run"_s);
  EXPECT_EQ(offer.items[1].fileName, u"zvq3.run"_s);
  // One that has them at these counts is offered nothing.
  InstalledVersions current;
  current.packageCounts[kY] = 7;
  current.packageCounts[kQ3] = 2;
  EXPECT_TRUE(OfferUpdates(index, current).items.empty());
}

struct RunResult {
  int exitCode = -1;
  QByteArray errors;
};

RunResult RunInstaller(const QString& installer, const QStringList& arguments, const QProcessEnvironment& env) {
  QProcess sh;
  sh.setProcessEnvironment(env);
  sh.start(u"sh"_s, QStringList{installer} + arguments);
  if (!sh.waitForFinished(30000)) return {};
  return {sh.exitStatus() == QProcess::NormalExit ? sh.exitCode() : -1, sh.readAllStandardError()};
}

QStringList Entries(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// A stand-in for the trainer that runapp starts: a shell script only its owner may run.
bool WriteTrainerStub(const QString& path, const QByteArray& script) {
  QFile stub(path);
  if (!stub.open(QIODevice::WriteOnly) || stub.write(script) != script.size()) return false;
  stub.close();
  return stub.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

struct InstallRow {
  const char* name;
  bool xdgDataHome;     // set, else the default under HOME
  bool olderInstalled;  // a package already in place is replaced
  bool runapp;
};

class Installs : public SiteTest, public ::testing::WithParamInterface<InstallRow> {};

TEST_P(Installs, PlaceThePackageByteForByte) {
  const InstallRow& row = GetParam();
  QTemporaryDir home;
  const QString data = row.xdgDataHome ? home.filePath(u"data"_s) : home.filePath(u".local/share"_s);
  const QString target = data + u"/Zorvik"_s;
  if (row.olderInstalled) {
    ASSERT_TRUE(QDir().mkpath(target));
    QFile older(target + u"/zvq3.cok"_s);
    ASSERT_TRUE(older.open(QIODevice::WriteOnly));
    older.write(BuildPackage(test::FixtureContent(kQ3, 1)));
  }
  // The trainer stand-in notes that it was started.
  const QString started = home.filePath(u"started"_s);
  const QString trainer = home.filePath(u"zorvik"_s);
  ASSERT_TRUE(WriteTrainerStub(trainer, "#!/bin/sh\ntouch \"$0.started\"\n"));

  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(u"HOME"_s, home.path());
  env.remove(u"XDG_DATA_HOME"_s);
  if (row.xdgDataHome) env.insert(u"XDG_DATA_HOME"_s, data);
  env.insert(u"ZORVIK_PROGRAM"_s, trainer);

  QStringList arguments{u"modest"_s};
  if (row.runapp) arguments << u"runapp"_s;
  const RunResult run = RunInstaller(SiteFile(u"zvq3.run"_s), arguments, env);
  ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
  EXPECT_TRUE(run.errors.isEmpty()) << run.errors.toStdString();
  EXPECT_EQ(Entries(target), QStringList{u"zvq3.cok"_s});  // no temporary file left beside it
  EXPECT_TRUE(ReadFile(target + u"/zvq3.cok"_s) == Package(kQ3));
  if (row.runapp) {
    // Started in the background: give it a moment.
    for (int i = 0; i < 100 && !QFileInfo::exists(trainer + u".started"_s); ++i) QThread::msleep(20);
  }
  EXPECT_EQ(QFileInfo::exists(trainer + u".started"_s), row.runapp);
}

INSTANTIATE_TEST_SUITE_P(Rows, Installs,
                         ::testing::Values(InstallRow{"DefaultDataFolderUnderHome", false, false, false},
                                           InstallRow{"XdgDataHomeHonoured", true, false, false},
                                           InstallRow{"OlderPackageReplaced", false, true, false},
                                           InstallRow{"RunappStartsTheTrainer", false, false, true}),
                         test::RowName{});

TEST_F(SiteTest, RunappWaitsForTheTrainerThatHandedOverToEnd) {
  QTemporaryDir home;
  const QString lock = home.filePath(u"zorvik_memfile"_s);
  const QString ended = home.filePath(u"ended"_s);
  // The old trainer: holds the single-instance lock a moment longer, notes its end, lets go.
  QProcess old;
  old.start(u"flock"_s, {lock, u"sh"_s, u"-c"_s, u"sleep 1; touch \"$0\""_s, ended});
  ASSERT_TRUE(old.waitForStarted());
  for (int i = 0; i < 100 && !QFileInfo::exists(lock); ++i) QThread::msleep(10);
  // The new trainer notes whether the old one had ended when it was started.
  const QString trainer = home.filePath(u"zorvik"_s);
  ASSERT_TRUE(WriteTrainerStub(trainer, "#!/bin/sh\n[ -e '" + ended.toUtf8() + "' ] && touch \"$0.started\"\n"));

  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(u"HOME"_s, home.path());
  env.insert(u"XDG_RUNTIME_DIR"_s, home.path());
  env.insert(u"ZORVIK_PROGRAM"_s, trainer);
  const RunResult run = RunInstaller(SiteFile(u"zvq3.run"_s), {u"modest"_s, u"runapp"_s}, env);
  ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
  for (int i = 0; i < 100 && !QFileInfo::exists(trainer + u".started"_s); ++i) QThread::msleep(20);
  EXPECT_TRUE(QFileInfo::exists(trainer + u".started"_s));
  old.waitForFinished();
}

struct DamageRow {
  const char* name;
  std::function<void(QByteArray&)> damage;
};

class Damaged : public SiteTest, public ::testing::WithParamInterface<DamageRow> {};

TEST_P(Damaged, IsRefusedWithAMessageAndNothingPlaced) {
  QByteArray installer = ReadFile(SiteFile(u"zvq3.run"_s));
  GetParam().damage(installer);
  QTemporaryDir dir;
  const QString path = dir.filePath(u"zvq3.run"_s);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(installer);
  file.close();

  QTemporaryDir home;
  const QString trainer = home.filePath(u"zorvik"_s);
  ASSERT_TRUE(WriteTrainerStub(trainer, "#!/bin/sh\ntouch \"$0.started\"\n"));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(u"HOME"_s, home.path());
  env.remove(u"XDG_DATA_HOME"_s);
  env.insert(u"XDG_RUNTIME_DIR"_s, home.path());
  env.insert(u"ZORVIK_PROGRAM"_s, trainer);
  const RunResult run = RunInstaller(path, {u"modest"_s, u"runapp"_s}, env);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.errors.contains("damaged")) << run.errors.toStdString();
  EXPECT_EQ(Entries(home.filePath(u".local/share/Zorvik"_s)), QStringList{});
  // The trainer that handed over has ended: it must come back, on the packages it had.
  for (int i = 0; i < 100 && !QFileInfo::exists(trainer + u".started"_s); ++i) QThread::msleep(20);
  EXPECT_TRUE(QFileInfo::exists(trainer + u".started"_s)) << "runapp lost with the damaged package";
}

INSTANTIATE_TEST_SUITE_P(Rows, Damaged,
                         ::testing::Values(DamageRow{"ByteFlippedInThePackage",
                                                     [](QByteArray& b) { b[b.size() - 300] ^= 0x40; }},
                                           DamageRow{"CutShort", [](QByteArray& b) { b.chop(1000); }},
                                           DamageRow{"BytesAppended", [](QByteArray& b) { b.append("\n"); }}),
                         test::RowName{});

TEST(UpdateSite, AnUnusablePackageFailsTheBuildInsteadOfBeingOffered) {
  test::PackageFolder packages;
  packages.Write(kY, BuildPackage(test::FixtureContent(kY, 3)));
  QByteArray corrupt = BuildPackage(test::FixtureContent(kQ3, 1));
  corrupt[9] = char(corrupt[9] ^ 1);  // inside the checked offset table
  packages.Write(kQ3, corrupt);
  QTemporaryDir site;
  const auto error = BuildSite(packages.Path(), site.path(), {u"http://a.invalid/"_s, u"http://b.invalid/"_s});
  ASSERT_TRUE(error.has_value());
  EXPECT_TRUE(error->contains(u"zvq3.cok"_s)) << error->toStdString();
  EXPECT_FALSE(QFileInfo::exists(QDir(site.path()).filePath(u"ZV1500.idx"_s)));
}

}  // namespace
}  // namespace zv::updatesite
