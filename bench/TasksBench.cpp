// Task bank figures: locating the last task of a full bank, and a new draw averaged over a
// whole round of 1500.

#include "tasks/BuiltinContent.h"
#include "tasks/TSmartRand.h"
#include "tasks/TaskCatalogue.h"
#include "tasks/TaskText.h"

#include <QList>

#include <benchmark/benchmark.h>

namespace {

// A full bank of 1500 tasks: the written tasks repeated in order until every index has one,
// so the scan to task 1500 passes as many bytes as the finished bank will.
QByteArray FullBank() {
  const zv::TaskCatalogue builtin(zv::content::TaskText(), {});
  QList<QByteArray> tasks;
  const QByteArrayView text = builtin.TaskText();
  qsizetype start = 1;
  for (qsizetype i = 1; i < text.size(); ++i) {
    if (text[i] != zv::kTaskEnd) continue;
    if (i > start) tasks.append(text.sliced(start, i - start).toByteArray());
    start = i + 1;
  }
  if (tasks.isEmpty())
    tasks.append(zv::Scramble("x") + 'o' + zv::Scramble("y") + 'o' + zv::Scramble("z") + 'o' + zv::Scramble("w"));
  QByteArray full(1, zv::kTaskEnd);
  for (int i = 0; i < 1500; ++i) full.append(tasks[i % tasks.size()]).append(zv::kTaskEnd);
  full.append('\0');
  return full;
}

void BM_LoadTask1500(benchmark::State& state) {
  const QByteArray bank = FullBank();
  const zv::TaskCatalogue catalogue(bank, {});
  zv::TaskRecord record;
  for (auto _ : state) benchmark::DoNotOptimize(catalogue.LoadTask(1500, record));
  state.counters["bank_bytes"] = static_cast<double>(bank.size());
}
BENCHMARK(BM_LoadTask1500)->Unit(benchmark::kMicrosecond);

void BM_DrawNewFullRound(benchmark::State& state) {
  zv::ClockSeededRandom random(1);
  for (auto _ : state) {
    zv::TSmartRand selector(1500, true, 50, random);
    for (int i = 0; i < 1500; ++i) benchmark::DoNotOptimize(selector.DrawNew());
  }
  state.SetItemsProcessed(state.iterations() * 1500);
}
BENCHMARK(BM_DrawNewFullRound)->Unit(benchmark::kMicrosecond);

}  // namespace
