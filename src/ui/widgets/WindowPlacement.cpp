#include "ui/widgets/WindowPlacement.h"

#include "foundation/Basic.h"
#include "foundation/Settings.h"
#include "ui/widgets/Twips.h"

#include <QScreen>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

/// A stored number; a text that is no number gives the default.
double storedNumber(const Settings &settings, const SettingsKey &key, double def)
{
    bool ok = false;
    const double value = settings.value(key.name, QString::number(def)).trimmed().toDouble(&ok);
    return ok ? value : def;
}

} // namespace

void restoreWindowPlacement(QWidget *window, const PlacementKeys &keys)
{
    const Settings settings;
    const QScreen *display = window->screen();
    const double tpp = twipsPerPixel(display);
    const QRect screenArea = display ? display->geometry() : QRect(0, 0, 1024, 768);
    const int state = int(Basic::roundEven(storedNumber(settings, keys.state, keys.state.defaultValue.toDouble())));
    const double width = storedNumber(settings, keys.width, keys.width.defaultValue.toDouble());
    const double height = storedNumber(settings, keys.height, keys.height.defaultValue.toDouble());
    const double top = storedNumber(settings, keys.top, screenArea.height() * tpp / 2 - height / 2 - 200);
    const double left = storedNumber(settings, keys.left, screenArea.width() * tpp / 2 - width / 2);

    const QSize size(int(Basic::roundEven(width / tpp)), int(Basic::roundEven(height / tpp)));
    QPoint position(int(Basic::roundEven(left / tpp)), int(Basic::roundEven(top / tpp)));
    // A place on a screen that is no longer there would leave the window out of reach.
    const QRect everyScreen = display ? display->virtualGeometry() : screenArea;
    if (!everyScreen.intersects(QRect(position, size)))
        position = screenArea.center() - QPoint(size.width() / 2, size.height() / 2);
    window->resize(size.expandedTo(window->minimumSizeHint()));
    window->move(position);
    if (state == 2)
        window->setWindowState(Qt::WindowMaximized);
    else if (state == 1)
        window->setWindowState(Qt::WindowMinimized);
}

void storeWindowPlacement(const QWidget *window, const PlacementKeys &keys)
{
    if (window->isMinimized())
        return;
    Settings settings;
    const bool maximized = window->isMaximized();
    settings.setValue(keys.state.name, maximized ? u"2"_s : u"0"_s);
    if (maximized)
        return;
    const double tpp = twipsPerPixel(window->screen());
    settings.setValue(keys.top.name, QString::number(window->pos().y() * tpp));
    settings.setValue(keys.left.name, QString::number(window->pos().x() * tpp));
    settings.setValue(keys.width.name, QString::number(window->width() * tpp));
    settings.setValue(keys.height.name, QString::number(window->height() * tpp));
}
