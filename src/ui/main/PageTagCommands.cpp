// The tag editor's commands: showing a file, saving it, the batch operations over the listed
// files and the picture. The work on each file is the core's (jobs/TagEditing); the page turns
// its fields and switches into values, asks the questions and shows what each file answered.
#include "PageTag.h"

#include "BatchRun.h"
#include "ListFileCommands.h"
#include "MainContext.h"
#include "foundation/FolderLock.h"
#include "foundation/Common.h"
#include "foundation/MessageGateway.h"
#include "album/AlbumFromTags.h"
#include "album/DirectoryListing.h"
#include "ui/lookup/frmCover.h"
#include "ui/widgets/CoreReports.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/Icons.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

constexpr int IconKeyRole = Qt::UserRole + 1;
// Repainting more often than this only slows a long batch down.

// A message box over a busy pointer shows the normal one while it waits for the answer.
void showFileMessages(const QStringList &messages)
{
    for (const QString &text : messages) {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        Msg::ask(text, u"Error"_s, Msg::Icon::Critical);
        QApplication::restoreOverrideCursor();
    }
}

bool confirmed(const Msg::Message &question)
{
    return Msg::ask(question) == Msg::Answer::Yes;
}

} // namespace

TagEditorValues PageTag::editorValues() const
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

void PageTag::showValues(const TagEditorValues &values)
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

TagVersions PageTag::currentMode() const
{
    return chosenTagVersions().value_or(TagVersions::Both);
}

void PageTag::showTagInfo(const QString &fileName)
{
    const QString path = pathOf(fileName);
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

void PageTag::setCoverArt(const ID3Picture &picture)
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

void PageTag::changeCover()
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

void PageTag::showCoverWindow()
{
    QPixmap picture;
    if (coverArt_.isNull() || !picture.loadFromData(coverArt_.data))
        return;
    frmCover::showPicture(picture, u"ID3v2 Picture"_s, this);
}

QTreeWidgetItem *PageTag::oneFileRow(const std::function<Msg::Message(const QString &fileName)> &question)
{
    QTreeWidgetItem *row = lstFilesTag->currentItem();
    if (!row) {
        showNoFileSelected();
        return nullptr;
    }
    if (question && !confirmed(question(row->text(FileNameColumn)))) {
        lstFilesTag->setFocus();
        return nullptr;
    }
    return row;
}

QList<QTreeWidgetItem *> PageTag::batchRows(const std::function<Msg::Message(bool onlySelected)> &question)
{
    const bool onlySelected = chkOnlySelectedFilesTag->isChecked();
    QList<QTreeWidgetItem *> rows;
    for (int i = 0; i < lstFilesTag->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = lstFilesTag->topLevelItem(i);
        if (!onlySelected || row->isSelected())
            rows << row;
    }
    if (rows.isEmpty()) {
        showNoFileSelected();
        return {};
    }
    if (!confirmed(question(onlySelected))) {
        lstFilesTag->setFocus();
        return {};
    }
    return rows;
}

void PageTag::afterFile(QTreeWidgetItem *row, const TagFileResult &result)
{
    showFileMessages(result.messages);
    refreshRow(row);
}

void PageTag::refreshRow(QTreeWidgetItem *row)
{
    const QString name = row->text(FileNameColumn);
    const ListedFile listed = readListedFile(context_.currentDirectory, name, false);
    row->setIcon(FileNameColumn, iconForKey(listed.iconKey));
    row->setData(FileNameColumn, IconKeyRole, listed.iconKey);
    TagListRow tags = readTagListRow(context_.currentDirectory, name);
    fillTagRow(row, tags);
}

void PageTag::saveID3informations(int id3Mode)
{
    QTreeWidgetItem *row = oneFileRow({});
    const std::optional<TagVersions> mode = tagVersionsFromNumber(id3Mode);
    if (!row || !mode)
        return;
    const FolderLock lock(context_.currentDirectory);
    if (ListFileCommands::folderIsBusy(lock))
        return;
    lstFilesTag->scrollToItem(row);
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        const TagFileResult result = saveTagEditorValues(pathOf(row->text(FileNameColumn)), editorValues(), *mode,
                                                         usesV1(currentMode()), currentV2Version());
        afterFile(row, result);
    }
    // What was typed but could not be stored (a year that is no number, a track out of range)
    // must not stay in the boxes as if it were the file's: they show the file again.
    showAgain(row->text(FileNameColumn));
    lstFilesTag->setFocus();
}

void PageTag::runBatch(const QList<QTreeWidgetItem *> &rows, const QString &what,
                       const std::function<TagFileResult(const QString &path, int k)> &work)
{
    const FolderLock lock(context_.currentDirectory);
    if (ListFileCommands::folderIsBusy(lock))
        return;
    batchRunning_ = true;
    stopRequested_ = false;
    lblBatch->setText(what);
    prgBatch->setRange(0, int(rows.size()));
    prgBatch->setValue(0);
    lblBatch->show();
    prgBatch->show();
    // The page is held while the batch runs; the main window holds its own controls and offers
    // Cancel, the one thing a click may do meanwhile.
    BatchRun run(this, [this](bool on) {
        if (!on)
            batchRunning_ = false;
        emit busyChanged(on);
    });
    const auto done = qScopeGuard([this] {
        lblBatch->hide();
        prgBatch->hide();
    });
    int k = 0;
    for (; k < rows.size() && !stopRequested_; ++k) {
        QTreeWidgetItem *row = rows.at(k);
        afterFile(row, work(pathOf(row->text(FileNameColumn)), k + 1));
        prgBatch->setValue(k + 1);
        run.fileDone(k + 1, false, [&] { lstFilesTag->scrollToItem(row); });
    }
    if (k == 0)
        return;
    if (stopRequested_ && k < rows.size()) {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        Msg::ask(u"Stopped by the user."_s + u"\n"_s + u"%1 of %2 files were done."_s.arg(k).arg(rows.size()),
                 what, Msg::Icon::Information);
        QApplication::restoreOverrideCursor();
    }
    QTreeWidgetItem *last = rows.at(k - 1);
    movingRows_ = true;
    lstFilesTag->setCurrentItem(last, 0, QItemSelectionModel::NoUpdate);
    movingRows_ = false;
    lstFilesTag->scrollToItem(last);
    showAgain(last->text(FileNameColumn));
}

void PageTag::showAgain(const QString &fileName)
{
    // A file that vanished was reported already; its old values stay in the editor.
    if (Common::fileExists(pathOf(fileName)))
        showTagInfo(fileName);
}

void PageTag::fillSelectedTags()
{
    const QList<QTreeWidgetItem *> rows =
        batchRows([this](bool onlySelected) { return TagQuestions::fill(onlySelected, currentMode()); });
    if (rows.isEmpty())
        return;
    // The values shown when the command starts are what every file gets.
    const TagEditorValues source = editorValues();
    FillSwitches switches;
    for (const auto &[field, box] : std::as_const(fillSwitches_))
        switches.tick(field, box->isChecked());
    const TagVersions mode = currentMode();
    const ID3v2Version revision = currentV2Version();
    runBatch(rows, u"Filling the tags..."_s, [&](const QString &path, int) {
        return fillTags(path, switches, source, mode, usesV1(mode), revision);
    });
}

void PageTag::autoFillTracks()
{
    const QList<QTreeWidgetItem *> rows =
        batchRows([this](bool onlySelected) { return TagQuestions::numberTracks(onlySelected, currentMode()); });
    if (rows.isEmpty())
        return;
    const bool withTotal = confirmed(TagQuestions::addTotal());
    const TagVersions mode = currentMode();
    const int n = int(rows.size());
    const ID3v2Version revision = currentV2Version();
    runBatch(rows, u"Numbering the tracks..."_s, [&](const QString &path, int k) {
        return numberTrack(path, k, n, withTotal, mode, usesV1(mode), revision);
    });
}

void PageTag::copyShownFile(TagCopy copy)
{
    QTreeWidgetItem *row = oneFileRow([copy](const QString &name) { return TagQuestions::copyOne(copy, name); });
    if (!row)
        return;
    const FolderLock lock(context_.currentDirectory);
    if (ListFileCommands::folderIsBusy(lock))
        return;
    const QString name = row->text(FileNameColumn);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    // The boxes of one version take the other's as they stand in the editor, then the file is
    // saved in the version written to.
    TagEditorValues values = editorValues();
    if (copy == TagCopy::V1ToV2)
        copyV1FieldsToV2(values);
    else
        copyV2FieldsToV1(values);
    showValues(values);
    const TagVersions mode = copy == TagCopy::V1ToV2 ? TagVersions::V2Only : TagVersions::V1Only;
    afterFile(row, saveTagEditorValues(pathOf(name), values, mode, usesV1(currentMode()), currentV2Version()));
    showAgain(name);
    lstFilesTag->setFocus();
}

void PageTag::copyFiles(TagCopy copy)
{
    const QList<QTreeWidgetItem *> rows =
        batchRows([copy](bool onlySelected) { return TagQuestions::copyAll(copy, onlySelected); });
    if (rows.isEmpty())
        return;
    const bool removeEmptyV1 = usesV1(currentMode());
    const ID3v2Version revision = currentV2Version();
    runBatch(rows, u"Copying the tags..."_s, [&](const QString &path, int) {
        return copy == TagCopy::V1ToV2 ? copyTagsV1ToV2(path, removeEmptyV1, revision)
                                       : copyTagsV2ToV1(path, removeEmptyV1);
    });
}

void PageTag::removeShownTags()
{
    QTreeWidgetItem *row =
        oneFileRow([this](const QString &name) { return TagQuestions::removeOne(name, currentMode()); });
    if (!row)
        return;
    const FolderLock lock(context_.currentDirectory);
    if (ListFileCommands::folderIsBusy(lock))
        return;
    const QString name = row->text(FileNameColumn);
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        afterFile(row, removeTags(pathOf(name), currentMode(), RemovalScope::OneFile));
    }
    showAgain(name);
    lstFilesTag->setFocus();
}

void PageTag::removeAllTags()
{
    const QList<QTreeWidgetItem *> rows =
        batchRows([this](bool onlySelected) { return TagQuestions::removeAll(onlySelected, currentMode()); });
    if (rows.isEmpty())
        return;
    const TagVersions mode = currentMode();
    runBatch(rows, u"Removing the tags..."_s,
             [&](const QString &path, int) { return removeTags(path, mode, RemovalScope::AllFiles); });
}
