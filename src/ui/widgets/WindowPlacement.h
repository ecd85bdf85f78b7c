#pragma once
// A window's state, size and place kept in the settings store, in twips: restored when the
// window opens (a missing top or left centres the restored size, 200 twips above the middle),
// stored when it closes (a minimised window stores nothing, a maximised one only its state).
//
// Every window of the program also opens wholly on its screen: a dialog or side window centred
// over the window that owns it, a window with a stored place kept there as far as the screen
// allows. The program's QApplication does this for every window it shows (installed at start,
// see WindowPlacement.cpp), so no window places itself.

#include "foundation/SettingsKeys.h"

#include <QMargins>
#include <QRect>

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

/// The window frame `frame` moved, and shrunk where it is larger, so that it lies wholly
/// inside `area`.
[[nodiscard]] QRect keptInside(const QRect &frame, const QRect &area);

/// The title bar and borders around a window: its own once the window system drew them,
/// before that those of another shown window of the program.
[[nodiscard]] QMargins frameMargins(const QWidget *window);

/// Brings a top-level window (frame included) wholly onto the available area of its screen:
/// moved back from an edge, made smaller when it does not fit. A maximised or full-screen
/// window is left to the window system.
void fitOnScreen(QWidget *window);

/// Centres a window over the window that owns it (over its screen when it has no shown owner),
/// then fits it on the screen.
void placeOverOwner(QWidget *window);
