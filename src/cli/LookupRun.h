#pragma once
// The headless road through a lookup: the embedded engine opens an address, and the polling
// tick of the lookup window runs on it (fillers submit searches, the matching reader reads each
// loaded page) until a reader has filled the record or the time is up. Only commands that
// look an album up start the engine.

#include "cli/SearchLookup.h"
#include "lookup/SiteReaders.h"

#include <optional>

#include <QString>
#include <QStringList>

struct LookupRunOptions
{
    /// The album folder and the address to open.
    QString folder;
    QString url;
    /// --only NAME: use only these files, as "&Use only selected files" with them selected.
    QStringList only;
    /// --auto-order: pair files and titles by their score before handing over.
    bool autoOrder = false;
    /// --timeout S.
    int timeoutSeconds = 30;
    /// --capture: read the page's track list instead of waiting for a known site's album page.
    bool capture = false;
    /// --from-text FILE ("-": standard input): read the track list from pasted text; no page.
    QString fromText;
    /// --search: the album search without browsing; --best: the best candidate's record;
    /// --artist, --album: what to search for instead of what the files and folder say.
    bool search = false;
    bool best = false;
    QString searchArtist;
    QString searchAlbum;
    /// --pairing position|auto|best (--auto-order is auto); absent: position, or best for a
    /// record from the search.
    std::optional<PairingChoice> pairing;
};

/// Parses one lookup option at args[i] (--only, --auto-order, --timeout, --capture,
/// --from-text) and moves i past its value. Returns false when args[i] is none of them; sets error for a bad value.
bool parseLookupOption(const QStringList &args, int &i, LookupRunOptions &options, QString &error);

/// Builds the working list of the folder (as the directory page lists it) with the --only
/// selection; returns an error text for a name that is not one of the folder's MP3 files.
[[nodiscard]] QString workingListFor(const LookupRunOptions &options, WorkingList &files);

/// Makes the environment fit for the engine without a display: the offscreen platform unless
/// one is set, and no sandbox when run as root (the engine refuses to start otherwise).
void prepareEngineEnvironment();

/// Runs the lookup. Returns true when a record with at least one track was read; the context
/// then holds it (not-found rows added, ordered when asked) and score the album score.
/// Otherwise failure holds the one reason: the reader's refusal of the page it read, or that no
/// album page was recognised in time.
bool runLookup(const LookupRunOptions &options, LookupContext &lookup, int &score, QString &failure);

/// Reads pasted text from a file, or standard input for "-": bounded, UTF-8 or else Latin-1.
/// Returns false with an error text when the file cannot be read.
bool readPastedText(const QString &file, QString &text, QString &error);
