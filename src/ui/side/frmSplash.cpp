#include "frmSplash.h"

#include "foundation/Version.h"

#include <QEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

/// The splash picture, drawn rather than loaded: no file to find or decode at start-up.
QPixmap splashPicture()
{
    QPixmap picture(420, 200);
    QPainter painter(&picture);
    QLinearGradient fill(0, 0, 0, picture.height());
    fill.setColorAt(0, QColor(38, 62, 110));
    fill.setColorAt(1, QColor(12, 20, 40));
    painter.fillRect(picture.rect(), fill);
    painter.setPen(QColor(255, 255, 255));
    QFont title = painter.font();
    title.setPixelSize(56);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(0, 30, picture.width(), 80), Qt::AlignCenter, u"Varnelt"_s);
    QFont small = painter.font();
    small.setPixelSize(14);
    small.setBold(false);
    painter.setFont(small);
    painter.setPen(QColor(200, 210, 230));
    painter.drawText(QRect(0, 110, picture.width(), 24), Qt::AlignCenter, Version::text());
    painter.drawText(QRect(0, 150, picture.width(), 24), Qt::AlignCenter, u"Loading..."_s);
    painter.setPen(QColor(120, 140, 180));
    painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    return picture;
}

} // namespace

frmSplash::frmSplash(std::function<QWidget *()> startMain, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , startMain_(std::move(startMain))
{
    setObjectName(u"frmSplash"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    gfx = new QLabel(this);
    gfx->setObjectName(u"gfx"_s);
    gfx->setPixmap(splashPicture());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(gfx);
    setFixedSize(gfx->pixmap().size());

    timShow1 = new QTimer(this);
    timShow1->setObjectName(u"timShow1"_s);
    timShow1->setInterval(1);
    timShow1->setSingleShot(true);
    connect(timShow1, &QTimer::timeout, this, [this] {
        QWidget *mainWindow = startMain_ ? startMain_() : nullptr;
        if (mainWindow)
            closeWhenActive(mainWindow);
        else
            close();
    });
    timShow1->start();
}

void frmSplash::closeWhenActive(QWidget *mainWindow)
{
    mainWindow_ = mainWindow;
    mainWindow->installEventFilter(this);
    connect(mainWindow, &QObject::destroyed, this, &QWidget::close);
    if (mainWindow->isActiveWindow() || !mainWindow->isVisible())
        QTimer::singleShot(0, this, &QWidget::close);
    QTimer::singleShot(5000, this, &QWidget::close);
}

bool frmSplash::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mainWindow_) {
        switch (event->type()) {
        case QEvent::WindowActivate:
        case QEvent::Hide:
            // Closed from the event loop: the main window is still in the middle of this event.
            QTimer::singleShot(0, this, &QWidget::close);
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
