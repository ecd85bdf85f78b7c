#include "jobs/AlbumHtmlPage.h"

#include "audio/Mp3FileBytes.h"
#include "audio/Mp3InfoVBR.h"
#include "foundation/Basic.h"

#include <QDir>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

/// A code point HTML wants no literal of: controls (tab, line feed and carriage return aside)
/// and the non-characters.
bool unwanted(char32_t c)
{
    if (c < 0x20)
        return c != u'\t' && c != u'\n' && c != u'\r';
    if (c >= 0x7F && c <= 0x9F)
        return true;
    return (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE;
}

QString minutesText(qint64 seconds)
{
    return u"%1:%2"_s.arg(seconds / 60).arg(seconds % 60, 2, 10, QChar(u'0'));
}

} // namespace

QString htmlEscaped(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        char32_t code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            code = QChar::surrogateToUcs4(c, text.at(i + 1));
            ++i;
        } else if (c.isSurrogate()) {
            code = QChar::ReplacementCharacter;
        }
        switch (code) {
        case u'&': out += u"&amp;"_s; continue;
        case u'<': out += u"&lt;"_s; continue;
        case u'>': out += u"&gt;"_s; continue;
        case u'"': out += u"&quot;"_s; continue;
        case u'\'': out += u"&#39;"_s; continue;
        default: break;
        }
        // A line break inside a value would only be a blank on the page.
        if (code == u'\n' || code == u'\r' || code == u'\t')
            code = u' ';
        if (unwanted(code))
            code = QChar::ReplacementCharacter;
        out += QString::fromUcs4(&code, 1);
    }
    return out;
}

QString relativeAddress(const QString &fromFolder, const QString &toFile)
{
    const QString relative = QDir(fromFolder).relativeFilePath(QDir::fromNativeSeparators(toFile));
    QStringList levels;
    for (const QString &level : relative.split(u'/'))
        levels.append(level == u".."_s ? level : QString::fromLatin1(QUrl::toPercentEncoding(level)));
    return levels.join(u'/');
}

QString embeddedPictureAddress(const QByteArray &bytes)
{
    if (bytes.isEmpty() || bytes.size() > MaxEmbeddedPictureBytes)
        return {};
    QString type;
    if (bytes.startsWith("\xFF\xD8\xFF"))
        type = u"image/jpeg"_s;
    else if (bytes.startsWith("\x89PNG\r\n\x1A\n"))
        type = u"image/png"_s;
    else if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        type = u"image/gif"_s;
    else if (bytes.startsWith("BM"))
        type = u"image/bmp"_s;
    else if (bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP")
        type = u"image/webp"_s;
    else
        return {};
    return u"data:"_s + type + u";base64,"_s + QString::fromLatin1(bytes.toBase64());
}

qint64 trackSeconds(const QString &path)
{
    Mp3FileBytes bytes(path);
    if (!bytes.isOpen())
        return -1;
    const Mp3InfoVBR::Reading reading = Mp3InfoVBR::read(bytes);
    return reading.found ? reading.info.duration : -1;
}

QByteArray albumPageBytes(const AlbumPageContent &page)
{
    const AlbumFields &album = page.album;
    const QString artist = Basic::trim(album.artist);
    const QString title = Basic::trim(album.album);
    QStringList lines {
        u"<!DOCTYPE html>"_s,
        u"<html>"_s,
        u"<head>"_s,
        u"<meta charset=\"utf-8\">"_s,
        u"<meta name=\"generator\" content=\"Varnelt\">"_s,
        u"<title>"_s + htmlEscaped(artist + u" - "_s + title) + u"</title>"_s,
        u"<style>"_s,
        u"body { font-family: sans-serif; margin: 2em; color: #222; background: #fff; }"_s,
        u"img.cover { float: right; max-width: 40%; margin: 0 0 1em 2em; }"_s,
        u"table { border-collapse: collapse; }"_s,
        u"th, td { padding: 0.2em 0.8em; text-align: left; border-bottom: 1px solid #ddd; }"_s,
        u"td.number, td.length { text-align: right; }"_s,
        u"</style>"_s,
        u"</head>"_s,
        u"<body>"_s,
    };
    if (!page.coverAddress.isEmpty())
        lines.append(u"<img class=\"cover\" src=\""_s + htmlEscaped(page.coverAddress) + u"\" alt=\"Cover\">"_s);
    lines.append(u"<h1 class=\"album\">"_s + htmlEscaped(title) + u"</h1>"_s);
    lines.append(u"<h2 class=\"artist\">"_s + htmlEscaped(artist) + u"</h2>"_s);
    QStringList facts;
    if (const QString year = Basic::trim(album.year); !year.isEmpty())
        facts.append(u"<dt>Year</dt><dd class=\"year\">"_s + htmlEscaped(year) + u"</dd>"_s);
    if (const QString genre = Basic::trim(album.genre); !genre.isEmpty())
        facts.append(u"<dt>Genre</dt><dd class=\"genre\">"_s + htmlEscaped(genre) + u"</dd>"_s);
    if (!facts.isEmpty())
        lines.append(u"<dl>"_s + facts.join(QString()) + u"</dl>"_s);

    lines.append(u"<table class=\"tracks\">"_s);
    lines.append(u"<thead><tr><th>#</th><th>Title</th><th>Length</th></tr></thead>"_s);
    lines.append(u"<tbody>"_s);
    qint64 total = 0;
    bool everyLength = !page.tracks.isEmpty();
    for (const AlbumPageTrack &track : page.tracks) {
        const QString text = htmlEscaped(track.title);
        const QString cell = track.address.isEmpty()
            ? text
            : u"<a href=\""_s + htmlEscaped(track.address) + u"\">"_s + text + u"</a>"_s;
        lines.append(u"<tr><td class=\"number\">"_s + htmlEscaped(track.number) + u"</td><td class=\"title\">"_s
                     + cell + u"</td><td class=\"length\">"_s
                     + (track.seconds >= 0 ? minutesText(track.seconds) : QString()) + u"</td></tr>"_s);
        if (track.seconds >= 0)
            total += track.seconds;
        else
            everyLength = false;
    }
    lines.append(u"</tbody>"_s);
    lines.append(u"</table>"_s);
    if (everyLength)
        lines.append(u"<p class=\"total\">Total length : "_s + minutesText(total) + u"</p>"_s);
    lines.append(u"</body>"_s);
    lines.append(u"</html>"_s);
    return (lines.join(u"\r\n"_s) + u"\r\n"_s).toUtf8();
}
