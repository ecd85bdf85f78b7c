#include "TagEditorPanel.h"

#include "MainContext.h"
#include "ui/lookup/frmCover.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/GenreCombo.h"
#include "ui/widgets/Icons.h"

#include "foundation/Common.h"
#include "foundation/MessageGateway.h"
#include "album/DirectoryListing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTabWidget>

using namespace Qt::StringLiterals;

TagEditorValues TagEditorPanel::values() const
{
    TagEditorValues values;
    for (const auto &[value, edit] : edits_)
        values.*value = edit->text();
    values.lyrics = txtLyrics->toPlainText();
    const QVariant genre = cboGenre->currentData();
    values.v1Genre = genre.isValid() ? genre.toInt() : NoGenreItem;
    values.genre = cboGenre2->currentText();
    values.picture = coverArt_;
    return values;
}

void TagEditorPanel::showValues(const TagEditorValues &values)
{
    for (const auto &[value, edit] : edits_)
        edit->setText(values.*value);
    txtLyrics->setPlainText(values.lyrics);
    const int v1Genre = cboGenre->findData(values.v1Genre);
    cboGenre->setCurrentIndex(v1Genre >= 0 ? v1Genre : 0);
    // A name of the file's own that the list does not hold stays as the box's text.
    const int v2Genre = values.genre.isEmpty() ? 0 : cboGenre2->findText(values.genre);
    cboGenre2->setCurrentIndex(v2Genre >= 0 ? v2Genre : 0);
    if (v2Genre < 0)
        cboGenre2->setEditText(values.genre);
}

FillSwitches TagEditorPanel::fillSwitches() const
{
    FillSwitches switches;
    for (const auto &[field, box] : fillSwitches_)
        switches.tick(field, box->isChecked());
    return switches;
}

void TagEditorPanel::showFile(const QString &fileName)
{
    const QString path = Common::addBackslash(context_.currentDirectory) + fileName;
    if (!Common::fileExists(path)) {
        Msg::ask(tagReadNotFoundText(), u"Error"_s, Msg::Icon::Critical);
        return;
    }
    const TagEditorFile file = loadTagEditorValues(path);
    if (!file.found) {
        Msg::ask(tagReadNotFoundText(), u"Error"_s, Msg::Icon::Critical);
        return;
    }
    shownFile_ = fileName;
    txtFileName->setText(fileName);
    showValues(file.values);
    setCoverArt(file.values.picture);
    txtMp3Info->setPlainText(u"Getting Mp3 informations...\n"_s);
    txtMp3Info->repaint();
    txtMp3Info->setPlainText(tagEditorInfoLines(path, file).join(u'\n'));
    imgFile->setPixmap(iconForKey(fileIconKey(file.hasV1, file.hasV2)).pixmap(16, 16));
}

void TagEditorPanel::fillGenreLists()
{
    fillGenreList(cboGenre);
    fillGenreList(cboGenre2);
}

void TagEditorPanel::reset()
{
    tabTagEditor->setCurrentIndex(0);
    tabTagEditor2->setCurrentIndex(0);
    for (const auto &[value, edit] : std::as_const(edits_))
        edit->clear();
    txtLyrics->clear();
    cboGenre->setCurrentIndex(0);
    cboGenre2->setCurrentIndex(0);
    cboGenre2->setEditText(QString());
    txtFileName->clear();
    txtMp3Info->clear();
    imgFile->clear();
    setCoverArt({});
    shownFile_.clear();
}

bool TagEditorPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == imgCoverArt && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        showCoverWindow();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TagEditorPanel::setCoverArt(const ID3Picture &picture)
{
    coverArt_ = picture;
    imgCoverArt->clear();
    if (picture.isNull())
        return;
    QPixmap shown;
    if (shown.loadFromData(picture.data))
        imgCoverArt->setPixmap(shown.scaled(imgCoverArt->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        imgCoverArt->setText(u"(picture)"_s);
}

void TagEditorPanel::changeCover()
{
    const QString file = Dialogs::openFileName(this, u"Select a picture for your mp3 file"_s, context_.currentDirectory,
                                               u"JPEG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif|Bitmap Files (*.bmp)|*.bmp|"_s);
    if (file.isEmpty())
        return;
    const PictureFile picture = readPictureFile(file);
    if (!picture.problem.isEmpty()) {
        Msg::ask(picture.problem, u"Error"_s, Msg::Icon::Critical);
        return;
    }
    // Written into the tag by the next save.
    setCoverArt(picture.picture);
}

void TagEditorPanel::showCoverWindow()
{
    QPixmap picture;
    if (coverArt_.isNull() || !picture.loadFromData(coverArt_.data))
        return;
    frmCover::showPicture(picture, u"ID3v2 Picture"_s, this);
}
