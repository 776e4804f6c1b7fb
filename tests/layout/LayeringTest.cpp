// The source tree's layering: every folder of src/ is core, windows, or mixed (its CMakeLists
// says which file goes where); a core file never includes a widget header or a window-side
// file; an include never runs up the layers. The checker is tried on small made-up trees
// first, then run over the real sources.

#include <gtest/gtest.h>

#include "support/RowName.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <map>

namespace {

enum class Kind { Core, Windows, Mixed };

struct Folder {
  Kind kind;
  int rank;             // an include may run to a folder of the same or a lower rank
  int windowRank = -1;  // a mixed folder's window-side files, when they stand above its core ones
  int RankOf(bool window) const { return window && windowRank >= 0 ? windowRank : rank; }
};

const std::map<QString, Folder>& Folders() {
  static const std::map<QString, Folder> folders = {
      {QStringLiteral("platform"), {Kind::Core, 0}},
      {QStringLiteral("common"), {Kind::Core, 1}},
      {QStringLiteral("tasks"), {Kind::Core, 1}},
      {QStringLiteral("skin"), {Kind::Core, 1}},
      {QStringLiteral("sound"), {Kind::Core, 2}},
      {QStringLiteral("exam"), {Kind::Core, 3}},
      {QStringLiteral("shell"), {Kind::Mixed, 4}},
      // The update window sits on the windows and is linked in by the program.
      {QStringLiteral("update"), {Kind::Mixed, 4, 6}},
      {QStringLiteral("uninstall"), {Kind::Core, 4}},
      {QStringLiteral("ui"), {Kind::Windows, 5}},
      {QStringLiteral("app"), {Kind::Windows, 6}},
      {QStringLiteral("regedit"), {Kind::Windows, 6}},
  };
  return folders;
}

struct SourceFile {
  QString path;  // relative to src/, e.g. "exam/ExamFlow.cpp"
  bool window = false;
  QStringList includes;
};

QString FolderOf(const QString& path) { return path.section(QLatin1Char('/'), 0, 0); }

// A header of the widgets module in any spelling: <QLabel>, <qlabel.h>, <QtWidgets/QLabel>,
// <QtWidgets>. Names the widgets module shares with Gui or Core (compatibility headers such
// as qaction.h) do not count.
bool IsWidgetHeader(const QString& include, const QSet<QString>& widgetNames) {
  const QStringList parts = include.toLower().split(QLatin1Char('/'));
  if (parts.contains(QStringLiteral("qtwidgets"))) return true;
  return widgetNames.contains(parts.last());
}

QStringList Violations(const std::vector<SourceFile>& files, const QSet<QString>& widgetNames) {
  QStringList found;
  std::map<QString, bool> windowSide;
  for (const SourceFile& f : files) windowSide[f.path] = f.window;
  for (const SourceFile& f : files) {
    const auto folder = Folders().find(FolderOf(f.path));
    if (folder == Folders().end()) {
      found << f.path + QStringLiteral(": folder missing from the layering table");
      continue;
    }
    if (folder->second.kind == Kind::Core && f.window)
      found << f.path + QStringLiteral(": window-side file in a core folder");
    if (folder->second.kind == Kind::Windows && !f.window)
      found << f.path + QStringLiteral(": core file in a window folder");
    for (const QString& inc : f.includes) {
      if (!f.window && IsWidgetHeader(inc, widgetNames))
        found << f.path + QStringLiteral(": core file includes the widget header ") + inc;
      const auto target = Folders().find(FolderOf(inc));
      if (!inc.contains(QLatin1Char('/')) || target == Folders().end()) continue;
      const auto included = windowSide.find(inc);
      const bool includesWindowSide = included != windowSide.end() && included->second;
      if (target->second.RankOf(includesWindowSide) > folder->second.RankOf(f.window))
        found << f.path + QStringLiteral(": includes up the layers: ") + inc;
      if (!f.window && included != windowSide.end() && included->second)
        found << f.path + QStringLiteral(": core file includes the window-side ") + inc;
    }
  }
  return found;
}

QStringList IncludesOf(const QByteArray& text) {
  static const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s*[<"]([^>"]+)[>"])"),
                                          QRegularExpression::MultilineOption);
  QStringList out;
  for (auto it = include.globalMatch(QString::fromUtf8(text)); it.hasNext();) out << it.next().captured(1);
  return out;
}

QSet<QString> HeaderNames(const QString& dir) {
  QSet<QString> names;
  for (const QString& name : QDir(dir).entryList(QDir::Files)) names.insert(name.toLower());
  return names;
}

QSet<QString> WidgetNames() {
  QSet<QString> names = HeaderNames(QStringLiteral(ZV_QT_WIDGETS_DIR));
  names.subtract(HeaderNames(QStringLiteral(ZV_QT_GUI_DIR)));
  names.subtract(HeaderNames(QStringLiteral(ZV_QT_CORE_DIR)));
  return names;
}

struct TreeCase {
  const char* name;
  std::vector<SourceFile> files;
  QStringList expected;  // fragments, one per violation, in order
};

void PrintTo(const TreeCase& c, std::ostream* os) { *os << c.name; }

class LayeringRules : public testing::TestWithParam<TreeCase> {};

TEST_P(LayeringRules, FindsExactlyTheBrokenRules) {
  const QSet<QString> widgets = WidgetNames();
  ASSERT_TRUE(widgets.contains(QStringLiteral("qlabel"))) << "no widget headers found";
  const QStringList found = Violations(GetParam().files, widgets);
  ASSERT_EQ(found.size(), GetParam().expected.size()) << found.join(QLatin1Char('\n')).toStdString();
  for (int i = 0; i < found.size(); ++i)
    EXPECT_TRUE(found[i].contains(GetParam().expected[i])) << found[i].toStdString();
}

SourceFile Core(const char* path, QStringList includes) {
  return {QString::fromLatin1(path), false, std::move(includes)};
}
SourceFile Window(const char* path, QStringList includes) {
  return {QString::fromLatin1(path), true, std::move(includes)};
}
QString S(const char* s) { return QString::fromLatin1(s); }

INSTANTIATE_TEST_SUITE_P(
    Trees, LayeringRules,
    testing::Values(
        TreeCase{"sound_tree",
                 {Core("exam/ExamFlow.cpp",
                       {S("exam/ExamFlow.h"), S("tasks/TSmartRand.h"), S("QAction"), S("QtCore/QString")}),
                  Window("ui/TBitBtn.cpp", {S("QLabel"), S("exam/ExamFlow.h"), S("shell/TProgressForm.h")}),
                  Window("shell/TProgressForm.h", {S("QtWidgets/QWidget")}),
                  Core("shell/MainSettings.h", {S("exam/MainScreen.h")})},
                 {}},
        TreeCase{"widget_header_in_core_any_spelling",
                 {Core("exam/A.cpp", {S("QWidget"), S("qlabel.h"), S("QtWidgets/qpushbutton.h"), S("QtWidgets")})},
                 {S("QWidget"), S("qlabel.h"), S("qpushbutton.h"), S("QtWidgets")}},
        TreeCase{"include_up_the_layers",
                 {Core("exam/A.cpp", {S("shell/TrainerContext.h")}), Core("shell/TrainerContext.h", {})},
                 {S("up the layers")}},
        TreeCase{"core_file_includes_window_side_file_of_its_own_folder",
                 {Core("shell/StartUpCore.cpp", {S("shell/TProgressForm.h")}), Window("shell/TProgressForm.h", {})},
                 {S("window-side shell/TProgressForm.h")}},
        TreeCase{"update_window_above_the_windows",
                 {Window("update/TUpdateForm.cpp", {S("ui/TBitBtn.h"), S("update/UpdateSession.h")}),
                  Window("update/TUpdateForm.h", {}),
                  Core("update/UpdateSession.h", {S("sound/SoundService.h")}),
                  Window("ui/TBitBtn.h", {}),
                  Window("ui/TZVMainFormUpdate.cpp", {S("update/AutoCheckup.h"), S("update/TUpdateForm.h")})},
                 {S("ui/TZVMainFormUpdate.cpp: includes up the layers: update/TUpdateForm.h")}},
        TreeCase{"file_in_the_wrong_folder",
                 {Window("exam/HintGlyphs.cpp", {}), Core("ui/HintPhrases.cpp", {}), Core("misc/X.cpp", {})},
                 {S("window-side file in a core folder"),
                  S("core file in a window folder"),
                  S("missing from the layering table")}}),
    zv::test::RowName{});

TEST(Layering, TheSourceTreeKeepsItsLayers) {
  QFile manifest(QStringLiteral(ZV_WINDOW_SOURCES));
  ASSERT_TRUE(manifest.open(QIODevice::ReadOnly));
  const QDir src(QStringLiteral(ZV_SOURCE_DIR));
  QSet<QString> windowFiles;
  for (const QByteArray& line : manifest.readAll().split('\n')) {
    const QString path = src.relativeFilePath(QString::fromUtf8(line.trimmed()));
    if (!line.trimmed().isEmpty() && !path.startsWith(QStringLiteral(".."))) windowFiles.insert(path);
  }
  ASSERT_TRUE(windowFiles.contains(QStringLiteral("ui/TZVMainForm.cpp")));

  std::vector<SourceFile> files;
  QDirIterator it(
      src.path(), {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = src.relativeFilePath(it.next());
    QFile f(src.filePath(path));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    files.push_back({path, windowFiles.contains(path), IncludesOf(f.readAll())});
  }
  ASSERT_GT(files.size(), 50u);
  const QStringList found = Violations(files, WidgetNames());
  EXPECT_TRUE(found.isEmpty()) << found.join(QLatin1Char('\n')).toStdString();
}

}  // namespace
