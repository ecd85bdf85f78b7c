#include "MainWindowSettings.h"

#include "foundation/Basic.h"
#include "foundation/Settings.h"
#include "ui/widgets/StoredControls.h"
#include "ui/widgets/Twips.h"
#include "ui/widgets/WindowPlacement.h"

#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The default of a number key, for when the stored text is not a number.
double defaultNumber(const SettingsKey &key)
{
    return QString(key.defaultValue).toDouble();
}

} // namespace

MainWindowSettings::MainWindowSettings(QWidget &window, std::function<QList<StoredControl>()> controls)
    : window_(window)
    , controls_(std::move(controls))
{
}

void MainWindowSettings::restoreControls() const
{
    QList<StoredControl> controls = controls_();
    const auto rank = [](const StoredControl &control) {
        const auto &order = SettingsKeys::MainWindowRestoreOrder;
        return std::find_if(order.begin(), order.end(),
                   [&](const SettingsKey *key) { return key->name == control.key.name; })
            - order.begin();
    };
    std::stable_sort(controls.begin(), controls.end(),
        [&](const StoredControl &a, const StoredControl &b) { return rank(a) < rank(b); });
    const Settings settings;
    for (const StoredControl &control : controls)
        restoreControl(settings, control);
}

void MainWindowSettings::restorePlacement(int firstRunWidth) const
{
    const Settings settings;
    const QScreen *display = window_.screen();
    const double tpp = twipsPerPixel(display);
    const QRect screenArea = display ? display->geometry() : QRect(0, 0, 1024, 768);

    int state = 0;
    if (const auto value = storedNumber(settings, SettingsKeys::AppWindowState))
        state = int(Basic::roundEven(*value));
    double width = defaultNumber(SettingsKeys::AppWidth);
    double height = defaultNumber(SettingsKeys::AppHeight);
    if (const auto value = storedNumber(settings, SettingsKeys::AppWidth))
        width = *value;
    if (const auto value = storedNumber(settings, SettingsKeys::AppHeight))
        height = *value;
    // The first run opens large enough for the lists to show whole names and every page the
    // room it asks for, as far as the screen allows: the default size is far too small for a
    // folder of long file names. A stored size is used as it is, unless the screen is smaller.
    const QRect room = display ? display->availableGeometry() : screenArea;
    const bool firstRun = !settings.contains(SettingsKeys::AppWidth) && !settings.contains(SettingsKeys::AppHeight);
    if (firstRun) {
        const QSize roomy(firstRunWidth + 2 * window_.style()->pixelMetric(QStyle::PM_LayoutLeftMargin),
                          room.height() * 9 / 10);
        const QSize wanted = window_.sizeHint().expandedTo(roomy).boundedTo(room.size());
        width = std::max(width, wanted.width() * tpp);
        height = std::max(height, wanted.height() * tpp);
    }
    // The defaults of top and left centre the size just restored, 200 twips above the middle.
    const double screenWidth = screenArea.width() * tpp;
    const double screenHeight = screenArea.height() * tpp;
    double top = screenHeight / 2 - height / 2 - 200;
    double left = screenWidth / 2 - width / 2;
    if (const auto value = storedNumber(settings, SettingsKeys::AppTop, QString::number(top)))
        top = *value;
    if (const auto value = storedNumber(settings, SettingsKeys::AppLeft, QString::number(left)))
        left = *value;

    const QSize size(int(Basic::roundEven(width / tpp)), int(Basic::roundEven(height / tpp)));
    const QPoint position(int(Basic::roundEven(left / tpp)), int(Basic::roundEven(top / tpp)));
    window_.resize(size.expandedTo(window_.minimumSizeHint()));
    window_.move(position);
    // A place on a screen that is no longer there, or a size stored on a larger screen or at
    // another scale, would leave the window (its bottom buttons first) out of reach.
    fitOnScreen(&window_);
    if (state == 2)
        window_.setWindowState(Qt::WindowMaximized);
    else if (state == 1)
        window_.setWindowState(Qt::WindowMinimized);
}

void MainWindowSettings::store() const
{
    Settings settings;
    const Qt::WindowStates state = window_.windowState();
    if (!(state & Qt::WindowMinimized)) {
        const bool maximized = state & (Qt::WindowMaximized | Qt::WindowFullScreen);
        settings.setValue(SettingsKeys::AppWindowState, maximized ? u"2"_s : u"0"_s);
        if (!maximized) {
            const double tpp = twipsPerPixel(window_.screen());
            settings.setValue(SettingsKeys::AppTop, QString::number(window_.pos().y() * tpp));
            settings.setValue(SettingsKeys::AppLeft, QString::number(window_.pos().x() * tpp));
            settings.setValue(SettingsKeys::AppWidth, QString::number(window_.width() * tpp));
            settings.setValue(SettingsKeys::AppHeight, QString::number(window_.height() * tpp));
        }
    }

    for (const StoredControl &control : controls_())
        storeControl(settings, control);
    settings.sync();
}
