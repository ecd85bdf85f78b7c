// What checking every tag write costs the rename job on a 20-file album of four-minute songs
// (128 kbit/s, about 3.8 MB each, an ID3v2 tag with padding and an ID3v1 trailer): the whole job
// on a fresh copy of the album each time, with the files in the system's cache, and the check's
// own reads of one file (the read before the write, the audio hash after it).

#include "BenchFolder.h"
#include "audio/TagWriteCheck.h"
#include "jobs/AlbumRenameJob.h"
#include "support/Mp3Writer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int AlbumSize = 20;

struct Album
{
    QTemporaryDir dir;
    QStringList names;

    Album()
    {
        for (int i = 0; i < AlbumSize; ++i) {
            const QString name = u"%1 - Title.mp3"_s.arg(i, 2, 10, QLatin1Char('0'));
            const QByteArray bytes = Mp3Writer::id3v2({{"TIT2", u"Title %1"_s.arg(i)}, {"TPE1", u"Artist"_s}}, 0, 1024)
                + Mp3Writer::cbrFile(240.0 + i, 128) + Mp3Writer::id3v1({.title = u"Title %1"_s.arg(i), .track = i + 1});
            if (!Mp3Writer::save(dir.filePath(name), bytes))
                std::abort();
            names.append(name);
        }
    }
    static const Album &get()
    {
        static const Album album;
        return album;
    }
};

void BM_RenameJobFullSizeAlbum(benchmark::State &state)
{
    const Album &source = Album::get();
    timeOnFreshCopies(state, source.dir.path(), source.names, [&source](const QString &folder) {
        RenameJobInput in;
        in.currentDirectory = folder;
        for (int i = 0; i < source.names.size(); ++i)
            in.rows.append({u"Title %1"_s.arg(i), source.names.at(i), QString::asprintf("%02d", i + 1)});
        in.album = {u"Artist"_s, u"Album"_s, u"2001"_s, u"Rock"_s, u"Ripped"_s};
        in.naming.mask = u"%track - %title"_s;
        in.naming.destination = u"MP3 directory"_s;
        ResultLog log;
        benchmark::DoNotOptimize(runAlbumRenameJob(in, log).started);
    });
    state.SetItemsProcessed(state.iterations() * AlbumSize);
}
BENCHMARK(BM_RenameJobFullSizeAlbum)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The reads the check adds per file: the one before the write, keeping the bytes, and the
// audio hash after it.
void BM_CheckReadsOfOneFile(benchmark::State &state)
{
    const Album &source = Album::get();
    const QString path = source.dir.filePath(source.names.first());
    for (auto _ : state) {
        benchmark::DoNotOptimize(TagWriteCheck::readBefore(path).bytes->size());
        benchmark::DoNotOptimize(TagWriteCheck::audioHash(path).size());
    }
    state.SetBytesProcessed(state.iterations() * 2 * QFile(path).size());
}
BENCHMARK(BM_CheckReadsOfOneFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
