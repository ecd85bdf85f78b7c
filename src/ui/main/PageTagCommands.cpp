// The tag page's commands: the save of the shown file and the batch operations over the listed
// files. The work on each file is the core's (jobs/TagEditing); the page takes the editor's
// values and switches, asks the questions and shows what each file answered.
#include "PageTag.h"

#include "BatchRun.h"
#include "ListFileCommands.h"
#include "MainContext.h"
#include "TagEditorPanel.h"
#include "ui/widgets/CoreReports.h"

#include "foundation/Common.h"
#include "foundation/FolderLock.h"
#include "foundation/MessageGateway.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QScopeGuard>

using namespace Qt::StringLiterals;

namespace {

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

QTreeWidgetItem *PageTag::oneFileRow(const std::function<Msg::Message(const QString &fileName)> &question)
{
    QTreeWidgetItem *row = lstFilesTag->currentItem();
    if (!row) {
        showNoFileSelected();
        return nullptr;
    }
    if (question && !confirmed(question(TagListView::fileNameOf(row)))) {
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
    lstFilesTag->refreshRow(row, context_.currentDirectory);
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
        const TagFileResult result = saveTagEditorValues(pathOf(TagListView::fileNameOf(row)), editor_->values(), *mode,
                                                         usesV1(currentMode()), currentV2Version());
        afterFile(row, result);
    }
    // What was typed but could not be stored (a year that is no number, a track out of range)
    // must not stay in the boxes as if it were the file's: they show the file again.
    showAgain(TagListView::fileNameOf(row));
    lstFilesTag->setFocus();
}

void PageTag::runBatch(const QList<QTreeWidgetItem *> &rows, ChangeKind kind, const QString &what,
                       const std::function<TagFileResult(const QString &path, int k, TagJournalSlot slot)> &work)
{
    const FolderLock lock(context_.currentDirectory);
    if (ListFileCommands::folderIsBusy(lock))
        return;
    QStringList paths;
    for (QTreeWidgetItem *row : rows)
        paths << pathOf(TagListView::fileNameOf(row));
    TagBatch batch;
    if (!batch.begin(kind, context_.currentDirectory, paths)) {
        Msg::ask(TagBatch::journalFailureText(batch.error()), u"Undo journal error"_s, Msg::Icon::Critical);
        return;
    }
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
        afterFile(row, work(paths.at(k), k + 1, batch.slot(k + 1)));
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
    lstFilesTag->setCurrentRowQuietly(last, QItemSelectionModel::NoUpdate);
    lstFilesTag->scrollToItem(last);
    showAgain(TagListView::fileNameOf(last));
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
    const TagEditorValues source = editor_->values();
    const FillSwitches switches = editor_->fillSwitches();
    const TagVersions mode = currentMode();
    const ID3v2Version revision = currentV2Version();
    runBatch(rows, ChangeKind::Fill, u"Filling the tags..."_s, [&](const QString &path, int, TagJournalSlot slot) {
        return fillTags(path, switches, source, mode, usesV1(mode), revision, slot);
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
    runBatch(rows, ChangeKind::Numbering, u"Numbering the tracks..."_s, [&](const QString &path, int k,
                                                                             TagJournalSlot slot) {
        return numberTrack(path, k, n, withTotal, mode, usesV1(mode), revision, slot);
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
    const QString name = TagListView::fileNameOf(row);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    // The boxes of one version take the other's as they stand in the editor, then the file is
    // saved in the version written to.
    TagEditorValues values = editor_->values();
    if (copy == TagCopy::V1ToV2)
        copyV1FieldsToV2(values);
    else
        copyV2FieldsToV1(values);
    editor_->showValues(values);
    const TagVersions mode = copy == TagCopy::V1ToV2 ? TagVersions::V2Only : TagVersions::V1Only;
    // Journalled as the copy it is, not as a plain save.
    TagBatch batch;
    if (!batch.begin(copy == TagCopy::V1ToV2 ? ChangeKind::CopyV1ToV2 : ChangeKind::CopyV2ToV1,
                     context_.currentDirectory, {pathOf(name)})) {
        Msg::ask(TagBatch::journalFailureText(batch.error()), u"Undo journal error"_s, Msg::Icon::Critical);
        return;
    }
    afterFile(row, saveTagEditorValues(pathOf(name), values, mode, usesV1(currentMode()), currentV2Version(),
                                       batch.slot(1)));
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
    const ChangeKind kind = copy == TagCopy::V1ToV2 ? ChangeKind::CopyV1ToV2 : ChangeKind::CopyV2ToV1;
    runBatch(rows, kind, u"Copying the tags..."_s, [&](const QString &path, int, TagJournalSlot slot) {
        return copy == TagCopy::V1ToV2 ? copyTagsV1ToV2(path, removeEmptyV1, revision, slot)
                                       : copyTagsV2ToV1(path, removeEmptyV1, slot);
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
    const QString name = TagListView::fileNameOf(row);
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
    runBatch(rows, ChangeKind::RemoveTags, u"Removing the tags..."_s, [&](const QString &path, int, TagJournalSlot slot) {
        return removeTags(path, mode, RemovalScope::AllFiles, slot);
    });
}
