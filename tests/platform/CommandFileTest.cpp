// The command file: its steps rendered as a sh script must do exactly what they say with any
// file name (a quote, "$(…)", a leading "-", a newline must never become shell syntax), go on
// past a step that fails, and the script must be gone when it ends.

#include "platform/CommandFile.h"

#include <gtest/gtest.h>

#include "support/RowName.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace zv {
namespace {

using namespace Qt::StringLiterals;

void Touch(const QString& path) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

struct NameRow {
  const char* name;
  const char16_t* file;
};

class CommandFileNames : public ::testing::TestWithParam<NameRow> {};

// The file with the hostile name is deleted; its neighbours, and anything a misread name would
// reach, stay.
TEST_P(CommandFileNames, DeletesExactlyTheNamedFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString folder = dir.filePath(u"folder with 'quotes'"_s);
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString target = folder + u'/' + QString::fromUtf16(GetParam().file);
  Touch(target);
  Touch(folder + u"/keep"_s);
  Touch(dir.filePath(u"keep"_s));

  CommandFile script;
  script.DeleteFile(target);
  script.RemoveFolder(folder);  // not empty: stays, and the script goes on
  script.DeleteSelf();
  const QString scriptPath = dir.filePath(u"clean.sh"_s);
  ASSERT_FALSE(script.Save(scriptPath).has_value());
  QProcess sh;
  sh.setWorkingDirectory(dir.path());
  sh.start(u"/bin/sh"_s, {scriptPath});
  ASSERT_TRUE(sh.waitForFinished(10000));

  EXPECT_FALSE(QFile::exists(target)) << script.Render().toStdString();
  EXPECT_TRUE(QFile::exists(folder + u"/keep"_s));
  EXPECT_TRUE(QFile::exists(dir.filePath(u"keep"_s)));
  EXPECT_FALSE(QFile::exists(scriptPath)) << "the script did not delete itself";
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 2);
}

INSTANTIATE_TEST_SUITE_P(Names, CommandFileNames,
                         ::testing::Values(NameRow{"Plain", u"zorvik"}, NameRow{"Blank", u"two words"},
                                           NameRow{"SingleQuote", u"it's"},
                                           NameRow{"CommandSubstitution", u"$(touch pwned)`touch pwned2`"},
                                           NameRow{"LeadingDash", u"-rf"}, NameRow{"Newline", u"a\nrm keep"},
                                           NameRow{"Cyrillic", u"Зорвик.desktop"},
                                           NameRow{"Glob", u"*"}),
                         zv::test::RowName{});

// Detached: the script runs on after the starter has gone on; a pause and an emptied folder.
TEST(CommandFile, DetachedScriptEmptiesAndRemovesTheFolderThenItself) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString folder = dir.filePath(u"Zorvik"_s);
  ASSERT_TRUE(QDir().mkpath(folder));
  Touch(folder + u"/zorvik"_s);
  CommandFile script;
  script.Pause(1);
  script.DeleteFile(folder + u"/zorvik"_s);
  script.RemoveFolder(folder);
  script.DeleteSelf();
  const QString scriptPath = dir.filePath(u"clean.sh"_s);
  ASSERT_FALSE(script.Save(scriptPath).has_value());
  ASSERT_TRUE(CommandFile::StartDetached(scriptPath));
  EXPECT_TRUE(QFile::exists(folder + u"/zorvik"_s)) << "the pause was not kept";
  QElapsedTimer timer;
  timer.start();
  while ((QFile::exists(folder) || QFile::exists(scriptPath)) && timer.elapsed() < 10000) QThread::msleep(50);
  EXPECT_FALSE(QFile::exists(folder));
  EXPECT_FALSE(QFile::exists(scriptPath));
}

}  // namespace
}  // namespace zv
