#pragma once
// Target profiles: one choice that sets the rename options a kind of player needs. The table
// is the one place that says what each profile sets; the rename page and the CLI apply an entry
// to their own options, and every option stays the user's to change afterwards.

#include "audio/TagVersions.h"
#include "jobs/CoverEmbedding.h"

#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <optional>

/// What one profile sets; an empty optional leaves that option as it is.
struct TargetProfile
{
    /// The name the CLI takes (--profile) and the settings keep.
    QLatin1StringView name;
    /// The drop-down's text.
    QLatin1StringView label;
    std::optional<TagVersions> tagVersions;
    std::optional<ID3v2Version> id3v2Version;
    /// "Embed cover in the files".
    std::optional<bool> embedCover;
    /// The limits on the embedded cover (always set: a profile without limits embeds the cover
    /// as it came).
    CoverFit coverFit;
    /// "Force Joliet compatibility for CD burning".
    std::optional<bool> joliet;
    /// "Replace spaces by" (false keeps the spaces).
    std::optional<bool> replaceSpaces;
};

/// The profiles in the drop-down's order; the first, "standard", sets the program's defaults.
[[nodiscard]] const QList<TargetProfile> &targetProfiles();

/// The profile of that name (letter case ignored); null for none.
[[nodiscard]] const TargetProfile *targetProfile(const QString &name);

/// The profile names joined by `separator`, for messages and help.
[[nodiscard]] QString targetProfileNames(const QString &separator);
