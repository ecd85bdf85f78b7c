#pragma once
// The text effects of the rename page: word capitals, alternating capitals, lower and upper case,
// and the replacement of spaces.

#include <QString>
#include <QStringList>

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

/// Applies the effect of the given drop-down position (0 word capitals, 1 alternating capitals,
/// 2 lower case, 3 upper case); any other position leaves the text unchanged.
[[nodiscard]] QString applyTextEffect(const QString &text, int effectIndex);

/// The text a space becomes for the given drop-down position: "_" for 0, "." for 1, nothing
/// for 2 and for no selection.
[[nodiscard]] QString spaceReplacement(int replaceSpacesIndex);
