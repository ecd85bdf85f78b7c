#pragma once
// The text effects of the rename page: word capitals, alternating capitals, lower and upper case,
// and the replacement of spaces.

#include "naming/NamingInput.h"

#include <QString>
#include <QStringList>
#include <optional>

/// The items of the text effect drop-down, by position.
[[nodiscard]] QStringList textEffectItems();

/// The items of the space replacement drop-down, by position.
[[nodiscard]] QStringList replaceSpacesItems();

/// Word capitals: the text in lower case, each word's first letter in upper case. A word starts
/// at the beginning and after a space, ".", "-" or a folder separator ("\" or "/"); after an
/// apostrophe, bracket, underscore or digit the next letter stays lower case.
[[nodiscard]] QString toCapitals(const QString &text);

/// Alternating capitals: counting characters from 1 over the whole text, the letters A-Z and a-z
/// become lower case at odd positions and upper case at even ones; everything else stays.
[[nodiscard]] QString AltCaps(const QString &text);

/// Applies the effect to the text.
[[nodiscard]] QString applyTextEffect(const QString &text, TextEffect effect);

/// The text a space becomes: "_", "." or nothing.
[[nodiscard]] QString spaceReplacement(SpaceReplacement replacement);

/// The effect at a position of the text effect drop-down (as stored in the settings and given
/// to the CLI); none for a position it does not have, which leaves the text unchanged.
[[nodiscard]] std::optional<TextEffect> textEffectAt(int position);

/// The replacement at a position of the space replacement drop-down; a position it does not have
/// (no selection) removes the spaces.
[[nodiscard]] SpaceReplacement spaceReplacementAt(int position);
