// The desktop program: builds the window and hands control to Qt.
#include "foundation/Version.h"
#include "ui/main/frmMain.h"
#include "ui/side/frmSplash.h"
#include "ui/widgets/MessageBoxPresenter.h"
#include "ui/widgets/PictureDecoding.h"

#include <QApplication>
#include <QIcon>
#include <QStringList>
#include <QTextStream>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {

const char *const kUsage =
    "Usage: varnelt [FOLDER | FILE...]\n"
    "\n"
    "Opens the main window on FOLDER, or on the folder of the MP3 files given, with those files\n"
    "selected; without a path, on the folder used last. A path that does not exist is named in a\n"
    "message, and the folder used last is shown instead.\n"
    "\n"
    "  --help     show this text\n"
    "  --version  show the version\n"
    "  --         every argument after it is a path, even one starting with \"-\"\n";

// What the command line asks for besides the window.
enum class Early { None, Help, Version };

Early earlyAnswer(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            break;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return Early::Help;
        if (std::strcmp(argv[i], "--version") == 0)
            return Early::Version;
    }
    return Early::None;
}

// The paths among the arguments Qt left: every argument that is no option, and every one after "--".
bool startPaths(const QStringList &arguments, QStringList *paths, QString *badOption)
{
    bool optionsEnded = false;
    for (const QString &argument : arguments) {
        if (!optionsEnded && argument == u"--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument.startsWith(u'-') && argument.size() > 1) {
            *badOption = argument;
            return false;
        } else {
            *paths << argument;
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    // Help and the version need no display.
    switch (earlyAnswer(argc, argv)) {
    case Early::Help:
        QTextStream(stdout) << kUsage;
        return 0;
    case Early::Version:
        QTextStream(stdout) << "varnelt " << Version::number() << "\n";
        return 0;
    default:
        break;
    }
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
    // The desktop entry and the icon an installed program comes with carry this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(VARNELT_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(VARNELT_APP_ID)));
    QStringList paths;
    QString badOption;
    if (!startPaths(QCoreApplication::arguments().mid(1), &paths, &badOption)) {
        QTextStream(stderr) << "varnelt: unknown option " << badOption << " (see varnelt --help)\n";
        return 2;
    }
    MessageBoxPresenter::install();
    PictureDecoding::install();
    // The splash is up first; the main window is built and started on its timer's tick, so the
    // splash has painted while start-up runs, and it goes away once the main window is active.
    std::unique_ptr<frmMain> window;
    auto *splash = new frmSplash([&window, &paths]() -> QWidget * {
        window = std::make_unique<frmMain>();
        window->setStartPaths(paths);
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
