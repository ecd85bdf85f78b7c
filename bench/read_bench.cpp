// How fast a folder is listed: tag presence and audio properties for 1,000 generated files,
// read the three ways the program can, with the files already in the system's cache.
// Each benchmark reports files per second ("items_per_second").

#include "audio/ID3.h"
#include "audio/ID3Edit.h"
#include "audio/Mp3InfoVBR.h"
#include "audio/XAnalyzerAnalysis.h"
#include "BenchFolder.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int FileCount = 1000;

const BenchFolder &folder()
{
    return BenchFolder::of(FileCount);
}

// The built-in reader: the ID3 module's trailer check and the MPEG header reader.
void BM_BuiltInReader(benchmark::State &state)
{
    const QStringList &files = folder().files();
    for (auto _ : state) {
        for (const QString &path : files) {
            benchmark::DoNotOptimize(ID3::hasID3v1Tag(path));
            benchmark::DoNotOptimize(Mp3InfoVBR::readMpegInfo(path).bitrate);
        }
    }
    state.SetItemsProcessed(state.iterations() * files.size());
}
BENCHMARK(BM_BuiltInReader)->Unit(benchmark::kMillisecond);

// The stream analyzer behind XAnalyzer::Analysis (first frame verified, Xing/VBRI headers read).
void BM_Analyzer(benchmark::State &state)
{
    const QStringList &files = folder().files();
    XAnalyzer::Analysis analyzer;
    for (auto _ : state) {
        for (const QString &path : files) {
            analyzer.setFilename(path);
            benchmark::DoNotOptimize(analyzer.BitRate());
        }
    }
    state.SetItemsProcessed(state.iterations() * files.size());
}
BENCHMARK(BM_Analyzer)->Unit(benchmark::kMillisecond);

// ID3Edit::Load: both tags of the file, every field read.
void BM_ID3EditLoad(benchmark::State &state)
{
    const QStringList &files = folder().files();
    ID3Edit tag;
    for (auto _ : state) {
        for (const QString &path : files) {
            tag.Load(path);
            benchmark::DoNotOptimize(tag.HasV2());
        }
    }
    state.SetItemsProcessed(state.iterations() * files.size());
}
BENCHMARK(BM_ID3EditLoad)->Unit(benchmark::kMillisecond);

// What the file list does per file: the tags through ID3Edit, then the header reader.
void BM_FileListRow(benchmark::State &state)
{
    const QStringList &files = folder().files();
    ID3Edit tag;
    for (auto _ : state) {
        for (const QString &path : files) {
            tag.Load(path);
            benchmark::DoNotOptimize(Mp3InfoVBR::readMpegInfo(path).duration);
        }
    }
    state.SetItemsProcessed(state.iterations() * files.size());
}
BENCHMARK(BM_FileListRow)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
