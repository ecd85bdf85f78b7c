#include "browser/PageBridge.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineScript>

using namespace Qt::StringLiterals;

namespace {

/// The snapshot script. Outer HTML is written as the older document model wrote it (upper-case
/// tag, bare attribute values) because the site readers look for marks such as "name=words".
const char *const SnapshotScript = R"JS(
(function (textTags, outerTags, maxElements, maxValue, maxBody, shape, maxDepth) {
  const crlf = (s) => s.replace(/\r?\n/g, '\r\n');
  const bare = (v) => v !== '' && !/[\s"'<>=`]/.test(v);
  const startTag = (el) => {
    let s = '<' + el.tagName.toUpperCase();
    for (const a of el.attributes)
      s += ' ' + a.name + '=' + (bare(a.value) ? a.value : '"' + a.value.replace(/"/g, '&quot;') + '"');
    return s + '>';
  };
  const textTypes = ['', 'text', 'search', 'password', 'email', 'url', 'tel', 'number'];
  const isTextEdit = (el, tag) => tag === 'TEXTAREA' || el.isContentEditable ||
      (tag === 'INPUT' && textTypes.includes((el.getAttribute('type') || '').toLowerCase()));
  const all = document.getElementsByTagName('*');
  const count = Math.min(all.length, maxElements);
  const links = new Set(Array.from(document.links));
  const images = new Set(Array.from(document.images));
  const els = [], linkIndex = [], imageIndex = [];
  const indexOf = new Map();
  // Depth by parent, in document order (a parent comes first): deeper elements keep their place
  // (actions address elements by index) but give only their tag name.
  const depthOf = new Map();
  let deep = false;
  for (let i = 0; i < count; ++i) {
    const el = all[i];
    const tag = el.tagName.toUpperCase();
    const depth = (depthOf.get(el.parentElement) || 0) + 1;
    depthOf.set(el, depth);
    if (depth > maxDepth) {
      deep = true;
      els.push({t: tag, e: false});
      continue;
    }
    const e = {t: tag, i: (el.id || '').substring(0, maxValue), v: (el.getAttribute('value') || '').substring(0, maxValue),
               e: isTextEdit(el, tag)};
    if (textTags.includes(tag))
      e.x = crlf((el.innerText || '').substring(0, maxValue));
    if (outerTags.includes(tag))
      e.o = startTag(el).substring(0, 4 * maxValue);
    if (shape) {
      indexOf.set(el, i);
      const p = indexOf.get(el.parentElement);
      if (p !== undefined)
        e.p = p;
      const c = el.getAttribute('class');
      if (c)
        e.c = c.substring(0, maxValue);
    }
    if (links.has(el)) {
      e.a = String(el.href).substring(0, 4 * maxValue);
      linkIndex.push(i);
    } else if (images.has(el)) {
      e.a = String(el.src).substring(0, 4 * maxValue);
      imageIndex.push(i);
    }
    els.push(e);
  }
  const body = document.body;
  const text = body ? body.innerText : '';
  const selection = shape ? String(window.getSelection() || '').substring(0, maxBody) : '';
  return JSON.stringify({url: location.href, title: document.title, els: els, links: linkIndex, images: imageIndex,
                         body: crlf(text.substring(0, maxBody)), hasBody: !!body, sel: selection, deep: deep,
                         truncated: all.length > count || text.length > maxBody});
})(%1, %2, %3, %4, %5, %6, %7)
)JS";

const char *const ActionScript = R"JS(
(function (actions) {
  const all = document.getElementsByTagName('*');
  for (const a of actions) {
    const el = all[a.i];
    if (!el || el.tagName.toUpperCase() !== a.t)
      continue;
    if (a.k === 'set') {
      el.setAttribute(a.n, a.v);
      if (a.n.toLowerCase() === 'value' && 'value' in el)
        el.value = a.v;
    } else {
      el.click();
    }
  }
  return true;
})(%1)
)JS";

QString jsonText(const QJsonValue &value)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
}

QString limited(const QJsonValue &value, int length)
{
    return value.toString().left(length);
}

/// Keeps the indexes that name an element of the given tag set, in order.
QList<int> indexes(const QJsonArray &array, const QList<HtmlElement> &elements)
{
    QList<int> result;
    for (const QJsonValue &value : array) {
        const int i = value.toInt(-1);
        if (i >= 0 && i < elements.size() && (result.isEmpty() || i > result.last()))
            result.append(i);
    }
    return result;
}

} // namespace

namespace PageBridge {

HtmlDocument documentFromJson(const QByteArray &json)
{
    HtmlDocument doc;
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    const int max = HtmlDocument::MaxValueLength;
    doc.url = limited(root.value(u"url"_s), 4 * max);
    doc.title = limited(root.value(u"title"_s), max);
    const QJsonArray els = root.value(u"els"_s).toArray();
    for (qsizetype i = 0; i < els.size() && i < HtmlDocument::MaxElements; ++i) {
        const QJsonObject o = els.at(i).toObject();
        HtmlElement e;
        e.tagName = limited(o.value(u"t"_s), 64);
        e.id = limited(o.value(u"i"_s), max);
        e.value = limited(o.value(u"v"_s), max);
        e.innerText = limited(o.value(u"x"_s), max);
        e.textEditing = o.value(u"e"_s).toBool();
        e.address = limited(o.value(u"a"_s), 4 * max);
        e.outerHtml = limited(o.value(u"o"_s), 4 * max);
        // A parent comes before its child in document order: any other index is dropped.
        const int parent = o.value(u"p"_s).toInt(-1);
        e.parent = parent >= 0 && parent < i ? parent : -1;
        e.className = limited(o.value(u"c"_s), max);
        doc.elements.append(e);
    }
    doc.links = indexes(root.value(u"links"_s).toArray(), doc.elements);
    doc.images = indexes(root.value(u"images"_s).toArray(), doc.elements);
    doc.bodyText = limited(root.value(u"body"_s), HtmlDocument::MaxBodyText);
    doc.hasBody = root.value(u"hasBody"_s).toBool();
    doc.selection = limited(root.value(u"sel"_s), HtmlDocument::MaxBodyText);
    doc.truncated = root.value(u"truncated"_s).toBool() || els.size() > HtmlDocument::MaxElements;
    doc.tooDeep = root.value(u"deep"_s).toBool();
    return doc;
}

void takeSnapshot(QWebEnginePage *page, std::function<void(const HtmlDocument &)> done, SnapshotKind kind)
{
    const bool trackList = kind == SnapshotKind::TrackList;
    const QStringList textTags = trackList ? HtmlDocument::trackListTextTags() : HtmlDocument::textTags();
    const QString script = QString::fromUtf8(SnapshotScript)
                               .arg(jsonText(QJsonArray::fromStringList(textTags)),
                                    jsonText(QJsonArray::fromStringList(HtmlDocument::outerHtmlTags())))
                               .arg(HtmlDocument::MaxElements)
                               .arg(HtmlDocument::MaxValueLength)
                               .arg(HtmlDocument::MaxBodyText)
                               .arg(trackList ? u"true"_s : u"false"_s)
                               .arg(HtmlDocument::MaxDepth);
    QPointer<QWebEnginePage> guard(page);
    page->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                        [guard, done = std::move(done)](const QVariant &result) {
                            if (guard)
                                done(documentFromJson(result.toString().toUtf8()));
                        });
}

void carryOut(QWebEnginePage *page, const ElementActions &actions)
{
    if (actions.isEmpty())
        return;
    QJsonArray list;
    for (const ElementAction &a : actions) {
        QJsonObject o{{u"i"_s, a.element}, {u"t"_s, a.tagName}};
        if (a.kind == ElementAction::Kind::SetAttribute) {
            o.insert(u"k"_s, u"set"_s);
            o.insert(u"n"_s, a.name);
            o.insert(u"v"_s, a.value);
        } else {
            o.insert(u"k"_s, u"click"_s);
        }
        list.append(o);
    }
    const QString json = QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact));
    page->runJavaScript(QString::fromUtf8(ActionScript).arg(json), QWebEngineScript::ApplicationWorld);
}

} // namespace PageBridge
