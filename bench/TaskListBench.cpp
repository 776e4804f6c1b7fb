// The task list's figures, offscreen:
//  - building: the 1500-line text from the bank with messages processed every 16 lines
//    (core), its rendering into a document, its full layout, and the whole opening of the
//    window until its first paint;
//  - a two-word search on the full list, rendered into the view and painted;
//  - "Список": the full list back in the view after a search, painted;
//  - memory of the kept full list (the document of runs and the rendered text), reported as
//    counters from the allocator's figures.

#include "exam/TaskList.h"
#include "platform/RandomSource.h"
#include "platform/Registry.h"
#include "tasks/BuiltinContent.h"
#include "tasks/TSmartRand.h"
#include "tasks/TaskCatalogue.h"
#include "ui/ProtocolView.h"
#include "ui/TAidForm.h"

#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>

#include <malloc.h>

namespace zv {
namespace {

struct Bank {
  ClockSeededRandom random{3};
  TSmartRand tasks{1500, true, 50, random};
  TSmartRand remarks{18, false, 5, random};
  TaskCatalogue catalogue{content::TaskText(), content::SayingsText()};
  ExamStatistics statistics{120, 46000.0};
  QTemporaryDir dir;
  Registry registry{RegistryPaths::inOneFolder(dir.path())};

  Bank() {
    for (int t = 1; t <= 1500; t += 7) tasks.MarkUsed(t);  // some struck out, statistics shown
  }
  TaskListInput Input() { return {catalogue, content::DisplayOrder(), tasks, statistics, QDate(2025, 12, 6), 5}; }
  TaskListContext Context() {
    return {catalogue,
            content::DisplayOrder(),
            tasks,
            remarks,
            statistics,
            5,
            false,
            1500,
            QStringLiteral("Зорвик"),
            QStringLiteral("Software\\Ostwin\\Zorvik"),
            &registry,
            QString(),
            {},
            {},
            [] {
              QCoreApplication::processEvents();
              return true;
            },
            {}};
  }
};

std::size_t Allocated() { return mallinfo2().uordblks; }

void BM_BuildListText(benchmark::State& state) {
  Bank bank;
  for (auto _ : state) {
    auto list = BuildTaskList(bank.Input(), [] {
      QCoreApplication::processEvents();
      return true;
    });
    benchmark::DoNotOptimize(list);
  }
}
BENCHMARK(BM_BuildListText)->Unit(benchmark::kMillisecond);

// The text rendered into a document of its own (as the window does) and its full layout.
void BM_RenderListText(benchmark::State& state) {
  Bank bank;
  const ProtocolDocument list = *BuildTaskList(bank.Input());
  for (auto _ : state) {
    QTextDocument document;
    RenderProtocol(list, document);
    benchmark::DoNotOptimize(document.blockCount());
  }
}
BENCHMARK(BM_RenderListText)->Unit(benchmark::kMillisecond);

void BM_RenderIntoLaidOutDocument(benchmark::State& state) {
  Bank bank;
  const ProtocolDocument list = *BuildTaskList(bank.Input());
  QTextDocument document;
  document.documentLayout();
  for (auto _ : state) {
    RenderProtocol(list, document);
    benchmark::DoNotOptimize(document.blockCount());
  }
}
BENCHMARK(BM_RenderIntoLaidOutDocument)->Unit(benchmark::kMillisecond);

void BM_LayOutListText(benchmark::State& state) {
  Bank bank;
  const ProtocolDocument list = *BuildTaskList(bank.Input());
  for (auto _ : state) {
    state.PauseTiming();
    QTextDocument document;
    RenderProtocol(list, document);
    document.setTextWidth(570);
    state.ResumeTiming();
    benchmark::DoNotOptimize(document.documentLayout()->documentSize());
  }
}
BENCHMARK(BM_LayOutListText)->Unit(benchmark::kMillisecond);

// The opening as the user sees it: settings, building, rendering, the window shown and its
// first paint (the view lays the rest out in steps of its own).
void BM_OpenListWindow(benchmark::State& state) {
  Bank bank;
  QWidget main;
  TAidForm form(&main);
  for (auto _ : state) {
    form.OpenList(bank.Context());
    QCoreApplication::processEvents();
    state.PauseTiming();
    form.reject();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenListWindow)->Unit(benchmark::kMillisecond);

void BM_TwoWordSearch(benchmark::State& state) {
  Bank bank;
  QWidget main;
  TAidForm form(&main);
  form.OpenList(bank.Context());
  QCoreApplication::processEvents();
  int found = 0;
  for (auto _ : state) {
    form.KeyEdit->setText(QStringLiteral("НЕ ТАК"));
    form.FilterBitBtnClick();
    QCoreApplication::processEvents();
    found = form.FoundCount();
    state.PauseTiming();
    form.KeyEdit->clear();
    state.ResumeTiming();
  }
  state.counters["found"] = found;
  form.reject();
}
BENCHMARK(BM_TwoWordSearch)->Unit(benchmark::kMillisecond);

void BM_RestoreFullList(benchmark::State& state) {
  Bank bank;
  QWidget main;
  TAidForm form(&main);
  form.OpenList(bank.Context());
  QCoreApplication::processEvents();
  for (auto _ : state) {
    state.PauseTiming();
    form.KeyEdit->setText(QStringLiteral("ДА"));
    form.FilterBitBtnClick();
    QCoreApplication::processEvents();
    state.ResumeTiming();
    form.WholeListBitBtn->click();
    QCoreApplication::processEvents();
  }
  form.reject();
}
BENCHMARK(BM_RestoreFullList)->Unit(benchmark::kMillisecond);

void BM_KeptFullListMemory(benchmark::State& state) {
  Bank bank;
  std::size_t model = 0;
  std::size_t text = 0;
  for (auto _ : state) {
    const std::size_t before = Allocated();
    auto list = BuildTaskList(bank.Input());
    const std::size_t built = Allocated();
    QTextDocument document;
    RenderProtocol(*list, document);
    document.documentLayout()->documentSize();
    model = built - before;
    text = Allocated() - built;
  }
  state.counters["runs_kB"] = static_cast<double>(model) / 1024.0;
  state.counters["rendered_kB"] = static_cast<double>(text) / 1024.0;
}
BENCHMARK(BM_KeptFullListMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace zv

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
