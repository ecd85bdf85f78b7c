#pragma once
// The per-user settings store: organisation and application "Varnelt", group "Settings",
// every value stored as text.

#include "SettingsKeys.h"

#include <QString>
#include <memory>

class QSettings;

class Settings
{
public:
    /// Opens the store at the normal place, or at the file set by setFileOverride(), in the
    /// group "Settings" or the given one (the lookup's site addresses live in "Sites").
    Settings();
    explicit Settings(const QString &group);
    ~Settings();
    Settings(const Settings &) = delete;
    Settings &operator=(const Settings &) = delete;

    // Keys go in only as SettingsKey values, so a misspelt key fails to compile.
    /// Returns the text stored under key, or the key's default when there is none.
    [[nodiscard]] QString value(const SettingsKey &key) const { return value(key, key.defaultValue); }
    /// Returns the text stored under key, or fallback when there is none (for keys whose default
    /// is worked out at run time).
    [[nodiscard]] QString value(const SettingsKey &key, const QString &fallback) const;
    void setValue(const SettingsKey &key, const QString &value);
    [[nodiscard]] bool contains(const SettingsKey &key) const;
    void remove(const SettingsKey &key);
    /// Writes pending changes to disk.
    void sync();

    /// Makes every later Settings use this INI file (tests); empty restores the normal store.
    static void setFileOverride(const QString &file);
    /// The file set by setFileOverride(); empty for the normal store.
    [[nodiscard]] static QString fileOverride();

private:
    std::unique_ptr<QSettings> store_;
};
