#pragma once
// The tag page's editor (tabTagEditor): the version-1 box and the version-2 tabs (fields,
// extended fields, lyrics, picture) with their fill switches, and the shown file's name, icon
// and audio facts. It shows a file's values and gives back what the boxes hold, as
// TagEditorValues; what is done with them is the page's.

#include "audio/ID3Edit.h"
#include "jobs/TagEditing.h"

#include <QList>
#include <QWidget>

class MainContext;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;

class TagEditorPanel : public QWidget
{
    Q_OBJECT
public:
    explicit TagEditorPanel(const MainContext &context, QWidget *parent = nullptr);

    /// Shows a file of the current folder: both tag versions, its picture, its name, icon and
    /// audio facts. Says so when the file is gone (the old values then stay).
    void showFile(const QString &fileName);
    /// The file shown; empty before the first one.
    [[nodiscard]] QString shownFile() const { return shownFile_; }

    /// What the boxes hold, with the picture to be written.
    [[nodiscard]] TagEditorValues values() const;
    /// Puts values into the boxes (the picture stays as it is).
    void showValues(const TagEditorValues &values);
    /// Which fill switches are ticked.
    [[nodiscard]] FillSwitches fillSwitches() const;

    /// Fills both genre drop-downs with the genre names.
    void fillGenreLists();
    /// The first tabs shown, every box emptied, the genres set to none, no file shown.
    void reset();

signals:
    /// The user left the tags tab for another one.
    void tagsTabLeft();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QGroupBox *buildVersionOneBox(QWidget *tagsTab);
    void buildVersionTwoTabs();
    void buildLyricsAndPictureTabs();
    void buildFileInfoTab();
    void setCoverArt(const ID3Picture &picture);
    void changeCover();
    void showCoverWindow();

    const MainContext &context_;
    QString shownFile_;
    /// The picture the next save writes.
    ID3Picture coverArt_;
    int editorTab_ = 0;

    QTabWidget *tabTagEditor = nullptr;
    QTabWidget *tabTagEditor2 = nullptr;
    /// The one-line edit fields with the value each shows, in the order they are laid out.
    QList<std::pair<QString TagEditorValues::*, QLineEdit *>> edits_;
    /// The fill switches by the field they fill.
    QList<std::pair<FillField, QCheckBox *>> fillSwitches_;
    QComboBox *cboGenre = nullptr;
    QComboBox *cboGenre2 = nullptr;
    QPlainTextEdit *txtLyrics = nullptr;
    QPlainTextEdit *txtMp3Info = nullptr;
    QLineEdit *txtFileName = nullptr;
    QLabel *imgCoverArt = nullptr;
    QLabel *imgFile = nullptr;
};
