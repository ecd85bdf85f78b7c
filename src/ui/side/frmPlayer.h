#pragma once
// The player: plays the files of one of the main window's lists, starting at the row that was
// selected when it opened and stepping through the neighbouring rows; at the end of a file it
// goes on with the next one until the last row. The list itself is never touched: the window
// works on a copy of its file paths taken when it opens.

#include <QDialog>
#include <QStringList>

class QAudioOutput;
class QLabel;
class QMediaPlayer;
class ButtonEx;
class QSlider;

class frmPlayer : public QDialog
{
    Q_OBJECT
public:
    /// paths: the list's files top to bottom; selectedRow: the row the player starts with.
    frmPlayer(QStringList paths, int selectedRow, QWidget *parent = nullptr);
    ~frmPlayer() override;

    /// Plays the row `offset + step` away from the selected row and updates the buttons.
    void playRelative(int step);

    /// The distance from the selected row to the row being played.
    [[nodiscard]] int offset() const { return offset_; }
    /// The file being played.
    [[nodiscard]] QString currentPath() const;
    [[nodiscard]] QMediaPlayer *mediaPlayer() const { return mp; }

private:
    [[nodiscard]] bool rowExists(int row) const { return row >= 0 && row < paths_.size(); }
    void onMediaStatus();
    void onError();
    void updatePosition();
    void togglePause();

    QStringList paths_;
    int selectedRow_ = 0;
    int offset_ = 0;
    bool errorShown_ = false;

    QMediaPlayer *mp = nullptr;
    QAudioOutput *audio_ = nullptr;
    QLabel *lblFile = nullptr;
    QSlider *sldPosition = nullptr;
    QLabel *lblTime = nullptr;
    ButtonEx *cmdPause = nullptr;
    QSlider *sldVolume = nullptr;
    ButtonEx *cmdPrev = nullptr;
    ButtonEx *cmdNext = nullptr;
    ButtonEx *cmdEnd = nullptr;
};
