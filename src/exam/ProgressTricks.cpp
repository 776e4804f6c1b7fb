#include "exam/ProgressTricks.h"

#include "exam/Protocol.h"
#include "tasks/TSmartRand.h"

namespace zv {

QString ProgressExportFileName(const QDateTime& now, const QLocale& locale) {
  QString stamp = locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                  locale.toString(now.time(), LongTimeWithoutZone(locale));
  stamp.replace(QLatin1Char(' '), QLatin1Char('_'))
      .replace(QLatin1Char('/'), QLatin1Char('.'))
      .replace(QLatin1Char(':'), QLatin1Char('-'));
  return QStringLiteral("ZZ_") + stamp + QStringLiteral(".reg");
}

QString ExportCannotCreateText(const QString& fileName) {
  return QStringLiteral("Невозможно сохранить текущий набор как ") + fileName;
}

QString ExportWriteFailedText() { return QStringLiteral("Невозможно получить текущий набор из системного реестра"); }

QString ExportDoneText(const QString& fileName) {
  return QStringLiteral("Текущий набор пройденных заданий сохранён на \"Рабочем столе\"\r\nв файле ") + fileName +
         QStringLiteral(".\r\n\r\n") +
         QStringLiteral("Достаточно кликнуть по этому файлу ПРИ НЕЗАПУЩЕННОЙ ПРОГРАММЕ\r\n") +
         QStringLiteral("и   согласиться   на   добавление   информации   в   реестр  -\r\n") +
         QStringLiteral("программа при следующем запуске установится в записанное в файле состояние.\r\n\r\n") +
         QStringLiteral("Перенеся файл на другой компьютер и кликнув по нему там,\r\n") +
         QStringLiteral("можно выполнить перенос состояния программы между компьютерами.");
}

QString ForgetQuestionText() {
  return QStringLiteral("Действительно ли Вы хотите вернуть\r\nпройденные задания в список непройденных?");
}

void ForgetProgress(TSmartRand& tasks, TSmartRand& remarks, ExamStatistics& statistics) {
  for (TSmartRand* s : {&tasks, &remarks}) {
    s->Reset(true);
    s->ClearDone();
    s->CandidatesStale = true;
  }
  statistics.RCount = 0;
}

}  // namespace zv
