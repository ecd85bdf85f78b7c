// What the pre-flight adds to the rename job of a 20-file album: the pre-flight alone (plan and
// checks, nothing changes), and the whole job on a fresh copy of the album each time, with the
// files in the system's cache.

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

RenameJobInput albumInput(const QString &folder)
{
    RenameJobInput in;
    in.currentDirectory = folder;
    const QStringList &names = BenchFolder::of(AlbumSize).names();
    for (int i = 0; i < names.size(); ++i)
        in.rows.append({u"Title %1"_s.arg(i), names.at(i), QString::asprintf("%02d", i + 1)});
    in.album = {u"Artist"_s, u"Album"_s, u"2001"_s, u"Rock"_s, u"Ripped"_s};
    in.naming.mask = u"%artist - %album\\%track - %title"_s;
    in.naming.destination = u"Parent directory"_s;
    in.outputs.playlist = true;
    return in;
}

void BM_Preflight(benchmark::State &state)
{
    const RenameJobInput in = albumInput(BenchFolder::of(AlbumSize).path());
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
        benchmark::DoNotOptimize(runAlbumRenameJob(albumInput(folder), log).started);
    });
    state.SetItemsProcessed(state.iterations() * AlbumSize);
}
BENCHMARK(BM_RenameJob)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
