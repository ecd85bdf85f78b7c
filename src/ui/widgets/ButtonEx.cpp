#include "ui/widgets/ButtonEx.h"

#include <QApplication>
#include <QBitmap>
#include <QDialog>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QPixmap transparentCopy(const QPixmap &picture, QColor transparent)
{
    if (picture.isNull())
        return picture;
    const QImage image = picture.toImage();
    if (!transparent.isValid())
        transparent = image.pixelColor(std::min(1, image.width() - 1), std::min(1, image.height() - 1));
    QPixmap copy = picture;
    copy.setMask(picture.createMaskFromColor(transparent, Qt::MaskInColor));
    return copy;
}

} // namespace

ButtonEx::ButtonEx(QWidget *parent) : ButtonEx(u"ButtonEx1"_s, parent) {}

ButtonEx::ButtonEx(const QString &caption, QWidget *parent) : QAbstractButton(parent)
{
    setText(caption);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    resize(80, 24); // 1200 x 360 twips
}

bool ButtonEx::isSkinned() const
{
    return appearance_ == 2 && !skins_[int(State::Up)].isNull();
}

QString ButtonEx::shownCaption() const
{
    QString shown;
    const QString caption = text();
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i; // "&&" gives one "&", "&x" gives "x" (the access key)
        shown += caption[i];
    }
    return shown;
}

bool ButtonEx::focusShown() const
{
    // A default button shows its frame while no other button holds the focus, as a dialog's
    // default button does.
    if (hasFocus())
        return true;
    if (!default_ || !window())
        return false;
    const QWidget *focus = window()->focusWidget();
    return !qobject_cast<const QAbstractButton *>(focus);
}

ButtonEx::State ButtonEx::shownState() const
{
    State s = state_;
    if (style_ == 1)
        s = value_ == 0 ? State::Down : (s == State::Over ? State::Over : State::Up);
    if (!isEnabled())
        s = State::Disabled;
    else if (isSkinned() && s == State::Up && focusShown())
        s = State::Focus;
    return s;
}

void ButtonEx::setState(State state)
{
    // Once the mouse has gone, a push button does not show itself pressed any more; a toggle
    // button's pressed Value is shown all the same.
    if (state == State::Down && lastHover_ == Hover::Exit && style_ == 0 && !keyDown_)
        return;
    highlight_ = false;
    if (state_ == state)
        return;
    state_ = state;
    if (isSkinned())
        fitToSkin();
    update();
}

void ButtonEx::setValue(int value)
{
    value_ = value;
    setState(State(std::clamp(value, 0, 4)));
    update();
}

void ButtonEx::setDefault(bool on)
{
    default_ = on;
    QWidget *host = window();
    if (defaultHost_ && defaultHost_ != host)
        defaultHost_->removeEventFilter(this);
    // As with the platform's buttons, only a dialog gives Enter to its default button; in a
    // main window the default button is only drawn so.
    defaultHost_ = on && qobject_cast<QDialog *>(host) ? host : nullptr;
    if (defaultHost_ && defaultHost_ != this)
        defaultHost_->installEventFilter(this);
    update();
}

bool ButtonEx::eventFilter(QObject *watched, QEvent *event)
{
    // Enter that no control of the window took presses the default button.
    if (watched == defaultHost_ && event->type() == QEvent::KeyPress && default_ && allowDefault_) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && isVisible() && isEnabled()) {
            animateClick();
            return true;
        }
    }
    if (watched == defaultHost_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        update();
    return QAbstractButton::eventFilter(watched, event);
}

QPixmap ButtonEx::shownSkin() const
{
    if (!isSkinned())
        return {};
    const QPixmap &own = skins_[int(shownState())];
    return own.isNull() ? skins_[int(State::Up)] : own;
}

QPixmap ButtonEx::shownPicture() const
{
    const State s = shownState();
    QPixmap picture = pictures_[int(s)];
    if (picture.isNull()) {
        picture = pictures_[int(State::Up)];
        // Without a picture of its own a disabled button greys its normal one out.
        if (!picture.isNull() && s == State::Disabled)
            picture = QIcon(transparentCopy(picture, transparentColor_)).pixmap(picture.size(), QIcon::Disabled);
    }
    return picture;
}

void ButtonEx::fitToSkin()
{
    const QPixmap skin = shownSkin();
    if (!skin.isNull() && size() != skin.deviceIndependentSize().toSize())
        setFixedSize(skin.deviceIndependentSize().toSize());
}

void ButtonEx::ClearHighlight()
{
    highlight_ = false;
    update();
}

void ButtonEx::DrawHighlight()
{
    highlight_ = true;
    update();
}

QSize ButtonEx::sizeHint() const
{
    if (isSkinned())
        return skins_[int(State::Up)].deviceIndependentSize().toSize();
    QStyleOptionButton option;
    option.initFrom(this);
    option.text = text();
    QSize content = fontMetrics().size(Qt::TextShowMnemonic, text());
    const QPixmap picture = pictures_[int(State::Up)];
    if (!picture.isNull()) {
        const QSize p = picture.deviceIndependentSize().toSize();
        content.setWidth(content.width() + p.width() + (text().isEmpty() ? 0 : 6));
        content.setHeight(std::max(content.height(), p.height()));
    }
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, content, this);
}

QSize ButtonEx::minimumSizeHint() const
{
    return sizeHint();
}

QPoint ButtonEx::twips(const QPointF &pos) const
{
    const double tpp = 1440.0 / std::max(1, logicalDpiX());
    return {int(pos.x() * tpp), int(pos.y() * 1440.0 / std::max(1, logicalDpiY()))};
}

void ButtonEx::raiseHover(Hover hover)
{
    if (lastHover_ == hover)
        return;
    lastHover_ = hover;
    if (hover == Hover::Enter)
        emit MouseEnter();
    else
        emit MouseExit();
}

void ButtonEx::mouseLeftFace()
{
    raiseHover(Hover::Exit);
    setState(State::Up);
    mouseLeft_ = true;
}

void ButtonEx::mouseMoveEvent(QMouseEvent *event)
{
    QAbstractButton::mouseMoveEvent(event);
    const QPointF pos = event->position();
    // While the left button is held the button keeps the mouse, so a move can lie outside.
    if (!rect().contains(pos.toPoint())) {
        mouseLeftFace();
        return;
    }
    const bool cameBack = mouseLeft_;
    mouseLeft_ = false;
    raiseHover(Hover::Enter);
    const bool leftHeld = event->buttons() & Qt::LeftButton;
    if (!leftHeld)
        setState(State::Over);
    else if (cameBack || state_ != State::Down)
        setState(State::Down);
    const QPoint t = twips(pos);
    emit MouseMove(event->buttons(), event->modifiers(), t.x(), t.y());
}

void ButtonEx::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    mouseLeftFace();
}

void ButtonEx::mousePressEvent(QMouseEvent *event)
{
    QAbstractButton::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        // Each press flips a toggle button.
        value_ = shownState() == State::Down ? 1 : 0;
        if (rect().contains(event->position().toPoint()))
            raiseHover(Hover::Enter); // a press inside means the mouse is back over the face
        setState(State::Down);
    }
    const QPoint t = twips(event->position());
    emit MouseDown(event->button(), event->modifiers(), t.x(), t.y());
}

void ButtonEx::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint t = twips(event->position());
    if (event->button() == Qt::LeftButton)
        setState(State::Up);
    emit MouseUp(event->button(), event->modifiers(), t.x(), t.y());
    QAbstractButton::mouseReleaseEvent(event);
}

void ButtonEx::keyPressEvent(QKeyEvent *event)
{
    // Enter on a focused button presses it, as Space does; it does not reach the dialog, whose
    // default button would otherwise take it.
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && mods == Qt::NoModifier) {
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && isDown()) {
        keyDown_ = true;
        setState(State::Down);
    }
}

void ButtonEx::keyReleaseEvent(QKeyEvent *event)
{
    if (keyDown_ && event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        keyDown_ = false;
        setState(State::Up);
    }
    QAbstractButton::keyReleaseEvent(event);
}

void ButtonEx::focusInEvent(QFocusEvent *event)
{
    QAbstractButton::focusInEvent(event);
    update();
}

void ButtonEx::focusOutEvent(QFocusEvent *event)
{
    QAbstractButton::focusOutEvent(event);
    keyDown_ = false;
    update();
}

void ButtonEx::changeEvent(QEvent *event)
{
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        state_ = isEnabled() ? State::Up : State::Disabled;
        update();
    } else if (event->type() == QEvent::ParentChange && default_) {
        setDefault(true); // the window that takes Enter may have changed
    }
}

void ButtonEx::paintPlainFace(QPainter &p, State s)
{
    const bool shown = focusShown();
    const bool defaultFrame = shown && allowDefault_;
    bool focusRect = shown && allowFocus_;

    QStyleOptionButton option;
    option.initFrom(this);
    option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver | QStyle::State_Sunken | QStyle::State_Raised);
    if (backColor_.isValid())
        option.palette.setColor(QPalette::Button, backColor_);
    if (foreColor_.isValid())
        option.palette.setColor(QPalette::ButtonText, foreColor_);
    if (defaultFrame)
        option.features |= QStyleOptionButton::DefaultButton;

    p.fillRect(rect(), option.palette.color(QPalette::Button));

    // The edges of the other bordered styles, as the style's frame shapes: style 2 an etched
    // box, styles 3 and 4 a single raised or sunken line.
    const auto drawEdge = [&](bool pressed) {
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.palette = option.palette;
        frame.rect = rect();
        frame.frameShape = borderStyle_ == 2 ? QFrame::Box : QFrame::Panel;
        frame.state |= pressed ? QStyle::State_Sunken : QStyle::State_Raised;
        frame.lineWidth = 1;
        frame.midLineWidth = 0;
        style()->drawControl(QStyle::CE_ShapedFrame, &frame, &p, this);
    };
    const auto nativeBevel = [&](QStyle::State extra) {
        option.state |= extra;
        if (shown && allowFocus_)
            option.state |= QStyle::State_HasFocus;
        style()->drawControl(QStyle::CE_PushButtonBevel, &option, &p, this);
    };

    switch (s) {
    case State::Up:
    case State::Focus:
    case State::Disabled:
        if (appearance_ != 0 && borderStyle_ != 0) {
            if (borderStyle_ == 1)
                nativeBevel(QStyle::State_Raised);
            else
                drawEdge(false);
        } else if (appearance_ == 0 && borderStyle_ == 4) {
            // The grey frame still shows the focus inside it.
            p.setPen(palette().color(QPalette::Disabled, QPalette::WindowText));
            p.drawRect(rect().adjusted(0, 0, -1, -1));
        } else {
            focusRect = false;
        }
        break;
    case State::Over:
        // A button without a border shows one only while the mouse is over it.
        if (borderStyle_ == 1 || borderStyle_ == 0 || appearance_ == 0)
            nativeBevel(QStyle::State_Raised | QStyle::State_MouseOver);
        else
            drawEdge(false);
        break;
    case State::Down:
        // Without a border a pressed button draws no edge, but its focus rectangle stays.
        if (borderStyle_ == 0)
            break;
        if (borderStyle_ == 1)
            nativeBevel(QStyle::State_Sunken);
        else
            drawEdge(true);
        break;
    }
    if (focusRect && borderStyle_ != 1) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(4, 4, -4, -4);
        // Drawn whenever the button has the focus, not only after the keyboard moved it.
        focus.state |= QStyle::State_KeyboardFocusChange;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

void ButtonEx::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const State s = shownState();
    if (isSkinned())
        p.drawPixmap(0, 0, shownSkin());
    else
        paintPlainFace(p, s);

    const int shift = s == State::Down ? 1 : 0;
    QRect textRect = rect();
    const QPixmap picture = transparentCopy(shownPicture(), transparentColor_);
    if (!picture.isNull()) {
        const QSize size = picture.deviceIndependentSize().toSize();
        const int margin = appearance_ == 2 ? 0 : 6;
        const int x = margin + shift + pictureOffsetX_;
        const int y = std::max(margin, (height() - size.height()) / 2) + shift + pictureOffsetY_;
        p.drawPixmap(x, y, picture);
        if (!text().isEmpty())
            textRect.setLeft(x + size.width());
    }

    QPalette pal = palette();
    QColor textColor = foreColor_.isValid() ? foreColor_ : pal.color(QPalette::ButtonText);
    if (borderStyle_ == 4)
        textColor = pal.color(QPalette::Disabled, QPalette::ButtonText);
    pal.setColor(QPalette::ButtonText, textColor);
    int flags = (rightToLeft_ ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignVCenter;
    // The access key is always underlined, whatever the platform hints.
    flags |= Qt::TextShowMnemonic;
    textRect.translate(captionOffsetX_ + shift, captionOffsetY_ + shift);
    style()->drawItemText(&p, textRect, flags, pal, isEnabled(), text(), QPalette::ButtonText);

    if (highlight_) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}
