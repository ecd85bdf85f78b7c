// What the undo journal costs the rename job of a 20-file album (album mask, new folder beside
// the old one, playlist): the whole job with its journal, the journal's own work for the same
// album alone (the job without it takes the difference), and the undo of the job. The journal's
// size is reported as a counter. Files and journals live on the same disk (no tmpfs), so the
// flushes to the disk are real.

#include "AlbumRenameInput.h"
#include "BenchFolder.h"
#include "foundation/AppFolder.h"
#include "foundation/Common.h"
#include "jobs/AlbumRenameJob.h"
#include "jobs/JobJournal.h"
#include "jobs/RenameUndo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int AlbumSize = 20;

/// The 20 files of the album as long songs: 4 minutes at 128 kbit/s (3.8 MB each), named as
/// BenchFolder names them.
QString longSongsFolder()
{
    static QTemporaryDir dir {QDir::currentPath() + u"/bench-songs-XXXXXX"_s};
    static const bool made = [] {
        const QByteArray song = Mp3Writer::id3v2({{"TIT2", u"Song"_s}}, 0, 512) + Mp3Writer::cbrFile(240.0, 128);
        for (const QString &name : BenchFolder::of(AlbumSize).names())
            Mp3Writer::save(dir.filePath(name), song);
        return true;
    }();
    (void)made;
    return dir.path();
}

/// A fresh copy of the album in its own folder, with the journals beside it.
struct AlbumCopy
{
    explicit AlbumCopy(bool longSongs = false)
    {
        QDir().mkpath(folder());
        const BenchFolder &source = BenchFolder::of(AlbumSize);
        const QString from = longSongs ? longSongsFolder() : source.path();
        for (const QString &name : source.names())
            QFile::copy(from + u'/' + name, folder() + u'/' + name);
        AppFolder::setUserDataOverride(dir.filePath(u"data"_s));
        // The copy is on the disk before the clock runs, as an album the user picks would be.
        ::sync();
    }
    ~AlbumCopy() { AppFolder::setUserDataOverride({}); }
    [[nodiscard]] QString folder() const { return dir.filePath(u"music/album"_s); }

    QTemporaryDir dir {QDir::currentPath() + u"/bench-journal-XXXXXX"_s};
};

// Argument 0: the benchmark folder's short files (48 KB); 1: songs of 4 minutes (3.8 MB).
void BM_RenameJobWithJournal(benchmark::State &state)
{
    qint64 journalBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto copy = std::make_unique<AlbumCopy>(state.range(0) == 1);
        const RenameJobInput in = albumRenameInput(copy->folder(), AlbumSize);
        ResultLog log;
        state.ResumeTiming();
        benchmark::DoNotOptimize(runAlbumRenameJob(in, log).started);
        state.PauseTiming();
        journalBytes = QFileInfo(JobJournal::list().value(0).path).size();
        copy.reset();
        state.ResumeTiming();
    }
    state.counters["journal_bytes"] = double(journalBytes);
    state.SetItemsProcessed(state.iterations() * AlbumSize);
}
BENCHMARK(BM_RenameJobWithJournal)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Every record the job writes for the album, with the reads and hashes behind them.
void BM_JournalAlone(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto copy = std::make_unique<AlbumCopy>();
        const QString album = copy->dir.filePath(u"music/Artist - Album"_s);
        state.ResumeTiming();
        JobJournal journal;
        benchmark::DoNotOptimize(journal.begin(copy->folder(), album, AlbumSize));
        (void)journal.recordMakeFolders({album});
        const QStringList &names = BenchFolder::of(AlbumSize).names();
        for (int i = 0; i < names.size(); ++i) {
            const QString from = copy->folder() + u'/' + names.at(i);
            (void)journal.recordFile(i + 1, from, album + u"/%1.mp3"_s.arg(i));
            journal.noteMoved(i + 1, album + u"/%1.mp3"_s.arg(i));
            (void)journal.recordTagWrite(i + 1);
            journal.noteTagged(i + 1, from);
        }
        (void)journal.recordOutput(album + u"/Artist - Album.pls"_s, JobJournal::hashBytes("[playlist]"));
        (void)journal.recordOldFolder(copy->folder(), album);
        journal.finish();
        state.PauseTiming();
        copy.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * AlbumSize);
}
BENCHMARK(BM_JournalAlone)->Unit(benchmark::kMillisecond);

void BM_UndoOfTheJob(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto copy = std::make_unique<AlbumCopy>();
        ResultLog log;
        (void)runAlbumRenameJob(albumRenameInput(copy->folder(), AlbumSize), log);
        state.ResumeTiming();
        const UndoReport report = RenameUndo::undo();
        if (!report.complete())
            state.SkipWithError("the undo left something");
        state.PauseTiming();
        copy.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * AlbumSize);
}
BENCHMARK(BM_UndoOfTheJob)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
