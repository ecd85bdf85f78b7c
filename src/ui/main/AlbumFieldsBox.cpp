#include "AlbumFieldsBox.h"

#include "ui/lookup/frmCover.h"
#include "ui/widgets/ButtonEx.h"
#include "ui/widgets/GenreCombo.h"
#include "ui/widgets/Named.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

using namespace Qt::StringLiterals;

AlbumFieldsBox::AlbumFieldsBox(QWidget *parent)
    : QGroupBox(u"Album informations"_s, parent)
{
    setObjectName(u"fraAlbum"_s);
    txtArtistEdit = named(new QLineEdit(this), u"txtArtistEdit"_s);
    txtAlbumEdit = named(new QLineEdit(this), u"txtAlbumEdit"_s);
    txtYearEdit = named(new QLineEdit(this), u"txtYearEdit"_s);
    txtYearEdit->setFixedWidth(60);
    txtCommentEdit = named(new QLineEdit(this), u"txtCommentEdit"_s);
    cboGenreEdit = named(new QComboBox(this), u"cboGenreEdit"_s);
    cboGenreEdit->setEditable(true);
    cboGenreEdit->setInsertPolicy(QComboBox::NoInsert);
    cmdDelGenreEdit = named(new ButtonEx(u"No genre"_s, this), u"cmdDelGenreEdit"_s);
    ImgCover = named(new QLabel(this), u"ImgCover"_s);
    ImgCover->setFixedSize(80, 80);
    ImgCover->setScaledContents(true);
    ImgCover->setFrameShape(QFrame::StyledPanel);
    ImgCover->hide();
    ImgCover->setCursor(Qt::PointingHandCursor);
    ImgCover->installEventFilter(this);

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(u"Artist :"_s, this), 0, 0);
    grid->addWidget(txtArtistEdit, 0, 1);
    grid->addWidget(new QLabel(u"Album :"_s, this), 0, 2, Qt::AlignRight);
    grid->addWidget(txtAlbumEdit, 0, 3);
    grid->addWidget(new QLabel(u"Year :"_s, this), 1, 0);
    grid->addWidget(txtYearEdit, 1, 1, Qt::AlignLeft);
    grid->addWidget(new QLabel(u"Genre :"_s, this), 1, 2, Qt::AlignRight);
    auto *genreRow = new QHBoxLayout;
    genreRow->addWidget(cboGenreEdit, 1);
    genreRow->addWidget(cmdDelGenreEdit);
    grid->addLayout(genreRow, 1, 3);
    grid->addWidget(new QLabel(u"Comment :"_s, this), 2, 0);
    grid->addWidget(txtCommentEdit, 2, 1, 1, 3);
    grid->addWidget(ImgCover, 0, 4, 3, 1, Qt::AlignTop);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    // Every field is an input of the name builder.
    for (QLineEdit *edit : {txtArtistEdit, txtAlbumEdit, txtYearEdit, txtCommentEdit})
        connect(edit, &QLineEdit::textChanged, this, &AlbumFieldsBox::edited);
    connect(cboGenreEdit, &QComboBox::currentIndexChanged, this, &AlbumFieldsBox::edited);
    connect(cboGenreEdit, &QComboBox::editTextChanged, this, &AlbumFieldsBox::edited);
    connect(cmdDelGenreEdit, &ButtonEx::clicked, this, [this] {
        cboGenreEdit->setCurrentIndex(0);
        cboGenreEdit->setEditText(QString());
    });
}

AlbumFields AlbumFieldsBox::fields() const
{
    return {txtArtistEdit->text(), txtAlbumEdit->text(), txtYearEdit->text(), cboGenreEdit->currentText(),
            txtCommentEdit->text()};
}

void AlbumFieldsBox::setFields(const AlbumFields &album, bool keepComment)
{
    txtAlbumEdit->setText(album.album);
    txtArtistEdit->setText(album.artist);
    txtYearEdit->setText(album.year);
    const QString genre = album.genre.trimmed();
    const int index = cboGenreEdit->findText(genre, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0 && !genre.isEmpty())
        cboGenreEdit->setCurrentIndex(index);
    else
        cboGenreEdit->setEditText(genre);
    if (!keepComment)
        txtCommentEdit->setText(album.comment);
}

bool AlbumFieldsBox::genreAtFirstEntry() const
{
    return cboGenreEdit->currentIndex() == 0;
}

void AlbumFieldsBox::fillGenres()
{
    fillGenreList(cboGenreEdit);
}

void AlbumFieldsBox::showCover(const QString &fileName)
{
    const QPixmap picture(fileName);
    ImgCover->setPixmap(picture);
    ImgCover->setVisible(!fileName.isEmpty() && !picture.isNull());
}

void AlbumFieldsBox::hideCover()
{
    ImgCover->hide();
}

bool AlbumFieldsBox::coverShown() const
{
    return !ImgCover->isHidden();
}

bool AlbumFieldsBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ImgCover && event->type() == QEvent::MouseButtonRelease) {
        frmCover::showPicture(ImgCover->pixmap(), txtArtistEdit->text() + u" - "_s + txtAlbumEdit->text(), this);
        return true;
    }
    return QGroupBox::eventFilter(watched, event);
}
