#pragma once
// The rename page's "Album informations" box: artist, album, year, genre and comment as the
// rename job writes them, and the downloaded cover's picture (a click shows it at full size).

#include "naming/NamingInput.h"

#include <QGroupBox>

class ButtonEx;
class QComboBox;
class QLabel;
class QLineEdit;

class AlbumFieldsBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit AlbumFieldsBox(QWidget *parent = nullptr);

    /// The fields as typed (the genre is the drop-down's text).
    [[nodiscard]] AlbumFields fields() const;
    /// Fills the artist, album, year and genre; the comment only when keepComment is false.
    void setFields(const AlbumFields &album, bool keepComment);
    /// The genre drop-down still shows its first entry.
    [[nodiscard]] bool genreAtFirstEntry() const;
    /// Fills the genre drop-down with the genre names.
    void fillGenres();

    /// Shows the picture of that file; an empty name or an unreadable picture hides it.
    void showCover(const QString &fileName);
    void hideCover();
    /// The picture is on show (the job then copies the cover).
    [[nodiscard]] bool coverShown() const;

signals:
    /// A field changed: the page recomputes its preview.
    void edited();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *txtArtistEdit = nullptr;
    QLineEdit *txtAlbumEdit = nullptr;
    QLineEdit *txtYearEdit = nullptr;
    QLineEdit *txtCommentEdit = nullptr;
    QComboBox *cboGenreEdit = nullptr;
    ButtonEx *cmdDelGenreEdit = nullptr;
    QLabel *ImgCover = nullptr;
};
