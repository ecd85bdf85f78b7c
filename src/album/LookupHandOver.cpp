#include "album/LookupHandOver.h"

#include "audio/LoadedTags.h"
#include "foundation/Basic.h"
#include "foundation/Common.h"
#include "album/AlbumFromTags.h"
#include "album/DirectoryListing.h"
#include "naming/NamingText.h"

#include <QUrl>

#include <algorithm>

using namespace Qt::StringLiterals;

QString coverDownloadPath(const QString &coverUrl)
{
    // The address comes from a web page: nothing of it may climb out of the folder.
    QString name = QUrl(coverUrl).fileName();
    name = makeLevelSafe(removeControlCharacters(removeForbiddenCharacters(name))).left(200);
    if (Basic::trim(name).isEmpty())
        name = u"cover.jpg"_s;
    // The picture loaders and the cover copy go by the extension; an address such as ".../front"
    // or "x.php" still names a picture file.
    static const QStringList pictureExtensions{u".jpg"_s, u".jpeg"_s, u".png"_s, u".gif"_s, u".bmp"_s, u".webp"_s};
    if (!std::any_of(pictureExtensions.begin(), pictureExtensions.end(),
                     [&](const QString &ext) { return name.endsWith(ext, Qt::CaseInsensitive); }))
        name += u".jpg"_s;
    return Common::addBackslash(Common::downloadFolder()) + name;
}

LookupHandOver handOverLookup(const AlbumRecord &record, const QString &currentDirectory, bool coverShown,
                              bool genreBoxAtFirstEntry)
{
    LookupHandOver result;
    for (int i = 0; i < record.rows.size(); ++i) {
        const TrackRow &row = record.rows.at(i);
        if (row.fileName == AlbumRecord::notFound() || row.fileName.isEmpty())
            continue;
        const LoadedTags tags(Common::addBackslash(currentDirectory) + row.fileName);
        QString title;
        if (row.text == AlbumRecord::notFound()) {
            title = tags.value(u"Title"_s);
            if (title.isEmpty())
                title = Common::getFileTitle(row.fileName);
        } else {
            title = trackRowTitle(row.text);
        }
        // A site's lengths come with the rows or in a list of their own, in track order.
        const int listedSeconds = record.trackLengths.value(i, -1);
        const int lengthMs = row.lengthMs > 0 ? row.lengthMs : listedSeconds > 0 ? listedSeconds * 1000 : 0;
        result.rows.append(RenameRow{title, row.fileName, trackNumberText(i + 1), row.text == AlbumRecord::notFound() ? 0 : lengthMs});
        result.iconKeys.append(fileIconKey(tags.tagV2.HasV1(), tags.tagV2.HasV2()));
    }
    result.totalTracks = QString::number(record.rows.size());
    result.album.album = record.album;
    result.album.artist = record.artist;
    result.album.year = record.year;
    result.album.genre = Basic::trim(record.genre);
    if (coverShown && !record.coverUrl.isEmpty())
        result.coverDownloadFileName = coverDownloadPath(record.coverUrl);

    const bool firstFile = !record.rows.isEmpty() && !record.rows.first().fileName.isEmpty()
                           && record.rows.first().fileName != AlbumRecord::notFound();
    if (firstFile && (record.year.isEmpty() || (record.genre.isEmpty() && genreBoxAtFirstEntry))) {
        const TagListRow tags = readTagListRow(currentDirectory, record.rows.first().fileName);
        if (record.year.isEmpty() && Basic::val(tags.year) > 0)
            result.album.year = tags.year;
        if (record.genre.isEmpty() && genreBoxAtFirstEntry)
            result.album.genre = Basic::trim(tags.genre);
    }
    return result;
}
