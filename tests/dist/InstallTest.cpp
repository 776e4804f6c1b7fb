// `cmake --install` of this build, staged with DESTDIR: the layout each kind of prefix gets, the
// desktop entries and the metadata valid for the desktop's own checkers, nothing written
// outside the stage, and an uninstaller that links no more than it uses.

#include <gtest/gtest.h>

#include "support/RowName.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <string>

namespace {

using namespace Qt::StringLiterals;

struct ToolRun {
  int code = -1;
  std::string output;
};

ToolRun RunTool(const QString& program, const QStringList& arguments, const QProcessEnvironment& env =
                                                                        QProcessEnvironment::systemEnvironment()) {
  QProcess process;
  process.setProcessEnvironment(env);
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, arguments);
  if (!process.waitForFinished(120000)) return {};
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2, process.readAll().toStdString()};
}

struct LayoutRow {
  const char* name;
  const char* prefix;
  const char* programFolder;
  const char* share;
  const char* link;  // the program's link in a bin folder, or none
};
void PrintTo(const LayoutRow& row, std::ostream* os) { *os << row.name; }

class InstallLayout : public ::testing::TestWithParam<LayoutRow> {};

TEST_P(InstallLayout, StagedInstallIsACompleteDesktopApplication) {
  const LayoutRow& row = GetParam();
  QTemporaryDir stage;
  ASSERT_TRUE(stage.isValid());
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(u"DESTDIR"_s, stage.path());
  env.remove(u"ZORVIK_REGISTRY_DIR"_s);  // a staged install writes no hive at all
  const ToolRun install = RunTool(QStringLiteral(ZV_CMAKE),
                              {u"--install"_s, QStringLiteral(ZV_BUILD_DIR), u"--prefix"_s, QString::fromLatin1(row.prefix)}, env);
  ASSERT_EQ(install.code, 0) << install.output;

  const QString programs = stage.path() + QString::fromLatin1(row.programFolder);
  for (const QString& program : {u"zorvik"_s, u"zvuninstall"_s})
    EXPECT_TRUE(QFileInfo(programs + u'/' + program).isExecutable()) << program.toStdString();
  const QString share = stage.path() + QString::fromLatin1(row.share);
  const QString entry = share + u"/applications/ru.ostwin.Zorvik.desktop"_s;
  QFile entryFile(entry);
  ASSERT_TRUE(entryFile.open(QIODevice::ReadOnly)) << entry.toStdString();
  EXPECT_TRUE(entryFile.readAll().contains("\nExec=" + QByteArray(row.programFolder) + "/zorvik\n"));
  const QImage icon(share + u"/icons/hicolor/48x48/apps/ru.ostwin.Zorvik.png"_s);
  EXPECT_EQ(icon.size(), QSize(48, 48));
  EXPECT_TRUE(icon.hasAlphaChannel() && qAlpha(icon.pixel(0, 0)) == 0 && qAlpha(icon.pixel(24, 24)) == 255)
      << "the icon is not drawn on a transparent ground";
  EXPECT_TRUE(QFile::exists(share + u"/icons/hicolor/scalable/apps/ru.ostwin.Zorvik.svg"_s));
  if (row.link) {
    const QFileInfo link(stage.path() + QString::fromLatin1(row.link));
    EXPECT_TRUE(link.isSymLink());
    EXPECT_EQ(QFileInfo(link.symLinkTarget()).canonicalFilePath(), QFileInfo(programs + u"/zorvik"_s).canonicalFilePath());
  }

  // Nothing outside the stage: every file under it lies in the program folder or the share
  // folder (or is a link), and no hive was written.
  for (QDirIterator it(stage.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
    const QString path = it.next();
    EXPECT_TRUE(path.startsWith(programs + u'/') || path.startsWith(share + u'/') || it.fileInfo().isSymLink())
        << path.toStdString();
  }

  const QString validate = QStandardPaths::findExecutable(u"desktop-file-validate"_s);
  ASSERT_FALSE(validate.isEmpty()) << "desktop-file-validate is missing: run scripts/setup";
  for (const QFileInfo& file : QDir(share + u"/applications"_s).entryInfoList(QDir::Files)) {
    const ToolRun checked = RunTool(validate, {file.filePath()});
    EXPECT_EQ(checked.code, 0) << checked.output;
    EXPECT_EQ(checked.output, "") << checked.output;
  }
  const QString appstream = QStandardPaths::findExecutable(u"appstreamcli"_s);
  ASSERT_FALSE(appstream.isEmpty()) << "appstreamcli is missing: run scripts/setup";
  const ToolRun metadata =
      RunTool(appstream, {u"validate"_s, u"--no-net"_s, share + u"/metainfo/ru.ostwin.Zorvik.metainfo.xml"_s});
  EXPECT_EQ(metadata.code, 0) << metadata.output;
}

INSTANTIATE_TEST_SUITE_P(
    Prefixes, InstallLayout,
    ::testing::Values(LayoutRow{"OptFolderOfItsOwn", "/opt/Zorvik", "/opt/Zorvik", "/usr/local/share", nullptr},
                      LayoutRow{"SystemPrefix", "/usr", "/usr/lib/zorvik", "/usr/share", "/usr/bin/zorvik"},
                      LayoutRow{"UserPrefix", "/home/someone/.local", "/home/someone/.local/lib/zorvik",
                                "/home/someone/.local/share", "/home/someone/.local/bin/zorvik"},
                      LayoutRow{"FolderOfItsOwnElsewhere", "/srv/apps/Zorvik", "/srv/apps/Zorvik", "/srv/apps/share",
                                nullptr}),
    zv::test::RowName{});

// The uninstaller must not drag in the network module nor any of the trainer's windows.
TEST(Uninstaller, LinksNeitherNetworkNorTheTrainersWindows) {
  const ToolRun needed = RunTool(u"readelf"_s, {u"-d"_s, QStringLiteral(ZV_UNINSTALLER)});
  ASSERT_EQ(needed.code, 0) << needed.output;
  EXPECT_EQ(needed.output.find("Qt6Network"), std::string::npos) << needed.output;
  EXPECT_NE(needed.output.find("Qt6Widgets"), std::string::npos) << "the message boxes need the widgets";
  const ToolRun symbols = RunTool(u"nm"_s, {u"-C"_s, QStringLiteral(ZV_UNINSTALLER)});
  ASSERT_EQ(symbols.code, 0) << symbols.output;
  for (const char* window : {"TZVMainForm", "THintForm", "TAidForm", "TMarkForm"})
    EXPECT_EQ(symbols.output.find(window), std::string::npos) << window;
}

}  // namespace
