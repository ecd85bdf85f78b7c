#pragma once
// What the window's long runs over files share (the tag page's batches, the rename job): they
// run in the window's thread, hold the page and show the wait cursor while they run, and let
// the window's events through as they go, after the first file at once, so the progress shows
// and Cancel answers however quick the files are, then no more often than painting costs little.

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>

#include <functional>

class BatchRun
{
public:
    /// How long the window waits between two looks at its events, in milliseconds.
    static constexpr int EventIntervalMs = 50;

    /// Holds `page` (disabled, wait cursor) and calls `busy(true)`, with `onceHeld` run between
    /// the two; the end undoes both and calls `busy(false)`.
    BatchRun(QWidget *page, std::function<void(bool)> busy, const std::function<void()> &onceHeld = {})
        : page_(page), busy_(std::move(busy))
    {
        page_->setEnabled(false);
        if (onceHeld)
            onceHeld();
        busy_(true);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        sinceEvents_.start();
    }
    ~BatchRun()
    {
        QApplication::restoreOverrideCursor();
        page_->setEnabled(true);
        busy_(false);
    }
    BatchRun(const BatchRun &) = delete;
    BatchRun &operator=(const BatchRun &) = delete;

    /// After file `done` (from 1) of the run: lets the events through when it is the first
    /// file, when `last` is set, or when the interval has passed since the last time; `before`
    /// runs just before (to bring the file into sight). True when the events went through.
    bool fileDone(int done, bool last = false, const std::function<void()> &before = {})
    {
        if (done != 1 && !last && sinceEvents_.elapsed() < EventIntervalMs)
            return false;
        if (before)
            before();
        QApplication::processEvents();
        sinceEvents_.restart();
        return true;
    }

private:
    QWidget *page_;
    std::function<void(bool)> busy_;
    QElapsedTimer sinceEvents_;
};
