#pragma once
// Which tag versions an operation reads or writes. The mode drop-downs, the settings store and
// the CLI spell it as a number (1, 2 or 3); everything behind them uses this type.

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
