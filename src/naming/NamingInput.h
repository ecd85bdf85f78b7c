#pragma once
// The plain values from which a new file path is built. The rename page, the rename job and
// the CLI gather their controls or options into these and call the name builder, so the
// preview and the job always compute the same path.

#include <QString>

/// The album fields of the rename page (artist, album, year, genre, comment), as typed.
struct AlbumFields
{
    QString artist;
    QString album;
    QString year;
    QString genre;
    QString comment;
};

/// The naming options of the rename page.
struct NamingOptions
{
    /// The naming mask, with "\" as its folder separator and without extension.
    QString mask;
    /// "MP3 directory", "Parent directory" or a folder path.
    QString destination;
    /// "Apply Text effect" ticked, and the chosen effect (0 word capitals, 1 alternating
    /// capitals, 2 lower case, 3 upper case).
    bool textEffect = false;
    int textEffectIndex = 0;
    /// "Replace spaces by" ticked, and the choice (0 "_", 1 ".", 2 nothing).
    bool replaceSpaces = false;
    int replaceSpacesIndex = 0;
};

/// One row of the rename list.
struct TrackInput
{
    /// The track title (the row's text).
    QString title;
    /// The row's running number, 1 for the first row.
    int fileNumber = 1;
    /// The file's current name without folder, extension included.
    QString fileName;
    /// The track number text as handed over ("01", "09", "10", "112").
    QString trackText;
};
