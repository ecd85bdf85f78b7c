#pragma once
// A window's state, size and place kept in the settings store, in twips: restored when the
// window opens (a missing top or left centres the restored size, 200 twips above the middle),
// stored when it closes (a minimised window stores nothing, a maximised one only its state).

#include "foundation/SettingsKeys.h"

class QWidget;

struct PlacementKeys
{
    const SettingsKey &state;
    const SettingsKey &width;
    const SettingsKey &height;
    const SettingsKey &top;
    const SettingsKey &left;
};

void restoreWindowPlacement(QWidget *window, const PlacementKeys &keys);
void storeWindowPlacement(const QWidget *window, const PlacementKeys &keys);
