// The pre-flight's warnings about the album as a whole: what the files themselves say (their
// tags, their audio headers) set against each other and against the rename list.
#include "jobs/RenamePreflight.h"

#include "audio/LoadedTags.h"
#include "audio/Mp3FileBytes.h"
#include "audio/Mp3InfoVBR.h"
#include "foundation/Basic.h"

#include <QMap>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

/// What one row's file says about itself.
struct FileFacts
{
    int index = -1; ///< into the plan's rows
    QString artist, album; ///< from its own tags (version 2 first), trimmed
    bool audio = false; ///< an MPEG frame was found: the three values below are known
    int sampleRate = 0;
    bool vbr = false;
    qint64 seconds = 0;
};

/// "m:ss".
QString minutesText(qint64 seconds)
{
    return u"%1:%2"_s.arg(seconds / 60).arg(seconds % 60, 2, 10, QChar(u'0'));
}

/// A value of a file's tags as a warning shows it: quoted, and not longer than a line.
QString quoted(const QString &value)
{
    constexpr int Longest = 60;
    return u'"' + (value.size() > Longest ? value.left(Longest) + u"..."_s : value) + u'"';
}

/// Ranges of numbers as "3, 7-9"; at most `most` ranges, then "...".
QString rangesText(const QList<std::pair<qint64, qint64>> &ranges, int most = 10)
{
    QStringList parts;
    for (const auto &[from, to] : ranges) {
        if (parts.size() == most) {
            parts.append(u"..."_s);
            break;
        }
        parts.append(from == to ? QString::number(from) : u"%1-%2"_s.arg(from).arg(to));
    }
    return parts.join(u", "_s);
}

/// The value most files share (of equal counts the first met); with atLeastHalf only when at
/// least half of the files with a value hold it. Empty when no file has a value.
template<typename Key>
std::optional<Key> commonValue(const QList<FileFacts> &files,
                               const std::function<std::optional<Key>(const FileFacts &)> &keyOf, bool atLeastHalf)
{
    QList<Key> order;
    QMap<Key, int> counts;
    int withValue = 0;
    for (const FileFacts &file : files) {
        const std::optional<Key> key = keyOf(file);
        if (!key)
            continue;
        ++withValue;
        if (!counts.contains(*key))
            order.append(*key);
        ++counts[*key];
    }
    std::optional<Key> best;
    for (const Key &key : order)
        if (!best || counts.value(key) > counts.value(*best))
            best = key;
    if (!best || (atLeastHalf && counts.value(*best) * 2 < withValue))
        return std::nullopt;
    return best;
}

class AlbumCheck
{
public:
    explicit AlbumCheck(const AlbumRenamePlan &plan) : plan_(plan) {}

    QList<PreflightProblem> run()
    {
        readFiles();
        trackNumbers();
        names();
        audio();
        lengths();
        return warnings_;
    }

private:
    QString fileLabel(int index) const
    {
        const PlannedRename &planned = plan_.rows.at(index);
        return u"File %1 (%2)"_s.arg(planned.fileNumber).arg(planned.row.fileName);
    }

    void warn(int index, PreflightProblem::Kind kind, const QString &text) { warnings_.append({index, kind, text}); }

    void readFiles()
    {
        for (int index = 0; index < plan_.rows.size(); ++index) {
            const QString &source = plan_.rows.at(index).source;
            // One open for the tags and the audio figures.
            Mp3FileBytes bytes(source);
            if (bytes.openState() == Mp3FileBytes::OpenState::NoSuchFile
                || bytes.openState() == Mp3FileBytes::OpenState::NotAFile)
                continue; // the pre-flight's problems tell it already
            FileFacts facts;
            facts.index = index;
            const LoadedTags tags(bytes, source);
            facts.artist = Basic::trim(tags.value(u"Artist"_s));
            facts.album = Basic::trim(tags.value(u"Album"_s));
            if (bytes.isOpen()) {
                const Mp3InfoVBR::Reading reading = Mp3InfoVBR::read(bytes);
                facts.audio = reading.found && reading.info.sampleRate > 0;
                facts.sampleRate = reading.info.sampleRate;
                facts.vbr = reading.vbr;
                facts.seconds = reading.info.duration;
            }
            files_.append(facts);
        }
    }

    void trackNumbers()
    {
        // Every row, whether its file is there or not: the numbers are the rename list's.
        QMap<qint64, QList<int>> rowsOf;
        for (int index = 0; index < plan_.rows.size(); ++index) {
            const double value = Basic::val(plan_.rows.at(index).row.trackText);
            if (value >= 1 && value < 1e9)
                rowsOf[qint64(value)].append(index);
        }
        for (auto it = rowsOf.cbegin(); it != rowsOf.cend(); ++it) {
            if (it->size() < 2)
                continue;
            QStringList labels;
            for (int index : *it)
                labels.append(fileLabel(index));
            const QString last = labels.takeLast();
            warn(it->at(1), PreflightProblem::Kind::SameTrackNumber,
                 u"%1 and %2 have the same track number %3"_s.arg(labels.join(u", "_s), last).arg(it.key()));
        }
        QList<std::pair<qint64, qint64>> missing;
        qint64 expected = 1;
        for (auto it = rowsOf.cbegin(); it != rowsOf.cend(); ++it) {
            if (it.key() > expected)
                missing.append({expected, it.key() - 1});
            expected = it.key() + 1;
        }
        if (!missing.isEmpty())
            warn(-1, PreflightProblem::Kind::TrackNumberGap,
                 u"Track numbers missing between 1 and %1: %2"_s.arg(rowsOf.lastKey()).arg(rangesText(missing)));
    }

    void names()
    {
        const auto keyed = [](const QString FileFacts::*field) {
            return std::function<std::optional<QString>(const FileFacts &)>(
                [field](const FileFacts &file) -> std::optional<QString> {
                    if ((file.*field).isEmpty())
                        return std::nullopt;
                    return (file.*field).toCaseFolded();
                });
        };
        const auto artistKey = keyed(&FileFacts::artist);
        const auto albumKey = keyed(&FileFacts::album);
        const std::optional<QString> artist = commonValue<QString>(files_, artistKey, true);
        const std::optional<QString> album = commonValue<QString>(files_, albumKey, true);
        // The others' spelling as the first file of that value has it.
        const auto shownAs = [this](const QString FileFacts::*field, const QString &key) {
            for (const FileFacts &file : files_)
                if ((file.*field).toCaseFolded() == key)
                    return file.*field;
            return QString();
        };
        for (const FileFacts &file : files_) {
            QStringList parts;
            if (artist && artistKey(file) && *artistKey(file) != *artist)
                parts.append(u"the artist %1 (the others: %2)"_s.arg(quoted(file.artist),
                                                                      quoted(shownAs(&FileFacts::artist, *artist))));
            if (album && albumKey(file) && *albumKey(file) != *album)
                parts.append(u"the album %1 (the others: %2)"_s.arg(quoted(file.album),
                                                                     quoted(shownAs(&FileFacts::album, *album))));
            if (!parts.isEmpty())
                warn(file.index, PreflightProblem::Kind::OtherAlbum,
                     fileLabel(file.index) + u": its tags name "_s + parts.join(u" and "_s));
        }
    }

    void audio()
    {
        const std::optional<int> rate = commonValue<int>(files_, [](const FileFacts &f) -> std::optional<int> {
            return f.audio ? std::optional(f.sampleRate) : std::nullopt;
        }, false);
        const std::optional<bool> vbr = commonValue<bool>(files_, [](const FileFacts &f) -> std::optional<bool> {
            return f.audio ? std::optional(f.vbr) : std::nullopt;
        }, false);
        const auto mode = [](bool isVbr) { return isVbr ? u"VBR"_s : u"CBR"_s; };
        for (const FileFacts &file : files_) {
            if (!file.audio)
                continue;
            // Mixed rips are worth a word whether or not most files agree: the files told are
            // those that differ from the most common value.
            if (rate && file.sampleRate != *rate)
                warn(file.index, PreflightProblem::Kind::OtherSampleRate,
                     u"%1: its sample rate is %2 Hz, the others' %3 Hz (a folder mixing rips?)"_s
                         .arg(fileLabel(file.index)).arg(file.sampleRate).arg(*rate));
            if (vbr && file.vbr != *vbr)
                warn(file.index, PreflightProblem::Kind::OtherBitrateMode,
                     u"%1: it is %2, the others are %3 (a folder mixing rips?)"_s.arg(fileLabel(file.index),
                                                                                       mode(file.vbr), mode(*vbr)));
        }
    }

    void lengths()
    {
        for (const FileFacts &file : files_) {
            const int trackMs = plan_.rows.at(file.index).row.lengthMs;
            if (!file.audio || trackMs <= 0 || file.seconds <= 0)
                continue;
            const double track = trackMs / 1000.0;
            const double difference = double(file.seconds) - track;
            if (std::abs(difference) <= 10.0 || std::abs(difference) <= 0.05 * track)
                continue;
            warn(file.index, PreflightProblem::Kind::LengthFarFromTrack,
                 u"%1: it lasts %2, its track %3 (much %4)"_s.arg(fileLabel(file.index), minutesText(file.seconds),
                                                                   minutesText(std::llround(track)),
                                                                   difference < 0 ? u"shorter"_s : u"longer"_s));
        }
    }

    const AlbumRenamePlan &plan_;
    QList<FileFacts> files_;
    QList<PreflightProblem> warnings_;
};

} // namespace

QList<PreflightProblem> preflightAlbumWarnings(const AlbumRenamePlan &plan)
{
    return AlbumCheck(plan).run();
}
