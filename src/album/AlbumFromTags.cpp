#include "album/AlbumFromTags.h"

#include "audio/ID3.h"
#include "audio/ID3Edit.h"
#include "audio/LoadedTags.h"
#include "audio/TagAccess.h"
#include "foundation/Basic.h"
#include "foundation/Common.h"
#include "foundation/MessageGateway.h"
#include "album/DirectoryListing.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

/// The tag list shows an empty value as a single space; as data it is empty.
QString cell(const QString &text)
{
    return text == u" " ? QString() : text;
}

} // namespace

QList<int> rowsToProcess(const QList<TagListRow> &rows, bool onlySelected)
{
    QList<int> used;
    for (int i = 0; i < rows.size(); ++i) {
        if (!onlySelected || rows.at(i).selected)
            used.append(i);
    }
    return used;
}

bool hasFilesToProcess(int selectedCount, bool onlySelected)
{
    return !onlySelected || selectedCount > 0;
}

bool hasFilesToProcess(const QList<TagListRow> &rows, bool onlySelected)
{
    const auto selected = std::count_if(rows.begin(), rows.end(), [](const TagListRow &r) { return r.selected; });
    return hasFilesToProcess(int(selected), onlySelected);
}

Msg::Message noFileSelected()
{
    return {u"Please select at least one file !"_s, u"No file selected"_s, Msg::Icon::Exclamation, Msg::Buttons::Ok, {}};
}

Msg::Message mixedAlbumsQuestion()
{
    return {u"For the moment the rename files with tag function is only for albums !\n"
            u"Would you like to continue anyway ?"_s,
            u"Rename files with tag warning"_s, Msg::Icon::Exclamation, Msg::Buttons::YesNo, Msg::Answer::No};
}

AlbumCheck checkSingleAlbum(const QList<TagListRow> &rows, bool onlySelected, const Msg::Question &ask)
{
    AlbumCheck check;
    QString reference;
    for (int index : rowsToProcess(rows, onlySelected)) {
        // A file without album tag may belong to any album: it counts, and never asks, wherever
        // it stands; the first album found is the reference.
        const QString album = cell(rows.at(index).album);
        if (reference.isEmpty())
            reference = album;
        if (!album.isEmpty() && album != reference) {
            check.mixedAlbums = true;
            check.proceed = ask(mixedAlbumsQuestion()) == Msg::Answer::Yes;
            return check;
        }
        ++check.sameAlbumCount;
    }
    return check;
}

namespace {

/// "07" for 7, "00" for 0, "12" for 12: a leading "0" for numbers up to 9.
QString twoDigitTrack(int number)
{
    return number <= 9 && number >= 0 ? u'0' + QString::number(number) : QString::number(number);
}

} // namespace

namespace {

TagListRow::FileTags fileTagsOf(const LoadedTags &tags)
{
    return {tags.value(u"Track"_s), tags.value(u"Title"_s), tags.tagV2.HasV1(), tags.tagV2.HasV2()};
}

} // namespace

TagListRow readTagListRow(const QString &currentDirectory, const QString &fileName)
{
    const LoadedTags tags(Common::addBackslash(currentDirectory) + fileName);
    TagListRow row;
    row.fileTags = fileTagsOf(tags);
    row.fileName = fileName;
    row.title = tags.value(u"Title"_s);
    row.artist = tags.value(u"Artist"_s);
    row.album = tags.value(u"Album"_s);
    row.year = tags.value(u"Year"_s);
    const QString genre = tags.value(u"Genre"_s);
    if (!genre.isEmpty()) {
        if (!tags.tagV2.Genre().isEmpty()) {
            row.genre = Basic::trim(tags.tagV2.Genre());
        } else {
            // The version-1 genre number: the name of that entry of the genre list.
            const int index = genre.toInt();
            const QStringList &names = ID3Edit::genreNames();
            if (index >= 0 && index < names.size())
                row.genre = names.at(index);
        }
    }
    row.comment = tags.value(u"Comment"_s);
    const QString track = tags.value(u"Track"_s);
    if (!track.isEmpty())
        row.track = twoDigitTrack(int(Basic::val(track)));
    return row;
}

RenameFromTags fillRenameListFromTags(const QList<TagListRow> &rows, bool onlySelected,
                                      const QString &currentDirectory, int albumRow, const QString &comment)
{
    RenameFromTags result;
    const QList<int> used = rowsToProcess(rows, onlySelected);
    for (int index : used) {
        const TagListRow &row = rows.at(index);
        const TagListRow::FileTags tags = row.fileTags
            ? *row.fileTags
            : fileTagsOf(LoadedTags(Common::addBackslash(currentDirectory) + row.fileName));
        // A file without track number takes its position in the whole tag list.
        const int track = tags.track.isEmpty() ? index + 1 : int(Basic::val(tags.track));
        const QString title = tags.title.isEmpty() ? Common::getFileTitle(row.fileName) : tags.title;
        result.rows.append(RenameRow{title, row.fileName, twoDigitTrack(track)});
        result.iconKeys.append(fileIconKey(tags.hasV1, tags.hasV2));
    }
    // Each field from the selected row, else from the first row used that has it, so an
    // untagged file never empties a field whatever its place in the list.
    QList<int> sources = used;
    if (albumRow >= 0 && albumRow < rows.size())
        sources.prepend(albumRow);
    const auto field = [&](QString TagListRow::*member) {
        for (int index : sources) {
            if (const QString value = cell(rows.at(index).*member); !Basic::trim(value).isEmpty())
                return value;
        }
        return QString();
    };
    result.album.album = field(&TagListRow::album);
    result.album.artist = field(&TagListRow::artist);
    result.album.year = field(&TagListRow::year);
    result.album.genre = Basic::trim(field(&TagListRow::genre));
    result.album.comment = comment;
    return result;
}

FromTagsStatus renameWithTag(const QList<TagListRow> &rows, bool onlySelected, const QString &currentDirectory,
                             int albumRow, const QString &comment, const Msg::Question &ask, RenameFromTags &result,
                             QString &totalTracks)
{
    if (rows.isEmpty())
        return FromTagsStatus::NoRows;
    if (!hasFilesToProcess(rows, onlySelected))
        return FromTagsStatus::NothingSelected;
    const AlbumCheck check = checkSingleAlbum(rows, onlySelected, ask);
    if (!check.proceed)
        return FromTagsStatus::Declined;
    result = fillRenameListFromTags(rows, onlySelected, currentDirectory, albumRow, comment);
    // The total is the number of files renamed: rows of another album taken on a Yes count too.
    totalTracks = result.rows.isEmpty() ? QString() : QString::number(result.rows.size());
    return FromTagsStatus::Built;
}
