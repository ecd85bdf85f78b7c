// Rules the code base keeps: message boxes and file dialogs are built in one place each, and
// the core folders never include a widget (or other GUI) header nor one of the embedded web
// engine, so the CLI and the core tests stay headless; the widgets every window shares include
// no window; every window's push buttons are the skinnable button; the core folders above the
// gateway raise no message box themselves; a core layer includes only the layers below it; the
// settings store is reached through its typed keys only.
#include "support/TestEnv.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

QString sourceRoot()
{
    return QDir::cleanPath(fixturePath(u".."_s) + u"/../src"_s);
}

QStringList sourceFiles(const QString &root)
{
    QStringList files;
    QDirIterator it(root, {u"*.h"_s, u"*.cpp"_s}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

QString relative(const QString &root, const QString &file)
{
    return QDir(root).relativeFilePath(file);
}

/// Files outside `allowed` (paths relative to root) that mention the word.
QStringList filesUsing(const QString &root, const QString &word, const QStringList &allowed)
{
    QStringList offenders;
    for (const QString &file : sourceFiles(root)) {
        const QString name = relative(root, file);
        if (allowed.contains(name))
            continue;
        if (QString::fromUtf8(readAll(file)).contains(word))
            offenders << name;
    }
    return offenders;
}

QSet<QString> headersOf(const QString &module)
{
    const QDir dir(QLibraryInfo::path(QLibraryInfo::HeadersPath) + u'/' + module);
    const QStringList names = dir.entryList(QDir::Files);
    return QSet<QString>(names.begin(), names.end());
}

/// The modules the core must not use: widgets, GUI and the embedded web engine.
const QStringList GuiModules = {u"QtWidgets"_s, u"QtGui"_s, u"QtWebEngineCore"_s, u"QtWebEngineWidgets"_s};

/// The GUI headers: everything those modules offer that QtCore does not.
QSet<QString> guiHeaders()
{
    QSet<QString> gui;
    for (const QString &module : GuiModules)
        gui += headersOf(module);
    gui -= headersOf(u"QtCore"_s);
    for (const QString &module : GuiModules)
        gui << module;
    return gui;
}

QStringList includesOf(const QString &file)
{
    static const QRegularExpression include(uR"(^\s*#\s*include\s*[<"]([^>"]+)[>"])"_s,
        QRegularExpression::MultilineOption);
    QStringList headers;
    auto matches = include.globalMatch(QString::fromUtf8(readAll(file)));
    while (matches.hasNext())
        headers << matches.next().captured(1);
    return headers;
}

/// "folder/file: header" for every include of a GUI header in the given folders.
QStringList guiIncludes(const QString &root, const QStringList &folders)
{
    const QSet<QString> gui = guiHeaders();
    QStringList offenders;
    for (const QString &folder : folders) {
        for (const QString &file : sourceFiles(root + u'/' + folder)) {
            for (const QString &header : includesOf(file)) {
                const QString module = header.section(u'/', 0, 0);
                const QString name = header.section(u'/', -1);
                if (GuiModules.contains(module) || gui.contains(name))
                    offenders << relative(root, file) + u": "_s + header;
            }
        }
    }
    offenders.sort();
    return offenders;
}

/// "ui/widgets/file: header" for every include of a window's header by the shared controls:
/// they serve every window, so they know none of them.
QStringList windowIncludesOfWidgets(const QString &root)
{
    QStringList offenders;
    for (const QString &file : sourceFiles(root + u"/ui/widgets"_s)) {
        for (const QString &header : includesOf(file)) {
            if (header.startsWith(u"ui/"_s) && !header.startsWith(u"ui/widgets/"_s))
                offenders << relative(root, file) + u": "_s + header;
        }
    }
    return offenders;
}

const QStringList CoreFolders = {u"foundation"_s, u"audio"_s, u"naming"_s, u"lookup"_s, u"album"_s, u"jobs"_s};

/// The core's layers and the folders each may include from besides its own: a layer knows the
/// ones below it, never one beside or above it.
const QList<std::pair<QString, QStringList>> CoreLayers = {
    {u"foundation"_s, {}},
    {u"audio"_s, {u"foundation"_s}},
    {u"naming"_s, {u"foundation"_s}},
    {u"lookup"_s, {u"foundation"_s, u"audio"_s, u"naming"_s}},
    {u"album"_s, {u"foundation"_s, u"audio"_s, u"naming"_s, u"lookup"_s}},
    {u"jobs"_s, {u"foundation"_s, u"audio"_s, u"naming"_s, u"lookup"_s, u"album"_s}},
};

/// "folder/file: header" for every include by a core layer of a source folder it may not know.
QStringList layerIncludes(const QString &root)
{
    const QStringList sourceFolders = QDir(sourceRoot()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QStringList offenders;
    for (const auto &[layer, below] : CoreLayers) {
        for (const QString &file : sourceFiles(root + u'/' + layer)) {
            for (const QString &header : includesOf(file)) {
                const QString folder = header.section(u'/', 0, 0);
                if (header.contains(u'/') && folder != layer && sourceFolders.contains(folder)
                    && !below.contains(folder))
                    offenders << relative(root, file) + u": "_s + header;
            }
        }
    }
    offenders.sort();
    return offenders;
}

/// The core folders above the gateway: they hand problems and questions back as values (or put a
/// question through the callback they are given), never raise a box themselves.
const QStringList QuietFolders = {u"audio"_s, u"naming"_s, u"lookup"_s, u"album"_s, u"jobs"_s};

/// "folder/file: call" for every use in the given folders of a gateway function that raises a box
/// (the gateway's types, such as Msg::Message and Msg::Question, are fine).
QStringList boxCalls(const QString &root, const QStringList &folders)
{
    static const QRegularExpression call(
        uR"(\bMsg\s*::\s*(ask|showErrors?|viaGateway|setPresenter)\b|\busing\s+namespace\s+Msg\b)"_s);
    QStringList offenders;
    for (const QString &folder : folders) {
        for (const QString &file : sourceFiles(root + u'/' + folder)) {
            auto matches = call.globalMatch(QString::fromUtf8(readAll(file)));
            while (matches.hasNext())
                offenders << relative(root, file) + u": "_s + matches.next().captured(0);
        }
    }
    offenders.sort();
    return offenders;
}

} // namespace

TEST(SourceRules, MessageBoxesOnlyInThePresenter)
{
    ASSERT_TRUE(QFile::exists(sourceRoot() + u"/ui/widgets/MessageBoxPresenter.cpp"_s)) << sourceRoot().toStdString();
    const QStringList offenders = filesUsing(sourceRoot(), u"QMessageBox"_s,
        {u"ui/widgets/MessageBoxPresenter.h"_s, u"ui/widgets/MessageBoxPresenter.cpp"_s});
    EXPECT_TRUE(offenders.isEmpty()) << "QMessageBox used in: " << offenders.join(u", "_s).toStdString();
}

TEST(SourceRules, CoreRaisesNoMessageBox)
{
    ASSERT_TRUE(QFile::exists(sourceRoot() + u"/jobs/AlbumRenameJob.cpp"_s));
    const QStringList offenders = boxCalls(sourceRoot(), QuietFolders);
    EXPECT_TRUE(offenders.isEmpty()) << offenders.join(u"; "_s).toStdString();
}

TEST(SourceRules, FileDialogsOnlyInTheDialogHelper)
{
    const QStringList offenders = filesUsing(sourceRoot(), u"QFileDialog"_s, {u"ui/widgets/Dialogs.h"_s, u"ui/widgets/Dialogs.cpp"_s});
    EXPECT_TRUE(offenders.isEmpty()) << "QFileDialog used in: " << offenders.join(u", "_s).toStdString();
}

TEST(SourceRules, TheSettingsStoreOnlyThroughItsKeys)
{
    // Settings takes SettingsKey values only; a QSettings elsewhere would take any string again.
    const QStringList offenders = filesUsing(sourceRoot(), u"QSettings"_s,
        {u"foundation/Settings.h"_s, u"foundation/Settings.cpp"_s});
    EXPECT_TRUE(offenders.isEmpty()) << "QSettings used in: " << offenders.join(u", "_s).toStdString();
}

TEST(SourceRules, PushButtonsAreButtonEx)
{
    // The platform's message box builds its own buttons; every window's own buttons are ButtonEx.
    const QStringList offenders = filesUsing(sourceRoot(), u"QPushButton"_s,
        {u"ui/widgets/MessageBoxPresenter.h"_s, u"ui/widgets/MessageBoxPresenter.cpp"_s});
    EXPECT_TRUE(offenders.isEmpty()) << "QPushButton used in: " << offenders.join(u", "_s).toStdString();
}

TEST(SourceRules, CoreFoldersIncludeNoGuiHeader)
{
    ASSERT_FALSE(guiHeaders().isEmpty()) << "the Qt header folders were not found";
    const QStringList offenders = guiIncludes(sourceRoot(), CoreFolders);
    EXPECT_TRUE(offenders.isEmpty()) << offenders.join(u"; "_s).toStdString();
}

TEST(SourceRules, CoreLayersIncludeOnlyTheLayersBelow)
{
    ASSERT_TRUE(QFile::exists(sourceRoot() + u"/album/DirectoryListing.h"_s));
    const QStringList offenders = layerIncludes(sourceRoot());
    EXPECT_TRUE(offenders.isEmpty()) << offenders.join(u"; "_s).toStdString();
}

TEST(SourceRules, WindowsReachTheirPagesByTypeNotByName)
{
    // Object names stay set (tests find controls by them), but renaming a control must not
    // silently cut a wire: production code never looks a control up by its name.
    const QStringList offenders = filesUsing(sourceRoot(), u"findChild<"_s, {});
    EXPECT_TRUE(offenders.isEmpty()) << "findChild used in: " << offenders.join(u", "_s).toStdString();
}

TEST(SourceRules, SharedWidgetsIncludeNoWindow)
{
    ASSERT_TRUE(QFile::exists(sourceRoot() + u"/ui/widgets/Icons.h"_s));
    const QStringList offenders = windowIncludesOfWidgets(sourceRoot());
    EXPECT_TRUE(offenders.isEmpty()) << offenders.join(u"; "_s).toStdString();
}

TEST(SourceRules, TheChecksFindPlantedOffences)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto plant = [&](const QString &name, const QByteArray &text) {
        QDir().mkpath(QFileInfo(dir.filePath(name)).absolutePath());
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    plant(u"jobs/Clean.cpp"_s, "#include <QString>\n#include \"jobs/Other.h\"\n#include <QFileInfo>\n");
    plant(u"jobs/Widgety.cpp"_s, "#include <QString>\n  #  include <QTreeWidget>\n");
    plant(u"naming/Gui.h"_s, "#include <QtGui/QImage>\n");
    plant(u"audio/Pixmap.cpp"_s, "#include \"QPixmap\"\n");
    plant(u"lookup/Engine.cpp"_s, "#include <QWebEnginePage>\n#include <QtWebEngineCore/QWebEngineScript>\n");
    plant(u"ui/Window.cpp"_s, "#include <QWidget>\nQMessageBox::warning(nullptr, {}, {});\n");
    plant(u"ui/MessageBoxPresenter.cpp"_s, "QMessageBox box;\n");
    plant(u"jobs/Asks.cpp"_s, "void f() { Msg::ask(u\"x\"_s, {}); }\nconst auto q = Msg::viaGateway();\n");
    plant(u"audio/Errs.cpp"_s, "Msg:: showError(text);\nMsg::showErrors(list);\n");
    plant(u"naming/Using.cpp"_s, "using namespace Msg;\n");
    plant(u"lookup/Asked.cpp"_s, "Msg::Message m;\nbool go(const Msg::Question &ask) { return ask(m) == Msg::Answer::Yes; }\n");
    plant(u"foundation/Gateway.cpp"_s, "void showError() { Msg::ask({}); }\n");
    plant(u"album/Up.cpp"_s, "#include \"album/Listing.h\"\n#include \"lookup/AlbumRecord.h\"\n#include \"jobs/TagEditing.h\"\n");
    plant(u"audio/Beside.h"_s, "#include \"naming/NameBuilder.h\"\n#include <QtCore/QString>\n");
    plant(u"foundation/Ui.cpp"_s, "#include \"ui/widgets/Icons.h\"\n#include \"browser/PageBridge.h\"\n");
    plant(u"ui/widgets/Knob.cpp"_s, "#include \"Knob.h\"\n#include \"ui/widgets/Icons.h\"\n#include \"ui/main/frmMain.h\"\n");

    EXPECT_EQ(guiIncludes(dir.path(), CoreFolders),
        QStringList({u"audio/Pixmap.cpp: QPixmap"_s, u"jobs/Widgety.cpp: QTreeWidget"_s,
                     u"lookup/Engine.cpp: QWebEnginePage"_s, u"lookup/Engine.cpp: QtWebEngineCore/QWebEngineScript"_s,
                     u"naming/Gui.h: QtGui/QImage"_s}));
    EXPECT_EQ(filesUsing(dir.path(), u"QMessageBox"_s, {u"ui/MessageBoxPresenter.cpp"_s}),
        QStringList({u"ui/Window.cpp"_s}));
    EXPECT_EQ(windowIncludesOfWidgets(dir.path()), QStringList({u"ui/widgets/Knob.cpp: ui/main/frmMain.h"_s}));
    EXPECT_EQ(layerIncludes(dir.path()),
        QStringList({u"album/Up.cpp: jobs/TagEditing.h"_s, u"audio/Beside.h: naming/NameBuilder.h"_s,
                     u"foundation/Ui.cpp: browser/PageBridge.h"_s, u"foundation/Ui.cpp: ui/widgets/Icons.h"_s}));
    EXPECT_EQ(boxCalls(dir.path(), QuietFolders),
        QStringList({u"audio/Errs.cpp: Msg:: showError"_s, u"audio/Errs.cpp: Msg::showErrors"_s,
                     u"jobs/Asks.cpp: Msg::ask"_s, u"jobs/Asks.cpp: Msg::viaGateway"_s,
                     u"naming/Using.cpp: using namespace Msg"_s}));
}
