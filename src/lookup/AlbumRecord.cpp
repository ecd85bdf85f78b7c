#include "lookup/AlbumRecord.h"

#include "foundation/Basic.h"

using namespace Qt::StringLiterals;

QString AlbumRecord::notFound()
{
    return u"***** Not Found *****"_s;
}

int AlbumRecord::trackCount() const
{
    int count = 0;
    for (const TrackRow &row : rows)
        count += row.text != notFound() ? 1 : 0;
    return count;
}

QStringList WorkingList::filesInPairingOrder() const
{
    if (!onlySelected)
        return fileNames;
    QStringList chosen;
    for (int i = 0; i < fileNames.size(); ++i) {
        if (i < selected.size() && selected.at(i))
            chosen << fileNames.at(i);
    }
    return chosen;
}

QString trackNumberText(int trackNumber)
{
    const QString digits = QString::number(trackNumber);
    return trackNumber <= 9 ? u"0"_s + digits : digits;
}

QString trackRowTitle(const QString &rowText)
{
    static const QString separator = u" - "_s;
    qsizetype digits = 0;
    while (digits < rowText.size() && rowText.at(digits) >= u'0' && rowText.at(digits) <= u'9')
        ++digits;
    if (digits == 0 || !QStringView(rowText).mid(digits).startsWith(separator))
        return rowText;
    return rowText.mid(digits + separator.size());
}

QString cleanPageValue(const QString &value, AlbumRecord &record, int maxLength)
{
    QString clean = value;
    // A line break inside a title would end the row; a tab would split a column.
    for (QChar &c : clean) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    clean = Basic::trim(clean);
    if (clean.size() > maxLength) {
        clean.truncate(maxLength);
        const QString note = u"A value of more than %1 characters was cut."_s.arg(maxLength);
        if (!record.notes.contains(note))
            record.notes << note;
    }
    return clean;
}

bool addFoundTrack(AlbumRecord &record, const WorkingList &files, int trackNumber, const QString &title,
                   const QString &artist, const QString &album, QString &genre, const QString &year)
{
    if (trackNumber > AlbumRecord::MaxTracks || record.rows.size() >= AlbumRecord::MaxTracks) {
        const QString note = u"The page lists more than %1 tracks: only the first %1 were taken."_s
                                 .arg(AlbumRecord::MaxTracks);
        if (!record.notes.contains(note))
            record.notes << note;
        return false;
    }
    // Sites differ in letter case (MusicBrainz writes its genres in lower case).
    if (genre.compare(u"Electronica"_s, Qt::CaseInsensitive) == 0)
        genre = u"Electronic"_s;
    if (!record.columnsCreated) {
        record.columnsCreated = true;
        record.artist = cleanPageValue(artist, record);
        record.album = cleanPageValue(album, record);
        record.genre = cleanPageValue(genre, record);
        record.year = cleanPageValue(year, record);
    }
    TrackRow row;
    row.text = trackNumberText(trackNumber) + u" - "_s + cleanPageValue(title, record);
    row.iconKey = u"FileIcon"_s;
    if (files.activePage == 0 || files.activePage == 1) {
        const QStringList paired = files.filesInPairingOrder();
        // Fewer items than tracks, or fewer selected items: no file for this track.
        if (files.fileNames.size() < trackNumber || trackNumber < 1 || paired.size() < trackNumber)
            row.fileName = AlbumRecord::notFound();
        else
            row.fileName = paired.at(trackNumber - 1);
    }
    record.rows.append(row);
    return true;
}

void addNotFoundRows(AlbumRecord &record, const WorkingList &files)
{
    const QStringList paired = files.filesInPairingOrder();
    for (qsizetype i = record.rows.size(); i < paired.size(); ++i)
        record.rows.append(TrackRow{AlbumRecord::notFound(), paired.at(i), u"TrackError"_s});
}
