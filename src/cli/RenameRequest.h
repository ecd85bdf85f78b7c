#pragma once
// What "varnelt-cli rename" hands to the album rename job: the rename list and the album
// fields, built from the files' own tags as "&Use ID3 to rename files" builds them, or from a
// list of titles paired with the files by position as a lookup hands them over.

#include "cli/RenameOptions.h"
#include "album/RenameList.h"
#include "naming/NamingInput.h"

#include <QString>
#include <QStringList>

struct RenameRequest
{
    RenameList rows;
    AlbumFields album;
    /// The total tracks text ("" when none).
    QString totalTracks;
};

/// Reads a titles file: one title a line (UTF-8, CR LF or LF), trailing empty lines ignored.
/// Returns an empty text or a one-line error.
[[nodiscard]] QString readTitlesFile(const QString &path, QStringList &titles);

/// Replaces the album fields the options give (--artist, --album, --year, --genre, --comment).
void applyAlbumOptions(const RenameCommandOptions &options, AlbumFields &album);

/// Builds the request for the options' folder. Returns the exit status to stop with and sets
/// `error` (Cli::Success with an empty error means the request is ready).
[[nodiscard]] int buildRenameRequest(const RenameCommandOptions &options, RenameRequest &request, QString &error);
