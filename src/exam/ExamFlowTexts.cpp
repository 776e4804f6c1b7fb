// The exam's fixed texts: list items, result messages and the counting words.

#include "exam/ExamFlow.h"
#include "exam/ExamFlowParts.h"

#include "exam/ElapsedTime.h"
#include "exam/Marks.h"
#include "platform/Cp1251.h"
#include "platform/MessageBox.h"
#include "platform/RandomSource.h"
#include "sound/SoundService.h"
#include "tasks/TSmartRand.h"
#include "tasks/TaskCatalogue.h"

#include <QStringList>

namespace zv {

using namespace examflow;

QString TimeLimitItem(int seconds) {
  return (seconds < 10 ? QStringLiteral("  ") : QString()) + QString::number(seconds) + S(" с");
}

QString ExamLengthItem(int index) {
  const int n = index + 5;
  return (n < 10 ? QStringLiteral("  ") : QString()) + QString::number(n);
}

QString PresentationName(int index) {
  static const QStringList names = {S("текст и звук"), S("только текст"), S("только звук")};
  return names.value(index);
}

const QStringList& ExamFlow::ResultMessages() {
  static const QStringList messages = {
      S("Выбран правильный аналог"),
      S("Выбран верный аналог"),
      S("Выбран правильный вариант"),
      S("Выбран верный вариант"),
      S("Выбран правильный ответ"),
      S("Выбран верный ответ"),
      S("Выбрано правильное толкование"),
      S("Выбрано верное толкование"),
      S("Выбрано правильное пояснение"),
      S("Выбрано верное пояснение"),
      S("Выбрана правильная трактовка"),
      S("Выбрана верная трактовка"),
  };
  return messages;
}

const QStringList& ExamFlow::CountingWords() {
  static const QStringList words = {
      S("Правильных"), S("Верных"), S("Радующих"), S("Точных"), S("В точку"), S("Разумных")};
  return words;
}

QString ExamFlow::NegateMessage(const QString& message) {
  const qsizetype blank = message.indexOf(QLatin1Char(' '));
  return blank < 0 ? message : message.left(blank + 1) + S("не") + message.mid(blank + 1);
}

QString ExamFlow::Continuation(const QString& negated) {
  // Without the first word, its blank and the "не": "Выбран неправильный аналог" gives
  // "Правильный аналог".
  const qsizetype p = negated.indexOf(QLatin1Char(' ')) + 1;  // 1-based position of the blank
  QString rest = negated.mid(p + 2);
  if (!rest.isEmpty()) rest[0] = rest[0].toUpper();
  return rest;
}

}  // namespace zv
