#pragma once
// The plain values from which a new file path is built. The rename page, the rename job and
// the CLI gather their controls or options into these and call the name builder, so the
// preview and the job always compute the same path.

#include <QString>
#include <optional>

/// The text effects of the rename page, in the order of its drop-down.
enum class TextEffect {
    WordCapitals, ///< "abC def -> Abc Def"
    AlternatingCapitals, ///< "Abc def -> aBc DeF"
    LowerCase, ///< "ABc Def -> abc def"
    UpperCase, ///< "AbC Def -> ABC DEF"
};

/// What "Replace spaces by" puts in place of a space, in the order of its drop-down.
enum class SpaceReplacement {
    Underscores, ///< "_"
    Points, ///< "."
    Nothing, ///< the space is removed
};

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
    /// The effect when "Apply Text effect" is ticked; none when it is not.
    std::optional<TextEffect> textEffect;
    /// The replacement when "Replace spaces by" is ticked; none when it is not.
    std::optional<SpaceReplacement> replaceSpaces;
};

/// One row of the rename list.
struct TrackInput
{
    /// The track title (the row's text).
    QString title;
    /// The row's running number, 1 for the first row.
    int fileNumber = 1;
    /// The file's current name without folder, extension included ("%filename" drops it).
    QString fileName;
    /// The track number text as handed over ("01", "09", "10", "112").
    QString trackText;
};
