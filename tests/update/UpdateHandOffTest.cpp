// The hand-off script: its exact lines, and what it does when sh runs it in a folder of stub
// installers that log how they were called.

#include "update/UpdateHandOff.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace zv {
namespace {

using namespace Qt::StringLiterals;

const QString kHeader = u"#!/bin/sh\nexec >/dev/null 2>&1\n"_s;

TEST(HandOff, OneItemRunsWithRunappThenEverythingGoes) {
  const auto script = BuildHandOff(u"/tmp/zv/"_s, {{u"zvq3.sh"_s, true}});
  ASSERT_TRUE(script.has_value());
  EXPECT_EQ(script->Render(), kHeader + uR"('/tmp/zv/zvq3.sh' 'modest' 'runapp'
rm -f -- '/tmp/zv/zvq3.sh'
rm -f -- "$0"
)"_s);
}

TEST(HandOff, ThreeItemsInListOrderOnlyTheLastWithRunapp) {
  const auto script =
      BuildHandOff(u"/tmp/it's/"_s, {{u"zv15010.sh"_s, true}, {u"zvq1.sh"_s, true}, {u"zvs.sh"_s, true}});
  ASSERT_TRUE(script.has_value());
  EXPECT_EQ(script->Render(), kHeader + uR"('/tmp/it'\''s/zv15010.sh' 'modest'
'/tmp/it'\''s/zvq1.sh' 'modest'
'/tmp/it'\''s/zvs.sh' 'modest' 'runapp'
rm -f -- '/tmp/it'\''s/zv15010.sh'
rm -f -- '/tmp/it'\''s/zvq1.sh'
rm -f -- '/tmp/it'\''s/zvs.sh'
rm -f -- "$0"
)"_s);
}

TEST(HandOff, NothingDownloadedNothingToHandOver) {
  EXPECT_FALSE(BuildHandOff(u"/tmp/zv/"_s, {{u"a.sh"_s, false}, {u"b.sh"_s, false}}).has_value());
  EXPECT_FALSE(BuildHandOff(u"/tmp/zv/"_s, {}).has_value());
}

// A stub installer: appends its name and arguments to the log one folder up.
void WriteStub(const QString& path) {
  QFile stub(path);
  ASSERT_TRUE(stub.open(QIODevice::WriteOnly));
  stub.write("#!/bin/sh\necho \"${0##*/} $*\" >> \"${0%/*}/../log\"\n");
  stub.close();
  stub.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// Run by sh in a folder whose name needs quoting: the installers that arrived run in order,
// "runapp" reaches the last of them although a later item failed, and every item's file and the
// script itself are gone afterwards.
TEST(HandOff, ScriptRunsTheArrivedInstallersAndCleansUp) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const QString folder = root.filePath(u"it's $(here)"_s) + u'/';
  ASSERT_TRUE(QDir().mkpath(folder));
  for (const char16_t* name : {u"zv15010.sh", u"zvq1.sh", u"zvs.sh"}) WriteStub(folder + QString::fromUtf16(name));
  QFile partial(folder + u"zvy.sh"_s);  // a failed download's leftover: never run
  ASSERT_TRUE(partial.open(QIODevice::WriteOnly));
  partial.write("#!/bin/sh\necho zvy >> \"${0%/*}/../log\"\n");
  partial.close();
  partial.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

  const auto script = BuildHandOff(
      folder, {{u"zv15010.sh"_s, true}, {u"zvq1.sh"_s, true}, {u"zvs.sh"_s, true}, {u"zvy.sh"_s, false}});
  ASSERT_TRUE(script.has_value());
  const QString scriptPath = folder + QString::fromUtf16(kHandOffFileName);
  ASSERT_FALSE(script->Save(scriptPath).has_value());
  QProcess sh;
  sh.start(u"/bin/sh"_s, {scriptPath});
  ASSERT_TRUE(sh.waitForFinished(10000));

  QFile log(root.filePath(u"log"_s));
  ASSERT_TRUE(log.open(QIODevice::ReadOnly));
  EXPECT_EQ(log.readAll(), "zv15010.sh modest\nzvq1.sh modest\nzvs.sh modest runapp\n");
  EXPECT_TRUE(QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
      << QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).join(u' ').toStdString();
}

}  // namespace
}  // namespace zv
