#pragma once
// Which tag versions an operation reads or writes. The mode drop-downs, the settings store and
// the CLI spell it as a number (1, 2 or 3); everything behind them uses this type.

#include <QString>
#include <optional>

enum class TagVersions {
    V1Only = 1, ///< "Use ID3v1 Only"
    V2Only = 2, ///< "Use ID3v2 Only"
    Both = 3, ///< "Use ID3v1 + ID3v2"
};

[[nodiscard]] constexpr bool usesV1(TagVersions versions)
{
    return versions == TagVersions::V1Only || versions == TagVersions::Both;
}

[[nodiscard]] constexpr bool usesV2(TagVersions versions)
{
    return versions == TagVersions::V2Only || versions == TagVersions::Both;
}

/// The versions a mode number stands for; none for a number that is no mode.
[[nodiscard]] constexpr std::optional<TagVersions> tagVersionsFromNumber(int number)
{
    if (number < 1 || number > 3)
        return std::nullopt;
    return TagVersions(number);
}

/// The mode number of the versions, as the drop-downs' item data and the settings hold it.
[[nodiscard]] constexpr int tagVersionsNumber(TagVersions versions)
{
    return int(versions);
}

/// The one of four texts that names which tags a file carries: both, ID3v1 only, ID3v2 only, none.
[[nodiscard]] inline QString byTagState(bool hasV1, bool hasV2, const QString &both, const QString &v1Only,
                                        const QString &v2Only, const QString &none)
{
    if (hasV1 && hasV2)
        return both;
    if (hasV1)
        return v1Only;
    return hasV2 ? v2Only : none;
}

/// Which revision of ID3v2 a tag write produces. 2.3 (the default) is what the most players
/// read; its text is ISO-8859-1 where the text fits and UTF-16 otherwise, its year a TYER frame.
/// 2.4 writes its text in UTF-8 and the year as a recording time (TDRC). Drop-downs, settings and
/// the CLI spell it 3 or 4.
enum class ID3v2Version {
    V3 = 3,
    V4 = 4,
};

/// The revision a number (3 or 4) stands for; none for any other number.
[[nodiscard]] constexpr std::optional<ID3v2Version> id3v2VersionFromNumber(int number)
{
    if (number != 3 && number != 4)
        return std::nullopt;
    return ID3v2Version(number);
}
