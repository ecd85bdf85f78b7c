#include "lookup/EvidencePairing.h"

#include "foundation/Common.h"
#include "lookup/Assignment.h"

#include <QSet>
#include <algorithm>
#include <cmath>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// How much each kind of evidence weighs when it is at hand: a title says most, a length a
// lot, a track number least (numbers are often wrong or counted over several discs).
constexpr double TitleWeight = 0.60;
constexpr double LengthWeight = 0.25;
constexpr double NumberWeight = 0.15;
// A number that differs weighs more than one that agrees: a length alike by chance must not
// pair a file numbered 2 with track 7, while a matching title still outweighs it.
constexpr double NumberMismatchWeight = 0.35;
// Lengths this close are the same recording; this far apart, nothing alike.
constexpr int LengthSameSeconds = 3;
constexpr int LengthOtherSeconds = 30;
// A name's text is a title when it has a real word or comes this close to one of the titles;
// short codes unlike every title ("a", "qwz", "x7f") tell nothing.
constexpr double NameTitleFloor = 0.45;
constexpr int RealWordLetters = 4;

/// Lower-case words of letters and digits, accents dropped, a word split where letters and
/// digits meet ("track01" -> "track", "01").
QStringList words(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_KD).toLower();
    QStringList result;
    QString word;
    auto flush = [&] {
        if (!word.isEmpty())
            result << std::exchange(word, QString());
    };
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if (!c.isLetterOrNumber()) {
            flush();
            continue;
        }
        if (!word.isEmpty() && word.back().isDigit() != c.isDigit())
            flush();
        word += c;
    }
    flush();
    return result;
}

bool isYear(const QString &w)
{
    if (w.size() != 4 || !std::all_of(w.begin(), w.end(), [](QChar c) { return c.isDigit(); }))
        return false;
    const int year = w.toInt();
    return year >= 1900 && year <= 2099;
}

bool isNumber(const QString &w)
{
    return !w.isEmpty() && std::all_of(w.begin(), w.end(), [](QChar c) { return c.isDigit(); });
}

/// The words of a title without the noise of reissues and editions.
QStringList titleWords(const QString &title)
{
    const QStringList all = words(title);
    static const QSet<QString> noise = {u"remastered"_s, u"remaster"_s, u"remastering"_s, u"digitally"_s,
                                        u"bonus"_s, u"explicit"_s, u"deluxe"_s, u"edition"_s, u"reissue"_s,
                                        u"feat"_s, u"ft"_s, u"featuring"_s};
    // Words that are noise only beside another: "2011 mix", "album version", "mono version".
    static const QSet<QString> qualifiers = {u"original"_s, u"album"_s, u"single"_s, u"stereo"_s, u"mono"_s};
    std::vector<char> drop(all.size(), 0);
    for (qsizetype i = 0; i < all.size(); ++i)
        drop[i] = noise.contains(all.at(i));
    for (qsizetype i = 0; i < all.size(); ++i) {
        const QString &w = all.at(i);
        const QString before = i > 0 ? all.at(i - 1) : QString();
        if ((w == u"mix" || w == u"version") && i > 0 && (isYear(before) || qualifiers.contains(before) || drop[i - 1])) {
            drop[i] = 1;
            drop[i - 1] = 1;
        }
        if (w == u"track" && i > 0 && all.at(i - 1) == u"bonus")
            drop[i] = 1;
        if ((w == u"mono" || w == u"stereo") && i > 0 && drop[i - 1])
            drop[i] = 1;
    }
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (isYear(all.at(i)) && ((i > 0 && drop[i - 1]) || (i + 1 < all.size() && drop[i + 1])))
            drop[i] = 1;
    }
    QStringList kept;
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (!drop[i])
            kept << all.at(i);
    }
    // A title that is nothing but noise ("Bonus Track") is still that title.
    return kept.isEmpty() ? all : kept;
}

using Bigrams = std::vector<quint32>;

Bigrams bigramsOf(const QString &folded)
{
    Bigrams result;
    if (folded.isEmpty())
        return result;
    const QString padded = u' ' + folded + u' ';
    result.reserve(padded.size());
    for (qsizetype i = 0; i + 1 < padded.size(); ++i)
        result.push_back((quint32(padded.at(i).unicode()) << 16) | padded.at(i + 1).unicode());
    std::sort(result.begin(), result.end());
    return result;
}

double likeness(const Bigrams &a, const Bigrams &b)
{
    if (a.empty() || b.empty())
        return 0;
    size_t i = 0, j = 0, shared = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i] == b[j]) {
            ++shared;
            ++i;
            ++j;
        } else if (a[i] < b[j]) {
            ++i;
        } else {
            ++j;
        }
    }
    return 2.0 * double(shared) / double(a.size() + b.size());
}

bool hasLongWord(const QString &folded)
{
    const QStringList list = folded.split(u' ', Qt::SkipEmptyParts);
    return std::any_of(list.begin(), list.end(), [](const QString &w) {
        return std::count_if(w.begin(), w.end(), [](QChar c) { return c.isLetter(); }) >= RealWordLetters;
    });
}

int letterCount(const QString &text)
{
    return int(std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLetter(); }));
}

double lengthLikeness(int fileSeconds, int trackSeconds)
{
    if (fileSeconds < 0 || trackSeconds < 0)
        return -1;
    const int off = std::abs(fileSeconds - trackSeconds);
    if (off <= LengthSameSeconds)
        return 1;
    if (off >= LengthOtherSeconds)
        return 0;
    return double(LengthOtherSeconds - off) / double(LengthOtherSeconds - LengthSameSeconds);
}

} // namespace

QString foldTitle(const QString &title)
{
    return titleWords(title).join(u' ');
}

double titleLikeness(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return 0;
    if (a == b)
        return 1;
    return likeness(bigramsOf(a), bigramsOf(b));
}

int leadingTrackNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    qsizetype end = i;
    while (end < text.size() && end - i < 4 && text.at(end).isDigit())
        ++end;
    if (end == i || end - i > 3)
        return 0;
    return text.mid(i, end - i).toInt();
}

QString lengthText(int seconds)
{
    if (seconds < 0)
        return u"?"_s;
    return u"%1:%2"_s.arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

struct EvidenceScorer::Data
{
    struct File
    {
        bool hasTitle = false;
        QString nameText;
        int number = 0;
        int length = -1;
    };
    struct Track
    {
        int number = 0;
        int length = -1;
    };
    QList<File> files;
    QList<Track> tracks;
    // Title likeness per pair, -1 where the file has no title evidence.
    std::vector<float> titles;

    [[nodiscard]] float title(int file, int track) const
    {
        return titles[size_t(file) * size_t(tracks.size()) + size_t(track)];
    }
};

EvidenceScorer::EvidenceScorer(const QList<FileEvidence> &files, const QList<TrackEvidence> &tracks)
    : d(std::make_unique<Data>())
{
    const int fileCount = int(files.size());
    const int trackCount = int(tracks.size());
    // Words every file's name holds (artist, album, "track") tell no file apart.
    QList<QStringList> nameWords;
    for (const FileEvidence &file : files)
        nameWords << words(Common::getFileTitle(file.fileName));
    QSet<QString> shared;
    if (fileCount >= 2) {
        shared = QSet<QString>(nameWords.first().begin(), nameWords.first().end());
        for (const QStringList &list : std::as_const(nameWords))
            shared &= QSet<QString>(list.begin(), list.end());
    }

    std::vector<Bigrams> trackGrams;
    trackGrams.reserve(size_t(trackCount));
    for (const TrackEvidence &track : tracks) {
        trackGrams.push_back(bigramsOf(foldTitle(track.title)));
        d->tracks.append({track.number, track.lengthSeconds});
    }
    d->titles.assign(size_t(fileCount) * size_t(trackCount), -1.0f);
    for (int i = 0; i < fileCount; ++i) {
        const FileEvidence &file = files.at(i);
        Data::File f;
        f.length = file.lengthSeconds;
        QStringList rest;
        for (const QString &w : nameWords.at(i)) {
            if (!shared.contains(w))
                rest << w;
        }
        // A leading number of the name is its track; "1 04" (disc, track) gives the second.
        int nameNumber = 0;
        if (!rest.isEmpty() && isNumber(rest.first()) && rest.first().size() <= 3) {
            nameNumber = rest.first().toInt();
            if (rest.size() > 1 && isNumber(rest.at(1)) && rest.at(1).size() <= 3 && rest.first().size() == 1)
                nameNumber = rest.at(1).toInt();
            while (!rest.isEmpty() && isNumber(rest.first()))
                rest.removeFirst();
        }
        f.nameText = foldTitle(rest.join(u' '));
        if (letterCount(f.nameText) < 2)
            f.nameText.clear();
        const int tagNumber = leadingTrackNumber(file.tagTrack);
        f.number = tagNumber > 0 ? tagNumber : nameNumber;

        const QString tagTitle = foldTitle(file.tagTitle);
        const Bigrams tagGrams = bigramsOf(tagTitle);
        const Bigrams nameGrams = bigramsOf(f.nameText);
        float *row = d->titles.data() + size_t(i) * size_t(trackCount);
        double bestName = 0;
        for (int k = 0; k < trackCount; ++k) {
            const double name = nameGrams.empty() ? 0 : likeness(nameGrams, trackGrams[size_t(k)]);
            bestName = std::max(bestName, name);
            row[k] = float(name);
        }
        const bool nameCounts = !nameGrams.empty() && (bestName >= NameTitleFloor || hasLongWord(f.nameText));
        f.hasTitle = !tagGrams.empty() || nameCounts;
        for (int k = 0; k < trackCount; ++k) {
            const double tag = tagGrams.empty() ? 0 : likeness(tagGrams, trackGrams[size_t(k)]);
            row[k] = f.hasTitle ? float(std::max(tag, nameCounts ? double(row[k]) : 0.0)) : -1.0f;
        }
        d->files.append(f);
    }
}

EvidenceScorer::~EvidenceScorer() = default;

int EvidenceScorer::fileCount() const
{
    return int(d->files.size());
}

int EvidenceScorer::trackCount() const
{
    return int(d->tracks.size());
}

double EvidenceScorer::titlePart(int file, int track) const
{
    return d->title(file, track);
}

double EvidenceScorer::lengthPart(int file, int track) const
{
    return lengthLikeness(d->files.at(file).length, d->tracks.at(track).length);
}

QString EvidenceScorer::nameText(int file) const
{
    return d->files.at(file).nameText;
}

int EvidenceScorer::score(int file, int track) const
{
    const Data::File &f = d->files.at(file);
    const Data::Track &t = d->tracks.at(track);
    double points = 0;
    double weight = 0;
    const double title = d->title(file, track);
    if (title >= 0) {
        points += TitleWeight * title;
        weight += TitleWeight;
    }
    const double length = lengthLikeness(f.length, t.length);
    if (length >= 0) {
        points += LengthWeight * length;
        weight += LengthWeight;
    }
    if (f.number > 0 && t.number > 0) {
        points += f.number == t.number ? NumberWeight : 0;
        weight += f.number == t.number ? NumberWeight : NumberMismatchWeight;
    }
    return weight > 0 ? int(std::lround(100.0 * points / weight)) : 0;
}

PairScore EvidenceScorer::explain(int file, int track) const
{
    const Data::File &f = d->files.at(file);
    const Data::Track &t = d->tracks.at(track);
    QStringList parts;
    if (const double title = d->title(file, track); title >= 0)
        parts << u"title %1 %"_s.arg(std::lround(title * 100));
    if (f.length >= 0 && t.length >= 0)
        parts << u"length %1 / %2"_s.arg(lengthText(f.length), lengthText(t.length));
    if (f.number > 0 && t.number > 0)
        parts << (f.number == t.number ? u"track %1"_s.arg(t.number) : u"track %1 / %2"_s.arg(f.number).arg(t.number));
    return {score(file, track), parts.isEmpty() ? u"no evidence"_s : parts.join(u", "_s)};
}

EvidencePairing pairByEvidence(const EvidenceScorer &scorer, int threshold)
{
    const int files = scorer.fileCount();
    const int tracks = scorer.trackCount();
    EvidencePairing result;
    result.trackOfFile = QList<int>(files, -1);
    result.scores = QList<PairScore>(files);
    if (files == 0 || tracks == 0)
        return result;
    // The shorter side takes the rows: every file or every track is paired, the rest of the
    // longer side stays open, and the work grows with the longer side only once (a dozen
    // tracks against thousands of files). A pair below the threshold is worth nothing, as no
    // pair is. A pair off its own position costs one tie unit, less than the smallest step of
    // a score summed over the album, so it only decides between equal sums.
    const bool byFile = files <= tracks;
    const int rows = byFile ? files : tracks;
    const int columns = byFile ? tracks : files;
    const long long scale = columns + 1;
    std::vector<long long> cost(size_t(rows) * size_t(columns));
    std::vector<int> scores(size_t(files) * size_t(tracks));
    for (int i = 0; i < files; ++i) {
        for (int j = 0; j < tracks; ++j) {
            const int s = scorer.score(i, j);
            scores[size_t(i) * size_t(tracks) + size_t(j)] = s;
            const int worth = s >= threshold ? s : 0;
            const size_t at = byFile ? size_t(i) * size_t(columns) + size_t(j) : size_t(j) * size_t(columns) + size_t(i);
            cost[at] = (100 - worth) * scale + (i == j ? 0 : 1);
        }
    }
    const std::vector<int> column = solveAssignment(cost, rows, columns);
    for (int r = 0; r < int(column.size()); ++r) {
        const int i = byFile ? r : column[size_t(r)];
        const int j = byFile ? column[size_t(r)] : r;
        if (i >= 0 && i < files && j >= 0 && j < tracks && scores[size_t(i) * size_t(tracks) + size_t(j)] >= threshold) {
            result.trackOfFile[i] = j;
            result.scores[i] = scorer.explain(i, j);
        }
    }
    return result;
}
