#pragma once
// The music-information sites the lookup knows: their keys, home pages and the domains by
// which an address is recognised. Built-in addresses can be overridden in the settings group
// "Sites" (keys "<key>Home", "<key>Domain", "musicbrainzService", "coverArtService"), so a site
// can be pointed elsewhere, e.g. at a local server.

#include <QList>
#include <QString>

enum class SiteKind { Amg, Gracenote, Cddb, Freedb, MusicBrainz };

struct Site
{
    SiteKind kind = SiteKind::Amg;
    /// "amg", "gracenote", "cddb", "freedb", "musicbrainz": the "Last Site" values.
    QString key;
    /// The home page opened by the site's button.
    QString home;
    /// The text an address must contain (letter case ignored) to belong to the site.
    QString domain;
};

struct SiteTable
{
    /// In the order addresses are tested: All Music Guide, Gracenote, its CDDB address,
    /// freedb, MusicBrainz.
    QList<Site> sites;
    /// The MusicBrainz web service root ("https://musicbrainz.org/ws/2").
    QString musicbrainzService;
    /// The Cover Art Archive root ("https://coverartarchive.org").
    QString coverArtService;

    /// The built-in addresses.
    [[nodiscard]] static SiteTable defaults();
    /// The built-in addresses with the overrides of the settings group "Sites".
    [[nodiscard]] static SiteTable fromSettings();

    [[nodiscard]] const Site &site(SiteKind kind) const;
    /// The first site (in testing order) whose domain the address contains, or nullptr.
    [[nodiscard]] const Site *siteForAddress(const QString &address) const;
    /// The "Last Site" value for an address: Gracenote and its CDDB address both give "cddb";
    /// empty when the address belongs to no site.
    [[nodiscard]] QString lastSiteKey(const QString &address) const;
    /// The site a stored "Last Site" value opens; any unknown value opens All Music Guide.
    [[nodiscard]] const Site &siteForLastSite(const QString &key) const;
};

/// The address (part) of the GNU project's home page that complete freedb album pages link to.
[[nodiscard]] QString gnuHomePage();
