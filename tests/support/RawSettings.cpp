#include "RawSettings.h"

#include "foundation/Settings.h"

RawSettings::RawSettings(const QString &group)
{
    const QString file = Settings::fileOverride();
    if (file.isEmpty())
        store_ = std::make_unique<QSettings>(QStringLiteral("Varnelt"), QStringLiteral("Varnelt"));
    else
        store_ = std::make_unique<QSettings>(file, QSettings::IniFormat);
    store_->beginGroup(group);
}

RawSettings::~RawSettings() = default;

QString RawSettings::value(const QString &name, const QString &fallback) const
{
    const QVariant v = store_->value(name);
    return v.isValid() ? v.toString() : fallback;
}

void RawSettings::setValue(const QString &name, const QString &value)
{
    store_->setValue(name, value);
}

bool RawSettings::contains(const QString &name) const
{
    return store_->contains(name);
}

void RawSettings::remove(const QString &name)
{
    store_->remove(name);
}

void RawSettings::sync()
{
    store_->sync();
}
