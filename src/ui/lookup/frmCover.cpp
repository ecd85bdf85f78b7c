#include "ui/lookup/frmCover.h"

#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmCover::frmCover(const QPixmap &picture, const QString &caption, QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmCover"_s);
    setWindowTitle(caption);
    imgCover = new QLabel(this);
    imgCover->setObjectName(u"imgCover"_s);
    imgCover->setPixmap(picture);
    imgCover->setToolTip(caption);
    auto *layout = new QVBoxLayout(this);
    // 80 twips around the picture at 96 dpi.
    layout->setContentsMargins(3, 0, 2, 0);
    layout->addWidget(imgCover);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmCover::showPicture(const QPixmap &picture, const QString &caption, QWidget *parent)
{
    if (picture.isNull())
        return;
    frmCover window(picture, caption, parent);
    window.exec();
}
