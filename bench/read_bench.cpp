// How fast a folder is listed: tag presence and audio properties for 1,000 generated files,
// read the three ways the program can, with the files already in the system's cache.
// Each benchmark reports files per second ("items_per_second").

#include "audio/ID3.h"
#include "audio/ID3Edit.h"
#include "audio/Mp3InfoVBR.h"
#include "audio/clsXAnalyzer.h"
#include "support/Mp3Writer.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int FileCount = 1000;

// One album-like folder, made once for all benchmarks: every file with an ID3v2.3 tag of a few
// text frames and padding, 3 s of 128 kbit/s audio, every other file an ID3v1 trailer too,
// and every tenth a VBR stream with a Xing header instead.
class Folder {
public:
    Folder()
    {
        if (!dir_.isValid())
            std::abort();
        for (int i = 0; i < FileCount; ++i) {
            QByteArray bytes = Mp3Writer::id3v2({ { "TIT2", u"Title %1"_s.arg(i) }, { "TPE1", u"Artist"_s },
                                                    { "TALB", u"Album"_s }, { "TRCK", QString::number(i % 20 + 1) } },
                0, 512);
            if (i % 10 == 9) {
                Mp3Writer::Frame frame;
                bytes += Mp3Writer::vbrStream(frame, { 128, 160, 192 }, 115);
            } else {
                bytes += Mp3Writer::cbrFile(3.0, 128);
            }
            if (i % 2 == 0) {
                Mp3Writer::V1Fields v1;
                v1.title = u"Title %1"_s.arg(i);
                v1.track = i % 20 + 1;
                bytes += Mp3Writer::id3v1(v1);
            }
            const QString path = dir_.filePath(u"%1 - Title.mp3"_s.arg(i, 4, 10, QLatin1Char('0')));
            if (!Mp3Writer::save(path, bytes))
                std::abort();
            files_.append(path);
        }
        // Warm the cache: read every file once.
        for (const QString &path : std::as_const(files_)) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                benchmark::DoNotOptimize(file.readAll().size());
        }
    }

    [[nodiscard]] const QStringList &files() const { return files_; }

private:
    QTemporaryDir dir_;
    QStringList files_;
};

const Folder &folder()
{
    static const auto instance = std::make_unique<Folder>();
    return *instance;
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

// The stream analyzer behind clsXAnalyzer (first frame verified, Xing/VBRI headers read).
void BM_Analyzer(benchmark::State &state)
{
    const QStringList &files = folder().files();
    clsXAnalyzer analyzer;
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
