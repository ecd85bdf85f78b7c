#pragma once
// Shared set-up of the main window tests: the home folder, the trash and the settings inside
// the test's folder, a window opened with a known engine version, and album folders of real
// MP3 files.

#include "support/Mp3Writer.h"
#include "support/TestEnv.h"
#include "jobs/AlbumRenameJob.h"
#include "ui/main/frmMain.h"

#include <QByteArray>
#include <QStringList>
#include <memory>

class QTreeWidget;
class QWidget;

/// Saves a picture of the widget as name.png into folder and into the grab folder, if one is
/// set (VARNELT_GRAB_DIR), for a look; returns whether something was drawn.
bool saveGrab(QWidget *widget, const QString &folder, const QString &name);

class MainWindowTest : public VarneltTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// The folder that plays the user's home folder.
    [[nodiscard]] QString homePath() const { return tempFile(QStringLiteral("home")); }

    /// Makes a window, runs its start-up with a current engine version and shows it; the paths
    /// play those of the command line.
    std::unique_ptr<frmMain> openWindow(const QStringList &startPaths = {});

    /// Writes an MP3 file of the given length with or without tags; returns its path.
    QString writeSong(const QString &relativePath, double seconds, bool withV1, bool withV2);

    /// The album rename of rip/a.mp3 and rip/b.mp3 (written with writeSong) into
    /// "Foo - Bar/01 - One.mp3" and "Foo - Bar/02 - Two.mp3".
    [[nodiscard]] RenameJobInput ripRename() const;

    /// Stores a setting as the program would find it at start.
    void presetSetting(const QString &key, const QString &value);
    /// The stored setting, or "<none>" when there is none.
    [[nodiscard]] QString storedSetting(const QString &key) const;

    /// The window's file list.
    static QTreeWidget *fileList(frmMain &window);
    /// The texts of a column of a list, top to bottom.
    static QStringList columnTexts(QTreeWidget *list, int column);

private:
    QByteArray oldHome_;
    QByteArray oldDataHome_;
};
