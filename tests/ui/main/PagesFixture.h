#pragma once
// The tag, rename and result pages in a small host window that wires them the way the main
// window does (requestPage switches the shown page, the rename job's busy signal holds the
// button bar), and album folders of real MP3 files.

#include "support/Mp3Writer.h"
#include "support/TestEnv.h"
#include "ui/main/MainContext.h"

#include <QList>
#include <QString>
#include <QWidget>
#include <QStringList>
#include <memory>
#include <ostream>

/// Shows texts readably in failed checks.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

class PageRename;
class PageResult;
class PageTag;
class ButtonEx;
class QStackedWidget;

class PagesTest : public VarneltTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// Shows a page of the host as the main window's page switch does.
    void showPage(WizardPage page);

    /// Writes the songs into `relativeFolder` and makes it the current folder; returns its path.
    QString makeAlbum(const QString &relativeFolder, const QList<Mp3Writer::Song> &songs,
                      const QStringList &fileNames);
    /// Three files "a.mp3", "b.mp3", "c.mp3" of artist "Foo", album "Bar", tracks 1-3, titled
    /// "One", "Two", "Three", with an ID3v2 tag only.
    QString makeThreeSongAlbum(const QString &relativeFolder = QStringLiteral("album"));

    /// A control of the host window by its name.
    template <typename T>
    T *control(const QString &name) const
    {
        return host->findChild<T *>(name);
    }

    std::unique_ptr<QWidget> host;
    MainContext *context = nullptr;
    QStackedWidget *pages = nullptr;
    PageTag *pageTag = nullptr;
    PageRename *pageRename = nullptr;
    PageResult *pageResult = nullptr;
    QList<WizardPage> requestedPages;
};
