#include "FuzzSupport.h"

#include "foundation/AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QUrl>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace FuzzSupport {

void fail(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", what, file, line);
    std::abort();
}

namespace {

// Kept for the whole run (never destroyed), so the clean-up at exit can still name it.
const QString &scratchRoot()
{
    static const QString *root = [] {
        const QString base = QDir(u"/dev/shm"_s).exists() ? u"/dev/shm"_s : QDir::tempPath();
        auto *path = new QString(base + u"/varnelt-fuzz-"_s + QString::number(::getpid()));
        std::atexit([] { QDir(scratchRoot()).removeRecursively(); });
        return path;
    }();
    return *root;
}

} // namespace

QString freshScratch()
{
    const QString root = scratchRoot();
    QDir(root).removeRecursively();
    QDir().mkpath(root + u"/app"_s);
    QDir().mkpath(root + u"/data"_s);
    AppFolder::setOverride(root + u"/app"_s);
    AppFolder::setUserDataOverride(root + u"/data"_s);
    return root;
}

QString writeFile(const QString &folder, const QString &name, const QByteArray &bytes)
{
    const QString path = folder + u'/' + name;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

namespace {

// The bridge writes a start tag with bare values unless they hold blanks, quotes or "<>=`".
QString startTag(const QString &tag, const QList<std::pair<QString, QString>> &attributes)
{
    static const QRegularExpression needsQuotes(u"[\\s\"'<>=`]"_s);
    QString s = u'<' + tag;
    for (const auto &[name, value] : attributes) {
        const bool bare = !value.isEmpty() && !value.contains(needsQuotes);
        s += u' ' + name + u'=' + (bare ? value : u'"' + QString(value).replace(u'"', u"&quot;"_s) + u'"');
    }
    return s + u'>';
}

QString decodeEntities(QString text)
{
    text.replace(u"&lt;"_s, u"<"_s);
    text.replace(u"&gt;"_s, u">"_s);
    text.replace(u"&quot;"_s, u"\""_s);
    text.replace(u"&nbsp;"_s, QString(QChar(0xA0)));
    text.replace(u"&amp;"_s, u"&"_s);
    return text;
}

bool isBlock(const QString &tag)
{
    static const QStringList blocks = {u"BR"_s, u"P"_s, u"DIV"_s, u"TR"_s, u"LI"_s, u"H1"_s, u"H2"_s, u"H3"_s,
                                       u"TABLE"_s, u"UL"_s, u"OL"_s, u"FORM"_s, u"PRE"_s};
    return blocks.contains(tag);
}

bool isVoid(const QString &tag)
{
    static const QStringList voids = {u"BR"_s, u"IMG"_s, u"INPUT"_s, u"META"_s, u"LINK"_s, u"HR"_s, u"AREA"_s};
    return voids.contains(tag);
}

} // namespace

HtmlDocument snapshotFromHtml(const QString &url, const QByteArray &html, const QStringList &textTags)
{
    static const QRegularExpression attributePattern(
        u"([^\\s=/>]+)(?:\\s*=\\s*(\"[^\"]*\"|'[^']*'|[^\\s>]+))?"_s);
    static const QStringList textTypes = {QString(), u"text"_s, u"search"_s, u"password"_s, u"email"_s,
                                          u"url"_s, u"tel"_s, u"number"_s};
    const int max = HtmlDocument::MaxValueLength;
    const QString text = QString::fromUtf8(html);
    const QUrl base(url);

    HtmlDocument doc;
    doc.url = url.left(4 * max);
    doc.hasBody = true;
    struct Open
    {
        QString tag;
        int element;
        qsizetype textStart;
    };
    QList<Open> open;
    QString body;
    QString title;
    bool inTitle = false;
    bool skipping = false; // inside a script or style
    bool lastWasSpace = true;

    const auto addText = [&](QStringView piece) {
        for (const QChar c : piece) {
            const bool space = c.isSpace() && c != QChar(0xA0);
            if (space && lastWasSpace)
                continue;
            (inTitle ? title : body) += space ? QChar(u' ') : c;
            lastWasSpace = space;
        }
    };

    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype lt = text.indexOf(u'<', i);
        const qsizetype textEnd = lt < 0 ? text.size() : lt;
        if (!skipping)
            addText(decodeEntities(text.mid(i, textEnd - i)));
        if (lt < 0)
            break;
        const qsizetype gt = text.indexOf(u'>', lt);
        if (gt < 0)
            break;
        const QString inside = text.mid(lt + 1, gt - lt - 1);
        i = gt + 1;
        if (inside.startsWith(u'!') || inside.startsWith(u'?'))
            continue;
        const bool closing = inside.startsWith(u'/');
        const QString rest = closing ? inside.mid(1) : inside;
        qsizetype nameEnd = 0;
        while (nameEnd < rest.size() && !rest.at(nameEnd).isSpace() && rest.at(nameEnd) != u'/')
            ++nameEnd;
        const QString tag = rest.left(nameEnd).toUpper();
        if (tag.isEmpty())
            continue;
        if (skipping) {
            skipping = !(closing && (tag == u"SCRIPT"_s || tag == u"STYLE"_s));
            continue;
        }
        if (closing) {
            if (tag == u"TITLE"_s)
                inTitle = false;
            for (qsizetype k = open.size() - 1; k >= 0; --k) {
                if (open.at(k).tag != tag)
                    continue;
                for (qsizetype j = open.size() - 1; j >= k; --j) {
                    const Open &o = open.at(j);
                    if (o.element >= 0 && textTags.contains(o.tag))
                        doc.elements[o.element].innerText = body.mid(o.textStart).trimmed().left(max);
                }
                open.resize(k);
                break;
            }
            if (isBlock(tag) && !body.endsWith(u"\r\n"_s)) {
                body += u"\r\n"_s;
                lastWasSpace = true;
            }
            continue;
        }

        QList<std::pair<QString, QString>> attributes;
        auto it = attributePattern.globalMatch(rest.mid(nameEnd));
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            QString value = m.captured(2);
            if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
                value = value.mid(1, value.size() - 2);
            attributes.append({m.captured(1).toLower(), decodeEntities(value)});
        }
        const auto attribute = [&attributes](const QString &name) {
            for (const auto &[n, v] : attributes) {
                if (n == name)
                    return v;
            }
            return QString();
        };

        int element = -1;
        if (doc.elements.size() < HtmlDocument::MaxElements && open.size() >= HtmlDocument::MaxDepth) {
            // Deeper than the bound: the element keeps its place, with its tag name only.
            HtmlElement e;
            e.tagName = tag.left(64);
            doc.elements.append(e);
            doc.tooDeep = true;
        } else if (doc.elements.size() < HtmlDocument::MaxElements) {
            HtmlElement e;
            e.tagName = tag.left(64);
            e.id = attribute(u"id"_s).left(max);
            e.value = attribute(u"value"_s).left(max);
            // The parent is the innermost open element that was taken (the track-list snapshot's shape).
            for (qsizetype k = open.size() - 1; k >= 0 && e.parent < 0; --k)
                e.parent = open.at(k).element;
            e.className = attribute(u"class"_s).left(max);
            e.textEditing = tag == u"TEXTAREA"_s
                || (tag == u"INPUT"_s && textTypes.contains(attribute(u"type"_s).toLower()));
            if (HtmlDocument::outerHtmlTags().contains(tag))
                e.outerHtml = startTag(tag, attributes).left(4 * max);
            element = int(doc.elements.size());
            const QString href = attribute(u"href"_s);
            const QString src = attribute(u"src"_s);
            if ((tag == u"A"_s || tag == u"AREA"_s) && !href.isEmpty()) {
                e.address = base.resolved(QUrl(href)).toString().left(4 * max);
                doc.links.append(element);
            } else if (tag == u"IMG"_s && !src.isEmpty()) {
                e.address = base.resolved(QUrl(src)).toString().left(4 * max);
                doc.images.append(element);
            }
            doc.elements.append(e);
        } else {
            doc.truncated = true;
        }
        if (tag == u"TITLE"_s)
            inTitle = true;
        if (tag == u"SCRIPT"_s || tag == u"STYLE"_s)
            skipping = true;
        if (isBlock(tag) && !body.isEmpty() && !body.endsWith(u"\r\n"_s)) {
            body += u"\r\n"_s;
            lastWasSpace = true;
        }
        if (!isVoid(tag) && !inside.endsWith(u'/'))
            open.append({tag, element, body.size()});
    }
    doc.title = title.trimmed().left(max);
    if (body.size() > HtmlDocument::MaxBodyText)
        doc.truncated = true;
    doc.bodyText = body.left(HtmlDocument::MaxBodyText);
    return doc;
}

} // namespace FuzzSupport
