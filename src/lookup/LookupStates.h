#pragma once
// The lookup window's state machine without the window: the browser's navigation notifications
// and the polling timer's tick, which runs the reader of the site the page belongs to and ends
// the lookup once a reader has filled the record.

#include "lookup/SiteReaders.h"

/// Navigation to the address has completed: on a page of a known site (not an advertising
/// frame) the page counts as not loaded, and a stopped timer restarts at 1000 ms.
void navigationCompleted(LookupContext &lookup, const QString &address);

/// The document at the address has completed: on a page of a known site it counts as loaded.
void documentCompleted(LookupContext &lookup, const QString &address);

/// One tick of the polling timer on the page snapshot: clears the cover address, runs the
/// matching site's reader (its element actions are left in lookup.actions) and, when the record
/// holds tracks, finishes it (finishRecord). Returns true when the record is finished.
bool pollTick(const HtmlDocument &doc, LookupContext &lookup);

/// Ends a lookup whose reader found tracks: one not-found row for each file beyond them,
/// lastResultUrl = the page's address, the timer stopped.
void finishRecord(LookupContext &lookup, const QString &address);

/// The MusicBrainz site: the reader only recognises a release page (the record is filled from
/// the web service, see MusicBrainz.h); its filler submits a release search once per visit.
void readMusicBrainzPage(const HtmlDocument &doc, LookupContext &lookup);
bool hackMusicBrainzHtml(const HtmlDocument &doc, const SearchInput &search, ElementActions &actions);

/// The release MBID of a MusicBrainz release page address ("/release/<MBID>"), else empty.
[[nodiscard]] QString releaseIdFromAddress(const QString &address);
