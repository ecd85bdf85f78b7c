#pragma once
// The album-like folder the benchmarks read: every file with an ID3v2.3 tag of a few text
// frames and padding, 3 s of 128 kbit/s audio, every other file an ID3v1 trailer too, and every
// tenth a VBR stream with a Xing header instead. Made once per count, then read once so the
// system's cache holds it.

#include "foundation/AppFolder.h"
#include "support/Mp3Writer.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <memory>

class BenchFolder
{
public:
    explicit BenchFolder(int count)
    {
        using namespace Qt::StringLiterals;
        if (!dir_.isValid())
            std::abort();
        for (int i = 0; i < count; ++i) {
            QByteArray bytes = Mp3Writer::id3v2({{"TIT2", u"Title %1"_s.arg(i)}, {"TPE1", u"Artist"_s},
                                                 {"TALB", u"Album"_s}, {"TRCK", QString::number(i % 20 + 1)}},
                0, 512);
            if (i % 10 == 9) {
                Mp3Writer::Frame frame;
                bytes += Mp3Writer::vbrStream(frame, {128, 160, 192}, 115);
            } else {
                bytes += Mp3Writer::cbrFile(3.0, 128);
            }
            if (i % 2 == 0) {
                Mp3Writer::V1Fields v1;
                v1.title = u"Title %1"_s.arg(i);
                v1.track = i % 20 + 1;
                bytes += Mp3Writer::id3v1(v1);
            }
            const QString name = u"%1 - Title.mp3"_s.arg(i, 5, 10, QLatin1Char('0'));
            if (!Mp3Writer::save(dir_.filePath(name), bytes))
                std::abort();
            names_.append(name);
            files_.append(dir_.filePath(name));
        }
        for (const QString &path : std::as_const(files_)) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                benchmark::DoNotOptimize(file.readAll().size());
        }
    }

    /// The folder of `count` files, made on first use.
    static const BenchFolder &of(int count)
    {
        static std::map<int, std::unique_ptr<BenchFolder>> folders;
        auto &folder = folders[count];
        if (!folder)
            folder = std::make_unique<BenchFolder>(count);
        return *folder;
    }

    [[nodiscard]] QString path() const { return dir_.path(); }
    [[nodiscard]] const QStringList &files() const { return files_; }
    [[nodiscard]] const QStringList &names() const { return names_; }

private:
    QTemporaryDir dir_;
    QStringList files_;
    QStringList names_;
};

/// Runs `run` once per iteration on a fresh copy of the named files of `sourceFolder`, made in a
/// folder "album" of a new temporary folder; copying and removing are not timed.
template <typename Run>
void timeOnFreshCopies(benchmark::State &state, const QString &sourceFolder, const QStringList &names, Run run)
{
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("album"));
        QDir().mkpath(folder);
        for (const QString &name : names)
            QFile::copy(sourceFolder + QLatin1Char('/') + name, folder + QLatin1Char('/') + name);
        // A rename job's undo journal goes with the copy, not into the user's data folder.
        AppFolder::setUserDataOverride(dir.filePath(QStringLiteral("data")));
        state.ResumeTiming();
        run(folder);
        state.PauseTiming();
        dir.remove();
        state.ResumeTiming();
    }
}
