#pragma once
// The album for a rename taken from the files' own tags ("&Use ID3 to rename files"): which
// rows of the tag list are used, the check that they hold one album, and the rename list and
// album fields built from them. The tag page gathers its list into TagListRow values and
// calls these; varnelt-cli builds the same rows from the files.

#include "foundation/MessageGateway.h"
#include "album/RenameList.h"
#include "naming/NamingInput.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

/// One row of the tag list: the file name and the tag columns as listed.
struct TagListRow
{
    /// The file name in the listed folder (the row text).
    QString fileName;
    QString title;
    QString artist;
    QString album;
    QString year;
    QString genre;
    QString comment;
    /// The "T." column ("07").
    QString track;
    /// The row is selected in the list.
    bool selected = false;

    /// What the rename list takes from the file's tags: the track and title as they stand there
    /// and which tag versions it has.
    struct FileTags
    {
        QString track;
        QString title;
        bool hasV1 = false;
        bool hasV2 = false;
    };
    /// Those tags as readTagListRow read them with the columns; a row built from the list's
    /// cells has none, and its file is read when the rename list is built.
    std::optional<FileTags> fileTags;
};

/// The rows an operation uses: the selected ones when onlySelected, otherwise all.
[[nodiscard]] QList<int> rowsToProcess(const QList<TagListRow> &rows, bool onlySelected);

/// False when onlySelected is set and no row is selected (an empty list included); true
/// whenever onlySelected is clear.
[[nodiscard]] bool hasFilesToProcess(int selectedCount, bool onlySelected);
/// The same for the tag list's rows.
[[nodiscard]] bool hasFilesToProcess(const QList<TagListRow> &rows, bool onlySelected);

/// "Please select at least one file !" titled "No file selected" with a warning icon.
[[nodiscard]] Msg::Message noFileSelected();

/// "Rename files with tag warning": whether to go on with rows of more than one album (Yes/No,
/// No by default).
[[nodiscard]] Msg::Message mixedAlbumsQuestion();

/// How the album check ended.
struct AlbumCheck
{
    /// False when the user answered No to the album question: nothing may change.
    bool proceed = true;
    /// The rows counted as the same album before the check stopped (the total tracks).
    int sameAlbumCount = 0;
    /// True when a row of another album was found (and the question asked).
    bool mixedAlbums = false;
};

/// Walks the rows used and counts those of the first album found and those without album; at
/// the first row of another album puts mixedAlbumsQuestion() to `ask`: Yes goes on anyway. A
/// row without album never asks, wherever it stands.
[[nodiscard]] AlbumCheck checkSingleAlbum(const QList<TagListRow> &rows, bool onlySelected, const Msg::Question &ask);

/// What the rename list built from the tags holds.
struct RenameFromTags
{
    /// The rename list in tag list order.
    RenameList rows;
    /// Each row's icon key, by the tags its file carries.
    QStringList iconKeys;
    /// The album fields for the rename page.
    AlbumFields album;
};

/// Builds the rename list from the files' own tags (track and title read from both tag
/// versions; a file without track number gets its position in the list, one without title its
/// file name without extension) and the album fields: each field from the row `albumRow` (the
/// tag list's selected row, -1 for none), else from the first row used that has that field
/// (blank counts as empty). The comment is taken from
/// `comment`, the rename page's own text, which the tags never replace.
[[nodiscard]] RenameFromTags fillRenameListFromTags(const QList<TagListRow> &rows, bool onlySelected,
                                                    const QString &currentDirectory, int albumRow,
                                                    const QString &comment = {});

/// How renameWithTag ended.
enum class FromTagsStatus {
    Built, ///< the rename list and album fields are in the result
    NoRows, ///< the tag list is empty: nothing to say
    NothingSelected, ///< only selected rows are wanted and none is: the caller shows noFileSelected()
    Declined, ///< the rows hold more than one album and the answer was No
};

/// The whole command: nothing with no rows or no row selected (when only selected rows are
/// wanted); the album check, asking through `ask`; then the rename list. Changes result and
/// totalTracks only when it built the list (the rename page keeps what it shows otherwise).
/// totalTracks gets the number of rows in the rename list.
[[nodiscard]] FromTagsStatus renameWithTag(const QList<TagListRow> &rows, bool onlySelected,
                                           const QString &currentDirectory, int albumRow, const QString &comment,
                                           const Msg::Question &ask, RenameFromTags &result, QString &totalTracks);

/// Reads one file's tag list row as the tag page fills it: title, artist, album, year, genre
/// (the version-2 genre name, or the name of the version-1 genre number), comment and the
/// track with a leading "0" below 10. Empty values stay empty (the page shows them as " ").
[[nodiscard]] TagListRow readTagListRow(const QString &currentDirectory, const QString &fileName);
