#include "MainWindowFixture.h"
#include "support/RawSettings.h"

#include "foundation/Settings.h"
#include "ui/widgets/PictureDecoding.h"

#include <QDir>
#include <QPixmap>
#include <QTreeWidget>
#include <QWidget>

bool saveGrab(QWidget *widget, const QString &folder, const QString &name)
{
    const QPixmap picture = widget->grab();
    picture.save(QDir(folder).filePath(name + QStringLiteral(".png")));
    const QString grabFolder = qEnvironmentVariable("VARNELT_GRAB_DIR");
    if (!grabFolder.isEmpty())
        picture.save(QDir(grabFolder).filePath(name + QStringLiteral(".png")));
    return !picture.isNull() && picture.width() > 50;
}

void MainWindowTest::SetUp()
{
    VarneltTest::SetUp();
    PictureDecoding::install(); // as the program does at start-up
    oldHome_ = qgetenv("HOME");
    oldDataHome_ = qgetenv("XDG_DATA_HOME");
    qputenv("HOME", homePath().toUtf8());
    qputenv("XDG_DATA_HOME", tempFile(QStringLiteral("data")).toUtf8());
}

void MainWindowTest::TearDown()
{
    qputenv("HOME", oldHome_);
    if (oldDataHome_.isEmpty())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", oldDataHome_);
    VarneltTest::TearDown();
}

std::unique_ptr<frmMain> MainWindowTest::openWindow(const QStringList &startPaths)
{
    auto window = std::make_unique<frmMain>();
    window->setStartPaths(startPaths);
    window->setEngineVersionSource([] { return std::optional<QString>(QStringLiteral("102.0.5005.177")); });
    window->setBannerUrl(QStringLiteral("http://127.0.0.1:9/rennab/"));
    if (window->startUp())
        window->show();
    return window;
}

RenameJobInput MainWindowTest::ripRename() const
{
    RenameJobInput in;
    in.currentDirectory = tempFile(QStringLiteral("rip"));
    in.rows = {{QStringLiteral("One"), QStringLiteral("a.mp3"), QStringLiteral("01")},
               {QStringLiteral("Two"), QStringLiteral("b.mp3"), QStringLiteral("02")}};
    in.album = {QStringLiteral("Foo"), QStringLiteral("Bar"), QStringLiteral("2001"), QStringLiteral("Rock"), {}};
    in.naming = {QStringLiteral("%artist - %album\\%track - %title"), QStringLiteral("Parent directory"), {}, {}};
    return in;
}

QString MainWindowTest::writeSong(const QString &relativePath, double seconds, bool withV1, bool withV2)
{
    Mp3Writer::Song song;
    song.title = QStringLiteral("Song");
    song.artist = QStringLiteral("Artist");
    song.album = QStringLiteral("Album");
    song.seconds = seconds;
    song.withV1 = withV1;
    song.withV2 = withV2;
    const QString path = tempFile(relativePath);
    EXPECT_TRUE(Mp3Writer::save(path, Mp3Writer::song(song)));
    return path;
}

void MainWindowTest::presetSetting(const QString &key, const QString &value)
{
    RawSettings settings;
    settings.setValue(key, value);
    settings.sync();
}

QString MainWindowTest::storedSetting(const QString &key) const
{
    const RawSettings settings;
    return settings.contains(key) ? settings.value(key) : QStringLiteral("<none>");
}

QTreeWidget *MainWindowTest::fileList(frmMain &window)
{
    return window.findChild<QTreeWidget *>(QStringLiteral("lstFiles"));
}

QStringList MainWindowTest::columnTexts(QTreeWidget *list, int column)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(column);
    return texts;
}
