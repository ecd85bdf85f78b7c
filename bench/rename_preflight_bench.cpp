// What the pre-flight adds to the rename job of a 20-file album: the pre-flight alone (plan and
// checks, nothing changes), and the whole job on a fresh copy of the album each time, with the
// files in the system's cache.

#include "AlbumRenameInput.h"
#include "BenchFolder.h"
#include "jobs/AlbumRenameJob.h"
#include "jobs/RenamePlan.h"
#include "jobs/RenamePreflight.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int AlbumSize = 20;

void BM_Preflight(benchmark::State &state)
{
    const RenameJobInput in = albumRenameInput(BenchFolder::of(AlbumSize).path(), AlbumSize);
    for (auto _ : state)
        benchmark::DoNotOptimize(preflightRenamePlan(planAlbumRename(in)).size());
    state.SetItemsProcessed(state.iterations() * AlbumSize);
}
BENCHMARK(BM_Preflight)->Unit(benchmark::kMillisecond);

// The job as the rename page runs it: planned, then carried out.
void BM_RenameJob(benchmark::State &state)
{
    const BenchFolder &source = BenchFolder::of(AlbumSize);
    timeOnFreshCopies(state, source.path(), source.names(), [](const QString &folder) {
        ResultLog log;
        benchmark::DoNotOptimize(runAlbumRenameJob(albumRenameInput(folder, AlbumSize), log).started);
    });
    state.SetItemsProcessed(state.iterations() * AlbumSize);
}
BENCHMARK(BM_RenameJob)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
