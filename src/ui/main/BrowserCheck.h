#pragma once
// The start-up check of the embedded web engine's version: the lookup window needs a recent
// engine, and with an older or unknown one the user may stop before anything else happens.

#include <QString>
#include <optional>

namespace BrowserCheck {

/// What start-up does with the version found.
struct Outcome {
    /// The version kept for the about window: the version found, or "N/A".
    QString webEngineVersion;
    /// True when the user must be asked whether to continue.
    bool mustAsk = false;
    /// The question to ask when mustAsk is set.
    QString question;
};

/// Decides the check from the engine's version text; nullopt when no engine could be found.
/// A version whose leading number is at least 5 passes without a question.
[[nodiscard]] Outcome evaluate(const std::optional<QString> &foundVersion);

/// The question naming the version as shown ("4.72", "unknow").
[[nodiscard]] QString questionText(const QString &shownVersion);

/// The title of the question box.
[[nodiscard]] QString questionTitle();

/// The version of the web engine built into the program (its browser core's own version).
[[nodiscard]] std::optional<QString> engineVersion();

} // namespace BrowserCheck
