// One line of a track list: its number, title and length, or a header, total or disc line.
#include "lookup/TrackListCollect.h"

#include <QRegularExpression>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QString simplified(const QString &text)
{
    return text.simplified();
}

bool hasLetterOrDigit(const QString &text)
{
    for (QChar c : text) {
        if (c.isLetterOrNumber())
            return true;
    }
    return false;
}

bool hasLetter(const QString &text)
{
    for (QChar c : text) {
        if (c.isLetter())
            return true;
    }
    return false;
}

/// The cell's words as a header names its columns ("No.", "Title", "Writer(s)", "Length").
bool isHeaderWord(const QString &word)
{
    static const QStringList words{
        u"no"_s, u"nr"_s, u"#"_s, u"track"_s, u"tracks"_s, u"title"_s, u"titles"_s, u"song"_s, u"songs"_s,
        u"name"_s, u"writer"_s, u"writers"_s, u"writer(s)"_s, u"written"_s, u"by"_s, u"length"_s, u"time"_s,
        u"duration"_s, u"artist"_s, u"artists"_s, u"composer"_s, u"composers"_s, u"composer(s)"_s,
        u"producer"_s, u"producers"_s, u"producer(s)"_s, u"lyrics"_s, u"music"_s, u"notes"_s, u"note"_s,
        u"side"_s, u"position"_s, u"pos"_s, u"bpm"_s, u"key"_s, u"price"_s, u"buy"_s, u"preview"_s, u"play"_s,
        u"featuring"_s, u"arranger"_s, u"arrangers"_s, u"original"_s, u"performer"_s, u"performers"_s,
        u"performer(s)"_s, u"lyricist"_s, u"lyricist(s)"_s, u"tracklist"_s, u"tracklisting"_s, u"listing"_s, u"and"_s, u"/"_s, u"&"_s, u"-"_s};
    QString w = word.toLower();
    while (w.size() > 1 && (w.endsWith(u'.') || w.endsWith(u':')))
        w.chop(1);
    return words.contains(w);
}

int headerKind(const QString &cell)
{
    // 1: a title column, 2: a length column, 0: another column.
    QString c = cell.toLower();
    while (c.size() > 1 && (c.endsWith(u'.') || c.endsWith(u':')))
        c.chop(1);
    if (c.contains(u"length"_s) || c.contains(u"duration"_s) || c == u"time")
        return 2;
    if (c.contains(u"title"_s) || c.contains(u"song"_s) || c == u"name" || c == u"track" || c == u"tracks"
        || c == u"tracklist" || c == u"tracklisting")
        return 1;
    return 0;
}

/// The number forms at a line's start, tried in this order.
const QList<QRegularExpression> &numberForms()
{
    static const QString after = u"(?=[.)\\]\\-–—:]|\\s|$)"_s;
    static const QList<QRegularExpression> forms{
        // "Track 1:", "Track 01 -"
        QRegularExpression(u"^Track\\s*(\\d{1,3})"_s + after, QRegularExpression::CaseInsensitiveOption),
        // "CD2-03", "Disc 1.04"
        QRegularExpression(u"^(?:CD|Disc|Disk)\\s*(\\d{1,2})\\s*[-–./]\\s*(\\d{1,3})"_s + after,
                           QRegularExpression::CaseInsensitiveOption),
        // "1-03", "2.05"
        QRegularExpression(u"^(\\d{1,2})[-–./](\\d{1,3})"_s + after),
        // vinyl sides "A1", "B2"
        QRegularExpression(u"^([A-H])(\\d{1,2})"_s + after),
        // "1.", "01", "01 -", "1)", "#1", "[1]"
        QRegularExpression(u"^(?:#\\s*|\\[)?(\\d{1,3})\\]?(?=[.)\\-–—]|:(?!\\d)|\\s|$)"_s),
    };
    return forms;
}

const QRegularExpression &separatorAfterNumber()
{
    static const QRegularExpression separator(u"^\\s*[.)]?\\s*(?:[-–—:|]\\s*)?"_s);
    return separator;
}

const QRegularExpression &lengthAtEnd()
{
    // A length ending the title, alone or in brackets, after blanks or a dash.
    static const QRegularExpression length(
        u"(?:^|[\\s\\-–—|/,]+)[(\\[]?(\\d{1,3}:[0-5]\\d(?::[0-5]\\d)?)[)\\]]?\\s*$"_s);
    return length;
}

const QRegularExpression &totalLine()
{
    // "Total length: 38:49", "Total 38:49", "Running time - 40:12"; not "Total Eclipse".
    static const QRegularExpression total(
        u"^(?:total(?:\\s+(?:length|time|running\\s+time|playing\\s+time|duration))?|running\\s+time|"
        "playing\\s+time|length|runtime)\\s*(?::|$|\\s+\\d|[-–]\\s*\\d)"_s,
        QRegularExpression::CaseInsensitiveOption);
    return total;
}

const QRegularExpression &discHeading()
{
    static const QRegularExpression disc(
        u"^(?:disc|disk|cd|side|lp|record|vinyl)\\s*[:#]?\\s*(?:\\d{1,2}|[a-h]|one|two|three|four|five|six)"
        "(?:\\s+of\\s+\\d{1,2})?(?:\\s*[:.\\-–—(].*)?$"_s,
        QRegularExpression::CaseInsensitiveOption);
    return disc;
}

/// Opening quotes and the closing quote each one expects.
QChar closingQuote(QChar open)
{
    switch (open.unicode()) {
    case u'"': return u'"';
    case 0x201C: return QChar(0x201D); // “ ”
    case 0x201E: return QChar(0x201C); // „ “
    case 0x00AB: return QChar(0x00BB); // « »
    case 0x2018: return QChar(0x2019); // ‘ ’
    case u'\'': return u'\'';
    default: return {};
    }
}

/// The title without what follows its closing quote; unquoted titles stay whole.
QString unquoted(const QString &title)
{
    if (title.size() < 3)
        return title;
    const QChar close = closingQuote(title.at(0));
    if (close.isNull())
        return title;
    // A quote that closes is followed by the end, a blank or punctuation ("Don’t" does not close).
    for (qsizetype i = 1; i < title.size(); ++i) {
        const QChar c = title.at(i);
        const bool closes = c == close || (close == QChar(0x201D) && c == u'"') || (close == u'"' && c == QChar(0x201D));
        if (!closes)
            continue;
        const bool atEnd = i + 1 == title.size();
        const QChar next = atEnd ? QChar() : title.at(i + 1);
        if (i > 1 && (atEnd || next.isSpace() || next.isPunct() || next.isSymbol()))
            return title.mid(1, i - 1).trimmed();
    }
    return title;
}

/// Strips a length from the end of the cell; returns it in milliseconds (0 when none).
int takeLengthAtEnd(QString &cell)
{
    const QRegularExpressionMatch m = lengthAtEnd().match(cell);
    if (!m.hasMatch())
        return 0;
    const int length = TrackList::parseLength(m.captured(1));
    if (length > 0)
        cell = cell.left(m.capturedStart(0)).trimmed();
    return length;
}

QString stripTrailingSeparators(QString text)
{
    while (!text.isEmpty() && (text.endsWith(u'-') || text.endsWith(u'–') || text.endsWith(u'—')
                               || text.endsWith(u'|') || text.endsWith(u',') || isBlank(text.back())))
        text.chop(1);
    return text;
}

} // namespace

namespace TrackList {

QString noTrackListOnPage()
{
    return u"No track list found on this page."_s;
}

QString noTrackListInText()
{
    return u"No track list found in the text."_s;
}

QString cleanText(QStringView text)
{
    QString clean;
    clean.reserve(text.size());
    for (QChar c : text) {
        if (c == u'\n' || c == u'\t') {
            clean.append(c);
        } else if (c == u'\r') {
            // CR LF and a lone CR both end a line.
            continue;
        } else if (c.category() == QChar::Other_Format) {
            continue;
        } else if (c.category() == QChar::Other_Control || c == QChar::Nbsp || c == QChar(0x2028)
                   || c == QChar(0x2029)) {
            clean.append(c == QChar(0x2028) || c == QChar(0x2029) ? u'\n' : u' ');
        } else {
            clean.append(c);
        }
    }
    return clean;
}

QString textFromBytes(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

int parseLength(QStringView text)
{
    static const QRegularExpression length(u"^\\s*[(\\[]?(\\d{1,3}):([0-5]\\d)(?::([0-5]\\d))?[)\\]]?\\s*$"_s);
    const QRegularExpressionMatch m = length.match(text.toString());
    if (!m.hasMatch())
        return 0;
    const int a = m.captured(1).toInt();
    const int b = m.captured(2).toInt();
    if (m.hasCaptured(3)) {
        const int seconds = (a * 60 + b) * 60 + m.captured(3).toInt();
        return seconds > 0 && a < 100 ? seconds * 1000 : 0;
    }
    const int seconds = a * 60 + b;
    return seconds > 0 ? seconds * 1000 : 0;
}

TrackLine readLine(const QStringList &rawCells, const TrackLine &header)
{
    return readLineAs(rawCells, header, true);
}

TrackLine readLineAs(const QStringList &rawCells, const TrackLine &header, bool takeNumber)
{
    TrackLine line;
    QStringList cells;
    for (const QString &cell : rawCells)
        cells << simplified(cell.left(MaxLineLength));
    while (!cells.isEmpty() && cells.last().isEmpty())
        cells.removeLast();
    while (!cells.isEmpty() && cells.first().isEmpty() && header.titleColumn < 0)
        cells.removeFirst();
    if (cells.isEmpty())
        return line;
    const QString joined = cells.join(u' ');

    // A header names its columns and nothing else.
    bool allHeaderWords = true;
    bool namesTitle = false;
    const QStringList words = joined.split(u' ', Qt::SkipEmptyParts);
    for (const QString &word : words) {
        allHeaderWords = allHeaderWords && isHeaderWord(word);
        const int kind = headerKind(word);
        namesTitle = namesTitle || kind != 0;
    }
    // One word alone is a header only when it can be no title ("Tracklist"; not "Time").
    static const QStringList loneHeaders{u"title"_s, u"titles"_s, u"tracks"_s, u"tracklist"_s, u"tracklisting"_s,
                                         u"songs"_s};
    QString lone = words.first().toLower();
    while (lone.size() > 1 && (lone.endsWith(u'.') || lone.endsWith(u':')))
        lone.chop(1);
    if (allHeaderWords && namesTitle && (words.size() >= 2 || loneHeaders.contains(lone))) {
        line.kind = TrackLine::Kind::Header;
        // Columns mean something only when the header has them.
        for (int i = 0; i < cells.size() && cells.size() >= 2; ++i) {
            const int kind = headerKind(cells.at(i));
            if (kind == 1 && line.titleColumn < 0)
                line.titleColumn = i;
            else if (kind == 2 && line.lengthColumn < 0)
                line.lengthColumn = i;
        }
        return line;
    }
    if (totalLine().match(joined).hasMatch()) {
        line.kind = TrackLine::Kind::Total;
        return line;
    }

    // The number: its own first cell, or the start of the first cell; cells holding neither
    // letter nor digit before it (a play button) are skipped.
    int numberCell = 0;
    while (numberCell + 1 < cells.size() && !hasLetterOrDigit(cells.at(numberCell)))
        ++numberCell;
    QString first = cells.at(numberCell);
    for (const QRegularExpression &form : numberForms()) {
        if (!takeNumber)
            break;
        const QRegularExpressionMatch m = form.match(first);
        if (!m.hasMatch())
            continue;
        line.number = m.captured(0).trimmed();
        first = first.mid(m.capturedEnd(0));
        first.remove(separatorAfterNumber());
        break;
    }
    if (line.number.isEmpty() && cells.size() == 1 && discHeading().match(joined).hasMatch()) {
        line.kind = TrackLine::Kind::DiscHeading;
        return line;
    }
    cells[numberCell] = first;

    // The length: a cell of its own (the header's length column first), else the title's end.
    int titleCell = -1;
    if (header.lengthColumn >= 0 && header.lengthColumn < cells.size())
        line.lengthMs = parseLength(cells.at(header.lengthColumn));
    for (int i = int(cells.size()) - 1; i >= 0 && line.lengthMs == 0; --i) {
        if (const int length = parseLength(cells.at(i)); length > 0) {
            line.lengthMs = length;
            cells[i].clear();
        }
    }
    if (header.titleColumn >= 0 && header.titleColumn < cells.size() && hasLetter(cells.at(header.titleColumn)))
        titleCell = header.titleColumn;
    for (int i = 0; i < cells.size() && titleCell < 0; ++i) {
        if (hasLetter(cells.at(i)))
            titleCell = i;
    }
    // A numbered line whose title has no letter ("5. 1979").
    for (int i = 0; i < cells.size() && titleCell < 0 && !line.number.isEmpty(); ++i) {
        if (!cells.at(i).isEmpty())
            titleCell = i;
    }
    if (titleCell < 0) {
        // Only a number or only a length: a total row without its label, or nothing.
        line.kind = line.number.isEmpty() && line.lengthMs > 0 ? TrackLine::Kind::Total : TrackLine::Kind::Empty;
        return line;
    }
    QString title = cells.at(titleCell);
    if (const int length = takeLengthAtEnd(title); length > 0 && line.lengthMs == 0)
        line.lengthMs = length;
    // A list of file names: "01 - Salt and Cedar.flac".
    static const QRegularExpression audioFile(u"\\.(?:mp3|flac|wav|m4a|ogg|opus|aac|wma|ape|aiff?)$"_s,
                                              QRegularExpression::CaseInsensitiveOption);
    title.remove(audioFile);
    title = stripTrailingSeparators(unquoted(title));
    if (title.isEmpty() || (!hasLetter(title) && line.number.isEmpty())) {
        line.kind = TrackLine::Kind::Empty;
        return line;
    }
    line.kind = TrackLine::Kind::Track;
    line.title = title.left(MaxValueLength);
    return line;
}

} // namespace TrackList
