#pragma once
// The settings store by the names a user's file holds them, for tests that set the store up as a
// user, an older version or a hand edit left it. The program itself reaches the store only through
// SettingsKey values; this class is the one way round that, and it lives with the tests.

#include <QSettings>
#include <QString>
#include <memory>

class RawSettings
{
public:
    /// The same store and group as Settings(group) opens.
    explicit RawSettings(const QString &group = QStringLiteral("Settings"));
    ~RawSettings();

    [[nodiscard]] QString value(const QString &name, const QString &fallback = {}) const;
    void setValue(const QString &name, const QString &value);
    [[nodiscard]] bool contains(const QString &name) const;
    void remove(const QString &name);
    void sync();

private:
    std::unique_ptr<QSettings> store_;
};
