// Track lists from pasted or selected text: one track a line.
#include "lookup/TrackListCollect.h"

using namespace Qt::StringLiterals;

namespace TrackList {

bool Collected::add(const QStringList &cells, bool implicitlyNumbered)
{
    if (entries.size() >= MaxTracks) {
        capped = true;
        return false;
    }
    const TrackLine line = readLine(cells, header);
    if (line.kind == TrackLine::Kind::Header) {
        header = line;
        return true;
    }
    if (line.kind != TrackLine::Kind::Track)
        return true;
    const bool isNumbered = implicitlyNumbered || !line.number.isEmpty();
    QString withNumber;
    static const QRegularExpression digits(u"^\\d{1,3}$"_s);
    if (!implicitlyNumbered && digits.match(line.number).hasMatch()) {
        const TrackLine whole = readLineAs(cells, header, false);
        if (whole.kind == TrackLine::Kind::Track && whole.title.startsWith(line.number + u' '))
            withNumber = whole.title;
    }
    entries.append({line.title, line.lengthMs, isNumbered, withNumber});
    numbered += isNumbered ? 1 : 0;
    withLength += line.lengthMs > 0 ? 1 : 0;
    return true;
}

void Collected::keepNumberedWhenMost()
{
    if (numbered == 0)
        return;
    if (numbered * 2 < entries.size()) {
        // "Salt and Cedar", "99 Luftballons", "Night Ferry": the digits are the title's own.
        for (Entry &e : entries) {
            if (e.numbered && !e.withNumber.isEmpty()) {
                e.title = e.withNumber;
                e.numbered = false;
                --numbered;
            }
        }
        return;
    }
    QList<Entry> kept;
    for (const Entry &e : std::as_const(entries)) {
        if (e.numbered)
            kept.append(e);
    }
    entries = kept;
    withLength = 0;
    for (const Entry &e : std::as_const(entries))
        withLength += e.lengthMs > 0 ? 1 : 0;
}

void Collected::into(CapturedAlbum &album) const
{
    for (const Entry &e : entries)
        album.tracks.append({e.title, e.lengthMs});
    if (capped)
        album.notes << u"The list holds more than %1 tracks: only the first %1 were taken."_s.arg(MaxTracks);
}

bool splitArtistAlbum(const QString &text, QString &artist, QString &album)
{
    for (const QString &dash : {u" – "_s, u" — "_s, u" - "_s}) {
        const qsizetype at = text.indexOf(dash);
        if (at > 0 && at + dash.size() < text.size()) {
            artist = fieldValue(text.left(at));
            album = fieldValue(text.mid(at + dash.size()));
            return !artist.isEmpty() && !album.isEmpty();
        }
    }
    return false;
}

QString yearIn(const QString &text)
{
    static const QRegularExpression year(u"(?<!\\d)((?:19|20)\\d\\d)(?!\\d)"_s);
    return year.match(text).captured(1);
}

QString fieldValue(const QString &text)
{
    return cleanText(text).simplified().left(MaxValueLength);
}

namespace {

/// A line that is a track number alone ("1", "01", "1."): the number, else 0.
int bareNumber(const QString &line)
{
    static const QRegularExpression bare(u"^\\s*(\\d{1,3})\\.?\\s*$"_s);
    const QRegularExpressionMatch m = bare.match(line);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

} // namespace

StackedLines::StackedLines(std::function<bool(const QString &)> out) : out_(std::move(out)) {}

bool StackedLines::push(const QString &line)
{
    const int n = bareNumber(line);
    if (number_ > 0) {
        if (n == number_ + 1 && !titleOf().isEmpty()) {
            // The next track follows: the block was one track.
            previousLines_ = int(block_.size());
            previousEndsWithLength_ = parseLength(block_.last()) > 0;
            if (!out_(joined()))
                return false;
            stacked_ = true;
            block_ = {line};
            number_ = n;
            return true;
        }
        const bool complete = stacked_
                              && (previousEndsWithLength_ ? parseLength(block_.last()) > 0
                                                          : block_.size() >= previousLines_);
        if (n == 0 && !complete && block_.size() < MaxBlockLines) {
            if (!line.trimmed().isEmpty())
                block_ << line;
            return true;
        }
        if (!finish())
            return false;
    }
    if (n > 0) {
        block_ = {line};
        number_ = n;
        return true;
    }
    return out_(line);
}

bool StackedLines::finish()
{
    const QStringList block = std::exchange(block_, {});
    const bool stacked = std::exchange(stacked_, false);
    number_ = 0;
    if (block.isEmpty())
        return true;
    if (stacked)
        return out_(joined(block));
    for (const QString &line : block) {
        if (!out_(line))
            return false;
    }
    return true;
}

QString StackedLines::titleOf(const QStringList &block)
{
    for (qsizetype i = 1; i < block.size(); ++i) {
        if (!block.at(i).trimmed().isEmpty() && parseLength(block.at(i)) == 0)
            return block.at(i).trimmed();
    }
    return {};
}

QString StackedLines::joined(const QStringList &block)
{
    QString length;
    for (qsizetype i = 1; i < block.size() && length.isEmpty(); ++i) {
        if (parseLength(block.at(i)) > 0)
            length = block.at(i).trimmed();
    }
    return u"%1.\t%2\t%3"_s.arg(bareNumber(block.first())).arg(titleOf(block), length);
}

CapturedAlbum readText(const QString &text)
{
    CapturedAlbum album;
    const QString clean = cleanText(QStringView(text).left(MaxTextLength));
    if (text.size() > MaxTextLength)
        album.notes << u"The text is longer than %1 characters: only its beginning was read."_s.arg(MaxTextLength);
    Collected list;
    // The first unnumbered line before the first numbered one may name the album.
    QString firstLine;
    bool longLine = false;
    StackedLines lines([&](const QString &line) {
        if (firstLine.isEmpty() && list.numbered == 0 && !line.trimmed().isEmpty()
            && readLine(line.split(u'\t')).kind == TrackLine::Kind::Track)
            firstLine = line;
        return list.add(line.split(u'\t'));
    });
    for (QStringView line : QStringTokenizer(clean, u'\n')) {
        longLine = longLine || line.size() > MaxLineLength;
        if (!lines.push(line.left(MaxLineLength).toString()))
            break;
    }
    lines.finish();
    if (longLine)
        album.notes << u"A line of more than %1 characters was cut."_s.arg(MaxLineLength);
    const int before = int(list.entries.size());
    list.keepNumberedWhenMost();
    if (int(list.entries.size()) < before && !firstLine.isEmpty()) {
        const TrackLine heading = readLine(firstLine.split(u'\t'));
        if (heading.kind == TrackLine::Kind::Track && heading.number.isEmpty()) {
            // "Artist - Album (1999)": the year in brackets is no part of the album.
            static const QRegularExpression bracketYear(u"\\s*[(\\[]\\s*((?:19|20)\\d\\d)\\s*[)\\]]\\s*$"_s);
            QString named = heading.title;
            if (const QRegularExpressionMatch m = bracketYear.match(named); m.hasMatch()) {
                album.year = m.captured(1);
                named.truncate(m.capturedStart(0));
            }
            if (!splitArtistAlbum(named, album.artist, album.album))
                album.album = fieldValue(named);
        }
    }
    list.into(album);
    return album;
}

} // namespace TrackList
