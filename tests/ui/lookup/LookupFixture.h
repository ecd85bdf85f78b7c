#pragma once
// Shared set-up of the lookup window tests: the four sites served from 127.0.0.1, an album folder
// of three real MP3 files, a step runner that drives modal windows from the event loop, and
// grabs of the windows for a look.

#include "support/LocalWebServer.h"
#include "ui/main/MainWindowFixture.h"

#include <QElapsedTimer>
#include <QList>
#include <functional>
#include <memory>

class QWidget;

class LookupWindowTest : public MainWindowTest
{
protected:
    void SetUp() override;

    /// Points every site of the "Sites" settings at the server's folders.
    void pointSitesAt(const LocalWebServer &server);
    /// Saves a picture of the widget into the test's folder and the grab folder, if one is set
    /// (VARNELT_GRAB_DIR); returns whether something was drawn.
    bool grab(QWidget *widget, const QString &name) const;

    /// Runs the steps in order from a timer of the event loop, so they act in whatever modal
    /// window is open; each step is called until it answers true. Fails the test when a step
    /// waits longer than timeoutMs.
    void runSteps(QList<std::function<bool()>> steps, const std::function<void()> &start, int timeoutMs = 60000);

    std::unique_ptr<LocalWebServer> server_;
    QString album_;
};
