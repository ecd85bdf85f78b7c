#include "lookup/Sites.h"

#include "foundation/Settings.h"

using namespace Qt::StringLiterals;

namespace {

/// A site with its two keys; the table is read with or without the settings.
struct SiteKeys
{
    SiteKind kind;
    QString key;
    SettingsKey home;
    SettingsKey domain;
};

QList<SiteKeys> siteKeys()
{
    using namespace SettingsKeys;
    return {{SiteKind::Amg, u"amg"_s, AmgHome, AmgDomain},
            {SiteKind::Gracenote, u"gracenote"_s, GracenoteHome, GracenoteDomain},
            {SiteKind::Cddb, u"cddb"_s, CddbHome, CddbDomain},
            {SiteKind::Freedb, u"freedb"_s, FreedbHome, FreedbDomain},
            {SiteKind::MusicBrainz, u"musicbrainz"_s, MusicbrainzHome, MusicbrainzDomain}};
}

} // namespace

SiteTable SiteTable::defaults()
{
    SiteTable table;
    for (const SiteKeys &k : siteKeys())
        table.sites.append({k.kind, k.key, k.home.defaultValue, k.domain.defaultValue});
    table.musicbrainzService = SettingsKeys::MusicbrainzService.defaultValue;
    table.coverArtService = SettingsKeys::CoverArtService.defaultValue;
    return table;
}

SiteTable SiteTable::fromSettings()
{
    SiteTable table;
    const Settings settings(SettingsKeys::SitesGroup);
    for (const SiteKeys &k : siteKeys())
        table.sites.append({k.kind, k.key, settings.value(k.home), settings.value(k.domain)});
    table.musicbrainzService = settings.value(SettingsKeys::MusicbrainzService);
    table.coverArtService = settings.value(SettingsKeys::CoverArtService);
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
