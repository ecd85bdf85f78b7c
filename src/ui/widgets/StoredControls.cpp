#include "StoredControls.h"

#include "foundation/Basic.h"
#include "foundation/MessageGateway.h"
#include "foundation/Settings.h"

#include <QCheckBox>
#include <QComboBox>

using namespace Qt::StringLiterals;

namespace {

void restoreListIndex(const Settings &settings, QComboBox *combo, const SettingsKey &key)
{
    const auto value = storedNumber(settings, key);
    if (!value)
        return;
    const long long index = Basic::roundEven(*value);
    if (index < -1 || index >= combo->count()) {
        Msg::showError(u"Invalid property value"_s);
        return;
    }
    combo->setCurrentIndex(int(index));
}

void restoreCheck(const Settings &settings, QCheckBox *check, const SettingsKey &key)
{
    const auto value = storedNumber(settings, key);
    if (!value)
        return;
    const long long state = Basic::roundEven(*value);
    if (state != 0 && state != 1) {
        Msg::showError(u"Invalid property value"_s);
        return;
    }
    check->setChecked(state == 1);
}

} // namespace

namespace {

StoredControl makeStored(const SettingsKey &key, StoredControl::Kind kind, QComboBox *list, QCheckBox *check)
{
    StoredControl control;
    control.key = key;
    control.kind = kind;
    control.list = list;
    control.check = check;
    return control;
}

} // namespace

StoredControl storedListIndex(const SettingsKey &key, QComboBox *list)
{
    return makeStored(key, StoredControl::Kind::ListIndex, list, nullptr);
}

StoredControl storedCheck(const SettingsKey &key, QCheckBox *check)
{
    return makeStored(key, StoredControl::Kind::Check, nullptr, check);
}

StoredControl storedText(const SettingsKey &key, QComboBox *list, std::function<void(const QString &)> restoreText)
{
    StoredControl control = makeStored(key, StoredControl::Kind::Text, list, nullptr);
    control.restoreText = std::move(restoreText);
    return control;
}

void restoreControl(const Settings &settings, const StoredControl &control)
{
    switch (control.kind) {
    case StoredControl::Kind::ListIndex:
        restoreListIndex(settings, control.list, control.key);
        break;
    case StoredControl::Kind::Check:
        restoreCheck(settings, control.check, control.key);
        break;
    case StoredControl::Kind::Text:
        control.restoreText(settings.value(control.key));
        break;
    }
    if (control.afterRestore)
        control.afterRestore();
}

void storeControl(Settings &settings, const StoredControl &control)
{
    switch (control.kind) {
    case StoredControl::Kind::ListIndex:
        settings.setValue(control.key, QString::number(control.list->currentIndex()));
        break;
    case StoredControl::Kind::Check:
        settings.setValue(control.key, control.check->isChecked() ? u"1"_s : u"0"_s);
        break;
    case StoredControl::Kind::Text:
        settings.setValue(control.key, control.list->currentText());
        break;
    }
}

std::optional<double> storedNumber(const Settings &settings, const SettingsKey &key, const QString &def)
{
    const QString text = settings.value(key, def);
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok) {
        Msg::showError(u"Type mismatch"_s);
        return std::nullopt;
    }
    return value;
}

std::optional<double> storedNumber(const Settings &settings, const SettingsKey &key)
{
    return storedNumber(settings, key, key.defaultValue);
}
