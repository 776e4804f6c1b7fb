// Zorvik, the trainer. Until the main window is built the program shows what its task bank
// can do: it counts the bank, draws a saying and a few tasks without repetition and prints
// them with their interpretations, then ends. Nothing is stored.

#include "platform/Cp1251.h"
#include "platform/RandomSource.h"
#include "tasks/BuiltinContent.h"
#include "tasks/TSmartRand.h"
#include "tasks/TaskCatalogue.h"

#include <QCoreApplication>

#include <cstdio>

using namespace zv;

namespace {

void Print(const QString& text) { std::printf("%s\n", text.toUtf8().constData()); }

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ClockSeededRandom random;
  const TaskCatalogue catalogue(content::TaskText(), content::SayingsText());

  TaskRecord record;
  int written = 0;
  for (int index = 1; index <= 1500; ++index)
    if (catalogue.LoadTask(index, record) > 0) ++written;

  Print(QString::fromUtf8("Зорвик 1500: заданий в банке %1 из 1500, поговорок %2.")
            .arg(written).arg(catalogue.CountSayings()));
  Print(QString::fromUtf8("(Окно программы ещё не готово: показан пробный просмотр банка заданий.)\n"));

  if (catalogue.CountSayings() > 0) {
    TSmartRand sayings(catalogue.CountSayings(), false, 0, random);
    Print(cp1251::Decode(catalogue.DrawSaying(sayings)) + QLatin1Char('\n'));
  }

  TSmartRand tasks(1500, true, 50, random);
  for (int shown = 0, tries = 0; shown < 3 && written > 0 && tries < 5000; ++tries) {
    const int index = tasks.DrawNew();
    const int n = catalogue.LoadTask(index, record);
    if (n == 0) continue;
    ++shown;
    Print(QStringLiteral("%1. %2").arg(index).arg(cp1251::Decode(record.Slots[0])));
    for (int k = 1; k <= n; ++k)
      Print(QStringLiteral("   %1 %2").arg(k == 1 ? QStringLiteral("+") : QStringLiteral("-"),
                                          cp1251::Decode(record.Slots[static_cast<std::size_t>(k)])));
  }
  return 0;
}
