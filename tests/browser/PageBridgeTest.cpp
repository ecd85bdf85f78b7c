// The page bridge on the real engine: what a snapshot holds (outer HTML as the readers expect
// it, text-editing flags, absolute addresses, CR LF text), element actions carried out, a page's
// own scripts unable to interfere, and the limits that keep a hostile page bounded.
#include "browser/PageBridge.h"
#include "naming/QStringPrinter.h"
#include "support/TestEnv.h"

#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>

using namespace Qt::StringLiterals;

namespace {

class PageBridgeTest : public VarneltTest
{
protected:
    void SetUp() override
    {
        VarneltTest::SetUp();
        profile_ = std::make_unique<QWebEngineProfile>();
        page_ = std::make_unique<QWebEnginePage>(profile_.get());
    }
    void TearDown() override
    {
        page_.reset();
        profile_.reset();
        VarneltTest::TearDown();
    }

    bool load(const QString &name, const QByteArray &html)
    {
        QSignalSpy loaded(page_.get(), &QWebEnginePage::loadFinished);
        page_->load(QUrl::fromLocalFile(writeFile(name, html)));
        return loaded.wait(30000) && loaded.first().first().toBool();
    }
    HtmlDocument snapshot()
    {
        std::optional<HtmlDocument> doc;
        PageBridge::takeSnapshot(page_.get(), [&](const HtmlDocument &d) { doc = d; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return doc.has_value(); }, 30000));
        return doc.value_or(HtmlDocument{});
    }
    QString evaluate(const QString &script)
    {
        std::optional<QString> result;
        page_->runJavaScript(script, [&](const QVariant &v) { result = v.toString(); });
        EXPECT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 30000));
        return result.value_or(QString());
    }
    int indexOf(const HtmlDocument &doc, const QString &tag, int nth = 0)
    {
        for (int i = 0; i < doc.elements.size(); ++i) {
            if (doc.elements.at(i).tagName == tag && nth-- == 0)
                return i;
        }
        return -1;
    }

    std::unique_ptr<QWebEngineProfile> profile_;
    std::unique_ptr<QWebEnginePage> page_;
};

} // namespace

TEST_F(PageBridgeTest, SnapshotAndActionsAsTheReadersNeedThem)
{
    ASSERT_TRUE(load(u"page/search.html"_s, R"(<html><head><title>Search</title><script>
        JSON.stringify = () => 'hijacked';
        Document.prototype.getElementsByTagName = () => [];
        </script></head><body>
        <form onsubmit="return false"><input name=words><input type=hidden name=h value=2>
        <input type="image" src="go it.gif" id=go><textarea name=t></textarea>
        <select name=type><option value=artist>A</option><option value=release>R</option></select>
        <button type=submit onclick="document.title='clicked'">Go</button></form>
        <h2>Artist / Album</h2><b>Line<br>two</b>
        <a href="sub/album.html?p=amg&amp;sql=3:1">Track</a><img src="img/zline.gif">
        <div>genre: Rock</div><div>year: 1999</div></body></html>)"));
    const HtmlDocument doc = snapshot();
    EXPECT_EQ(doc.title, u"Search"_s);
    EXPECT_TRUE(doc.hasBody);
    EXPECT_FALSE(doc.truncated);
    const HtmlElement &words = doc.elements.at(indexOf(doc, u"INPUT"_s));
    EXPECT_EQ(words.outerHtml, u"<INPUT name=words>"_s);
    EXPECT_TRUE(words.textEditing);
    const HtmlElement &hidden = doc.elements.at(indexOf(doc, u"INPUT"_s, 1));
    EXPECT_FALSE(hidden.textEditing);
    EXPECT_EQ(hidden.value, u"2"_s);
    EXPECT_EQ(doc.elements.at(indexOf(doc, u"INPUT"_s, 2)).outerHtml, u"<INPUT type=image src=\"go it.gif\" id=go>"_s);
    EXPECT_TRUE(doc.elements.at(indexOf(doc, u"TEXTAREA"_s)).textEditing);
    EXPECT_EQ(doc.elements.at(indexOf(doc, u"B"_s)).innerText, u"Line\r\ntwo"_s);
    EXPECT_EQ(doc.elements.at(indexOf(doc, u"H2"_s)).innerText, u"Artist / Album"_s);
    ASSERT_EQ(doc.links.size(), 1);
    EXPECT_TRUE(doc.link(0).address.endsWith(u"/page/sub/album.html?p=amg&sql=3:1"_s)) << doc.link(0).address.toStdString();
    EXPECT_EQ(doc.link(0).innerText, u"Track"_s);
    ASSERT_EQ(doc.images.size(), 1);
    EXPECT_TRUE(doc.image(0).address.startsWith(u"file:///"_s));
    EXPECT_TRUE(doc.bodyText.contains(u"genre: Rock\r\nyear: 1999"_s)) << doc.bodyText.toStdString();

    const int field = indexOf(doc, u"INPUT"_s);
    const int select = indexOf(doc, u"SELECT"_s);
    ElementAction stale = ElementAction::click(doc, indexOf(doc, u"BUTTON"_s));
    stale.element = field; // the element at that index is no longer the button
    PageBridge::carryOut(page_.get(), {ElementAction::setAttribute(doc, field, u"value"_s, u"Some \"Search\""_s),
                                      ElementAction::setAttribute(doc, select, u"value"_s, u"release"_s), stale});
    EXPECT_EQ(evaluate(u"document.getElementsByName('words')[0].value"_s), u"Some \"Search\""_s);
    EXPECT_EQ(evaluate(u"document.getElementsByName('type')[0].value"_s), u"release"_s);
    EXPECT_EQ(evaluate(u"document.title"_s), u"Search"_s) << "the stale click was skipped";
    PageBridge::carryOut(page_.get(), {ElementAction::click(doc, indexOf(doc, u"BUTTON"_s))});
    EXPECT_EQ(evaluate(u"document.title"_s), u"clicked"_s);
}

TEST_F(PageBridgeTest, AHostilePageGivesABoundedSnapshot)
{
    QByteArray html = "<html><body>";
    for (int i = 0; i < 10000; ++i)
        html += "<a href=\"amg.dll?p=amg&amp;sql=3:" + QByteArray::number(i) + "\">" + QByteArray(i == 0 ? 5000 : 20, 'x') + "</a> ";
    html += "<p>" + QByteArray("word ").repeated(250000) + "</p>";
    for (int i = 0; i < 45000; ++i)
        html += "<i></i>";
    html += "</body></html>";
    ASSERT_TRUE(load(u"hostile.html"_s, html));
    const HtmlDocument doc = snapshot();
    EXPECT_TRUE(doc.truncated);
    EXPECT_EQ(doc.elements.size(), HtmlDocument::MaxElements);
    EXPECT_EQ(doc.links.size(), 10000);
    EXPECT_EQ(doc.link(0).innerText.size(), HtmlDocument::MaxValueLength);
    EXPECT_EQ(doc.link(9999).innerText, QString(20, u'x'));
    EXPECT_EQ(doc.bodyText.size(), HtmlDocument::MaxBodyText);
}

TEST_F(PageBridgeTest, ElementsDeeperThanTheBoundGiveOnlyTheirTagAndTheSnapshotSaysSo)
{
    // The parser nests no deeper than 512 levels; a page's script can.
    ASSERT_TRUE(load(u"deep.html"_s, R"(<html><body><a href="top.html">top</a><script>
        let e = document.body;
        for (let i = 0; i < 700; ++i) { const d = document.createElement('b'); e.appendChild(d); e = d; }
        const a = document.createElement('a'); a.href = 'deep.html'; a.textContent = 'deep'; e.appendChild(a);
        </script></body></html>)"));
    const HtmlDocument doc = snapshot();
    EXPECT_TRUE(doc.tooDeep);
    ASSERT_EQ(doc.links.size(), 1); // the deep link is no link of the snapshot
    EXPECT_TRUE(doc.link(0).address.endsWith(u"/top.html"_s));
    ASSERT_EQ(indexOf(doc, u"A"_s, 1), doc.elements.size() - 1); // it keeps its place for actions
    EXPECT_TRUE(doc.elements.last().address.isEmpty());
    EXPECT_TRUE(doc.elements.last().innerText.isEmpty());
    EXPECT_EQ(doc.elements.at(indexOf(doc, u"B"_s, 500)).innerText.size(), 4); // within the bound: the deep link's text

    ASSERT_TRUE(load(u"flat.html"_s, "<html><body><a href=x>x</a></body></html>"));
    EXPECT_FALSE(snapshot().tooDeep);
}
