#include "Settings.h"

#include <QSettings>

namespace {
QString &overrideSlot()
{
    static QString slot;
    return slot;
}
const QString kGroup = QStringLiteral("Settings");
} // namespace

void Settings::setFileOverride(const QString &file)
{
    overrideSlot() = file;
}

QString Settings::fileOverride()
{
    return overrideSlot();
}

Settings::Settings() : Settings(kGroup) {}

Settings::Settings(const QString &group)
{
    if (overrideSlot().isEmpty())
        store_ = std::make_unique<QSettings>(QStringLiteral("Varnelt"), QStringLiteral("Varnelt"));
    else
        store_ = std::make_unique<QSettings>(overrideSlot(), QSettings::IniFormat);
    store_->beginGroup(group);
}

Settings::~Settings() = default;

QString Settings::value(const SettingsKey &key, const QString &fallback) const
{
    const QVariant v = store_->value(key.name);
    return v.isValid() ? v.toString() : fallback;
}

void Settings::setValue(const SettingsKey &key, const QString &value)
{
    store_->setValue(key.name, value);
}

bool Settings::contains(const SettingsKey &key) const
{
    return store_->contains(key.name);
}

void Settings::remove(const SettingsKey &key)
{
    store_->remove(key.name);
}

void Settings::sync()
{
    store_->sync();
}
