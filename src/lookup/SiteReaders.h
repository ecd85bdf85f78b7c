#pragma once
// The site readers and the fillers that submit a search on a site's search page. Each reader
// runs on every poll of a page of its site: it submits the search once per visit, recognises a
// complete album page by the site's marks and adds its tracks to the album record. They work on
// a page snapshot and answer with element actions; the browser bridge carries those out.

#include "lookup/AlbumRecord.h"
#include "lookup/HtmlDocument.h"
#include "lookup/Sites.h"

#include <QString>

/// The lookup window's state the readers share.
struct LookupState
{
    /// The current page of a known site has finished loading.
    bool pageLoaded = false;
    /// Each site's search has been submitted during this visit of the site.
    bool freedbSearchSent = false;
    bool gracenoteSearchSent = false;
    bool amgSearchSent = false;
    bool musicbrainzSearchSent = false;
    /// The polling timer's interval in milliseconds; 0 while it is stopped.
    int timerInterval = 100;
};

/// What the fillers derive a search text from.
struct SearchInput
{
    /// The album folder's path (the lookup window's folder box).
    QString directory;
    /// The selected file's artist and album tags (either tag version).
    QString fileArtist;
    QString fileAlbum;

    /// Reads the tags of the working list's first selected file in the folder (none selected:
    /// no tags, so the searches fall back on the folder name).
    [[nodiscard]] static SearchInput forSelectedFile(const QString &directory, const WorkingList &files);
};

/// Everything one lookup works on: state, sites, search input, files, the record being filled
/// and the element actions asked for by the last reader.
struct LookupContext
{
    LookupState state;
    SiteTable sites = SiteTable::defaults();
    SearchInput search;
    WorkingList files;
    AlbumRecord record;
    ElementActions actions;
    /// The address of the page whose tracks were last handed over.
    QString lastResultUrl;
    /// The MusicBrainz release (its MBID) the MusicBrainz reader recognised and whose data the
    /// web service is to deliver; empty when none is waiting.
    QString pendingRelease;
};

/// The search texts of the fillers.
[[nodiscard]] QString freedbSearchText(const SearchInput &search);
[[nodiscard]] QString gracenoteSearchText(const SearchInput &search);
[[nodiscard]] QString amgSearchText(const SearchInput &search);

/// Fill the site's search field(s) and click its submit control(s). freedb and Gracenote return
/// whether a field was filled, All Music Guide whether its search type button was clicked.
bool hackFreeDBHtml(const HtmlDocument &doc, const SearchInput &search, ElementActions &actions);
bool hackGracenoteHtml(const HtmlDocument &doc, const SearchInput &search, ElementActions &actions);
bool hackAmgHtml(const HtmlDocument &doc, const SearchInput &search, ElementActions &actions);

/// The readers.
void readFreedbPage(const HtmlDocument &doc, LookupContext &lookup);
void readGracenotePage(const HtmlDocument &doc, LookupContext &lookup);
void readAmgPage(const HtmlDocument &doc, LookupContext &lookup);

/// The year of an All Music Guide "Date of Release " value ("Mar 14, 1995" -> "1995",
/// "199?" -> "").
[[nodiscard]] QString amgReleaseYear(const QString &value);
