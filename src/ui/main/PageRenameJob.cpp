// The rename page's side of the album rename job and of the mask drop-down.
#include "PageRename.h"

#include "AlbumFieldsBox.h"
#include "BatchRun.h"
#include "MainContext.h"
#include "RenameListView.h"
#include "RenameOptionsBox.h"

#include "foundation/MessageGateway.h"
#include "jobs/RenamePlan.h"
#include "jobs/RenamePreflight.h"
#include "naming/MaskFiles.h"
#include "naming/MaskLanguage.h"
#include "ui/side/frmMask.h"
#include "ui/widgets/CoreReports.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include "ui/widgets/ButtonEx.h"

using namespace Qt::StringLiterals;

void PageRename::loadMasks()
{
    QStringList problems;
    const QList<MaskEntry> entries = readMaskInfo(problems);
    showErrors(problems);
    const QSignalBlocker blocker(cboMask);
    cboMask->clear();
    for (const MaskEntry &entry : entries)
        cboMask->addItem(entry.text, entry.itemValue);
    if (cboMask->count() > 0)
        cboMask->setCurrentIndex(0);
    cboMask->setToolTip(cboMask->currentText());
}

void PageRename::openMaskEditor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto *editor = new frmMask(cboMask, window());
    editor->setAttribute(Qt::WA_DeleteOnClose);
    editor->setWindowModality(Qt::ApplicationModal);
    editor->show();
}

bool PageRename::maskLengthAccepted()
{
    const QString problem = maskLengthProblem(cboMask->currentText());
    if (problem.isEmpty())
        return true;
    Msg::ask(problem, invalidMaskTitle(), Msg::Icon::Critical, Msg::Buttons::Ok);
    cboMask->setFocus();
    return false;
}

RenameJobInput PageRename::jobInput() const
{
    RenameJobInput input;
    input.rows = renameRows();
    input.currentDirectory = context_.currentDirectory;
    input.album = albumFields();
    input.naming = namingOptions();
    options_->fillJobInput(input);
    input.outputs.coverShown = album_->coverShown();
    input.outputs.coverDownloadFileName = coverDownloadFileName_;
    return input;
}

void PageRename::renameAndTag()
{
    if (renaming_ || lstResult->topLevelItemCount() == 0 || !maskLengthAccepted())
        return;
    // Rows that are bound to fail, and an album that may not be what the user thinks, are told
    // before anything changes; going on is the user's choice. The questions change none of the
    // job's inputs: the job carries out the very plan the user was told about (it decides a row
    // again only where the disk changed meanwhile).
    AlbumRenamePlan plan = planAlbumRename(jobInput());
    const QList<PreflightProblem> problems = preflightRenamePlan(plan);
    const QList<PreflightProblem> warnings = preflightAlbumWarnings(plan);
    if ((!problems.isEmpty() || !warnings.isEmpty())
        && Msg::ask(preflightQuestion(problems, warnings)) != Msg::Answer::Yes)
        return;
    if (!albumWarningDisplay_) {
        const Msg::Answer answer = Msg::ask(
            u"For the moment the rename and tag function is only for albums !\nWould you like to continue ?"_s,
            u"Rename and tag warning"_s, Msg::Icon::Exclamation, Msg::Buttons::YesNo);
        if (answer != Msg::Answer::Yes)
            return;
        albumWarningDisplay_ = true;
    }
    runJob(std::move(plan));
}

void PageRename::runJob(AlbumRenamePlan plan)
{
    stopRequested_ = false;
    plan.input.stopRequested = [this] { return stopRequested_; };
    renaming_ = true;
    // Busy after the page switch, which enables "&Select a directory" on every page but the
    // first: the job lets events through, and going back to the folder mid-run would scan it
    // under the job's feet.
    BatchRun run(
        this,
        [this](bool on) {
            emit busyChanged(on);
            if (!on)
                renaming_ = false;
        },
        [this] {
            context_.resultLog.clear();
            emit requestPage(WizardPage::Result);
        });

    // The window repaints the log as it grows, and once more at the last file.
    const RenameProgress progress = [&run](int done, int total) { run.fileDone(done, done >= total); };
    const RenameJobOutcome outcome = executeRenamePlan(plan, context_.resultLog, progress);
    if (outcome.failure)
        Msg::ask(*outcome.failure);
    QApplication::processEvents();
}
