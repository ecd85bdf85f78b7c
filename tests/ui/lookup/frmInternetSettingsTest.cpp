// The lookup window by itself on pages of a site served from 127.0.0.1: the site opened from
// "Last Site", the caption, Copy into the page's search field, a pop-up refused, F5, and the
// placement and site stored at closing and restored at the next opening.
#include "LookupFixture.h"
#include "support/RawSettings.h"

#include "foundation/Settings.h"
#include "ui/lookup/frmInternet.h"

#include <QLineEdit>
#include "ui/widgets/ButtonEx.h"
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace {

QVariant runScript(QWebEngineView *view, const QString &script)
{
    QVariant result;
    bool done = false;
    view->page()->runJavaScript(script, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 5000));
    return result;
}

} // namespace

TEST_F(LookupWindowTest, OpensTheLastSiteCopiesRefusesPopUpsAndKeepsItsPlace)
{
    QTemporaryDir pages;
    const auto page = [&](const QString &name, const QByteArray &html) {
        QFile file(pages.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(html);
    };
    page(u"amg.html"_s, "<html><head><title>Guide</title></head><body>home</body></html>");
    page(u"mb.html"_s, "<html><head><title>Brainz</title></head><body><form><input type=text name=q id=f>"
                       "</form><a id=pop href=\"amg.html\" target=\"_blank\">new window</a></body></html>");
    LocalWebServer local(pages.path());
    ASSERT_NE(local.port(), 0);
    {
        RawSettings sites(u"Sites"_s);
        sites.setValue(u"amgHome"_s, u"http://%1/amg.html"_s.arg(local.root()));
        sites.setValue(u"amgDomain"_s, local.root() + u"/amg"_s);
        sites.setValue(u"musicbrainzHome"_s, u"http://%1/mb.html"_s.arg(local.root()));
        sites.setValue(u"musicbrainzDomain"_s, local.root() + u"/mb"_s);
    }
    presetSetting(u"Last Site"_s, u"no such site"_s);

    WorkingList files;
    files.fileNames = {u"x-alpha.mp3"_s};
    files.selected = {true};
    auto internet = std::make_unique<frmInternet>(album_, files);
    internet->show();
    QWebEngineView *web = internet->view();
    // An unknown "Last Site" opens All Music Guide; the caption names the page.
    ASSERT_TRUE(QTest::qWaitFor([&] { return web->title() == u"Guide"_s; }, 10000));
    const QString home = u"http://%1/amg.html"_s.arg(local.root());
    EXPECT_EQ(web->url().toString(), home);
    EXPECT_TRUE(QTest::qWaitFor([&] { return internet->windowTitle() == u" Varnelt - Guide - "_s + home; }, 2000))
        << internet->windowTitle().toStdString();
    auto *folder = internet->findChild<QLineEdit *>(u"txtDirectory"_s);
    EXPECT_EQ(folder->text(), album_ + u'/');
    // A maximised window by default.
    EXPECT_TRUE(internet->isMaximized());

    QTest::mouseClick(internet->findChild<ButtonEx *>(u"cmdMusicBrainz"_s), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return web->title() == u"Brainz"_s; }, 10000));
    // Copy puts the selected part of the folder into the page's search field.
    folder->setSelection(int(album_.lastIndexOf(u'/')) + 1, 13);
    QTest::mouseClick(internet->findChild<ButtonEx *>(u"cmdCopy"_s), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return runScript(web, u"document.getElementById('f').value"_s).toString() == u"Folder Artist"_s;
    }, 3000));
    // A link to a new window opens none.
    runScript(web, u"document.getElementById('pop').click()"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return internet->findChild<QStatusBar *>()->currentMessage() == u"A pop-up window was refused."_s;
    }, 3000));
    EXPECT_EQ(web->title(), u"Brainz"_s);
    // F5 reloads and watches the page again.
    QTest::keyClick(internet.get(), Qt::Key_F5);
    EXPECT_EQ(internet->pollInterval(), 1000);
    grab(internet.get(), u"frmInternet"_s);

    // Closed while maximised: the state only, and the site.
    internet->close();
    EXPECT_EQ(storedSetting(u"BrowserWindowState"_s), u"2"_s);
    EXPECT_EQ(storedSetting(u"BrowserTop"_s), u"<none>"_s);
    EXPECT_EQ(storedSetting(u"Last Site"_s), u"musicbrainz"_s);
    internet.reset();

    // The next opening: the site and a normal placement come back; closing stores it.
    presetSetting(u"BrowserWindowState"_s, u"0"_s);
    presetSetting(u"BrowserWidth"_s, u"11400"_s);
    presetSetting(u"BrowserHeight"_s, u"6000"_s);
    presetSetting(u"BrowserTop"_s, u"300"_s);
    presetSetting(u"BrowserLeft"_s, u"450"_s);
    internet = std::make_unique<frmInternet>(album_, files);
    internet->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return internet->view()->title() == u"Brainz"_s; }, 10000));
    EXPECT_FALSE(internet->isMaximized());
    EXPECT_EQ(internet->size(), QSize(760, 400));
    EXPECT_EQ(internet->pos(), QPoint(30, 20));
    internet->close();
    EXPECT_EQ(storedSetting(u"BrowserWindowState"_s), u"0"_s);
    EXPECT_EQ(storedSetting(u"BrowserWidth"_s), u"11400"_s);
    EXPECT_EQ(storedSetting(u"BrowserLeft"_s), u"450"_s);
}
