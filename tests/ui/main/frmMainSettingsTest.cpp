// Start-up and shut-down of the main window: every setting restored with its default, stored
// again at exit in the right cases, and the window placement in twips.
#include "MainWindowFixture.h"

#include "foundation/Settings.h"
#include "ui/main/MainContext.h"
#include "ui/main/PageDirectory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QApplication>
#include <QScreen>
#include <QSettings>
#include <QStackedWidget>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

double twipsPerPixel(const frmMain &window)
{
    return 1440.0 / window.screen()->logicalDotsPerInch();
}

bool ticked(frmMain &window, const QString &name)
{
    auto *check = window.findChild<QCheckBox *>(name);
    return check && check->isChecked();
}

QComboBox *combo(frmMain &window, const QString &name)
{
    return window.findChild<QComboBox *>(name);
}

} // namespace

class frmMainSettingsTest : public MainWindowTest {};

TEST_F(frmMainSettingsTest, FirstRunUsesEveryDefault)
{
    auto window = openWindow();
    ASSERT_TRUE(window->isStarted());
    const double tpp = twipsPerPixel(*window);
    const QRect screen = window->screen()->geometry();
    const QSize size = window->size();
    // 9750 x 8000 twips at least, more when the pages need more room than that.
    EXPECT_GE(size.width(), qRound(9750 / tpp));
    EXPECT_GE(size.height(), qRound(8000 / tpp));
    // Centred, 200 twips above the middle (a window as wide as the screen moves over by its frame).
    EXPECT_NEAR(window->pos().x(), (screen.width() * tpp / 2 - size.width() * tpp / 2) / tpp, 3);
    EXPECT_NEAR(window->pos().y(), (screen.height() * tpp / 2 - size.height() * tpp / 2 - 200) / tpp, 1);
    EXPECT_FALSE(window->isMaximized());

    EXPECT_EQ(combo(*window, u"cboMask"_s)->currentText(), u"%artist - %album\\%track - %title"_s);
    EXPECT_EQ(combo(*window, u"cboDestDir"_s)->currentText(), u"Parent directory"_s);
    EXPECT_EQ(combo(*window, u"cboID3Mode"_s)->currentText(), u"Use ID3v1 + ID3v2"_s);
    EXPECT_EQ(combo(*window, u"cboId3TagRename"_s)->currentIndex(), 0);
    EXPECT_EQ(combo(*window, u"cboPlaylistDir"_s)->currentIndex(), 0);
    EXPECT_EQ(combo(*window, u"cboCoverDir"_s)->currentIndex(), 0);
    EXPECT_TRUE(ticked(*window, u"chkPlayList"_s));
    EXPECT_TRUE(ticked(*window, u"chkCover"_s));
    EXPECT_TRUE(ticked(*window, u"chkTotalTracks"_s));
    EXPECT_FALSE(ticked(*window, u"chkJoliet"_s));
    EXPECT_FALSE(ticked(*window, u"chkTextEffect"_s));
    EXPECT_FALSE(ticked(*window, u"chkReplaceSpaces"_s));
    // The home folder takes the place of the first drive's root.
    EXPECT_EQ(window->context().currentDirectory, homePath());
    EXPECT_EQ(window->windowTitle(), u"Varnelt 2.0 alpha 1 [version for beta testers]"_s);
    EXPECT_EQ(window->activeWizardPage(), WizardPage::Directory);
    // The genre lists start with the empty entry, then the standard genres.
    for (const QString &name : {u"cboGenre"_s, u"cboGenre2"_s, u"cboGenreEdit"_s}) {
        QComboBox *genres = combo(*window, name);
        ASSERT_NE(genres, nullptr) << name.toStdString();
        EXPECT_GE(genres->count(), 149) << name.toStdString();
        EXPECT_EQ(genres->itemData(0).toInt(), 254) << name.toStdString();
    }
    EXPECT_EQ(window->webEngineVersion(), u"102.0.5005.177"_s);
    EXPECT_EQ(answers->count(), 0);
}

TEST_F(frmMainSettingsTest, FirstRunOpensLargeEnoughForEveryPage)
{
    auto window = openWindow();
    auto *pages = window->findChild<QStackedWidget *>(u"fraWizard"_s);
    ASSERT_NE(pages, nullptr);
    const QRect room = window->screen()->availableGeometry();
    ASSERT_GE(room.height(), 700) << "the test screen must hold the tallest page";
    EXPECT_TRUE(room.contains(window->geometry())) << "within the screen";
    // Each page as large as it asks to be: the tag list shows its rows, the rename page needs no
    // scroll bar to show the new file name.
    for (int page = 0; page < pages->count(); ++page) {
        window->affichePage(WizardPage(page));
        QApplication::processEvents();
        QWidget *shown = pages->currentWidget();
        EXPECT_GE(shown->width(), shown->sizeHint().width()) << page;
        EXPECT_GE(shown->height(), shown->sizeHint().height()) << page;
    }
    auto *preview = window->findChild<QLineEdit *>(u"txtNewFileName"_s);
    ASSERT_NE(preview, nullptr);
    window->affichePage(WizardPage::Rename);
    QApplication::processEvents();
    EXPECT_TRUE(preview->visibleRegion().boundingRect().height() == preview->height()) << "not hidden under a scroll bar";
}

TEST_F(frmMainSettingsTest, AFirstRunStoresExactlyTheseKeys)
{
    openWindow()->close();
    QSettings file(tempFile(u"settings/Varnelt.conf"_s), QSettings::IniFormat);
    EXPECT_EQ(file.childGroups(), QStringList{u"Settings"_s});
    file.beginGroup(u"Settings"_s);
    const QStringList placement = {u"AppHeight"_s, u"AppLeft"_s, u"AppTop"_s, u"AppWidth"_s, u"AppWindowState"_s};
    const QList<std::pair<QString, QString>> expected = {
        {u"Check Cover"_s, u"1"_s}, {u"Check Joliet"_s, u"0"_s}, {u"Check Playlist"_s, u"1"_s},
        {u"Check Replace Spaces"_s, u"0"_s}, {u"Check Text Effect"_s, u"0"_s}, {u"ID3 Mode"_s, u"0"_s},
        {u"ID3v2 Version"_s, u"0"_s}, {u"Last Cover Dir"_s, u"0"_s}, {u"Last Destination dir"_s, u"Parent directory"_s},
        {u"Last Directory"_s, homePath()}, {u"Last Mask"_s, u"%artist - %album\\%track - %title"_s},
        {u"Last Playlist Dir"_s, u"0"_s}, {u"Last Replace Spaces"_s, u"0"_s}, {u"Last Text Effect"_s, u"0"_s},
        {u"Total Tracks"_s, u"1"_s}};
    QList<std::pair<QString, QString>> stored;
    for (const QString &key : file.childKeys()) {
        if (!placement.contains(key))
            stored.append({key, file.value(key).toString()});
    }
    std::sort(stored.begin(), stored.end());
    EXPECT_EQ(stored, expected);
    for (const QString &key : placement)
        EXPECT_TRUE(file.contains(key)) << key.toStdString();
}

TEST_F(frmMainSettingsTest, SettingsStoredAtExitComeBackAtTheNextStart)
{
    writeSong(u"album/a.mp3"_s, 1.0, false, false);
    {
        auto window = openWindow();
        window->pageDirectory()->navigateTo(tempFile(u"album"_s));
        combo(*window, u"cboTextEffect"_s)->setCurrentIndex(2);
        combo(*window, u"cboReplaceSpaces"_s)->setCurrentIndex(1);
        combo(*window, u"cboID3Mode"_s)->setCurrentIndex(2);
        combo(*window, u"cboDestDir"_s)->setCurrentIndex(0);
        window->findChild<QCheckBox *>(u"chkJoliet"_s)->setChecked(true);
        window->findChild<QCheckBox *>(u"chkPlayList"_s)->setChecked(false);
        window->move(40, 50);
        window->resize(700, 600);
        window->close();
    }
    const double tpp = 1440.0 / 96.0;
    EXPECT_EQ(storedSetting(u"AppWindowState"_s), u"0"_s);
    EXPECT_EQ(storedSetting(u"Last Text Effect"_s), u"2"_s);
    EXPECT_EQ(storedSetting(u"ID3 Mode"_s), u"2"_s);
    EXPECT_EQ(storedSetting(u"Last Destination dir"_s), u"MP3 directory"_s);
    EXPECT_EQ(storedSetting(u"Check Joliet"_s), u"1"_s);
    EXPECT_EQ(storedSetting(u"Check Playlist"_s), u"0"_s);
    EXPECT_EQ(storedSetting(u"Last Directory"_s), tempFile(u"album"_s));
    EXPECT_EQ(storedSetting(u"AppWidth"_s).toDouble(), 700 * tpp);
    EXPECT_EQ(storedSetting(u"AppHeight"_s).toDouble(), 600 * tpp);

    auto again = openWindow();
    EXPECT_EQ(again->size(), QSize(700, 600));
    EXPECT_EQ(again->pos(), QPoint(40, 50));
    EXPECT_EQ(combo(*again, u"cboTextEffect"_s)->currentIndex(), 2);
    EXPECT_EQ(combo(*again, u"cboReplaceSpaces"_s)->currentIndex(), 1);
    EXPECT_EQ(combo(*again, u"cboID3Mode"_s)->currentIndex(), 2);
    EXPECT_EQ(combo(*again, u"cboId3TagRename"_s)->currentIndex(), 2);
    EXPECT_EQ(combo(*again, u"cboDestDir"_s)->currentText(), u"MP3 directory"_s);
    EXPECT_TRUE(ticked(*again, u"chkJoliet"_s));
    EXPECT_FALSE(ticked(*again, u"chkPlayList"_s));
    EXPECT_EQ(again->context().currentDirectory, tempFile(u"album"_s));
    EXPECT_EQ(answers->count(), 0);
}

TEST_F(frmMainSettingsTest, MaximisedStoresOnlyTheStateAndMinimisedStoresNoPlacement)
{
    presetSetting(u"AppWidth"_s, u"10500"_s);
    presetSetting(u"AppHeight"_s, u"9000"_s);
    presetSetting(u"AppTop"_s, u"900"_s);
    presetSetting(u"AppLeft"_s, u"1500"_s);
    {
        auto window = openWindow();
        window->showMaximized();
        window->close();
    }
    EXPECT_EQ(storedSetting(u"AppWindowState"_s), u"2"_s);
    EXPECT_EQ(storedSetting(u"AppWidth"_s), u"10500"_s);
    EXPECT_EQ(storedSetting(u"AppTop"_s), u"900"_s);
    {
        // The next start is maximised with the old normal size behind it.
        auto window = openWindow();
        EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
        window->showNormal();
        EXPECT_EQ(window->size(), QSize(700, 600));
        window->setWindowState(Qt::WindowMinimized);
        window->close();
    }
    EXPECT_EQ(storedSetting(u"AppWindowState"_s), u"2"_s);
    EXPECT_EQ(storedSetting(u"AppWidth"_s), u"10500"_s);
    EXPECT_EQ(storedSetting(u"AppLeft"_s), u"1500"_s);
}

TEST_F(frmMainSettingsTest, AStoredFolderDestinationIsAddedAndSelected)
{
    presetSetting(u"Last Destination dir"_s, u"/music/sorted"_s);
    auto window = openWindow();
    QComboBox *dest = combo(*window, u"cboDestDir"_s);
    EXPECT_EQ(dest->currentText(), u"/music/sorted"_s);
    EXPECT_EQ(dest->count(), 3);
    EXPECT_EQ(dest->itemText(0), u"MP3 directory"_s);
    EXPECT_EQ(window->context().selectedDestinationDirectory, u"/music/sorted"_s);
}

TEST_F(frmMainSettingsTest, UnreadableStoredValuesLeaveTheControlAndSayWhy)
{
    presetSetting(u"Last Text Effect"_s, u"many"_s);
    presetSetting(u"Last Replace Spaces"_s, u"40"_s);
    presetSetting(u"Check Joliet"_s, u"7"_s);
    presetSetting(u"Last Mask"_s, u"12"_s);
    auto window = openWindow();
    ASSERT_EQ(answers->count(), 3);
    EXPECT_EQ(answers->messages()[0].text, u"Type mismatch"_s);
    EXPECT_EQ(answers->messages()[1].text, u"Invalid property value"_s);
    EXPECT_EQ(answers->messages()[2].text, u"Invalid property value"_s);
    for (const Msg::Message &m : answers->messages())
        EXPECT_EQ(m.title, u"Error"_s);
    EXPECT_EQ(combo(*window, u"cboTextEffect"_s)->currentIndex(), 0);
    EXPECT_EQ(combo(*window, u"cboReplaceSpaces"_s)->currentIndex(), 0);
    EXPECT_FALSE(ticked(*window, u"chkJoliet"_s));
    // A numeric mask is not a mask: the first entry is shown.
    EXPECT_EQ(combo(*window, u"cboMask"_s)->currentIndex(), 0);
    EXPECT_FALSE(combo(*window, u"cboMask"_s)->currentText().isEmpty());
}

TEST_F(frmMainSettingsTest, AMissingLastFolderFallsBackToTheNearestFolderAbove)
{
    QDir().mkpath(tempFile(u"music/artist"_s));
    writeSong(u"music/a.mp3"_s, 1.0, false, false);
    presetSetting(u"Last Directory"_s, tempFile(u"music/artist/gone/deeper"_s));
    auto window = openWindow();
    EXPECT_EQ(window->context().currentDirectory, tempFile(u"music/artist"_s));
    window->close();
    presetSetting(u"Last Directory"_s, tempFile(u"music/"_s));
    auto again = openWindow();
    EXPECT_EQ(QDir::cleanPath(again->context().currentDirectory), tempFile(u"music"_s));
    EXPECT_EQ(fileList(*again)->topLevelItemCount(), 1);
}

TEST_F(frmMainSettingsTest, ExitConfirmationOnTheTagAndRenamePagesOnly)
{
    for (WizardPage page : {WizardPage::Tag, WizardPage::Rename}) {
        auto window = openWindow();
        window->affichePage(page);
        answers->clear();
        answers->answerNext(Msg::Answer::No);
        EXPECT_FALSE(window->close());
        ASSERT_EQ(answers->count(), 1);
        const Msg::Message asked = answers->messages().first();
        EXPECT_EQ(asked.text, u"Are you sure you want to quit ?"_s);
        EXPECT_EQ(asked.title, u"Exit confirmation"_s);
        EXPECT_EQ(asked.icon, Msg::Icon::Question);
        EXPECT_EQ(asked.buttons, Msg::Buttons::YesNo);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->activeWizardPage(), page);
        EXPECT_EQ(storedSetting(u"AppWindowState"_s), u"<none>"_s) << "No stores nothing";
        EXPECT_EQ(storedSetting(u"Last Mask"_s), u"<none>"_s);

        answers->answerNext(Msg::Answer::Yes);
        EXPECT_TRUE(window->close());
        EXPECT_EQ(storedSetting(u"Last Mask"_s), u"%artist - %album\\%track - %title"_s);
        Settings().remove(SettingsKeys::LastMask);
        Settings().remove(SettingsKeys::AppWindowState);
    }
    for (WizardPage page : {WizardPage::Directory, WizardPage::Result}) {
        auto window = openWindow();
        window->affichePage(page);
        answers->clear();
        EXPECT_TRUE(window->close());
        EXPECT_EQ(answers->count(), 0);
    }
}

TEST_F(frmMainSettingsTest, ExitEmptiesAndRemovesTheDownloadFolder)
{
    writeFile(u"app/Download/cover.jpg"_s, "picture");
    writeFile(u"app/Download/update.txt"_s, "text");
    {
        auto window = openWindow();
        window->close();
    }
    EXPECT_FALSE(QFileInfo::exists(tempFile(u"app/Download"_s)));
    EXPECT_EQ(answers->count(), 0);

    // A missing folder is nothing to report.
    frmMain::clearDownloadFolder();
    EXPECT_EQ(answers->count(), 0);

    // A sub-folder is not entered, so the folder stays and the user is told.
    writeFile(u"app/Download/a.jpg"_s, "picture");
    QDir().mkpath(tempFile(u"app/Download/sub"_s));
    frmMain::clearDownloadFolder();
    EXPECT_FALSE(QFileInfo::exists(tempFile(u"app/Download/a.jpg"_s)));
    EXPECT_TRUE(QFileInfo::exists(tempFile(u"app/Download/sub"_s)));
    ASSERT_EQ(answers->count(), 1);
    EXPECT_EQ(answers->messages().first().title, u"Error"_s);
}

TEST_F(frmMainSettingsTest, FirstStartShowsWholeNamesAndAStoredPlaceBeyondTheScreenComesBack)
{
    const QString name = u"07 - The Artist - A Title of Some Length.mp3"_s;
    writeSong(u"home/"_s + name, 1.0, true, true);
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    {
        auto window = openWindow();
        QApplication::processEvents();
        QTreeWidget *files = fileList(*window);
        ASSERT_EQ(columnTexts(files, 0), QStringList{name});
        // The name column takes what the value columns leave: enough for a whole usual name,
        // or, on a screen too small for that, as much as the whole width of the screen leaves.
        const int wanted = files->fontMetrics().horizontalAdvance(name) + files->iconSize().width() + 16;
        EXPECT_TRUE(files->columnWidth(0) >= wanted || window->frameGeometry().width() >= room.width() - 2)
            << files->columnWidth(0) << " of " << wanted << ", window " << window->frameGeometry().width();
        EXPECT_TRUE(room.contains(window->frameGeometry()));
        const QSize screen = window->screen()->geometry().size() * window->devicePixelRatio();
        EXPECT_TRUE(saveGrab(window.get(), tempPath(), u"frmMain-first-start-%1x%2-scale%3"_s
            .arg(screen.width()).arg(screen.height()).arg(window->devicePixelRatio())));
    }
    // Stored on a larger screen or at another scale: the window and its bottom buttons come
    // back onto this one.
    presetSetting(u"AppWidth"_s, QString::number(1800 * 15));
    presetSetting(u"AppHeight"_s, QString::number(1274 * 15));
    presetSetting(u"AppTop"_s, QString::number(300 * 15));
    presetSetting(u"AppLeft"_s, QString::number(900 * 15));
    auto window = openWindow();
    QApplication::processEvents();
    EXPECT_TRUE(room.contains(window->frameGeometry()));
    auto *exit = window->findChild<QWidget *>(u"cmdEnd"_s);
    EXPECT_TRUE(room.contains(QRect(exit->mapToGlobal(QPoint(0, 0)), exit->size())));
}
