// The desktop program: builds the window and hands control to Qt.
#include "ui/main/frmMain.h"
#include "ui/side/frmSplash.h"
#include "ui/widgets/MessageBoxPresenter.h"
#include "ui/widgets/PictureDecoding.h"

#include <QApplication>
#include <QTextStream>
#include <memory>
#include <unistd.h>

int main(int argc, char **argv)
{
    const bool noDisplay = qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (noDisplay) {
        QTextStream(stderr) << "varnelt needs a display, and none is set (DISPLAY and WAYLAND_DISPLAY are empty).\n"
                               "Without a display, use the command-line front end: varnelt-cli --help\n";
        return 1;
    }
    // The embedded browser refuses its sandbox when run as root.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Varnelt"));
    QApplication::setApplicationName(QStringLiteral("Varnelt"));
    MessageBoxPresenter::install();
    PictureDecoding::install();
    // The splash is up first; the main window is built and started on its timer's tick, so the
    // splash has painted while start-up runs, and it goes away once the main window is active.
    std::unique_ptr<frmMain> window;
    auto *splash = new frmSplash([&window]() -> QWidget * {
        window = std::make_unique<frmMain>();
        // Stopping at the browser check ends the program before the window is ever shown.
        if (!window->startUp()) {
            QCoreApplication::exit(0);
            return nullptr;
        }
        window->show();
        return window.get();
    });
    splash->show();
    return app.exec();
}
