#pragma once
// Every key of the per-user settings store with the text it reads as when missing. A key is
// written only through these names, so a misspelt one fails to compile instead of silently
// storing nothing.

#include <QLatin1StringView>
#include <array>

struct SettingsKey
{
    QLatin1StringView name;
    /// What a missing key reads as. Empty where the default is worked out at run time
    /// (noted at the key).
    QLatin1StringView defaultValue;
};

namespace SettingsKeys {

// ---- Group "Settings": the main window -------------------------------------------------------

// The rename page's choices.
inline constexpr SettingsKey LastMask{QLatin1StringView("Last Mask"),
    QLatin1StringView("%artist - %album\\%track - %title")};
inline constexpr SettingsKey LastDestinationDir{QLatin1StringView("Last Destination dir"),
    QLatin1StringView("Parent directory")};
inline constexpr SettingsKey LastPlaylistDir{QLatin1StringView("Last Playlist Dir"), QLatin1StringView("0")};
inline constexpr SettingsKey LastCoverDir{QLatin1StringView("Last Cover Dir"), QLatin1StringView("0")};
inline constexpr SettingsKey LastTextEffect{QLatin1StringView("Last Text Effect"), QLatin1StringView("0")};
inline constexpr SettingsKey LastReplaceSpaces{QLatin1StringView("Last Replace Spaces"), QLatin1StringView("0")};
inline constexpr SettingsKey CheckPlaylist{QLatin1StringView("Check Playlist"), QLatin1StringView("1")};
inline constexpr SettingsKey CheckCover{QLatin1StringView("Check Cover"), QLatin1StringView("1")};
inline constexpr SettingsKey TotalTracks{QLatin1StringView("Total Tracks"), QLatin1StringView("1")};
inline constexpr SettingsKey CheckJoliet{QLatin1StringView("Check Joliet"), QLatin1StringView("0")};
inline constexpr SettingsKey CheckTextEffect{QLatin1StringView("Check Text Effect"), QLatin1StringView("0")};
inline constexpr SettingsKey CheckReplaceSpaces{QLatin1StringView("Check Replace Spaces"), QLatin1StringView("0")};

// The tag page's version choice; the rename page's version follows it.
inline constexpr SettingsKey Id3Mode{QLatin1StringView("ID3 Mode"), QLatin1StringView("0")};

// The ID3v2 revision written, as the tag page's drop-down position: 0 ID3v2.3, 1 ID3v2.4. The
// rename page's revision follows it.
inline constexpr SettingsKey Id3v2Version{QLatin1StringView("ID3v2 Version"), QLatin1StringView("0")};

// The directory page's folder. Default: the home folder.
inline constexpr SettingsKey LastDirectory{QLatin1StringView("Last Directory"), QLatin1StringView("")};

// The window's placement, sizes in twips; 0 normal, 1 minimised, 2 maximised.
inline constexpr SettingsKey AppWindowState{QLatin1StringView("AppWindowState"), QLatin1StringView("0")};
inline constexpr SettingsKey AppWidth{QLatin1StringView("AppWidth"), QLatin1StringView("9750")};
inline constexpr SettingsKey AppHeight{QLatin1StringView("AppHeight"), QLatin1StringView("8000")};
// Default: the size restored, centred on the screen and 200 twips above the middle.
inline constexpr SettingsKey AppTop{QLatin1StringView("AppTop"), QLatin1StringView("")};
// Default: the size restored, centred on the screen.
inline constexpr SettingsKey AppLeft{QLatin1StringView("AppLeft"), QLatin1StringView("")};

// The keys of the main window's pages' controls in the order start-up restores them: the
// messages about values that cannot be read come in this order.
inline constexpr std::array MainWindowRestoreOrder{&LastMask, &LastPlaylistDir, &LastCoverDir, &LastTextEffect,
    &LastReplaceSpaces, &Id3Mode, &Id3v2Version, &LastDestinationDir, &CheckPlaylist, &CheckCover, &TotalTracks, &CheckJoliet,
    &CheckTextEffect, &CheckReplaceSpaces};

// The lookup window's placement, sizes in twips; 0 normal, 1 minimised, 2 maximised.
inline constexpr SettingsKey BrowserWindowState{QLatin1StringView("BrowserWindowState"), QLatin1StringView("2")};
inline constexpr SettingsKey BrowserWidth{QLatin1StringView("BrowserWidth"), QLatin1StringView("10000")};
inline constexpr SettingsKey BrowserHeight{QLatin1StringView("BrowserHeight"), QLatin1StringView("7600")};
// Default: the size restored, centred on the screen and 200 twips above the middle.
inline constexpr SettingsKey BrowserTop{QLatin1StringView("BrowserTop"), QLatin1StringView("")};
// Default: the size restored, centred on the screen.
inline constexpr SettingsKey BrowserLeft{QLatin1StringView("BrowserLeft"), QLatin1StringView("")};
// The key of the site the lookup window showed last ("amg", "cddb", "freedb", "musicbrainz"; empty
// when it showed none); any other value opens All Music Guide.
inline constexpr SettingsKey LastSite{QLatin1StringView("Last Site"), QLatin1StringView("amg")};
// The track list dialog: "1" pairs the files of an album read from a site by best match as
// soon as it arrives, "0" keeps the site's pairing by position (a search's album is always
// paired by best match).
inline constexpr SettingsKey PairByBestMatch{QLatin1StringView("Pair By Best Match"), QLatin1StringView("0")};

// ---- Group "Sites": the lookup window ---------------------------------------------------------

// Each site's home page and the text an address must contain to belong to it (letter case
// ignored); tests and users may point a site elsewhere, e.g. at a local server.
inline constexpr QLatin1StringView SitesGroup{"Sites"};
inline constexpr SettingsKey AmgHome{QLatin1StringView("amgHome"), QLatin1StringView("https://www.allmusic.com/")};
inline constexpr SettingsKey AmgDomain{QLatin1StringView("amgDomain"), QLatin1StringView("allmusic.com")};
inline constexpr SettingsKey GracenoteHome{QLatin1StringView("gracenoteHome"), QLatin1StringView("https://www.gracenote.com/")};
inline constexpr SettingsKey GracenoteDomain{QLatin1StringView("gracenoteDomain"), QLatin1StringView("gracenote.com")};
inline constexpr SettingsKey CddbHome{QLatin1StringView("cddbHome"), QLatin1StringView("http://www.cddb.com/")};
inline constexpr SettingsKey CddbDomain{QLatin1StringView("cddbDomain"), QLatin1StringView("cddb.com")};
inline constexpr SettingsKey FreedbHome{QLatin1StringView("freedbHome"), QLatin1StringView("http://www.freedb.org/")};
inline constexpr SettingsKey FreedbDomain{QLatin1StringView("freedbDomain"), QLatin1StringView("freedb.org")};
inline constexpr SettingsKey MusicbrainzHome{QLatin1StringView("musicbrainzHome"), QLatin1StringView("https://musicbrainz.org/search")};
inline constexpr SettingsKey MusicbrainzDomain{QLatin1StringView("musicbrainzDomain"), QLatin1StringView("musicbrainz.org")};
// The MusicBrainz web service root (JSON, version 2) and the Cover Art Archive root.
inline constexpr SettingsKey MusicbrainzService{QLatin1StringView("musicbrainzService"), QLatin1StringView("https://musicbrainz.org/ws/2")};
inline constexpr SettingsKey CoverArtService{QLatin1StringView("coverArtService"), QLatin1StringView("https://coverartarchive.org")};
// The maker's web site: the Help menu's pages, the banner, the update file and the download page
// are all below it (tests point it at a local server).
inline constexpr SettingsKey MakerHome{QLatin1StringView("makerHome"), QLatin1StringView("https://varnelt.example.org/")};

} // namespace SettingsKeys
