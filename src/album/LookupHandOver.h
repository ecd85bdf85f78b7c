#pragma once
// What OK of the track list hands to the rename page: the rename list built from the record's
// paired rows, the album fields (with the first file's tags filling a missing year or genre),
// the total tracks and where the downloaded cover lies.

#include "album/RenameList.h"
#include "lookup/AlbumRecord.h"
#include "naming/NamingInput.h"

#include <QString>
#include <QStringList>

struct LookupHandOver
{
    /// One row per track with a file, numbered by its position in the track list.
    RenameList rows;
    /// Each row's icon key, by the tags its file carries.
    QStringList iconKeys;
    /// The number of track rows, found or not.
    QString totalTracks;
    AlbumFields album;
    /// The cover's file in the "Download" folder; empty when no cover was downloaded.
    QString coverDownloadFileName;
};

/// Builds the hand-over of the record for the files in currentDirectory. coverShown: the cover
/// picture was downloaded. genreBoxAtFirstEntry: the rename page's genre box still shows its
/// first entry, so a missing genre is taken from the first row's file.
[[nodiscard]] LookupHandOver handOverLookup(const AlbumRecord &record, const QString &currentDirectory,
                                            bool coverShown, bool genreBoxAtFirstEntry = true);

/// The cover's file name in the "Download" folder: the last part of the address, cleaned so it
/// can only ever name a file inside that folder ("cover.jpg" when nothing usable is left), with
/// ".jpg" added when it does not end in a picture extension.
[[nodiscard]] QString coverDownloadPath(const QString &coverUrl);
