// Where windows open: every dialog and side window centred over its owner and wholly on the
// screen, however small the screen or wherever the owner stands, and a stored place that no
// longer fits the screen brought back onto it.
#include "support/TestEnv.h"
#include "foundation/Settings.h"
#include "ui/lookup/frmTracks.h"
#include "ui/side/frmAbout.h"
#include "ui/side/frmSelectDir.h"
#include "ui/widgets/WindowPlacement.h"

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

AlbumRecord albumOf(int tracks)
{
    AlbumRecord record;
    record.artist = u"Artist"_s;
    record.album = u"Album"_s;
    for (int i = 1; i <= tracks; ++i)
        record.rows.append({u"%1 - Title %1"_s.arg(i, 2, 10, QChar(u'0')), u"file %1.mp3"_s.arg(i), u"FileIcon"_s});
    return record;
}

QRect screenArea(const QWidget &window)
{
    return window.screen()->availableGeometry();
}

} // namespace

class WindowPlacementTest : public VarneltTest {};

TEST_F(WindowPlacementTest, DialogsOpenCentredOverTheirOwnerAndWhollyOnTheScreen)
{
    QWidget owner;
    owner.resize(600, 500);
    owner.move(40, 30);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    const QRect area = screenArea(owner);

    // A short track list sits over the middle of its owner.
    {
        frmTracks tracks(albumOf(3), &owner);
        tracks.fitToRows();
        tracks.show();
        QApplication::processEvents();
        EXPECT_TRUE(area.contains(tracks.frameGeometry())) << "3 rows";
        EXPECT_LE((tracks.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 3);
    }
    // A long one is held to the screen, title bar and OK button included.
    {
        frmTracks tracks(albumOf(80), &owner);
        tracks.fitToRows();
        tracks.show();
        QApplication::processEvents();
        EXPECT_TRUE(area.contains(tracks.frameGeometry())) << "80 rows";
        auto *ok = tracks.findChild<QWidget *>(u"cmdOk"_s);
        EXPECT_TRUE(area.contains(QRect(ok->mapToGlobal(QPoint(0, 0)), ok->size())));
    }
    // An owner pushed half off the screen's corner does not take its dialogs with it.
    owner.move(area.right() - 200, area.bottom() - 150);
    QApplication::processEvents();
    {
        frmSelectDir picker(&owner);
        picker.show();
        QApplication::processEvents();
        EXPECT_TRUE(area.contains(picker.frameGeometry()));
        frmAbout about(u"N/A"_s, &owner);
        about.show();
        QApplication::processEvents();
        EXPECT_TRUE(area.contains(about.frameGeometry()));
    }
    // A dialog larger than the screen is made to fit it.
    {
        QDialog big(&owner);
        big.resize(area.width() + 300, area.height() + 300);
        big.show();
        QApplication::processEvents();
        EXPECT_TRUE(area.contains(big.frameGeometry()));
    }
}

TEST_F(WindowPlacementTest, AStoredPlaceOffTheScreenOrTooLargeComesBackOntoIt)
{
    const PlacementKeys keys{SettingsKeys::BrowserWindowState, SettingsKeys::BrowserWidth, SettingsKeys::BrowserHeight,
                             SettingsKeys::BrowserTop, SettingsKeys::BrowserLeft};
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const double tpp = 1440.0 / QGuiApplication::primaryScreen()->logicalDotsPerInch();
    // Stored on a screen twice as large, at its bottom right.
    Settings settings;
    settings.setValue(keys.state, u"0"_s);
    settings.setValue(keys.width, QString::number(area.width() * 1.5 * tpp));
    settings.setValue(keys.height, QString::number(area.height() * 1.4 * tpp));
    settings.setValue(keys.top, QString::number(area.height() * 0.9 * tpp));
    settings.setValue(keys.left, QString::number(area.width() * 0.8 * tpp));
    QDialog window;
    restoreWindowPlacement(&window, keys);
    window.show();
    QApplication::processEvents();
    EXPECT_TRUE(area.contains(window.frameGeometry()));
    // A place that fits is kept as it was.
    settings.setValue(keys.width, QString::number(300 * tpp));
    settings.setValue(keys.height, QString::number(200 * tpp));
    settings.setValue(keys.top, QString::number(50 * tpp));
    settings.setValue(keys.left, QString::number(60 * tpp));
    QDialog small;
    restoreWindowPlacement(&small, keys);
    small.show();
    QApplication::processEvents();
    EXPECT_EQ(small.pos(), QPoint(60, 50));
    EXPECT_EQ(small.size(), QSize(300, 200));
}
