#include "frmAbout.h"

#include "foundation/MakerSite.h"
#include "foundation/Version.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include "ui/widgets/ButtonEx.h"
#include "ui/widgets/Named.h"
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmAbout::frmAbout(const QString &webEngineVersion, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(u"frmAbout"_s);
    setWindowTitle(u"About..."_s);

    lblAbout = named(new QLabel(u"Varnelt"_s, this), u"lblAbout"_s);
    QFont big = lblAbout->font();
    big.setPointSizeF(big.pointSizeF() * 2.2);
    big.setBold(true);
    lblAbout->setFont(big);
    lblVersion = named(new QLabel(Version::text(), this), u"lblVersion"_s);
    lblBuild = named(new QLabel(u"Build # "_s + QString::number(Version::revision).trimmed(), this), u"lblBuild"_s);

    lblDate = named(new QLabel(QString(), this), u"lblDate"_s);
    const QFileInfo program(QCoreApplication::applicationFilePath());
    // The date alone, in the user's short form. (Cutting a date-and-time text at its first
    // space would leave "8" of "8 Dec 2026 18:52" in locales whose dates hold spaces.)
    if (program.isFile())
        lblDate->setText(QLocale::system().toString(program.lastModified().date(), QLocale::ShortFormat));

    lblIEversion = named(new QLabel(webEngineVersion, this), u"lblIEversion"_s);
    lblWeb = named(new QLabel(MakerSite::home(), this), u"lblWeb"_s);
    lblemail = named(new QLabel(MakerSite::contactAddress(), this), u"lblemail"_s);
    for (QLabel *link : {lblWeb, lblemail}) {
        link->setCursor(Qt::PointingHandCursor);
        link->setStyleSheet(u"color: #1a4fa0;"_s);
        link->installEventFilter(this);
    }

    cmdEnd = new ButtonEx(u"&Close"_s, this);
    cmdEnd->setObjectName(u"cmdEnd"_s);
    cmdEnd->setDefault(true);
    connect(cmdEnd, &ButtonEx::clicked, this, &QDialog::accept);

    auto *facts = new QGridLayout;
    facts->addWidget(lblVersion, 0, 0, 1, 2);
    facts->addWidget(lblBuild, 1, 0);
    facts->addWidget(lblDate, 1, 1, Qt::AlignRight);
    // The version shown is the embedded web engine's, and the label says so.
    auto *lblEngine = new QLabel(u"Web engine version"_s, this);
    lblEngine->setObjectName(u"lblEngine"_s);
    facts->addWidget(lblEngine, 2, 0);
    facts->addWidget(lblIEversion, 2, 1, Qt::AlignRight);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(cmdEnd);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblAbout);
    layout->addLayout(facts);
    layout->addSpacing(12);
    layout->addWidget(lblWeb);
    layout->addWidget(lblemail);
    layout->addStretch(1);
    layout->addLayout(bottom);
    setMinimumWidth(340);
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    const bool web = watched == lblWeb;
    if (web || watched == lblemail) {
        switch (event->type()) {
        case QEvent::Enter:
            setHover(web ? Hover::Web : Hover::Mail);
            break;
        case QEvent::Leave:
            setHover(Hover::None);
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
                // What the desktop does with the address is its own matter.
                QDesktopServices::openUrl(web ? QUrl(MakerSite::home())
                                              : QUrl(u"mailto:"_s + MakerSite::contactAddress()));
            }
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::setHover(Hover hover)
{
    for (QLabel *label : {lblWeb, lblemail}) {
        QFont font = label->font();
        font.setBold((label == lblWeb && hover == Hover::Web) || (label == lblemail && hover == Hover::Mail));
        label->setFont(font);
    }
}
