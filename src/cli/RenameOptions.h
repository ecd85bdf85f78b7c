#pragma once
// The options of "varnelt-cli rename DIR [options]", parsed into plain values.

#include "audio/TagVersions.h"
#include "jobs/CoverEmbedding.h"
#include "naming/NamingInput.h"

#include <QString>
#include <QStringList>
#include <optional>

struct RenameCommandOptions
{
    /// The album folder (DIR).
    QString folder;
    /// --mask; absent: the remembered "Last Mask", else the first mask of the drop-down.
    std::optional<QString> mask;
    /// --dest: "MP3 directory", "Parent directory" or a folder.
    QString destination = QStringLiteral("Parent directory");
    /// --text-effect 0-3 (the drop-down's positions); absent: no text effect.
    std::optional<TextEffect> textEffect;
    /// --replace-spaces 0-2 (the drop-down's positions); absent: spaces stay.
    std::optional<SpaceReplacement> replaceSpaces;
    /// --id3: 1 ID3v1 only, 2 ID3v2 only, 3 both.
    TagVersions id3Mode = TagVersions::Both;
    /// Cleared by --no-total-tracks.
    bool totalTracks = true;
    /// --playlist N: write the playlist into position N of the folder choice.
    std::optional<int> playlistDir;
    /// --html N: write the album's HTML page into position N of the folder choice.
    std::optional<int> htmlDir;
    /// --cover FILE and --cover-dir N.
    QString coverFile;
    int coverDir = 0;
    /// --joliet.
    bool joliet = false;
    /// --id3v2 3|4: the ID3v2 revision written.
    ID3v2Version id3v2Version = ID3v2Version::V3;
    /// --embed-cover: the cover (--cover FILE, or the one a lookup downloaded) becomes each
    /// file's front cover, within the limits of the profile.
    bool embedCover = false;
    CoverFit coverFit;
    /// --profile NAME: a target profile; it sets the options above that are not given.
    QString profile;
    /// --artist, --album, --year, --genre, --comment: replace what the tags give.
    std::optional<QString> artist;
    std::optional<QString> album;
    std::optional<QString> year;
    std::optional<QString> genre;
    std::optional<QString> comment;
    /// --titles FILE: one title a line, in track order.
    QString titlesFile;
    /// --only NAME (repeatable): use only these files.
    QStringList only;
    /// --lookup URL: the album from a lookup of this address; --auto-order and --timeout S as
    /// for "varnelt-cli lookup".
    QString lookupUrl;
    bool autoOrder = false;
    int lookupTimeout = 30;
    /// --capture URL: the album from the track list on the page at URL; --from-text FILE: from
    /// pasted text ("-": standard input). Each as "varnelt-cli lookup" reads them.
    QString captureUrl;
    QString fromTextFile;

    /// --search --best: the album of the best candidate of the album search; --pairing
    /// position|auto|best for any lookup (--auto-order is auto).
    bool search = false;
    bool best = false;
    QString pairing;

    /// True when the album comes from a lookup (--lookup, --capture, --from-text or --search).
    [[nodiscard]] bool fromLookup() const
    {
        return !lookupUrl.isEmpty() || !captureUrl.isEmpty() || !fromTextFile.isEmpty() || search;
    }
    /// --dry-run: print the new paths, change nothing.
    bool dryRun = false;
    /// --preflight: print the plan and the pre-flight's problems, change nothing.
    bool preflight = false;
    /// --yes: answer Yes to the questions a run may ask.
    bool yes = false;
};

/// Reads "3" or "4" as the ID3v2 revision (--id3v2 of rename and tag); returns an empty text,
/// or a one-line error.
[[nodiscard]] QString parseId3v2Version(const QString &text, ID3v2Version &version);

/// Parses the arguments after "rename"; returns an empty text, or a one-line error.
[[nodiscard]] QString parseRenameOptions(const QStringList &args, RenameCommandOptions &options);
