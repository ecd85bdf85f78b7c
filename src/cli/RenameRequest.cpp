#include "cli/RenameRequest.h"

#include "cli/CliSupport.h"
#include "foundation/Basic.h"
#include "foundation/Common.h"
#include "album/AlbumFromTags.h"
#include "album/DirectoryListing.h"

#include <QFile>

using namespace Qt::StringLiterals;

QString readTitlesFile(const QString &path, QStringList &titles)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return u"cannot read the titles file %1: %2"_s.arg(path, file.errorString());
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(u"\r\n"_s, u"\n"_s);
    titles = text.split(u'\n');
    while (!titles.isEmpty() && Basic::trim(titles.last()).isEmpty())
        titles.removeLast();
    for (int i = 0; i < titles.size(); ++i) {
        // The rename list never holds an empty title (the page refuses one too).
        if (Basic::trim(titles.at(i)).isEmpty())
            return u"the titles file %1 has an empty title on line %2"_s.arg(path).arg(i + 1);
    }
    if (titles.isEmpty())
        return u"the titles file %1 holds no title"_s.arg(path);
    return {};
}

namespace {

QString twoDigits(int number)
{
    return Basic::formatDigits(number, 2);
}

/// The rows of the listed files as a lookup hands them over: title k goes with file k; a file
/// beyond the titles keeps its tag title (or its name), a title beyond the files adds no row.
void pairTitlesWithFiles(const QStringList &titles, const QList<TagListRow> &rows, const QList<int> &used,
                         RenameRequest &request)
{
    for (int k = 0; k < used.size(); ++k) {
        const TagListRow &row = rows.at(used.at(k));
        QString title = k < titles.size() ? titles.at(k) : row.title;
        if (title.isEmpty())
            title = Common::getFileTitle(row.fileName);
        request.rows.append(RenameRow{title, row.fileName, twoDigits(k + 1)});
    }
    request.totalTracks = QString::number(std::max(titles.size(), used.size()));
    const TagListRow &first = rows.at(used.first());
    request.album = AlbumFields{first.artist, first.album, first.year, Basic::trim(first.genre), QString()};
}

} // namespace

int buildRenameRequest(const RenameCommandOptions &options, RenameRequest &request, QString &error)
{
    const QString folder = options.folder;
    const QStringList names = findMp3Files(folder, ListingOrder::FileName);
    if (names.isEmpty()) {
        error = u"no MP3 files in %1"_s.arg(folder);
        return Cli::Usage;
    }
    for (const QString &only : options.only) {
        if (!names.contains(only)) {
            error = u"--only: no MP3 file named '%1' in %2"_s.arg(only, folder);
            return Cli::Usage;
        }
    }
    QStringList titles;
    if (!options.titlesFile.isEmpty()) {
        error = readTitlesFile(options.titlesFile, titles);
        if (!error.isEmpty())
            return Cli::Usage;
    }

    QList<TagListRow> rows;
    for (const QString &name : names) {
        TagListRow row = readTagListRow(folder, name);
        row.selected = options.only.contains(name);
        rows.append(row);
    }
    const bool onlySelected = !options.only.isEmpty();
    if (!titles.isEmpty()) {
        pairTitlesWithFiles(titles, rows, rowsToProcess(rows, onlySelected), request);
    } else {
        RenameFromTags fromTags;
        if (renameWithTag(rows, onlySelected, folder, -1, QString(), Msg::viaGateway(), fromTags, request.totalTracks)
            != FromTagsStatus::Built) {
            error = u"nothing renamed: the files do not all belong to one album (--yes renames them anyway)"_s;
            return Cli::JobErrors;
        }
        request.rows = fromTags.rows;
        request.album = fromTags.album;
    }
    applyAlbumOptions(options, request.album);
    return Cli::Success;
}

void applyAlbumOptions(const RenameCommandOptions &options, AlbumFields &album)
{
    if (options.artist)
        album.artist = *options.artist;
    if (options.album)
        album.album = *options.album;
    if (options.year)
        album.year = *options.year;
    if (options.genre)
        album.genre = *options.genre;
    if (options.comment)
        album.comment = *options.comment;
}
