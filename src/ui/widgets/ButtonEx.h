#pragma once
// The push button of every window: painted by hand in one of five states, either as the
// platform's own button (plain mode, pictures per state beside the caption) or as a face made
// of one "skin" picture per state. It tracks the mouse crossing it (MouseEnter / MouseExit once
// per crossing) and can act as a toggle button through Value.

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

class ButtonEx : public QAbstractButton
{
    Q_OBJECT
    Q_PROPERTY(bool AllowDefault READ AllowDefault WRITE setAllowDefault)
    Q_PROPERTY(bool AllowFocus READ AllowFocus WRITE setAllowFocus)
    Q_PROPERTY(int Appearance READ Appearance WRITE setAppearance)
    Q_PROPERTY(QColor BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(QString Caption READ text WRITE setText)
    Q_PROPERTY(int CaptionOffsetX READ CaptionOffsetX WRITE setCaptionOffsetX)
    Q_PROPERTY(int CaptionOffsetY READ CaptionOffsetY WRITE setCaptionOffsetY)
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(QColor ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(QColor HighlightColor READ HighlightColor WRITE setHighlightColor)
    Q_PROPERTY(bool HighlightPicture READ HighlightPicture WRITE setHighlightPicture)
    Q_PROPERTY(QPixmap Picture READ Picture WRITE setPicture)
    Q_PROPERTY(QPixmap PictureDisabled READ PictureDisabled WRITE setPictureDisabled)
    Q_PROPERTY(QPixmap PictureDown READ PictureDown WRITE setPictureDown)
    Q_PROPERTY(QPixmap PictureFocus READ PictureFocus WRITE setPictureFocus)
    Q_PROPERTY(int PictureOffsetX READ PictureOffsetX WRITE setPictureOffsetX)
    Q_PROPERTY(int PictureOffsetY READ PictureOffsetY WRITE setPictureOffsetY)
    Q_PROPERTY(QPixmap PictureOver READ PictureOver WRITE setPictureOver)
    Q_PROPERTY(bool RightToLeft READ RightToLeft WRITE setRightToLeft)
    Q_PROPERTY(QPixmap SkinDisabled READ SkinDisabled WRITE setSkinDisabled)
    Q_PROPERTY(QPixmap SkinDown READ SkinDown WRITE setSkinDown)
    Q_PROPERTY(QPixmap SkinFocus READ SkinFocus WRITE setSkinFocus)
    Q_PROPERTY(QPixmap SkinOver READ SkinOver WRITE setSkinOver)
    Q_PROPERTY(QPixmap SkinUp READ SkinUp WRITE setSkinUp)
    Q_PROPERTY(int Style READ ButtonStyle WRITE setButtonStyle)
    Q_PROPERTY(QString ToolTipText READ toolTip WRITE setToolTip)
    Q_PROPERTY(QColor TransparentColor READ TransparentColor WRITE setTransparentColor)
    Q_PROPERTY(int Value READ Value WRITE setValue)
    Q_PROPERTY(bool Default READ isDefault WRITE setDefault)

public:
    /// The visual states; the numbers are the values Value selects.
    enum class State { Down = 0, Up = 1, Over = 2, Disabled = 3, Focus = 4 };
    Q_ENUM(State)

    explicit ButtonEx(QWidget *parent = nullptr);
    explicit ButtonEx(const QString &caption, QWidget *parent = nullptr);

    [[nodiscard]] bool AllowDefault() const { return allowDefault_; }
    void setAllowDefault(bool on) { store(allowDefault_, on); }
    [[nodiscard]] bool AllowFocus() const { return allowFocus_; }
    void setAllowFocus(bool on) { store(allowFocus_, on); }
    /// 0 flat, 1 three-dimensional, 2 skinned (when SkinUp is set).
    [[nodiscard]] int Appearance() const { return appearance_; }
    void setAppearance(int appearance) { store(appearance_, appearance); }
    /// An invalid colour (the default) follows the palette's button face.
    [[nodiscard]] QColor BackColor() const { return backColor_; }
    void setBackColor(const QColor &color) { store(backColor_, color); }
    [[nodiscard]] int BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int style) { store(borderStyle_, style); }
    [[nodiscard]] int CaptionOffsetX() const { return captionOffsetX_; }
    void setCaptionOffsetX(int offset) { store(captionOffsetX_, offset); }
    [[nodiscard]] int CaptionOffsetY() const { return captionOffsetY_; }
    void setCaptionOffsetY(int offset) { store(captionOffsetY_, offset); }
    /// An invalid colour (the default) follows the palette's button text.
    [[nodiscard]] QColor ForeColor() const { return foreColor_; }
    void setForeColor(const QColor &color) { store(foreColor_, color); }
    [[nodiscard]] QColor HighlightColor() const { return highlightColor_; }
    void setHighlightColor(const QColor &color) { store(highlightColor_, color); }
    [[nodiscard]] bool HighlightPicture() const { return highlightPicture_; }
    void setHighlightPicture(bool on) { store(highlightPicture_, on); }
    [[nodiscard]] QPixmap Picture() const { return pictures_[int(State::Up)]; }
    void setPicture(const QPixmap &p) { store(pictures_[int(State::Up)], p); }
    [[nodiscard]] QPixmap PictureDisabled() const { return pictures_[int(State::Disabled)]; }
    void setPictureDisabled(const QPixmap &p) { store(pictures_[int(State::Disabled)], p); }
    [[nodiscard]] QPixmap PictureDown() const { return pictures_[int(State::Down)]; }
    void setPictureDown(const QPixmap &p) { store(pictures_[int(State::Down)], p); }
    [[nodiscard]] QPixmap PictureFocus() const { return pictures_[int(State::Focus)]; }
    void setPictureFocus(const QPixmap &p) { store(pictures_[int(State::Focus)], p); }
    [[nodiscard]] QPixmap PictureOver() const { return pictures_[int(State::Over)]; }
    void setPictureOver(const QPixmap &p) { store(pictures_[int(State::Over)], p); }
    [[nodiscard]] int PictureOffsetX() const { return pictureOffsetX_; }
    void setPictureOffsetX(int offset) { store(pictureOffsetX_, offset); }
    [[nodiscard]] int PictureOffsetY() const { return pictureOffsetY_; }
    void setPictureOffsetY(int offset) { store(pictureOffsetY_, offset); }
    [[nodiscard]] bool RightToLeft() const { return rightToLeft_; }
    void setRightToLeft(bool on) { store(rightToLeft_, on); }
    [[nodiscard]] QPixmap SkinDisabled() const { return skins_[int(State::Disabled)]; }
    void setSkinDisabled(const QPixmap &p) { store(skins_[int(State::Disabled)], p); }
    [[nodiscard]] QPixmap SkinDown() const { return skins_[int(State::Down)]; }
    void setSkinDown(const QPixmap &p) { store(skins_[int(State::Down)], p); }
    [[nodiscard]] QPixmap SkinFocus() const { return skins_[int(State::Focus)]; }
    void setSkinFocus(const QPixmap &p) { store(skins_[int(State::Focus)], p); }
    [[nodiscard]] QPixmap SkinOver() const { return skins_[int(State::Over)]; }
    void setSkinOver(const QPixmap &p) { store(skins_[int(State::Over)], p); }
    [[nodiscard]] QPixmap SkinUp() const { return skins_[int(State::Up)]; }
    void setSkinUp(const QPixmap &p) { store(skins_[int(State::Up)], p); }
    /// 0 push button, 1 toggle button.
    [[nodiscard]] int ButtonStyle() const { return style_; }
    void setButtonStyle(int style) { store(style_, style); }
    /// An invalid colour stands for the colour of the picture's pixel at (1, 1).
    [[nodiscard]] QColor TransparentColor() const { return transparentColor_; }
    void setTransparentColor(const QColor &color) { store(transparentColor_, color); }
    /// For a toggle button 0 is pressed in, 1 out; setting it draws the state of that number.
    [[nodiscard]] int Value() const { return value_; }
    void setValue(int value);
    /// The default button: drawn with the default frame; in a dialog, Enter that no control
    /// took presses it.
    [[nodiscard]] bool isDefault() const { return default_; }
    void setDefault(bool on);

    /// The state asked for last (Down after MouseExit is not taken).
    [[nodiscard]] State state() const { return state_; }
    /// The state the face shows: the toggle, skinned and focus rules applied.
    [[nodiscard]] State shownState() const;
    /// True when the face is the skin pictures rather than the platform's button.
    [[nodiscard]] bool isSkinned() const;
    /// The caption as shown: "&&" made one ampersand, the access key's marker left out.
    [[nodiscard]] QString shownCaption() const;
    /// The skin or picture the face shows now (null for none).
    [[nodiscard]] QPixmap shownSkin() const;
    [[nodiscard]] QPixmap shownPicture() const;

    /// Redraws the current state.
    void ClearHighlight();
    /// Draws a focus rectangle over the whole face until the next redraw.
    void DrawHighlight();
    void Refresh() { update(); }

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

signals:
    void MouseEnter();
    void MouseExit();
    /// Mouse events with the position in twips.
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Hover { None, Enter, Exit };

    template <typename T>
    void store(T &member, const T &value)
    {
        member = value;
        if (isSkinned())
            fitToSkin();
        updateGeometry();
        update();
    }
    void setState(State state);
    void raiseHover(Hover hover);
    void mouseLeftFace();
    void fitToSkin();
    [[nodiscard]] bool focusShown() const;
    [[nodiscard]] QPoint twips(const QPointF &pos) const;
    void paintPlainFace(QPainter &p, State state);

    bool allowDefault_ = true;
    bool allowFocus_ = true;
    int appearance_ = 1;
    QColor backColor_;
    int borderStyle_ = 1;
    int captionOffsetX_ = 0;
    int captionOffsetY_ = 0;
    QColor foreColor_;
    QColor highlightColor_;
    bool highlightPicture_ = false;
    QPixmap pictures_[5];
    int pictureOffsetX_ = 0;
    int pictureOffsetY_ = 0;
    bool rightToLeft_ = false;
    QPixmap skins_[5];
    int style_ = 0;
    QColor transparentColor_ = QColor(0, 0, 255); // 0xFF0000 in the blue-green-red order
    int value_ = 1;
    bool default_ = false;

    State state_ = State::Up;
    Hover lastHover_ = Hover::None;
    bool mouseLeft_ = false;
    bool keyDown_ = false;
    bool highlight_ = false;
    QWidget *defaultHost_ = nullptr;
};
