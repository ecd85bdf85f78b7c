// The hand-painted button: caption and access key, hover crossings, the state rules of plain,
// toggle and skinned buttons, and its keyboard use in a dialog.
#include "support/TestEnv.h"
#include "ui/widgets/ButtonEx.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

using State = ButtonEx::State;

void send(ButtonEx &b, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, pos, b.mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(&b, &event);
}

void moveTo(ButtonEx &b, QPoint pos, Qt::MouseButtons held = Qt::NoButton)
{
    send(b, QEvent::MouseMove, pos, Qt::NoButton, held);
}

QPixmap filled(QSize size, QColor color)
{
    QPixmap pm(size);
    pm.fill(color);
    return pm;
}

} // namespace

class ButtonExTest : public VarneltTest {};

TEST_F(ButtonExTest, DefaultsCaptionAndAccessKey)
{
    QWidget host;
    auto *button = new ButtonEx(&host);
    EXPECT_EQ(button->property("Caption").toString(), u"ButtonEx1"_s);
    EXPECT_TRUE(button->property("AllowDefault").toBool());
    EXPECT_EQ(button->property("Appearance").toInt(), 1);
    EXPECT_EQ(button->property("BorderStyle").toInt(), 1);
    EXPECT_EQ(button->property("Style").toInt(), 0);
    EXPECT_EQ(button->property("Value").toInt(), 1);
    EXPECT_EQ(button->property("TransparentColor").value<QColor>(), QColor(0, 0, 255));
    EXPECT_EQ(button->size(), QSize(80, 24));

    // "&&" is one ampersand; the single "&" before a letter makes that letter the access key.
    button->setProperty("Caption", u"Save && &Load"_s);
    EXPECT_EQ(button->shownCaption(), u"Save & Load"_s);
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    host.show();
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    // An access key starts an animated click at once: the button goes down, the click follows.
    QTest::keyClick(&host, Qt::Key_S, Qt::AltModifier);
    EXPECT_FALSE(button->isDown());
    QTest::keyClick(&host, Qt::Key_L, Qt::AltModifier);
    EXPECT_TRUE(button->isDown());
    QTRY_COMPARE(clicked.count(), 1);
    EXPECT_FALSE(button->isDown());
}

TEST_F(ButtonExTest, HoverCrossingsAndTheHeldButton)
{
    ButtonEx button(u"&Go"_s);
    button.show();
    QSignalSpy enter(&button, &ButtonEx::MouseEnter);
    QSignalSpy exit(&button, &ButtonEx::MouseExit);
    QSignalSpy moves(&button, &ButtonEx::MouseMove);
    QSignalSpy clicked(&button, &QAbstractButton::clicked);

    // Two moves inside: one MouseEnter, two MouseMove, the Over state.
    moveTo(button, {10, 10});
    moveTo(button, {12, 11});
    EXPECT_EQ(enter.count(), 1);
    EXPECT_EQ(moves.count(), 2);
    EXPECT_EQ(button.shownState(), State::Over);

    // Out with the left button held: Up and one MouseExit however often it moves outside.
    send(button, QEvent::MouseButtonPress, {12, 11}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(button.shownState(), State::Down);
    moveTo(button, {200, 11}, Qt::LeftButton);
    moveTo(button, {210, 40}, Qt::LeftButton);
    EXPECT_EQ(exit.count(), 1);
    EXPECT_EQ(button.shownState(), State::Up);
    // Back in, still held: Down again, and the release there clicks.
    moveTo(button, {12, 11}, Qt::LeftButton);
    EXPECT_EQ(enter.count(), 2);
    EXPECT_EQ(button.shownState(), State::Down);
    send(button, QEvent::MouseButtonRelease, {12, 11}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(button.shownState(), State::Up);

    // Once the mouse has left, a push button is not drawn pressed; a toggle button's Value is.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_EQ(exit.count(), 2);
    button.setValue(0);
    EXPECT_EQ(button.shownState(), State::Up);
    button.setButtonStyle(1);
    button.setValue(0);
    EXPECT_EQ(button.shownState(), State::Down);
}

TEST_F(ButtonExTest, ToggleEnabledAndSkins)
{
    ButtonEx toggle;
    toggle.setButtonStyle(1);
    toggle.show();
    QSignalSpy clicked(&toggle, &QAbstractButton::clicked);
    for (int press = 0; press < 2; ++press) {
        moveTo(toggle, {5, 5});
        send(toggle, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
        send(toggle, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton);
        EXPECT_EQ(toggle.Value(), press == 0 ? 0 : 1);
        EXPECT_EQ(toggle.shownState(), press == 0 ? State::Down : State::Up);
    }
    EXPECT_EQ(clicked.count(), 2);

    // Enabling again starts from Up, whatever was shown before.
    ButtonEx plain;
    plain.show();
    moveTo(plain, {5, 5});
    plain.setEnabled(false);
    EXPECT_EQ(plain.shownState(), State::Disabled);
    plain.setEnabled(true);
    EXPECT_EQ(plain.state(), State::Up);

    // Skinned: the face takes the skin's size; a state without a skin keeps showing SkinUp.
    ButtonEx skinned;
    skinned.setProperty("SkinOver", filled({30, 20}, Qt::green));
    skinned.setProperty("SkinUp", filled({30, 20}, Qt::red));
    EXPECT_FALSE(skinned.isSkinned());
    skinned.setAppearance(2);
    ASSERT_TRUE(skinned.isSkinned());
    EXPECT_EQ(skinned.size(), QSize(30, 20));
    skinned.show();
    moveTo(skinned, {5, 5});
    EXPECT_EQ(skinned.shownSkin().cacheKey(), skinned.SkinOver().cacheKey());
    send(skinned, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(skinned.shownState(), State::Down);
    EXPECT_EQ(skinned.shownSkin().cacheKey(), skinned.SkinUp().cacheKey());
    skinned.setEnabled(false);
    EXPECT_EQ(skinned.shownSkin().cacheKey(), skinned.SkinUp().cacheKey());
}

TEST_F(ButtonExTest, KeyboardAndTheDefaultButtonOfADialog)
{
    QDialog dialog;
    auto *edit = new QLineEdit(&dialog);
    auto *ok = new ButtonEx(u"&Ok"_s, &dialog);
    auto *other = new ButtonEx(u"&Other"_s, &dialog);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(edit);
    layout->addWidget(ok);
    layout->addWidget(other);
    ok->setDefault(true);
    QSignalSpy okClicks(ok, &QAbstractButton::clicked);
    QSignalSpy otherClicks(other, &QAbstractButton::clicked);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));

    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    QTRY_COMPARE(okClicks.count(), 1);

    // Space on the focused button presses it and shows it down while held.
    other->setFocus();
    QTest::keyPress(other, Qt::Key_Space);
    EXPECT_EQ(other->shownState(), State::Down);
    QTest::keyRelease(other, Qt::Key_Space);
    EXPECT_EQ(otherClicks.count(), 1);
    EXPECT_EQ(okClicks.count(), 1);

    // Enter on a focused button presses that button, not the dialog's default one.
    QTest::keyClick(other, Qt::Key_Return);
    QTest::keyClick(other, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::qWait(400);
    EXPECT_EQ(otherClicks.count(), 3);
    EXPECT_EQ(okClicks.count(), 1);
}

TEST_F(ButtonExTest, FocusRectangleInEveryFramedCaseAndTheAccessKeyAlwaysUnderlined)
{
    // A style that asks for no underlining, as some platforms do until Alt is held.
    class NoUnderline : public QProxyStyle
    {
    public:
        int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                      QStyleHintReturn *data) const override
        {
            return hint == SH_UnderlineShortcut ? 0 : QProxyStyle::styleHint(hint, option, widget, data);
        }
    };
    NoUnderline style;
    QDialog dialog;
    auto *button = new ButtonEx(u"&Ok"_s, &dialog);
    auto *plain = new ButtonEx(u"Ok"_s, &dialog);
    auto *elsewhere = new QLineEdit(&dialog);
    auto *layout = new QVBoxLayout(&dialog);
    for (QWidget *w : std::initializer_list<QWidget *>{button, plain, elsewhere}) {
        w->setStyle(&style);
        layout->addWidget(w);
    }
    button->setFixedSize(90, 30);
    plain->setFixedSize(90, 30);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    const auto face = [](ButtonEx *b) { return b->grab().toImage(); };

    // The access key is underlined although the style would hide it.
    elsewhere->setFocus();
    EXPECT_NE(face(button), face(plain));

    // Pressed without a border, and the grey frame: each shows the focus rectangle.
    const auto focusChangesFace = [&](int appearance, int border, bool down) {
        button->setAppearance(appearance);
        button->setBorderStyle(border);
        button->setValue(down ? 0 : 1);
        elsewhere->setFocus();
        const QImage unfocused = face(button);
        button->setFocus();
        const QImage focused = face(button);
        return unfocused != focused;
    };
    EXPECT_TRUE(focusChangesFace(1, 0, true)) << "Down, BorderStyle 0";
    EXPECT_TRUE(focusChangesFace(0, 4, false)) << "grey frame, Up";
    EXPECT_TRUE(focusChangesFace(1, 2, false)) << "etched edge, Up";
    // A button without a border shows no focus while it is up.
    EXPECT_FALSE(focusChangesFace(1, 0, false)) << "Up, BorderStyle 0";
}
