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

QString Settings::value(const QString &key, const QString &def) const
{
    const QVariant v = store_->value(key);
    return v.isValid() ? v.toString() : def;
}

void Settings::setValue(const QString &key, const QString &value)
{
    store_->setValue(key, value);
}

bool Settings::contains(const QString &key) const
{
    return store_->contains(key);
}

void Settings::remove(const QString &key)
{
    store_->remove(key);
}

void Settings::sync()
{
    store_->sync();
}
