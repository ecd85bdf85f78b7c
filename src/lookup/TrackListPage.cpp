// Track lists on a page: every table, every list and every run of numbered lines of the page's
// text is a candidate; the one most like an album's track list wins. Navigation, menus, related
// items, credits and personnel are never candidates.
#include "foundation/Common.h"
#include "lookup/LookupStates.h"
#include "lookup/TrackListCollect.h"
#include "naming/NamingText.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace TrackList {
namespace {

bool isHeading(const QString &tag)
{
    return tag.size() == 2 && tag.at(0) == u'H' && tag.at(1) >= u'1' && tag.at(1) <= u'6';
}

/// An element, or the section it stands in, that holds no album's track list.
bool isOtherMatter(const HtmlElement &e)
{
    static const QStringList tags{u"NAV"_s, u"HEADER"_s, u"FOOTER"_s, u"ASIDE"_s, u"MENU"_s};
    static const QRegularExpression names(
        u"nav(?!ail)|menu|breadcrumb|sidebar|footer|related|recommend|similar|credit|personnel|comment|social|"
        "pagination|\\btoc\\b"_s,
        QRegularExpression::CaseInsensitiveOption);
    return tags.contains(e.tagName) || names.match(e.className).hasMatch() || names.match(e.id).hasMatch();
}

bool isOtherHeading(const QString &heading)
{
    // Section names, at the heading's start: "Review: Album" is the page, "Reviews" a section.
    static const QRegularExpression other(
        u"^\\W*(?:credits|personnel|related|see also|also by|you may also|recommend|more from|more by|similar|"
        "navigation|contents|references|external links|reviews?|charts?|release history|other (?:albums|releases)|"
        "discography|tour|comments|videos)"_s,
        QRegularExpression::CaseInsensitiveOption);
    // Anywhere in it: "Products related to this item", "Customers who bought this also bought".
    static const QRegularExpression otherAnywhere(
        u"\\brelated\\b|\\balso (?:like|bought|viewed|listened)|\\b(?:may|might) also\\b|\\brecommend"_s,
        QRegularExpression::CaseInsensitiveOption);
    return other.match(heading).hasMatch() || otherAnywhere.match(heading).hasMatch();
}

bool isTrackHeading(const QString &text)
{
    static const QRegularExpression track(u"track|songs|listing|set ?list|^\\s*(?:disc|cd|side)\\b"_s,
                                          QRegularExpression::CaseInsensitiveOption);
    return track.match(text).hasMatch();
}

QString firstLine(const QString &text)
{
    const qsizetype end = text.indexOf(u'\n');
    return (end < 0 ? text : text.left(end)).trimmed();
}

/// What the reader knows of each element: the nearest enclosing table, row and list, whether
/// it stands in other matter or in a track-like section, the heading before it.
struct PageShape
{
    QList<int> table, row, list, heading, majorHeading;
    QList<bool> other, trackLike;
    /// Each table's rows, each row's cells, each list's items, in document order.
    QHash<int, QList<int>> rowsOf, cellsOf, itemsOf;

    explicit PageShape(const HtmlDocument &doc)
    {
        const qsizetype n = doc.elements.size();
        for (QList<int> *v : {&table, &row, &list, &heading, &majorHeading})
            v->fill(-1, n);
        other.fill(false, n);
        trackLike.fill(false, n);
        int lastHeading = -1;
        int lastMajor = -1;
        static const QRegularExpression trackName(u"track|songs|playlist"_s, QRegularExpression::CaseInsensitiveOption);
        for (qsizetype i = 0; i < n; ++i) {
            const HtmlElement &e = doc.elements.at(i);
            // Parents come before their children; any other index is no parent.
            const int p = e.parent >= 0 && e.parent < i ? e.parent : -1;
            if (p >= 0) {
                const QString &pt = doc.elements.at(p).tagName;
                table[i] = pt == u"TABLE" ? p : table[p];
                row[i] = pt == u"TR" ? p : row[p];
                list[i] = pt == u"OL" || pt == u"UL" ? p : list[p];
                other[i] = other[p];
                trackLike[i] = trackLike[p];
            }
            other[i] = other[i] || isOtherMatter(e);
            trackLike[i] = trackLike[i] || trackName.match(e.className).hasMatch() || trackName.match(e.id).hasMatch();
            if (e.tagName == u"TR" && table[i] >= 0)
                rowsOf[table[i]].append(int(i));
            else if ((e.tagName == u"TD" || e.tagName == u"TH") && row[i] >= 0)
                cellsOf[row[i]].append(int(i));
            else if (e.tagName == u"LI" && list[i] >= 0)
                itemsOf[list[i]].append(int(i));
            heading[i] = lastHeading;
            majorHeading[i] = lastMajor;
            if (isHeading(e.tagName) && !e.innerText.trimmed().isEmpty()) {
                lastHeading = int(i);
                if (e.tagName == u"H1" || e.tagName == u"H2")
                    lastMajor = int(i);
            }
        }
    }
};

struct Candidate
{
    int element = -1;
    bool isTable = false;
    bool fromText = false;
    int section = -1;
    Collected lines;
    double score = 0;
};

double scoreOf(const Candidate &c, const HtmlDocument &doc, const PageShape &shape, int fileCount)
{
    const Collected &l = c.lines;
    const qsizetype n = l.entries.size();
    if (n < 2)
        return 0;
    double score = double(n + 2 * l.numbered + 2 * l.withLength);
    bool trackLike = false;
    if (c.element >= 0) {
        if (shape.other.at(c.element))
            return 0;
        const int h = shape.heading.at(c.element);
        const QString heading = h >= 0 ? doc.elements.at(h).innerText : QString();
        if (h >= 0 && doc.elements.at(h).tagName != u"H1" && isOtherHeading(heading))
            return 0;
        trackLike = shape.trackLike.at(c.element) || isTrackHeading(heading);
    }
    if (trackLike)
        score *= 1.5;
    // A plain list of names (no numbers, no lengths) is as likely a menu as a track list: only
    // its heading or its class can tell.
    if (l.numbered == 0 && l.withLength == 0 && !trackLike)
        return 0;
    if (c.fromText)
        score *= 0.9;
    if (fileCount > 0) {
        const double off = std::abs(double(n - fileCount)) / double(std::max<qsizetype>(n, fileCount));
        score *= 1.5 - std::min(1.0, off);
    }
    return score;
}

void collectTable(const HtmlDocument &doc, const PageShape &shape, int table, Collected &lines)
{
    for (const int r : shape.rowsOf.value(table)) {
        QStringList cells;
        for (const int c : shape.cellsOf.value(r))
            cells << firstLine(doc.elements.at(c).innerText);
        if (!lines.add(cells))
            break;
    }
}

void collectList(const HtmlDocument &doc, const PageShape &shape, int list, Collected &lines)
{
    const bool ordered = doc.elements.at(list).tagName == u"OL";
    for (const int i : shape.itemsOf.value(list)) {
        if (!lines.add(firstLine(doc.elements.at(i).innerText).split(u'\t'), ordered))
            break;
    }
}

/// Runs of numbered lines (or lines with lengths) of the page's text, disc and header lines
/// between them allowed.
QList<Candidate> textRuns(const HtmlDocument &doc)
{
    QList<Candidate> runs;
    Candidate current;
    current.fromText = true;
    const auto close = [&] {
        if (current.lines.entries.size() >= 2)
            runs.append(current);
        current = Candidate();
        current.fromText = true;
    };
    const QString text = cleanText(QStringView(doc.bodyText).left(HtmlDocument::MaxBodyText));
    // A plain number that does not go on from the last one ("3 March 2003" after track 3)
    // starts another run; 1 may begin the next disc.
    int lastNumber = 0;
    StackedLines lines([&](const QString &raw) {
        const QStringList cells = raw.split(u'\t');
        const TrackLine line = readLine(cells, current.lines.header);
        const bool listLike = line.kind != TrackLine::Kind::Track || !line.number.isEmpty() || line.lengthMs > 0;
        bool plain = false;
        const int number = line.kind == TrackLine::Kind::Track ? line.number.toInt(&plain) : 0;
        if (plain && lastNumber > 0 && number != lastNumber + 1 && number != 1)
            close();
        if (line.kind == TrackLine::Kind::Track)
            lastNumber = plain ? number : 0;
        if (!listLike)
            close();
        else if (!current.lines.add(cells))
            close();
        return true;
    });
    for (QStringView raw : QStringTokenizer(text, u'\n'))
        lines.push(raw.left(MaxLineLength).toString());
    lines.finish();
    close();
    return runs;
}

} // namespace

CapturedAlbum readPage(const HtmlDocument &doc, int fileCount)
{
    CapturedAlbum album;
    const PageShape shape(doc);
    QList<Candidate> candidates;
    for (qsizetype i = 0; i < doc.elements.size(); ++i) {
        const QString &tag = doc.elements.at(i).tagName;
        if (tag != u"TABLE" && tag != u"OL" && tag != u"UL")
            continue;
        Candidate c;
        c.element = int(i);
        c.isTable = tag == u"TABLE";
        c.section = shape.majorHeading.at(i);
        if (c.isTable)
            collectTable(doc, shape, int(i), c.lines);
        else
            collectList(doc, shape, int(i), c.lines);
        c.lines.keepNumberedWhenMost();
        candidates.append(c);
    }
    // A run of the page's text that a table or list also gives is that table or list, which
    // knows better whether it is navigation or credits: only runs of other text are candidates.
    QSet<QString> listed;
    for (const Candidate &c : std::as_const(candidates)) {
        for (const Collected::Entry &e : c.lines.entries)
            listed.insert(e.title);
    }
    for (const Candidate &run : textRuns(doc)) {
        qsizetype known = 0;
        for (const Collected::Entry &e : run.lines.entries)
            known += listed.contains(e.title) ? 1 : 0;
        if (known * 2 < run.lines.entries.size())
            candidates.append(run);
    }
    for (Candidate &c : candidates)
        c.score = scoreOf(c, doc, shape, fileCount);

    // A release of several discs lists each in its own numbered table or list of the same
    // section: such a group is read, and weighed, as one list.
    const auto partOfGroup = [](const Candidate &c) {
        return !c.fromText && c.score > 0 && c.lines.numbered * 2 >= c.lines.entries.size();
    };
    const auto append = [](Collected &into, const Collected &from) {
        for (const Collected::Entry &e : from.entries) {
            if (into.entries.size() >= MaxTracks) {
                into.capped = true;
                break;
            }
            into.entries.append(e);
            into.numbered += e.numbered ? 1 : 0;
            into.withLength += e.lengthMs > 0 ? 1 : 0;
        }
        into.capped = into.capped || from.capped;
    };
    QHash<QPair<bool, int>, QList<int>> groups;
    for (int i = 0; i < candidates.size(); ++i) {
        if (partOfGroup(candidates.at(i)))
            groups[{candidates.at(i).isTable, candidates.at(i).section}].append(i);
    }
    QList<double> weight(candidates.size(), 0.0);
    for (int i = 0; i < candidates.size(); ++i)
        weight[i] = candidates.at(i).score;
    for (const QList<int> &members : std::as_const(groups)) {
        if (members.size() < 2)
            continue;
        int strongest = members.first();
        for (const int m : members)
            strongest = candidates.at(m).score > candidates.at(strongest).score ? m : strongest;
        Candidate whole = candidates.at(strongest);
        whole.lines = Collected();
        for (const int m : members)
            append(whole.lines, candidates.at(m).lines);
        const double score = std::max(scoreOf(whole, doc, shape, fileCount), candidates.at(strongest).score);
        for (const int m : members)
            weight[m] = score;
    }
    int best = -1;
    for (int i = 0; i < candidates.size(); ++i) {
        if (candidates.at(i).score > 0 && (best < 0 || weight.at(i) > weight.at(best)))
            best = i;
    }
    if (best < 0)
        return album;

    const Candidate &winner = candidates.at(best);
    Collected merged;
    for (const Candidate &c : std::as_const(candidates)) {
        const bool sameShape = c.element == winner.element
                               || (!winner.fromText && partOfGroup(c) && c.isTable == winner.isTable
                                   && c.section == winner.section);
        if (sameShape)
            append(merged, c.lines);
    }
    if (winner.fromText)
        merged = winner.lines;
    merged.into(album);
    readAlbumFields(doc, album);
    if (doc.truncated)
        album.notes << u"The page is larger than a lookup reads: only its beginning was read."_s;
    return album;
}

CapturedAlbum readSelection(const HtmlDocument &doc, const QString &selection)
{
    CapturedAlbum album = readText(selection);
    CapturedAlbum page;
    readAlbumFields(doc, page);
    // The selection's own heading line wins over the page's.
    if (album.artist.isEmpty() && album.album.isEmpty()) {
        album.artist = page.artist;
        album.album = page.album;
    }
    if (album.year.isEmpty())
        album.year = page.year;
    return album;
}

void readAlbumFields(const HtmlDocument &doc, CapturedAlbum &album)
{
    const PageShape shape(doc);
    QString heading;
    for (qsizetype i = 0; i < doc.elements.size() && heading.isEmpty(); ++i) {
        const HtmlElement &e = doc.elements.at(i);
        if (e.tagName == u"H1" && !shape.other.at(i))
            heading = fieldValue(e.innerText);
    }
    const QStringList lines = cleanText(QStringView(doc.bodyText).left(HtmlDocument::MaxBodyText)).split(u'\n');
    // "Album review: Artist – Album": the label is no part of the album.
    static const QRegularExpression label(u"^(?:(?:album|record|lp|ep)\\s+)?review\\s*[:|–—-]\\s*"_s,
                                          QRegularExpression::CaseInsensitiveOption);
    if (!heading.isEmpty()) {
        QString named = heading;
        named.remove(label);
        if (named.isEmpty())
            named = heading;
        if (!splitArtistAlbum(named, album.artist, album.album)) {
            // An encyclopedia names its article "Album (album)".
            static const QRegularExpression kind(
                u"\\s*\\((?:[\\w ]*\\s)?(?:album|ep|soundtrack|record|mixtape)\\)\\s*$"_s,
                QRegularExpression::CaseInsensitiveOption);
            album.album = named;
            album.album.remove(kind);
        }
    } else {
        QString title = fieldValue(doc.title);
        if (const qsizetype bar = title.indexOf(u" | "_s); bar > 0)
            title.truncate(bar);
        title.remove(label);
        if (!splitArtistAlbum(title, album.artist, album.album))
            album.album = title;
    }
    static const QRegularExpression byLine(
        u"^(?:(?:(?:debut|studio|live|compilation|remix|tribute|cover|soundtrack|mini|greatest hits)\\s+)?"
        "(?:album|ep|lp|record|mixtape)\\s+)?by\\s+(.{1,200})$"_s,
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression yearLabel(
        u"^(?:original\\s+)?(?:year|released|release date|release year|date of release|release)\\s*[:\\t]?\\s*(.*)$"_s,
        QRegularExpression::CaseInsensitiveOption);
    bool afterHeading = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).simplified();
        if (line.isEmpty())
            continue;
        if (album.artist.isEmpty() && (afterHeading || !line.startsWith(u"by "_s, Qt::CaseInsensitive))) {
            if (const QRegularExpressionMatch m = byLine.match(line); m.hasMatch())
                album.artist = fieldValue(m.captured(1));
        }
        afterHeading = !heading.isEmpty() && line == heading;
        if (album.year.isEmpty()) {
            if (const QRegularExpressionMatch m = yearLabel.match(lines.at(i).trimmed()); m.hasMatch()) {
                QString value = m.captured(1);
                if (value.trimmed().isEmpty() && i + 1 < lines.size())
                    value = lines.at(i + 1);
                album.year = yearIn(value.left(MaxValueLength));
            }
        }
    }
}

bool fillRecord(const CapturedAlbum &album, LookupContext &lookup, const QString &address)
{
    if (album.tracks.isEmpty())
        return false;
    QString artist = album.artist;
    QString title = album.album;
    if (artist.isEmpty() || title.isEmpty()) {
        QString folderArtist;
        QString folderAlbum;
        const QString search = searchTextFromFolder(lookup.search.directory, true);
        if (!splitArtistAlbum(search, folderArtist, folderAlbum))
            folderAlbum = fieldValue(search);
        if (artist.isEmpty())
            artist = folderArtist;
        if (title.isEmpty())
            title = folderAlbum;
    }
    // "The Quiet Fields - Salt and Cedar" on every line: the album's artist, no part of the titles.
    qsizetype named = 0;
    for (const QString &dash : {u" - "_s, u" – "_s, u" — "_s}) {
        const QString prefix = artist + dash;
        const bool everyLine = !artist.isEmpty() && album.tracks.size() >= 2
                               && std::all_of(album.tracks.cbegin(), album.tracks.cend(), [&](const auto &t) {
                                      return t.title.size() > prefix.size()
                                             && t.title.startsWith(prefix, Qt::CaseInsensitive);
                                  });
        if (everyLine) {
            named = prefix.size();
            break;
        }
    }
    lookup.record = AlbumRecord();
    QString genre;
    for (int n = 1; n <= album.tracks.size(); ++n) {
        const CapturedAlbum::Track &track = album.tracks.at(n - 1);
        const QString trackTitle = track.title.mid(named).trimmed();
        if (!addFoundTrack(lookup.record, lookup.files, n, trackTitle, artist, title, genre, album.year))
            break;
        lookup.record.rows.last().lengthMs = track.lengthMs;
    }
    lookup.record.notes << album.notes;
    finishRecord(lookup, address);
    return true;
}

} // namespace TrackList
