#pragma once
// What the main window keeps between runs: its pages' stored controls and its placement (state,
// size and place in twips), restored at start-up and stored at exit.

#include <QList>
#include <functional>

class QWidget;
struct StoredControl;

class MainWindowSettings
{
public:
    /// `controls` lists the pages' stored controls each time it is called.
    MainWindowSettings(QWidget &window, std::function<QList<StoredControl>()> controls);

    /// Puts the stored values back into the controls, in the main window's fixed order.
    void restoreControls() const;
    /// Sizes, places and maximises or minimises the window as stored. The first run asks for
    /// at least `firstRunWidth` pixels, so the lists show whole names.
    void restorePlacement(int firstRunWidth) const;
    /// Stores the placement (not that of a minimised window) and the controls.
    void store() const;

private:
    QWidget &window_;
    std::function<QList<StoredControl>()> controls_;
};
