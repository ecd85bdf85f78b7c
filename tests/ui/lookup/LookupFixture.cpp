#include "LookupFixture.h"
#include "support/RawSettings.h"

#include "foundation/Settings.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTest>
#include <QTimer>
#include <QWidget>

using namespace Qt::StringLiterals;

void LookupWindowTest::SetUp()
{
    MainWindowTest::SetUp();
    server_ = std::make_unique<LocalWebServer>(QStringLiteral(VARNELT_TEST_DATA) + u"/lookup/site"_s);
    ASSERT_NE(server_->port(), 0) << "python3 -m http.server did not start: " << server_->said().toStdString();
    pointSitesAt(*server_);
    album_ = tempFile(u"Folder Artist - Folder Album [2001]"_s);
    for (const QString &name : {u"x-alpha"_s, u"x-bravo"_s, u"x-charlie"_s})
        ASSERT_TRUE(Mp3Writer::save(album_ + u'/' + name + u".mp3"_s,
            Mp3Writer::song({.title = name, .artist = u"Tag Artist"_s, .album = u"Tag Album"_s, .year = u"1977"_s})));
}

void LookupWindowTest::pointSitesAt(const LocalWebServer &server)
{
    RawSettings settings(u"Sites"_s);
    for (const auto &[key, value] : localSiteSettings(server.root()))
        settings.setValue(key, value);
    settings.sync();
}

bool LookupWindowTest::grab(QWidget *widget, const QString &name) const
{
    return saveGrab(widget, tempPath(), name);
}

void LookupWindowTest::runSteps(QList<std::function<bool()>> steps, const std::function<void()> &start, int timeoutMs)
{
    QTimer timer;
    QElapsedTimer waited;
    waited.start();
    int step = 0;
    bool busy = false;
    timer.callOnTimeout([&] {
        // A step that opens a modal window runs its event loop: no step runs inside another.
        if (busy || step >= steps.size())
            return;
        busy = true;
        if (steps[step]()) {
            ++step;
            waited.restart();
        } else if (waited.elapsed() > timeoutMs) {
            ADD_FAILURE() << "step " << step << " waited more than " << timeoutMs << " ms";
            step = int(steps.size());
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        }
        busy = false;
    });
    timer.start(50);
    start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return step >= steps.size(); }, timeoutMs * int(steps.size() + 1)));
    EXPECT_EQ(step, steps.size()) << "the steps did not all run";
}
