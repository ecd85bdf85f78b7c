// What saving the mask editor's list costs with many user masks: N user masks after the twelve
// defaults, saved into a User.ini that already holds them (the editor's usual save) and into
// one holding twice as many (the stale keys after them are removed).

#include "foundation/AppFolder.h"
#include "naming/MaskFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

QList<EditorMask> editorList(int userMasks)
{
    QList<EditorMask> list;
    for (int i = 1; i <= userMasks; ++i)
        list.append({u"%artist - %album\\%track - %title "_s + QString::number(i), MaskType::User});
    for (const QString &mask : defaultMasks())
        list.append({mask, MaskType::Default});
    return list;
}

// Argument 0: user masks; argument 1: 1 when the file holds twice as many before the save.
void BM_SaveMasks(benchmark::State &state)
{
    const int count = int(state.range(0));
    const QList<EditorMask> list = editorList(count);
    const QList<EditorMask> before = editorList(state.range(1) == 1 ? 2 * count : count);
    QTemporaryDir dir {QDir::currentPath() + u"/bench-masks-XXXXXX"_s};
    AppFolder::setOverride(dir.path());
    for (auto _ : state) {
        state.PauseTiming();
        (void)saveMasks(before);
        state.ResumeTiming();
        benchmark::DoNotOptimize(saveMasks(list).size());
    }
    AppFolder::setOverride({});
    state.SetItemsProcessed(state.iterations() * count);
}

} // namespace

BENCHMARK(BM_SaveMasks)->Args({1000, 0})->Args({5000, 0})->Args({20000, 0})->Args({1000, 1})
    ->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
