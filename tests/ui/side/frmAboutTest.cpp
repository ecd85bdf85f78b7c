// The about window's texts and its address labels; the splash window's start and end.
#include "support/TestEnv.h"
#include "foundation/Settings.h"
#include "foundation/Version.h"
#include "ui/side/frmAbout.h"
#include "ui/side/frmSplash.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QPointer>
#include <QAbstractButton>
#include <QTest>

using namespace Qt::StringLiterals;

class frmAboutTest : public VarneltTest {};

TEST_F(frmAboutTest, ShowsVersionBuildDateEngineAndTheMakersAddresses)
{
    Settings(SettingsKeys::SitesGroup).setValue(SettingsKeys::MakerHome, u"http://127.0.0.1:9/maker"_s);
    frmAbout about(u"N/A"_s);
    about.show();
    auto text = [&about](const QString &name) { return about.findChild<QLabel *>(name)->text(); };
    EXPECT_EQ(about.windowTitle(), u"About..."_s);
    EXPECT_EQ(text(u"lblAbout"_s), u"Varnelt"_s);
    EXPECT_EQ(text(u"lblVersion"_s), u"2.0 alpha 1 [version for beta testers]"_s);
    EXPECT_EQ(text(u"lblBuild"_s), u"Build # 0"_s);
    EXPECT_EQ(text(u"lblIEversion"_s), u"N/A"_s);
    EXPECT_EQ(text(u"lblEngine"_s), u"Web engine version"_s);
    EXPECT_EQ(text(u"lblWeb"_s), u"http://127.0.0.1:9/maker/"_s);
    EXPECT_EQ(text(u"lblemail"_s), u"contact@varnelt.example.org"_s);
    // The program file's date without its time.
    const QFileInfo program(QCoreApplication::applicationFilePath());
    EXPECT_EQ(QLocale::system().toDate(text(u"lblDate"_s), QLocale::ShortFormat), program.lastModified().date())
        << text(u"lblDate"_s).toStdString();

    // The label under the mouse is bold, the other one normal; the background makes both normal.
    auto *web = about.findChild<QLabel *>(u"lblWeb"_s);
    auto *mail = about.findChild<QLabel *>(u"lblemail"_s);
    QEvent enter(QEvent::Enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(web, &enter);
    EXPECT_TRUE(web->font().bold());
    EXPECT_FALSE(mail->font().bold());
    QCoreApplication::sendEvent(web, &leave);
    QCoreApplication::sendEvent(mail, &enter);
    EXPECT_FALSE(web->font().bold());
    EXPECT_TRUE(mail->font().bold());
    QCoreApplication::sendEvent(mail, &leave);
    EXPECT_FALSE(mail->font().bold());

    about.findChild<QAbstractButton *>(u"cmdEnd"_s)->click();
    EXPECT_FALSE(about.isVisible());
}

TEST_F(frmAboutTest, SplashIsShownFirstAndGoesWhenTheMainWindowIsActive)
{
    QMainWindow mainWindow;
    QPointer<frmSplash> splash = new frmSplash([&mainWindow]() -> QWidget * {
        mainWindow.show();
        return &mainWindow;
    });
    splash->show();
    EXPECT_FALSE(mainWindow.isVisible());
    QTRY_VERIFY(mainWindow.isVisible());
    mainWindow.activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 2000);

    // A start-up that stopped takes the splash away as well.
    QPointer<frmSplash> stopped = new frmSplash([]() -> QWidget * { return nullptr; });
    stopped->show();
    QTRY_VERIFY_WITH_TIMEOUT(stopped.isNull(), 2000);
}
