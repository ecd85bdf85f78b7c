#include "jobs/TargetProfiles.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 KB = 1000; // budgets in decimal kilobytes: within either reading of "KB"

} // namespace

const QList<TargetProfile> &targetProfiles()
{
    static const QList<TargetProfile> profiles {
        // The program's defaults: both tags, ID3v2.3, no cover in the files, names as masked.
        {"standard"_L1, "Standard"_L1, TagVersions::Both, ID3v2Version::V3, false, CoverFit {}, false, false},
        // Car stereos: both tags, 2.3 (text in ISO-8859-1 where it fits), a small baseline JPEG
        // cover, names a CD burner keeps whole, spaces left as they are.
        {"car"_L1, "Car stereo"_L1, TagVersions::Both, ID3v2Version::V3, true, CoverFit {300, 100 * KB, true}, true,
         false},
        // Portable players: 2.3 with a medium baseline JPEG cover.
        {"portable"_L1, "Portable player"_L1, std::nullopt, ID3v2Version::V3, true, CoverFit {600, 300 * KB, true},
         std::nullopt, std::nullopt},
        // Current players: 2.4 in UTF-8 only, a large cover.
        {"modern"_L1, "Modern player"_L1, TagVersions::V2Only, ID3v2Version::V4, true, CoverFit {1200, 0, false},
         std::nullopt, std::nullopt},
        // Keeping: 2.4 beside the ID3v1 tag, the cover as it came.
        {"archive"_L1, "Archive"_L1, TagVersions::Both, ID3v2Version::V4, true, CoverFit {}, std::nullopt,
         std::nullopt},
    };
    return profiles;
}

const TargetProfile *targetProfile(const QString &name)
{
    for (const TargetProfile &profile : targetProfiles())
        if (name.compare(profile.name, Qt::CaseInsensitive) == 0)
            return &profile;
    return nullptr;
}

QString targetProfileNames(const QString &separator)
{
    QStringList names;
    for (const TargetProfile &profile : targetProfiles())
        names.append(profile.name);
    return names.join(separator);
}
