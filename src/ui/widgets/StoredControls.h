#pragma once
// Controls whose value the settings store keeps: each window lists its own as a table of rows
// (key, control, how the value is written) and restores and stores them from that one table.

#include "foundation/SettingsKeys.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class Settings;

struct StoredControl
{
    enum class Kind {
        ListIndex, ///< a drop-down's position, as a number
        Check, ///< a check box, "1" or "0"
        Text, ///< a drop-down's text
    };

    SettingsKey key;
    Kind kind = Kind::ListIndex;
    QComboBox *list = nullptr;
    QCheckBox *check = nullptr;
    /// Text only: puts the stored text back by the control's own rules.
    std::function<void(const QString &)> restoreText;
    /// Run once the value was restored, or found unreadable.
    std::function<void()> afterRestore;
};

[[nodiscard]] StoredControl storedListIndex(const SettingsKey &key, QComboBox *list);
[[nodiscard]] StoredControl storedCheck(const SettingsKey &key, QCheckBox *check);
[[nodiscard]] StoredControl storedText(const SettingsKey &key, QComboBox *list,
                                       std::function<void(const QString &)> restoreText);

/// Puts the stored value back into the control. A value that cannot be read leaves the control
/// as it is and says why ("Type mismatch", "Invalid property value").
void restoreControl(const Settings &settings, const StoredControl &control);
void storeControl(Settings &settings, const StoredControl &control);

/// A stored number, or nothing when the text is not one (the user then hears about it).
[[nodiscard]] std::optional<double> storedNumber(const Settings &settings, const SettingsKey &key,
                                                 const QString &def);
[[nodiscard]] std::optional<double> storedNumber(const Settings &settings, const SettingsKey &key);
