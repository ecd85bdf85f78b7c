#include "lookup/Sites.h"

#include "foundation/Settings.h"

using namespace Qt::StringLiterals;

SiteTable SiteTable::defaults()
{
    SiteTable table;
    table.sites = {
        {SiteKind::Amg, u"amg"_s, u"https://www.allmusic.com/"_s, u"allmusic.com"_s},
        {SiteKind::Gracenote, u"gracenote"_s, u"https://www.gracenote.com/"_s, u"gracenote.com"_s},
        {SiteKind::Cddb, u"cddb"_s, u"http://www.cddb.com/"_s, u"cddb.com"_s},
        {SiteKind::Freedb, u"freedb"_s, u"http://www.freedb.org/"_s, u"freedb.org"_s},
        {SiteKind::MusicBrainz, u"musicbrainz"_s, u"https://musicbrainz.org/search"_s, u"musicbrainz.org"_s},
    };
    table.musicbrainzService = u"https://musicbrainz.org/ws/2"_s;
    table.coverArtService = u"https://coverartarchive.org"_s;
    return table;
}

SiteTable SiteTable::fromSettings()
{
    SiteTable table = defaults();
    const Settings settings(u"Sites"_s);
    for (Site &site : table.sites) {
        site.home = settings.value(site.key + u"Home"_s, site.home);
        site.domain = settings.value(site.key + u"Domain"_s, site.domain);
    }
    table.musicbrainzService = settings.value(u"musicbrainzService"_s, table.musicbrainzService);
    table.coverArtService = settings.value(u"coverArtService"_s, table.coverArtService);
    return table;
}

const Site &SiteTable::site(SiteKind kind) const
{
    for (const Site &s : sites) {
        if (s.kind == kind)
            return s;
    }
    return sites.first();
}

const Site *SiteTable::siteForAddress(const QString &address) const
{
    for (const Site &s : sites) {
        // An empty domain (a cleared setting) would match every address.
        if (!s.domain.isEmpty() && address.contains(s.domain, Qt::CaseInsensitive))
            return &s;
    }
    return nullptr;
}

QString SiteTable::lastSiteKey(const QString &address) const
{
    const Site *s = siteForAddress(address);
    if (!s)
        return {};
    return s->kind == SiteKind::Gracenote ? site(SiteKind::Cddb).key : s->key;
}

const Site &SiteTable::siteForLastSite(const QString &key) const
{
    for (const Site &s : sites) {
        if (s.key == key && s.kind != SiteKind::Gracenote)
            return s;
    }
    return site(SiteKind::Amg);
}

QString gnuHomePage()
{
    return u"www.gnu.org"_s;
}
