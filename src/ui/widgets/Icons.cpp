#include "Icons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

using namespace Qt::StringLiterals;

namespace {

constexpr int kSize = 16;

// A sheet of paper with a folded corner: the base of every file picture.
void drawPage(QPainter &p, const QColor &fill)
{
    QPainterPath page;
    page.moveTo(3, 1);
    page.lineTo(10, 1);
    page.lineTo(13, 4);
    page.lineTo(13, 15);
    page.lineTo(3, 15);
    page.closeSubpath();
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(fill);
    p.drawPath(page);
    p.drawLine(QPointF(10, 1), QPointF(10, 4));
    p.drawLine(QPointF(10, 4), QPointF(13, 4));
}

// A musical note on the page: the MP3 files.
void drawNote(QPainter &p, const QColor &color)
{
    p.setPen(QPen(color, 1.2));
    p.setBrush(color);
    p.drawEllipse(QRectF(4.5, 10.5, 3, 2.5));
    p.drawLine(QPointF(7.4, 11.5), QPointF(7.4, 5.5));
    p.drawLine(QPointF(7.4, 5.5), QPointF(10, 6.5));
}

// A small coloured badge in the lower right corner carrying a one- or two-letter mark.
void drawBadge(QPainter &p, const QColor &color, const QString &mark)
{
    const QRectF badge(7, 8, 9, 8);
    p.setPen(QPen(color.darker(140), 1));
    p.setBrush(color);
    p.drawRoundedRect(badge, 2, 2);
    QFont f = p.font();
    f.setPixelSize(mark.size() > 1 ? 5 : 7);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(badge, Qt::AlignCenter, mark);
}

void drawRoundSign(QPainter &p, const QColor &color, const QString &mark)
{
    p.setPen(QPen(color.darker(130), 1));
    p.setBrush(color);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    QFont f = p.font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, mark);
}

void drawTriangleSign(QPainter &p, const QColor &color)
{
    QPainterPath tri;
    tri.moveTo(8, 1.5);
    tri.lineTo(15, 14.5);
    tri.lineTo(1, 14.5);
    tri.closeSubpath();
    p.setPen(QPen(color.darker(150), 1));
    p.setBrush(color);
    p.drawPath(tri);
    p.setPen(QPen(Qt::black, 1.6));
    p.drawLine(QPointF(8, 6), QPointF(8, 10.5));
    p.drawPoint(QPointF(8, 12.6));
}

// A price-tag shape: the ID3 tag pictures.
void drawTag(QPainter &p, const QColor &color)
{
    QPainterPath tag;
    tag.moveTo(1.5, 5);
    tag.lineTo(5, 1.5);
    tag.lineTo(14.5, 1.5);
    tag.lineTo(14.5, 8.5);
    tag.lineTo(5, 8.5);
    tag.closeSubpath();
    p.setPen(QPen(color.darker(150), 1));
    p.setBrush(color);
    p.drawPath(tag);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(4, 4, 2, 2));
}

void drawLines(QPainter &p, qreal top)
{
    p.setPen(QPen(QColor(70, 70, 70), 1));
    for (qreal y = top; y < 15; y += 2.5)
        p.drawLine(QPointF(3, y), QPointF(13, y));
}

QPixmap draw(const QString &key)
{
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor paper(250, 250, 250);
    const QColor v1(52, 120, 200);
    const QColor v2(40, 150, 70);
    const QColor both(150, 80, 170);

    if (key == u"FileIcon") {
        drawPage(p, paper);
        drawNote(p, QColor(60, 60, 60));
    } else if (key == u"FileIconTag") {
        drawPage(p, paper);
        drawNote(p, QColor(60, 60, 60));
        drawBadge(p, v1, u"1"_s);
    } else if (key == u"FileIconTagV2") {
        drawPage(p, paper);
        drawNote(p, QColor(60, 60, 60));
        drawBadge(p, v2, u"2"_s);
    } else if (key == u"FileIconTagV1+2") {
        drawPage(p, paper);
        drawNote(p, QColor(60, 60, 60));
        drawBadge(p, both, u"12"_s);
    } else if (key == u"TrackError") {
        // A file the site gave no track for.
        drawPage(p, paper);
        drawNote(p, QColor(150, 150, 150));
        drawBadge(p, QColor(210, 45, 45), u"!"_s);
    } else if (key == u"Info" || key == u"info") {
        drawRoundSign(p, QColor(45, 110, 200), u"i"_s);
    } else if (key == u"file") {
        drawPage(p, QColor(255, 248, 220));
        p.setPen(QPen(QColor(70, 70, 70), 1));
        p.drawLine(QPointF(5, 7), QPointF(11, 7));
        p.drawLine(QPointF(5, 9.5), QPointF(11, 9.5));
        p.drawLine(QPointF(5, 12), QPointF(9, 12));
    } else if (key == u"tag") {
        drawTag(p, QColor(240, 180, 40));
        drawLines(p, 11);
    } else if (key == u"taginfo") {
        drawTag(p, QColor(250, 215, 120));
    } else if (key == u"errorTop") {
        drawTriangleSign(p, QColor(240, 140, 40));
    } else if (key == u"warning") {
        drawTriangleSign(p, QColor(250, 205, 40));
    } else if (key == u"error") {
        drawRoundSign(p, QColor(210, 45, 45), u"x"_s);
    } else if (key == u"playlist") {
        drawPage(p, paper);
        p.setPen(QPen(QColor(40, 110, 60), 1));
        for (qreal y = 5; y < 14; y += 3) {
            p.drawPoint(QPointF(5, y));
            p.drawLine(QPointF(7, y), QPointF(11.5, y));
        }
    } else if (key == u"page") {
        // The album's HTML page: a page with an angle-bracket mark.
        drawPage(p, paper);
        p.setPen(QPen(QColor(40, 80, 170), 1.2));
        p.drawPolyline(QPolygonF({QPointF(7, 6.5), QPointF(4.5, 9), QPointF(7, 11.5)}));
        p.drawPolyline(QPolygonF({QPointF(9, 6.5), QPointF(11.5, 9), QPointF(9, 11.5)}));
    } else if (key == u"cover") {
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.setBrush(QColor(120, 170, 225));
        p.drawRect(QRectF(1.5, 2.5, 13, 11));
        p.setBrush(QColor(245, 220, 60));
        p.drawEllipse(QRectF(9, 4, 3.5, 3.5));
        QPainterPath hill;
        hill.moveTo(1.5, 13.5);
        hill.lineTo(6, 7);
        hill.lineTo(10, 13.5);
        hill.closeSubpath();
        p.setBrush(QColor(60, 140, 60));
        p.drawPath(hill);
    } else if (key == u"mask" || key == u"mask2") {
        // A page with a "%" mark: grey for the masks that come with the program, green for the user's.
        drawPage(p, key == u"mask" ? paper : QColor(225, 245, 225));
        QFont f = p.font();
        f.setPixelSize(10);
        f.setBold(true);
        p.setFont(f);
        p.setPen(key == u"mask" ? QColor(90, 90, 90) : QColor(30, 120, 50));
        p.drawText(QRectF(3, 3, 10, 12), Qt::AlignCenter, u"%"_s);
    } else {
        p.end();
        return {};
    }
    p.end();
    return pm;
}

} // namespace

QStringList Icons::knownKeys()
{
    return {u"FileIcon"_s, u"FileIconTag"_s, u"FileIconTagV2"_s, u"FileIconTagV1+2"_s, u"Info"_s, u"file"_s,
            u"tag"_s,      u"errorTop"_s,    u"info"_s,         u"taginfo"_s,          u"warning"_s, u"error"_s,
            u"playlist"_s, u"cover"_s,       u"page"_s,         u"mask"_s,         u"mask2"_s,
            u"TrackError"_s};
}

QIcon iconForKey(const QString &key)
{
    // Pixmaps need a running application; build each picture on first use and keep it.
    static QHash<QString, QIcon> cache;
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    const QPixmap pm = draw(key);
    QIcon icon = pm.isNull() ? QIcon() : QIcon(pm);
    cache.insert(key, icon);
    return icon;
}
