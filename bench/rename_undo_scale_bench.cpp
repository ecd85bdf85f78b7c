// How the rename job and its undo grow with the album: 1,000, 5,000 and 20,000 small files
// (ID3v2 tag, a fifth of a second of audio, every other file an ID3v1 trailer), renamed with the
// album mask into a new folder beside the old one and undone. Time per file should stay flat:
// nothing the job or the undo does for one file may look at all the others. The peak resident
// memory of the process is reported as a counter (it only grows, and the runs go from small to
// large, so a flat value means memory does not grow with the file count beyond the plan).
//
// Run: build/bench/bench-rename_undo_scale_bench (each size runs once; files and journals live
// on the disk under the current folder).

#include "foundation/AppFolder.h"
#include "jobs/AlbumRenameJob.h"
#include "jobs/JobJournal.h"
#include "jobs/RenameUndo.h"
#include "support/Mp3Writer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString nameOf(int i)
{
    return u"%1 - Title.mp3"_s.arg(i, 5, 10, QLatin1Char('0'));
}

/// The source album of `count` files, made once per count.
const QString &sourceAlbum(int count)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> made;
    static std::map<int, QString> paths;
    if (auto it = paths.find(count); it != paths.end())
        return it->second;
    auto dir = std::make_unique<QTemporaryDir>(QDir::currentPath() + u"/bench-scale-src-XXXXXX"_s);
    for (int i = 0; i < count; ++i) {
        Mp3Writer::Song song {.title = u"Title %1"_s.arg(i), .artist = u"Artist"_s, .album = u"Album"_s,
                              .track = i % 250 + 1, .seconds = 0.2, .withV1 = i % 2 == 0};
        if (!Mp3Writer::save(dir->filePath(nameOf(i)), Mp3Writer::song(song)))
            std::abort();
    }
    paths[count] = dir->path();
    made[count] = std::move(dir);
    return paths[count];
}

/// A fresh copy of the album with its own journal folder.
struct AlbumCopy
{
    explicit AlbumCopy(int count)
    {
        QDir().mkpath(folder());
        const QString from = sourceAlbum(count);
        for (int i = 0; i < count; ++i)
            QFile::copy(from + u'/' + nameOf(i), folder() + u'/' + nameOf(i));
        AppFolder::setUserDataOverride(dir.filePath(u"data"_s));
        ::sync();
    }
    ~AlbumCopy() { AppFolder::setUserDataOverride({}); }
    [[nodiscard]] QString folder() const { return dir.filePath(u"music/album"_s); }

    QTemporaryDir dir {QDir::currentPath() + u"/bench-scale-XXXXXX"_s};
};

RenameJobInput inputFor(const QString &folder, int count)
{
    RenameJobInput in;
    in.currentDirectory = folder;
    for (int i = 0; i < count; ++i)
        in.rows.append({u"Title %1"_s.arg(i), nameOf(i), QString::asprintf("%05d", i + 1)});
    in.album = {u"Artist"_s, u"Album"_s, u"2001"_s, u"Rock"_s, u"Ripped"_s};
    in.naming.mask = u"%artist - %album\\%track - %title"_s;
    in.naming.destination = u"Parent directory"_s;
    in.outputs.playlist = true;
    return in;
}

void reportPeakMemory(benchmark::State &state)
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024.0;
}

void BM_Rename(benchmark::State &state)
{
    const int count = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto copy = std::make_unique<AlbumCopy>(count);
        const RenameJobInput in = inputFor(copy->folder(), count);
        ResultLog log;
        state.ResumeTiming();
        const RenameJobOutcome out = runAlbumRenameJob(in, log);
        state.PauseTiming();
        if (log.errorCount() != 0 || log.renamedCount() != count)
            state.SkipWithError("the job did not rename every file");
        copy.reset();
        state.ResumeTiming();
    }
    state.counters["s_per_file"] =
        benchmark::Counter(double(count) * double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    reportPeakMemory(state);
}

void BM_Undo(benchmark::State &state)
{
    const int count = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto copy = std::make_unique<AlbumCopy>(count);
        ResultLog log;
        (void)runAlbumRenameJob(inputFor(copy->folder(), count), log);
        state.ResumeTiming();
        const UndoReport report = RenameUndo::undo();
        state.PauseTiming();
        if (!report.complete() || !QFile::exists(copy->folder() + u'/' + nameOf(count - 1)))
            state.SkipWithError("the undo left something");
        copy.reset();
        state.ResumeTiming();
    }
    state.counters["s_per_file"] =
        benchmark::Counter(double(count) * double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    reportPeakMemory(state);
}

BENCHMARK(BM_Rename)->Arg(1000)->Arg(5000)->Arg(20000)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_Undo)->Arg(1000)->Arg(5000)->Arg(20000)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
