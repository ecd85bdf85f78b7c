#pragma once
// The album-level outputs of the rename job: the ".pls" playlist of the renamed tracks and the
// copy of the downloaded cover, both named after the album, plus the Joliet name limit; and the
// writing of the album's HTML page (AlbumHtmlPage builds its bytes) under the same name.

#include "jobs/ResultLog.h"
#include "naming/NamingInput.h"

#include <QString>

#include <functional>

namespace Joliet {
/// The longest file name (in characters) that a Joliet CD image holds.
inline constexpr int MaxNameLength = 64;

/// When the name is longer than MaxNameLength, returns its first 60 characters followed by the
/// extension (".mp3", ".pls", ".jpg"), never cutting a character in two; otherwise the name.
[[nodiscard]] QString limitName(const QString &fileName, const QString &extension);
} // namespace Joliet

/// Where an album output goes: beside the renamed files, or into the folder above them.
enum class OutputFolder {
    FilesFolder,  ///< "MP3 directory"
    ParentFolder, ///< "Parent directory"
};

/// The choice of a list or an option (0 "MP3 directory", any other "Parent directory").
[[nodiscard]] constexpr OutputFolder outputFolderOf(int choice)
{
    return choice == 0 ? OutputFolder::FilesFolder : OutputFolder::ParentFolder;
}

/// The options of the rename page that drive the album outputs.
struct AlbumOutputOptions
{
    /// "Create playlist", and where.
    bool playlist = false;
    OutputFolder playlistDir = OutputFolder::FilesFolder;
    /// "Copy cover image", and where (as for the playlist).
    bool cover = false;
    OutputFolder coverDir = OutputFolder::FilesFolder;
    /// True when a cover was downloaded and is shown; without it no cover is copied.
    bool coverShown = false;
    /// The downloaded picture, copied unchanged.
    QString coverDownloadFileName;
    /// "Create HTML page", and where (as for the playlist).
    bool html = false;
    OutputFolder htmlDir = OutputFolder::FilesFolder;
};

/// The playlist text gathered row by row during one run.
class PlaylistBuilder
{
public:
    /// Adds the entry of the row at `position` (from 1) whose file now lives at `newPath`.
    /// Beside the files the entry is the file name; otherwise it is the holding folder's name,
    /// "/" and the file name, relative to the folder above.
    void addEntry(int position, const QString &newPath, OutputFolder where);
    /// The text so far: "[playlist]" and one CR LF-led line per entry; empty before the first entry.
    [[nodiscard]] const QString &text() const { return text_; }
    [[nodiscard]] int entryCount() const { return count_; }
    /// The text as written: the entries followed by CR LF "NumberOfEntries=" and the count.
    [[nodiscard]] QString finalText() const;

private:
    QString text_;
    int count_ = 0;
};

/// "Artist - Album" cleaned of characters a file name may not hold, with the text effects and
/// space replacement applied; the name of both outputs, without extension.
[[nodiscard]] QString albumOutputName(const AlbumFields &album, const NamingOptions &naming);

/// The folder an output goes to, with a trailing separator: the folder of `lastNewPath` for
/// FilesFolder, the folder above it otherwise.
[[nodiscard]] QString albumOutputFolder(const QString &lastNewPath, OutputFolder where);

/// Asked with an output's path and its log node right before the output is written; false
/// means it must not be (the guard has logged why).
using OutputGuard = std::function<bool(const QString &path, int node)>;

/// Writes the playlist into `folder` under `name` + ".pls", replacing an earlier one, and logs
/// every outcome under a new "Playlist" node. Returns the path it wrote (or meant to write).
QString writePlaylist(ResultLog &log, const PlaylistBuilder &playlist, const QString &folder, const QString &name,
                      bool joliet, const OutputGuard &beforeWrite = {});

/// Writes the album's HTML page (the bytes of albumPageBytes) into `folder` under `name` + ".htm",
/// replacing an earlier one, and logs every outcome under a new "HTML page" node. Returns the
/// path it wrote (or meant to write).
QString writeAlbumPage(ResultLog &log, const QByteArray &page, const QString &folder, const QString &name, bool joliet,
                       const OutputGuard &beforeWrite = {});

/// Copies the downloaded cover into `folder` under `name` + ".jpg", replacing an earlier one, and
/// logs every outcome under a new "Cover" node. Returns the path it wrote (or meant to write).
QString copyCover(ResultLog &log, const QString &coverFile, const QString &folder, const QString &name, bool joliet,
                  const OutputGuard &beforeWrite = {});
