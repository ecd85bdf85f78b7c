#include "ui/widgets/WindowPlacement.h"

#include "foundation/Basic.h"
#include "foundation/Settings.h"
#include "ui/widgets/Twips.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

/// A stored number; a text that is no number gives the default.
double storedNumber(const Settings &settings, const SettingsKey &key, double def)
{
    bool ok = false;
    const double value = settings.value(key, QString::number(def)).trimmed().toDouble(&ok);
    return ok ? value : def;
}

QScreen *screenOf(const QWidget *window)
{
    if (const QWidget *owner = window->parentWidget(); owner && owner->window()->isVisible()) {
        if (QScreen *s = QGuiApplication::screenAt(owner->window()->frameGeometry().center()))
            return s;
    }
    if (QScreen *s = QGuiApplication::screenAt(window->frameGeometry().center()))
        return s;
    return window->screen() ? window->screen() : QGuiApplication::primaryScreen();
}

bool placedByUs(const QWidget *window)
{
    const Qt::WindowType type = window->windowType();
    return window->isWindow() && type != Qt::Popup && type != Qt::ToolTip && type != Qt::Desktop
        && type != Qt::SubWindow && !window->testAttribute(Qt::WA_DontShowOnScreen);
}

/// Places every window the program shows: dialogs over their owner, and all of them on the
/// screen. A dialog with a place of its own (restored from the settings) keeps it. Once the
/// window system has drawn the frame, which it may do only after the first show, the window
/// is checked again, as a title bar above the screen cannot be reached to move the window.
class WindowPlacer : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if ((type != QEvent::Show && type != QEvent::WindowActivate) || !watched->isWidgetType())
            return false;
        auto *window = static_cast<QWidget *>(watched);
        if (!placedByUs(window))
            return false;
        if (type == QEvent::Show) {
            if (qobject_cast<QDialog *>(window) && !window->testAttribute(Qt::WA_Moved)) {
                placeOverOwner(window);
                // Qt's own centring of a dialog would otherwise run after this and undo it.
                window->setAttribute(Qt::WA_Moved);
            } else {
                fitOnScreen(window);
            }
            window->setProperty(RecheckProperty, true);
        } else if (window->property(RecheckProperty).toBool()) {
            window->setProperty(RecheckProperty, false);
            fitOnScreen(window);
        }
        return false;
    }

private:
    static constexpr const char *RecheckProperty = "varneltPlacementRecheck";
};

void installWindowPlacer()
{
    // Only a widget application shows windows; the command-line program never links this.
    if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance()))
        app->installEventFilter(new WindowPlacer(app));
}

} // namespace

// Every QApplication of a program that links the windows places them, the test programs too.
Q_COREAPP_STARTUP_FUNCTION(installWindowPlacer)

QRect keptInside(const QRect &frame, const QRect &area)
{
    QRect result(frame.topLeft(), frame.size().boundedTo(area.size()));
    if (result.right() > area.right())
        result.moveRight(area.right());
    if (result.bottom() > area.bottom())
        result.moveBottom(area.bottom());
    if (result.left() < area.left())
        result.moveLeft(area.left());
    if (result.top() < area.top())
        result.moveTop(area.top());
    return result;
}

QMargins frameMargins(const QWidget *window)
{
    const auto marginsOf = [](const QWidget *w) {
        const QRect frame = w->frameGeometry();
        const QRect inner = w->geometry();
        return QMargins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                        frame.bottom() - inner.bottom());
    };
    const QMargins own = marginsOf(window);
    if (!own.isNull() || window->isVisible())
        return own;
    for (const QWidget *other : QApplication::topLevelWidgets()) {
        if (other != window && other->isVisible() && !other->isMaximized()) {
            const QMargins theirs = marginsOf(other);
            if (!theirs.isNull())
                return theirs;
        }
    }
    return own;
}

void fitOnScreen(QWidget *window)
{
    if (!window->isWindow() || (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)))
        return;
    const QScreen *display = screenOf(window);
    if (!display)
        return;
    const QRect area = display->availableGeometry();
    const QMargins margins = frameMargins(window);
    const QRect frame(window->pos(), window->size().grownBy(margins));
    const QRect fitted = keptInside(frame, area);
    const QSize inner = fitted.size().shrunkBy(margins).expandedTo(window->minimumSize());
    if (inner != window->size())
        window->resize(inner);
    if (fitted.topLeft() != window->pos())
        window->move(fitted.topLeft());
}

void placeOverOwner(QWidget *window)
{
    const QWidget *owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    const QScreen *display = screenOf(window);
    QPoint centre;
    if (owner && owner->isVisible() && !owner->isMinimized())
        centre = owner->frameGeometry().center();
    else if (display)
        centre = display->availableGeometry().center();
    else
        return;
    const QSize frame = window->size().grownBy(frameMargins(window));
    window->move(centre - QPoint(frame.width() / 2, frame.height() / 2));
    fitOnScreen(window);
}

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
    const QPoint position(int(Basic::roundEven(left / tpp)), int(Basic::roundEven(top / tpp)));
    window->resize(size.expandedTo(window->minimumSizeHint()));
    window->move(position);
    // A place on a screen that is no longer there, or a size from a larger screen or another
    // scale, is brought back onto the screen the window opens on.
    fitOnScreen(window);
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
    settings.setValue(keys.state, maximized ? u"2"_s : u"0"_s);
    if (maximized)
        return;
    const double tpp = twipsPerPixel(window->screen());
    settings.setValue(keys.top, QString::number(window->pos().y() * tpp));
    settings.setValue(keys.left, QString::number(window->pos().x() * tpp));
    settings.setValue(keys.width, QString::number(window->width() * tpp));
    settings.setValue(keys.height, QString::number(window->height() * tpp));
}
