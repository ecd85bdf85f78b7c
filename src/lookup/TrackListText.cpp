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
    entries.append({line.title, line.lengthMs, isNumbered});
    numbered += isNumbered ? 1 : 0;
    withLength += line.lengthMs > 0 ? 1 : 0;
    return true;
}

void Collected::keepNumberedWhenMost()
{
    if (numbered == 0 || numbered * 2 < entries.size())
        return;
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
    for (QStringView line : QStringTokenizer(clean, u'\n')) {
        longLine = longLine || line.size() > MaxLineLength;
        const QString cut = line.left(MaxLineLength).toString();
        if (firstLine.isEmpty() && list.numbered == 0 && !cut.trimmed().isEmpty())
            firstLine = cut;
        if (!list.add(cut.split(u'\t')))
            break;
    }
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
