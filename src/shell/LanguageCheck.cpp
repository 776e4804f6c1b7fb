#include "shell/LanguageCheck.h"

#include "common/SystemInfo.h"

#include <QLocale>

#include <exception>

namespace zv {

using namespace Qt::StringLiterals;

namespace {

const QString kNoLangDialog = u"NoLangDialog"_s;

QString cut(const QString& text) {
  if (text.size() <= kLanguageNameLength) return text;
  qsizetype n = kLanguageNameLength;
  if (text.at(n - 1).isHighSurrogate()) --n;  // never leave half a character
  return text.left(n);
}

void closeQuietly(Registry& registry) {
  try {
    registry.CloseKey();
  } catch (const std::exception&) {
    // The group's failure is already silent; a failing close adds nothing to report.
  }
}

}  // namespace

LanguageNames SystemDefaultLanguageNames(const QProcessEnvironment& environment) {
  QString name = environment.value(u"LANG"_s);
  if (name.isEmpty()) name = QLocale::system().name();
  for (const QChar stop : {u'.', u'@'})
    if (const qsizetype at = name.indexOf(stop); at >= 0) name.truncate(at);
  name.replace(u'-', u'_');
  QLocale locale(name);
  if (name.isEmpty() || name == u"C"_s || name == u"POSIX"_s || locale.language() == QLocale::C)
    locale = QLocale(QLocale::English, QLocale::UnitedStates);
  return LanguageNames{cut(locale.nativeLanguageName()), cut(QLocale::languageToString(locale.language()))};
}

QString LanguageWarningText(const LanguageNames& names) {
  return u"В Вашей системе Windows основным языком отображения является "_s + names.Local + u" ("_s + names.English +
         u").\r\n"_s + u"Программе нужен русский язык хотя бы \"для не-Юникод-программ\".\r\n"_s +
         u"Хотите сейчас войти в процедуру установки языка отображения?\r\n\r\n"_s + names.Local + u" ("_s +
         names.English + u") is the default language in your Windows system.\r\n"_s +
         u"Russian language is required for at least \"non-Unicode programs\".\r\n"_s +
         u"Would you like to launch Locales Setup now?"_s;
}

bool LanguageCheckNeeded(const SystemInfo& info) { return !info.IsRussianLocale; }

bool CheckLanguage(SystemInfo& info, const LanguageNames& names, const LanguageWarningPrompt& ask) {
  Registry& registry = *info.SettingsRegistry;
  bool suppressed = false;
  OpenSettingsKey(info);
  try {
    suppressed = registry.ValueExists(kNoLangDialog) && registry.ReadBool(kNoLangDialog);
  } catch (const std::exception&) {
    suppressed = false;  // unreadable: as if never set; a tick below replaces it
  }
  closeQuietly(registry);
  if (suppressed) return false;

  const LanguageWarningAnswer answer = ask(info.CyrillicName, LanguageWarningText(names));
  if (answer.NoMore) {
    OpenSettingsKey(info);
    try {
      registry.WriteBool(kNoLangDialog, true);
    } catch (const std::exception&) {
      // Not stored: the warning comes again next time, which is all that is lost.
    }
    closeQuietly(registry);
  }
  return answer.Yes;
}

}  // namespace zv
