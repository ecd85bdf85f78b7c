#include "lookup/TrackOrdering.h"

#include "foundation/Basic.h"
#include "foundation/Common.h"
#include "naming/NamingText.h"

using namespace Qt::StringLiterals;

namespace {

/// The character at 0-based index i, or a null character past the end.
QChar charAt(const QString &text, qsizetype i)
{
    return i >= 0 && i < text.size() ? text.at(i) : QChar();
}

/// The points of one word of a file name at 0-based start b in a title.
int wordScore(const QString &word, bool firstWord, bool lastWord, const QString &trackName)
{
    qsizetype pos = -1;
    if (firstWord) {
        pos = trackName.indexOf(word + u' ', 0, Qt::CaseInsensitive);
    } else {
        const QString pattern = lastWord ? QString(u' ' + word) : QString(u' ' + word + u' ');
        pos = trackName.indexOf(pattern, 0, Qt::CaseInsensitive);
        if (pos >= 0)
            ++pos;
    }
    if (pos < 0)
        pos = trackName.indexOf(word, 0, Qt::CaseInsensitive);
    if (pos < 0)
        return 0;
    const qsizetype after = pos + word.size();
    bool whole = false;
    if (pos == 0)
        whole = charAt(trackName, after) == u' ';
    else
        whole = trackName.at(pos - 1) == u' ' && (after == trackName.size() || charAt(trackName, after) == u' ');
    return int(whole ? 3 * word.size() : word.size());
}

QString foldedFileTitle(const QString &fileName)
{
    return normalizeForCompare(Common::getFileTitle(fileName));
}

bool isPaired(const TrackRow &row)
{
    return row.fileName != AlbumRecord::notFound() && row.text != AlbumRecord::notFound();
}

} // namespace

void autoOrderScore(const QString &Filename, const QString &trackName, int &bestResult, QString &bestTrack,
                    int &valeurFileName, const QStringList &bestTrackAlreadyUsed)
{
    valeurFileName = 0;
    const QString trimmed = Basic::trim(Filename);
    if (!Filename.contains(u' ') || trimmed.size() == 1) {
        if (trackName.contains(trimmed, Qt::CaseInsensitive))
            valeurFileName = int(trimmed.size() * trimmed.size());
    } else {
        qsizetype start = 0;
        for (qsizetype blank = Filename.indexOf(u' '); blank >= 0; blank = Filename.indexOf(u' ', blank + 1)) {
            const QString word = Basic::trim(Filename.mid(start, blank - start));
            if (!word.isEmpty())
                valeurFileName += wordScore(word, start == 0, blank == Filename.size() - 1, trackName);
            start = blank + 1;
        }
    }
    if (valeurFileName > bestResult && !bestTrackAlreadyUsed.contains(trackName)) {
        bestResult = valeurFileName;
        bestTrack = trackName;
    }
}

QString distinguishingText(const QList<TrackRow> &rows, int i)
{
    const QString f = foldedFileTitle(rows.at(i).fileName);
    QString kept;
    for (qsizetype p = 0; p < f.size(); ++p) {
        const QChar c = f.at(p);
        bool keep = c == u' ' || c == u'0';
        for (int j = 0; j < rows.size() && !keep; ++j) {
            if (isPaired(rows.at(j)) && charAt(rows.at(j).fileName, p) != c)
                keep = true;
        }
        if (keep)
            kept += c;
    }
    return kept;
}

int orderTracks(QList<TrackRow> &rows, bool scoreOnly)
{
    const int count = int(rows.size());
    QStringList bestTrackAlreadyUsed;
    QList<QString> chosenTrack(count);
    QList<QString> chosenFile(count);
    QStringList folded;
    for (const TrackRow &row : rows)
        folded << normalizeForCompare(row.text);
    long long total = 0;
    long long maximum = 0;
    for (int i = 0; i < count; ++i) {
        if (rows.at(i).fileName == AlbumRecord::notFound())
            continue;
        const QString distinct = distinguishingText(rows, i);
        int bestResult = 0;
        QString bestTrack;
        for (int k = 0; k < count; ++k) {
            if (rows.at(k).text == AlbumRecord::notFound())
                continue;
            int points = 0;
            autoOrderScore(distinct + u' ', folded.at(k), bestResult, bestTrack, points, bestTrackAlreadyUsed);
            if (scoreOnly && k == i)
                total += points;
        }
        chosenTrack[i] = bestTrack;
        chosenFile[i] = rows.at(i).fileName;
        bestTrackAlreadyUsed << bestTrack;
        if (!scoreOnly)
            total += bestResult;
        maximum += 3 * QString(distinct).remove(u' ').size();
    }
    if (!scoreOnly) {
        for (TrackRow &row : rows)
            row.fileName = AlbumRecord::notFound();
        for (int i = 0; i < count; ++i) {
            if (chosenTrack.at(i).isEmpty())
                continue;
            const int k = int(folded.indexOf(chosenTrack.at(i)));
            if (k >= 0)
                rows[k].fileName = chosenFile.at(i);
        }
    }
    // Nothing to score (no paired file, or names that differ in blanks alone): 0, not a division by zero.
    return maximum > 0 ? int(Basic::roundEven(double(total) * 1000.0 / double(maximum))) : 0;
}

QString albumScoreText(int score)
{
    return u"Album score : %1/1000"_s.arg(score);
}

int moveTrackFile(QList<TrackRow> &rows, int selected, int direction)
{
    const int other = selected + direction;
    if (selected < 0 || selected >= rows.size() || other < 0 || other >= rows.size())
        return selected;
    std::swap(rows[selected].fileName, rows[other].fileName);
    return other;
}
