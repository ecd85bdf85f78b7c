#pragma once
// Controls carry their role's name as object name, so tests and the settings code find them.

#include <QString>

template <typename T>
T *named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}
