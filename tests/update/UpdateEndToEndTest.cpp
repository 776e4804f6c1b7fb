// The internet update end to end on loopback. An installation in a temporary folder lacks some
// sound packages; the site of this build (zvupdatesite) is served by zvhttpd; the first update
// server is down, the second answers. The trainer (the program entry with a driver that clicks
// through the update window, see UpdateDriver.cpp) checks, downloads and hands over; the
// installers place the packages and start the trainer again, which must find and load them.
// Hostile rows: a page instead of an index file fails the check and downloads nothing.

#include "UpdateSite.h"
#include "platform/Registry.h"
#include "platform/SingleInstance.h"
#include "sound/PackageFormat.h"
#include "support/MainWindowValues.h"
#include "support/RowName.h"
#include "support/SocketFolder.h"
#include "support/TestApplication.h"
#include "support/TrainerProcess.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>

#include <csignal>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <string>

#include <signal.h>
#include <unistd.h>

namespace zv {
namespace {

using namespace Qt::StringLiterals;

ZV_TEST_APPLICATION(QCoreApplication);

const QString kPackages = QStringLiteral(ZV_PACKAGES_DIR);  // the build's packages, next to the trainer
const QString kKey = u"Software\\Ostwin\\Zorvik"_s;

using test::WaitUntil;

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Names under `folder`, relative, recursively (hidden ones too).
QStringList Listing(const QString& folder) {
  QStringList names;
  const QDir root(folder);
  for (QDirIterator it(
           folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
       it.hasNext();) {
    names << root.relativeFilePath(it.next());
  }
  names.sort();
  return names;
}

// Where a stray write would land outside the test's folder: the shared Temp folder (only names
// the update, the installers or the trainer use: other programs write there too), the user's
// package folder and the build's program folder.
struct Outside {
  QStringList temp, userPackages, program;
};

Outside LookOutside() {
  Outside o;
  const QStringList ours = {u"zorvik*"_s, u"ZV*"_s, u"*.idx"_s, u"*.run"_s, u"*.cok"_s, u".*.cok.*"_s};
  for (const QString& name :
       QDir(QDir::tempPath()).entryList(ours, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::CaseSensitive))
    o.temp << name;
  o.userPackages = Listing(QDir::homePath() + u"/.local/share/Zorvik"_s);
  o.program = Listing(kPackages);
  return o;
}

std::string Joined(const QStringList& names) { return names.join(u' ').toStdString(); }

// The driver's report file: lines "<stage>: <what>".
class Report {
 public:
  explicit Report(QString path) : m_path(std::move(path)) {}
  QStringList Lines(const QString& stage) const {
    QStringList lines;
    for (const QString& line : QString::fromUtf8(Bytes(m_path)).split(u'\n', Qt::SkipEmptyParts))
      if (line.startsWith(stage + u": "_s)) lines << line.mid(stage.size() + 2);
    return lines;
  }
  QStringList Starting(const QString& stage, const QString& word) const {
    QStringList found;
    for (const QString& line : Lines(stage))
      if (line == word || line.startsWith(word + u' ')) found << line.mid(word.size()).trimmed();
    return found;
  }
  std::optional<QString> First(const QString& stage, const QString& word) const {
    const QStringList found = Starting(stage, word);
    return found.isEmpty() ? std::nullopt : std::optional<QString>(found.front());
  }
  bool WaitFor(const QString& stage, const QString& word, int ms) const {
    return WaitUntil([&] { return First(stage, word).has_value(); }, ms);
  }
  std::string Text() const { return Bytes(m_path).toStdString(); }

 private:
  QString m_path;
};

// "PACKAGES" as the driver writes it, for given count fields.
QString PackageLine(const std::map<int, int>& counts) {
  QStringList parts;
  for (int p = 0; p < kPackageCount; ++p)
    parts << PackageFileName(p) + u'=' + QString::number(counts.count(p) ? counts.at(p) : 0);
  return parts.join(u' ');
}

// The folder of one run: the installation (a copy of the driver beside some of the build's
// packages), its hives, Temp, runtime and data folders, the site and the server.
class Installation {
 public:
  Installation() { m_dir = std::make_unique<test::SocketFolder>(); }
  ~Installation() {
    if (m_server.state() != QProcess::NotRunning) {
      m_server.terminate();
      m_server.waitForFinished(5000);
    }
  }

  const QTemporaryDir& Dir() const { return *m_dir; }
  QString Path(const QString& relative) const { return m_dir->filePath(relative); }
  QString Program() const { return Path(u"program/zorvik"_s); }
  QString UserPackages() const { return Path(u"Zorvik"_s); }
  QString UpdateFolder() const { return Path(u"tmp/zorvik-update-"_s) + QString::number(::getuid()); }

  // The driver copied into program/ with the build's packages but the `left` ones, and packages
  // made here (count field 1) for the voiced hundreds the build does not carry, so that once
  // the update has brought the rest nothing is missing.
  void Install(const std::vector<int>& left, const QByteArray& sound) {
    ASSERT_TRUE(QDir().mkpath(Path(u"program"_s)));
    ASSERT_TRUE(QDir().mkpath(Path(u"tmp"_s)));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZV_UPDATE_DRIVER), Program()));
    for (int p = 0; p < kPackageCount; ++p) {
      const QString name = PackageFileName(p);
      if (std::find(left.begin(), left.end(), p) != left.end()) continue;
      if (QFile::exists(kPackages + u'/' + name)) {
        ASSERT_TRUE(QFile::copy(kPackages + u'/' + name, Path(u"program/"_s + name)));
        continue;
      }
      ASSERT_TRUE(IsVoicedPackage(p)) << name.toStdString() << " is not in the build";
      PackageContent content;
      content.voiced = true;
      content.hundred = p - kCommentPackageCount;
      content.count = 1;
      content.sounds.assign(100, sound);
      QFile file(Path(u"program/"_s + name));
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(BuildPackage(content));
      m_built.push_back(p);
    }
  }
  const std::vector<int>& Built() const { return m_built; }

  // zvhttpd on site/, then the site of this build written into it with the server as base.
  void Serve() {
    ASSERT_TRUE(QDir().mkpath(Path(u"site"_s)));
    m_server.start(QStringLiteral(ZV_HTTPD), {Path(u"site"_s), u"0"_s});
    QByteArray line;
    while (!line.contains('\n') && m_server.waitForReadyRead(20000)) line += m_server.readAllStandardOutput();
    m_port = line.trimmed().toUShort();
    ASSERT_NE(m_port, 0) << "zvhttpd did not start";
    QProcess site;
    site.setProcessChannelMode(QProcess::MergedChannels);
    site.start(QStringLiteral(ZV_UPDATE_SITE_TOOL), {kPackages, Path(u"site"_s), u"--base"_s, Base()});
    ASSERT_TRUE(site.waitForFinished(120000));
    ASSERT_EQ(site.exitCode(), 0) << site.readAll().toStdString();
  }
  QString Base() const { return u"http://127.0.0.1:%1/"_s.arg(m_port); }

  // The environment of the trainer: the first server a closed port, the second zvhttpd.
  QProcessEnvironment Environment() const {
    QTcpServer probe;  // a port nobody listens on once it is closed again
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 closed = probe.serverPort();
    probe.close();
    QProcessEnvironment env;
    env.insert(u"TMPDIR"_s, Path(u"tmp"_s));
    env.insert(u"ZORVIK_UPDATE_SERVERS"_s, u"http://127.0.0.1:%1 http://127.0.0.1:%2"_s.arg(closed).arg(m_port));
    env.insert(u"ZORVIK_PROGRAM"_s, Program());
    env.insert(u"ZV_DRIVE_REPORT"_s, Path(u"report.txt"_s));
    return env;
  }

  // The program key's value names.
  QStringList HiveNames() const {
    Registry r(RegistryPaths::inOneFolder(Path(u"registry"_s)));
    r.SetRootKey(RootKey::CurrentUser);
    QStringList names;
    if (r.OpenKeyReadOnly(kKey)) {
      names = r.GetValueNames();
      r.CloseKey();
    }
    names.sort();
    return names;
  }

  // Asks the trainer running on this folder to end, as the uninstaller does.
  void Quit() const { SendInstanceMessage(InstancePaths::InFolder(m_dir->path()).ServerName, kQuitMessage); }

 private:
  std::unique_ptr<test::SocketFolder> m_dir;
  QProcess m_server;
  quint16 m_port = 0;
  std::vector<int> m_built;
};

// A process started by the installers, not by the test: killed if the test leaves it running.
struct Reaper {
  pid_t pid = 0;
  ~Reaper() {
    if (pid > 0) ::kill(pid, SIGKILL);
  }
};

QByteArray Tone() { return Bytes(QStringLiteral(ZV_FIXTURES "/opus_tone_300ms.opus")); }

int PackageIndexOf(const QString& fileName) {
  for (int p = 0; p < kPackageCount; ++p)
    if (PackageFileName(p) == fileName) return p;
  return -1;
}

// Ended (a zombie counts: the process that reaps it is not this test).
bool Gone(pid_t pid) {
  if (::kill(pid, 0) != 0) return true;
  const QByteArray stat = Bytes(u"/proc/%1/stat"_s.arg(pid));
  const qsizetype close = stat.lastIndexOf(')');
  return close >= 0 && stat.mid(close + 2, 1) == "Z";
}

bool BuildHasPackages() { return QFile::exists(kPackages + u"/zvq1.cok"_s); }

// The build's packages as the site offers them: load index -> count field.
std::map<int, int> SiteCounts() {
  std::map<int, int> counts;
  for (const updatesite::SitePackage& p : updatesite::FindPackages(kPackages).packages) counts[p.category] = p.count;
  return counts;
}

TEST(UpdateEndToEnd, MissingPackagesAreDownloadedInstalledAndLoadedByTheNextStart) {
  if (!BuildHasPackages()) GTEST_SKIP() << "the build carries no sound packages";
  const Outside before = LookOutside();
  QElapsedTimer clock;
  clock.start();

  // Missing: two comment packages and every voiced package the build carries.
  const int kY = PackageIndexOf(u"zvy.cok"_s), kM3 = PackageIndexOf(u"zvm3.cok"_s);
  const std::map<int, int> site = SiteCounts();
  std::vector<int> left = {kY, kM3};
  for (const auto& [p, count] : site)
    if (IsVoicedPackage(p)) left.push_back(p);
  Installation in;
  ASSERT_TRUE(in.Dir().isValid());
  ASSERT_NO_FATAL_FAILURE(in.Install(left, Tone()));
  ASSERT_NO_FATAL_FAILURE(in.Serve());

  std::map<int, int> installed = site;  // before the update
  for (const int p : left) installed.erase(p);
  for (const int p : in.Built()) installed[p] = 1;
  std::map<int, int> updated = installed;
  QStringList offered;
  for (const auto& [p, count] : site)
    if (std::find(left.begin(), left.end(), p) != left.end()) {
      updated[p] = count;
      offered << updatesite::InstallerName(p);
    }
  offered.sort();

  const Report report(in.Path(u"report.txt"_s));
  Reaper second;
  {
    test::TrainerProcess first(in.Dir(), in.Program(), u"update"_s, {}, true, in.Environment());
    ASSERT_TRUE(report.WaitFor(u"update"_s, u"ENDED"_s, 180000)) << report.Text();
    EXPECT_EQ(first.WaitForEnd(), 0) << report.Text();
  }
  const double handedOver = static_cast<double>(clock.elapsed()) / 1000.0;

  // The first copy: the missing-files box, what it found, what the window offered.
  EXPECT_EQ(report.First(u"update"_s, u"PACKAGES"_s).value_or(QString()), PackageLine(installed));
  const QStringList boxes = report.Starting(u"update"_s, u"BOX"_s);
  ASSERT_EQ(boxes.size(), 1) << report.Text();
  EXPECT_TRUE(boxes[0].contains(u"Программе недостаёт файлов озвученных заданий!"_s)) << report.Text();
  EXPECT_TRUE(boxes[0].contains(u"Программе недостаёт файлов звуковых комментариев!"_s)) << report.Text();
  QStringList listed = report.Starting(u"update"_s, u"OFFER"_s);
  listed.sort();
  EXPECT_EQ(Joined(listed), Joined(offered));
  EXPECT_EQ(report.First(u"update"_s, u"ENDED"_s).value_or(QString()), u"0"_s);

  // The copy the installers started: it found the first copy's hive as a normal close leaves it,
  // with the update's dates and the missing-files marker, and loaded every new package.
  ASSERT_TRUE(report.WaitFor(u"report"_s, u"PID"_s, 180000)) << "not started again: " << report.Text();
  second.pid = report.First(u"report"_s, u"PID"_s).value_or(QString()).toInt();
  ASSERT_TRUE(report.WaitFor(u"report"_s, u"READY"_s, 180000)) << report.Text();
  const double restarted = static_cast<double>(clock.elapsed()) / 1000.0;
  const QStringList hive = report.First(u"report"_s, u"HIVE"_s).value_or(QString()).split(u' ');
  for (const auto& [name, type] : test::kMainWindowValues)
    EXPECT_TRUE(hive.contains(QLatin1String(name))) << name << " missing: " << report.Text();
  for (const QString& name : {u"NoSoundFiles"_s, u"LastCheckup"_s, u"LastDownload"_s})
    EXPECT_TRUE(hive.contains(name)) << name.toStdString() << " missing: " << report.Text();
  for (const QString& name : {u"HeartY"_s, u"HeartM3"_s})
    EXPECT_FALSE(hive.contains(name)) << name.toStdString() << ": the category was not loaded in the first run";
  EXPECT_EQ(report.First(u"report"_s, u"PACKAGES"_s).value_or(QString()), PackageLine(updated));
  EXPECT_TRUE(report.Starting(u"report"_s, u"BOX"_s).isEmpty()) << report.Text();
  EXPECT_TRUE(report.Starting(u"report"_s, u"OFFER"_s).isEmpty()) << report.Text();

  // The installers placed exactly the packages, byte for byte the site's, and the hand-off
  // script removed the downloads and itself.
  QStringList placed;
  for (const int p : left) placed << PackageFileName(p);
  placed.sort();
  EXPECT_EQ(Joined(Listing(in.UserPackages())), Joined(placed));
  for (const int p : left) {
    const QByteArray package = Bytes(in.UserPackages() + u'/' + PackageFileName(p));
    EXPECT_FALSE(package.isEmpty()) << PackageFileName(p).toStdString();
    EXPECT_EQ(package, Bytes(kPackages + u'/' + PackageFileName(p))) << PackageFileName(p).toStdString();
    EXPECT_TRUE(Bytes(in.Path(u"site/"_s) + updatesite::InstallerName(p)).endsWith(package));
  }
  EXPECT_TRUE(WaitUntil([&] { return Listing(in.UpdateFolder()).isEmpty(); }, 60000))
      << "left in the download folder: " << Joined(Listing(in.UpdateFolder()));
  EXPECT_TRUE(QFileInfo(in.UpdateFolder()).isDir());

  // The second copy ends the normal way: the marker is gone, the new comment categories' states
  // are stored.
  in.Quit();
  ASSERT_TRUE(report.WaitFor(u"report"_s, u"ENDED"_s, 60000)) << report.Text();
  EXPECT_EQ(report.First(u"report"_s, u"ENDED"_s).value_or(QString()), u"0"_s);
  ASSERT_TRUE(WaitUntil([&] { return Gone(second.pid); }, 30000)) << "the second copy did not end";
  second.pid = 0;
  const QStringList after = in.HiveNames();
  EXPECT_FALSE(after.contains(u"NoSoundFiles"_s)) << Joined(after);
  for (const QString& name : {u"HeartY"_s, u"HeartM3"_s}) EXPECT_TRUE(after.contains(name)) << Joined(after);

  const Outside now = LookOutside();
  EXPECT_EQ(Joined(now.temp), Joined(before.temp));
  EXPECT_EQ(Joined(now.userPackages), Joined(before.userPackages));
  EXPECT_EQ(Joined(now.program), Joined(before.program));
  std::cout << "handed over after " << handedOver << " s, started again after " << restarted << " s\n";
}

// --- hostile servers ------------------------------------------------------------------------

struct HostileRow {
  const char* name;
  const char16_t* file;  // replaced in the site by an HTML page
};
void PrintTo(const HostileRow& row, std::ostream* os) { *os << row.name; }

class UpdateEndToEndHostile : public ::testing::TestWithParam<HostileRow> {};

TEST_P(UpdateEndToEndHostile, CheckFailsAndNothingIsDownloaded) {
  if (!BuildHasPackages()) GTEST_SKIP() << "the build carries no sound packages";
  const Outside before = LookOutside();
  std::vector<int> left;
  for (int p = kCommentPackageCount; p < kPackageCount; ++p) left.push_back(p);
  Installation in;
  ASSERT_TRUE(in.Dir().isValid());
  ASSERT_NO_FATAL_FAILURE(in.Install(left, Tone()));
  ASSERT_NO_FATAL_FAILURE(in.Serve());
  QFile page(in.Path(u"site/"_s) + QString::fromUtf16(GetParam().file));
  ASSERT_TRUE(page.open(QIODevice::WriteOnly | QIODevice::Truncate));
  page.write("<!DOCTYPE html>\r\n<html><body>shell=99999^x.run{}http://127.0.0.1/</body></html>\r\n");
  page.close();

  const Report report(in.Path(u"report.txt"_s));
  {
    test::TrainerProcess first(in.Dir(), in.Program(), u"update"_s, {}, true, in.Environment());
    ASSERT_TRUE(report.WaitFor(u"update"_s, u"READY"_s, 120000)) << report.Text();
    EXPECT_EQ(report.First(u"update"_s, u"WINDOW"_s).value_or(QString()), u"Загрузка не удалась"_s) << report.Text();
    EXPECT_TRUE(report.Starting(u"update"_s, u"OFFER"_s).isEmpty()) << report.Text();
    EXPECT_EQ(first.Quit(), 0) << report.Text();
  }
  EXPECT_FALSE(QFileInfo::exists(in.UserPackages()));
  EXPECT_EQ(Joined(Listing(in.UpdateFolder())), "");
  EXPECT_FALSE(in.HiveNames().contains(u"LastCheckup"_s)) << "a failed check is not a check";
  EXPECT_TRUE(report.Lines(u"report"_s).isEmpty()) << "the trainer was started again";
  const Outside now = LookOutside();
  EXPECT_EQ(Joined(now.temp), Joined(before.temp));
  EXPECT_EQ(Joined(now.userPackages), Joined(before.userPackages));
  EXPECT_EQ(Joined(now.program), Joined(before.program));
}

INSTANTIATE_TEST_SUITE_P(Rows, UpdateEndToEndHostile,
                         ::testing::Values(HostileRow{"AddressFileIsAPage", u"ZVUpdateURL.idx"},
                                           HostileRow{"IndexIsAPage", u"ZV1500.idx"}),
                         zv::test::RowName{});

}  // namespace
}  // namespace zv
