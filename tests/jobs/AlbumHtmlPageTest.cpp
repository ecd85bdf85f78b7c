// The album's HTML page written by the rename job: read back by a strict checker built on
// python3's html.parser (well-formed, every reference known, no element the page does not
// write), its hostile values shown as text, its links resolving to the renamed files and the
// cover, its place, its Joliet name, its replacement and its undo.
#include "RenameJobFixture.h"

#include "jobs/AlbumHtmlPage.h"
#include "jobs/PlaylistCoverOutput.h"
#include "jobs/RenameUndo.h"
#include "support/Mp3Writer.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

/// Parses the page strictly and reports what it shows: {"errors": [...], "tags": [...],
/// "title", "h1", "h2", "dd": [...], "rows": [{"cells": [...], "href"}], "img", "charset"}.
QJsonObject readPage(const QString &path)
{
    static const QString script = uR"(
import sys, json, re, html.entities
from html.parser import HTMLParser
raw = open(sys.argv[1], 'rb').read()
errors = []
try:
    text = raw.decode('utf-8')
except UnicodeDecodeError as e:
    errors.append('not UTF-8: %s' % e)
    text = raw.decode('utf-8', 'replace')
for m in re.finditer(r'&[^;\s<&]{0,40};?', text):
    ref = m.group(0)
    named = re.fullmatch(r'&([A-Za-z][A-Za-z0-9]*);', ref)
    if not (re.fullmatch(r'&#[0-9]{1,7};', ref) or (named and named.group(1) + ';' in html.entities.html5)):
        errors.append('bad reference ' + ref)
VOID = {'meta', 'img', 'br', 'link', 'hr', 'input'}
class Checker(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=False)
        self.stack, self.tags, self.row = [], set(), None
        self.out = {'title': '', 'h1': '', 'h2': '', 'dd': [], 'rows': [], 'img': None, 'charset': None}
    def handle_decl(self, decl):
        if decl != 'DOCTYPE html': errors.append('doctype ' + decl)
    def handle_starttag(self, tag, attrs):
        self.tags.add(tag)
        a = dict(attrs)
        if len(a) != len(attrs): errors.append('attribute twice in ' + tag)
        if tag == 'meta' and 'charset' in a: self.out['charset'] = a['charset']
        if tag == 'img': self.out['img'] = a.get('src')
        if tag == 'tr' and self.stack[-1:] == ['tbody']: self.row = {'cells': [], 'href': None}
        if tag == 'td' and self.row is not None: self.row['cells'].append('')
        if tag == 'dd': self.out['dd'].append('')
        if tag == 'a':
            if self.row is None: errors.append('a link outside the tracks')
            else: self.row['href'] = a.get('href')
        if tag not in VOID: self.stack.append(tag)
    def handle_startendtag(self, tag, attrs): errors.append('self-closing ' + tag)
    def handle_endtag(self, tag):
        if tag in VOID or not self.stack or self.stack[-1] != tag:
            errors.append('end tag %s while %s is open' % (tag, self.stack[-1:]))
            return
        self.stack.pop()
        if tag == 'tr' and self.row is not None:
            self.out['rows'].append(self.row)
            self.row = None
    def text(self, data):
        top = self.stack[-1] if self.stack else None
        if top in ('title', 'h1', 'h2'): self.out[top] += data
        elif top == 'dd': self.out['dd'][-1] += data
        elif self.row is not None and self.row['cells'] and top in ('td', 'a'): self.row['cells'][-1] += data
        elif top is None and data.strip(): errors.append('text outside the page: ' + data)
    def handle_data(self, data):
        if '>' in data and self.stack[-1:] != ['style']: errors.append('a bare > in ' + repr(data))
        self.text(data)
    def handle_entityref(self, name): self.text(html.entities.html5.get(name + ';', '?'))
    def handle_charref(self, name): self.text(chr(int(name[1:], 16) if name[:1] in 'xX' else int(name)))
c = Checker()
c.feed(text)
c.close()
if c.stack: errors.append('left open: %s' % c.stack)
c.out['errors'] = errors
c.out['tags'] = sorted(c.tags)
print(json.dumps(c.out))
)"_s;
    QProcess python;
    python.start(u"/usr/bin/python3"_s, {u"-c"_s, script, path});
    if (!python.waitForFinished(20000) || python.exitCode() != 0) {
        ADD_FAILURE() << "the checker failed: " << python.readAllStandardError().toStdString();
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

QStringList strings(const QJsonValue &array)
{
    QStringList out;
    for (const QJsonValue &v : array.toArray())
        out.append(v.toString());
    return out;
}

/// The file a relative address of the page leads to.
QString target(const QString &pageFolder, const QString &address)
{
    return QDir::cleanPath(QDir(pageFolder).filePath(QUrl::fromPercentEncoding(address.toUtf8())));
}

const QRegularExpression percentEncoded(u"^[A-Za-z0-9._~%/-]+$"_s);

} // namespace

class AlbumHtmlPageTest : public RenameJobFixture
{
protected:
    /// The path the log names under the "HTML page" node.
    QString pagePathOf(const ResultLog &log) const
    {
        const QStringList lines = log.childTexts(log.findRoot(u"HTML page"_s));
        return lines.isEmpty() ? QString() : lines.first().mid(QString(u"HTML page file name : "_s).size());
    }
};

TEST_F(AlbumHtmlPageTest, HostileValuesShowAsTextAndEveryLinkLeadsToTheRenamedFileOrTheCover)
{
    const QList<SourceFile> files {{u"a.mp3"_s, u"<script>alert('x')</script>"_s, 3.0},
                                   {u"b.mp3"_s, u"Rock & Roll \"live\" </a><a href=\"evil\">"_s, 5.0},
                                   {u"c.mp3"_s, u"Ünïcødé 東京 🎵 100%"_s, 7.0}};
    const QString folder = makeAlbum(u"in"_s, files);
    RenameJobInput in = inputFor(folder, files, u"%track - %title"_s, u"MP3 directory"_s);
    in.album = {u"Tom & \"Jerry\" <b>"_s, u"</title><script>x</script>"_s, u"1999"_s, u"R&B\x01"_s, QString()};
    in.outputs.html = true;
    in.outputs.cover = in.outputs.coverShown = true;
    in.outputs.coverDownloadFileName = writeFile(u"download/cover.jpg"_s, "\xff\xd8\xff\xe0 a cover");
    const RenameJobOutcome outcome = runAlbumRenameJob(in, log);
    ASSERT_EQ(log.errorCount(), 0);

    const QString page = pagePathOf(log);
    ASSERT_TRUE(QFileInfo(page).isFile()) << page.toStdString();
    EXPECT_EQ(QFileInfo(page).absolutePath(), folder);
    EXPECT_EQ(QFileInfo(page).completeBaseName(), albumOutputName(in.album, in.naming)) << "named like the playlist";
    EXPECT_TRUE(page.endsWith(u".htm"_s));
    const QJsonObject shown = readPage(page);
    EXPECT_EQ(strings(shown[u"errors"_s]), QStringList()) << readAll(page).toStdString();
    EXPECT_EQ(strings(shown[u"tags"_s]),
              (QStringList {u"a"_s, u"body"_s, u"dd"_s, u"dl"_s, u"dt"_s, u"h1"_s, u"h2"_s, u"head"_s, u"html"_s,
                            u"img"_s, u"meta"_s, u"p"_s, u"style"_s, u"table"_s, u"tbody"_s, u"td"_s, u"th"_s,
                            u"thead"_s, u"title"_s, u"tr"_s}))
        << "no value became an element";
    EXPECT_EQ(shown[u"charset"_s].toString(), u"utf-8"_s);
    EXPECT_EQ(shown[u"title"_s].toString(), in.album.artist + u" - "_s + in.album.album);
    EXPECT_EQ(shown[u"h1"_s].toString(), in.album.album);
    EXPECT_EQ(shown[u"h2"_s].toString(), in.album.artist);
    EXPECT_EQ(strings(shown[u"dd"_s]), (QStringList {u"1999"_s, u"R&B\uFFFD"_s})) << "a control character is replaced";

    const QJsonArray rows = shown[u"rows"_s].toArray();
    ASSERT_EQ(rows.size(), 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const QJsonObject row = rows.at(i).toObject();
        EXPECT_EQ(strings(row[u"cells"_s]),
                  (QStringList {QString::number(i + 1), files.at(i).title, u"0:0%1"_s.arg(3 + 2 * i)}));
        const QString href = row[u"href"_s].toString();
        EXPECT_TRUE(percentEncoded.match(href).hasMatch()) << href.toStdString();
        EXPECT_EQ(target(folder, href), outcome.newPaths.at(i));
        EXPECT_TRUE(QFileInfo::exists(target(folder, href)));
    }
    const QString cover = shown[u"img"_s].toString();
    EXPECT_TRUE(percentEncoded.match(cover).hasMatch()) << cover.toStdString();
    EXPECT_EQ(readAll(target(folder, cover)), QByteArray("\xff\xd8\xff\xe0 a cover"));
    EXPECT_FALSE(cover.contains(u'/')) << "the cover lies beside the page";

    // The same page from the values alone: the checker is not fooled by a page that hides them.
    EXPECT_EQ(htmlEscaped(u"<a href=\"x\">&'"_s), u"&lt;a href=&quot;x&quot;&gt;&amp;&#39;"_s);
    EXPECT_EQ(htmlEscaped(u"\xD800 lone"_s), u"\uFFFD lone"_s);
}

TEST_F(AlbumHtmlPageTest, ParentFolderJolietNameEmbeddedCoverReplacementAndUndo)
{
    const QString root = tempFile(u"music"_s);
    const QList<SourceFile> files {{u"a.mp3"_s, u"One"_s, 2.0}, {u"b.mp3"_s, u"Two"_s, 4.0}};
    const QString folder = makeAlbum(u"music/rips/incoming"_s, files);
    RenameJobInput in = inputFor(folder, files, u"%artist - %album\\%track - %title"_s, u"Parent directory"_s);
    in.album.album = u"A Very Long Album Title That Goes On And On Beyond Joliet"_s;
    in.joliet = true;
    in.outputs.html = true;
    in.outputs.htmlDir = OutputFolder::ParentFolder;
    // A cover shown but not copied: the page holds it inside itself.
    const QByteArray png("\x89PNG\r\n\x1a\n a small picture", 25);
    in.outputs.coverShown = true;
    in.outputs.coverDownloadFileName = writeFile(u"download/cover.png"_s, png);
    const QString longName = albumOutputName(in.album, in.naming) + u".htm"_s;
    ASSERT_GT(longName.size(), 64);
    const QString page = root + u"/rips/"_s + longName.left(60) + u".htm"_s;
    writeFile(QDir(tempPath()).relativeFilePath(page), "<p>an earlier page</p>");
    const auto before = folderState(root);

    const RenameJobOutcome outcome = runAlbumRenameJob(in, log);
    EXPECT_EQ(log.errorCount(), 0);
    EXPECT_EQ(log.childTexts(log.findRoot(u"HTML page"_s)),
              (QStringList {u"HTML page file name : "_s + page,
                            u"Joliet error. The length of the HTML page filename is more than 64 characters : "_s + longName,
                            u"HTML page already exists. File replaced."_s}));
    const QJsonObject shown = readPage(page);
    EXPECT_EQ(strings(shown[u"errors"_s]), QStringList());
    const QJsonArray rows = shown[u"rows"_s].toArray();
    ASSERT_EQ(rows.size(), 2);
    const QString albumFolder = u"Foo - A Very Long Album Title That Goes On And On Beyond Joliet"_s;
    EXPECT_EQ(rows.at(0).toObject()[u"href"_s].toString(),
              QString::fromLatin1(QUrl::toPercentEncoding(albumFolder)) + u"/01%20-%20One.mp3"_s);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(target(root + u"/rips"_s, rows.at(i).toObject()[u"href"_s].toString()), outcome.newPaths.at(i));
    EXPECT_EQ(shown[u"img"_s].toString(), u"data:image/png;base64,"_s + QString::fromLatin1(png.toBase64()));
    EXPECT_TRUE(strings(rows.at(1).toObject()[u"cells"_s]).contains(u"0:04"_s));

    // The journal holds the page like the playlist: the undo gives the earlier page back.
    const UndoReport report = RenameUndo::undo(outcome.journalId);
    EXPECT_TRUE(report.complete()) << report.left.join(u'\n').toStdString();
    EXPECT_EQ(folderState(root), before);

    // Without an earlier page, the undo removes the one the job wrote; no cover, no picture.
    QFile::remove(page);
    in.outputs.coverShown = false;
    const auto clean = folderState(root);
    const RenameJobOutcome again = runAlbumRenameJob(in, log);
    EXPECT_EQ(log.warningCount(), 1) << "only the Joliet warning";
    EXPECT_TRUE(readPage(page)[u"img"_s].isNull());
    EXPECT_TRUE(RenameUndo::undo(again.journalId).complete());
    EXPECT_EQ(folderState(root), clean);
}
