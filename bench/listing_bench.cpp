// How fast the folder listing is: the rows of 1,000 generated files (tag state, size and audio
// columns, totals line), read on one thread and on the machine's cores, files in the cache.
// Each benchmark reports files per second ("items_per_second").

#include "BenchFolder.h"
#include "album/DirectoryListing.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int FileCount = 1000;

// Argument: the listing's threads (0: the machine's cores).
void BM_ListFolder(benchmark::State &state)
{
    const BenchFolder &folder = BenchFolder::of(FileCount);
    ListingOptions options;
    options.order = ListingOrder::Enumeration;
    options.threads = int(state.range(0));
    for (auto _ : state) {
        const ListingResult result = listDirectory(folder.path(), options);
        benchmark::DoNotOptimize(result.totalsLine.size());
    }
    state.SetItemsProcessed(state.iterations() * FileCount);
}
BENCHMARK(BM_ListFolder)->ArgName("threads")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// One row as the listing reads it: the one open and read of a file and both readers.
void BM_ListedFileRow(benchmark::State &state)
{
    const BenchFolder &folder = BenchFolder::of(FileCount);
    for (auto _ : state) {
        for (const QString &name : folder.names())
            benchmark::DoNotOptimize(readListedFile(folder.path(), name, true).durationSeconds);
    }
    state.SetItemsProcessed(state.iterations() * FileCount);
}
BENCHMARK(BM_ListedFileRow)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
