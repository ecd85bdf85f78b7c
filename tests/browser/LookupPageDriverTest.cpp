// The lookup's poller on the real engine: a page that ends the renderer or never answers ends
// the lookup with a message instead of leaving it to its timeout.
#include "browser/LookupPageDriver.h"
#include "lookup/HtmlDocument.h"
#include "naming/QStringPrinter.h"
#include "support/TestEnv.h"

#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>

using namespace Qt::StringLiterals;

TEST_F(VarneltTest, APageNestedTooDeeplyEndsTheLookupWithAMessage)
{
    QWebEngineProfile profile;
    QWebEnginePage page(&profile);
    LookupContext lookup;
    lookup.sites.sites[3].domain = u"deep.html"_s; // the page counts as one of freedb's
    LookupPageDriver poller(&page, lookup);
    QSignalSpy failed(&poller, &LookupPageDriver::readFailed);
    // 20,000 levels built by the page's script: the engine's renderer cannot lay them out.
    page.load(QUrl::fromLocalFile(writeFile(u"deep.html"_s, R"(<html><body><script>
        let e = document.body;
        for (let i = 0; i < 20000; ++i) { const d = document.createElement('div'); e.appendChild(d); e = d; }
        e.textContent = 'Artist / Album';
        </script></body></html>)")));
    ASSERT_TRUE(failed.wait(LookupPageDriver::SnapshotPatience + 30000));
    const QString problem = failed.first().first().toString();
    EXPECT_TRUE(problem.startsWith(u"The page cannot be read"_s) || problem.startsWith(u"The page does not answer"_s)
                || problem == HtmlDocument::tooDeepText())
        << qPrintable(problem);
    EXPECT_EQ(poller.interval(), 0);
}
