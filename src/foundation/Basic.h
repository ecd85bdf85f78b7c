#pragma once
// Text and number rules of the old BASIC that the program's rules are written in.

#include <QString>

namespace Basic {

/// The leading number of a text: "199x" -> 199, "3/12" -> 3, "5.50.4134.600" -> 5.5, "" -> 0.
/// Leading spaces are skipped; a sign and one decimal point are taken.
[[nodiscard]] double val(const QString &text);

/// True when the whole text (spaces around it allowed) is a number.
[[nodiscard]] bool isNumeric(const QString &text);

/// Rounds to a whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
[[nodiscard]] long long roundEven(double value);

/// Removes spaces only (not tabs or other white space) at both ends.
[[nodiscard]] QString trim(const QString &text);
[[nodiscard]] QString ltrim(const QString &text);
[[nodiscard]] QString rtrim(const QString &text);

/// "##,##0": the whole number with the user's locale group separator.
[[nodiscard]] QString formatThousands(long long value);

/// "##00" style: at least `digits` digits, zero-padded.
[[nodiscard]] QString formatDigits(long long value, int digits);

} // namespace Basic
