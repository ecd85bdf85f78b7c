#pragma once
// One row of the rename list: what the rename page shows and the album rename job reads.

#include <QList>
#include <QString>

/// A track to rename: its title, its current file name and its track number text.
/// The row's position in the list (from 1) is its file number.
struct RenameRow
{
    /// The track title (editable in place on the rename page).
    QString title;
    /// The current file name inside the listed folder, extension included.
    QString fileName;
    /// The track number text, two digits ("01" ...).
    QString trackText;
    /// The length of the track in milliseconds as the album record gives it (it belongs to the
    /// title); 0 when the record gives none.
    int lengthMs = 0;

    friend bool operator==(const RenameRow &, const RenameRow &) = default;
};

/// The rename list in display order.
using RenameList = QList<RenameRow>;
