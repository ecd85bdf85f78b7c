#pragma once
// Text from files and pages made safe to print on a line of its own.

#include <QString>

/// The text with every control character escaped, so a value read from a file (a title with line
/// breaks, a terminal escape) can never start a line of its own or steer the terminal: a line
/// break (CR LF, CR or LF) becomes "\n", a tab "\t", any other control or line separator "\xHH"
/// or "\uHHHH".
[[nodiscard]] QString printableText(const QString &text);
