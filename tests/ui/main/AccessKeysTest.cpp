// Access keys: on every page of the main window, and in every side window, no two visible
// items (menus, buttons, boxes, labels, tabs) answer to the same Alt+letter.
#include "MainWindowFixture.h"

#include "ui/lookup/frmTracks.h"
#include "ui/side/frmAbout.h"
#include "ui/side/frmSelectDir.h"
#include "ui/side/frmUpdate.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QMenuBar>
#include <QTabBar>

using namespace Qt::StringLiterals;

namespace {

/// The access key of a caption: the letter after the first "&" that is not doubled.
QChar accessKey(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != u'&')
            continue;
        if (caption.at(i + 1) != u'&')
            return caption.at(i + 1).toLower();
        ++i;
    }
    return {};
}

/// Every visible item of a window by its access key; the result names the keys used twice.
QStringList sharedKeys(QWidget *window)
{
    QMap<QChar, QStringList> owners;
    const auto take = [&](const QString &caption) {
        if (const QChar key = accessKey(caption); !key.isNull())
            owners[key] << caption;
    };
    const auto shown = [window](const QWidget *w) { return w->isVisibleTo(window) && w->window() == window; };
    if (auto *bar = window->findChild<QMenuBar *>(); bar && shown(bar)) {
        for (const QAction *menu : bar->actions())
            if (menu->isVisible())
                take(menu->text());
    }
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>())
        if (shown(button))
            take(button->text());
    for (const QLabel *label : window->findChildren<QLabel *>())
        if (shown(label) && label->buddy())
            take(label->text());
    for (const QGroupBox *box : window->findChildren<QGroupBox *>())
        if (shown(box) && box->isCheckable())
            take(box->title());
    for (const QTabBar *tabs : window->findChildren<QTabBar *>())
        if (shown(tabs))
            for (int i = 0; i < tabs->count(); ++i)
                take(tabs->tabText(i));
    QStringList shared;
    for (auto it = owners.cbegin(); it != owners.cend(); ++it)
        if (it.value().size() > 1)
            shared << QString(it.key()) + u": "_s + it.value().join(u" | "_s);
    // Said with the keys in use, so a new key can be chosen among the free ones.
    if (!shared.isEmpty()) {
        QString used;
        for (auto it = owners.cbegin(); it != owners.cend(); ++it)
            used += it.key();
        shared << u"in use: "_s + used;
    }
    return shared;
}

} // namespace

class AccessKeysTest : public MainWindowTest {};

TEST_F(AccessKeysTest, NoTwoVisibleItemsShareAnAccessKeyOnAnyPageOrSideWindow)
{
    writeSong(u"home/a.mp3"_s, 1.0, true, true);
    auto window = openWindow();
    for (const WizardPage page : {WizardPage::Directory, WizardPage::Tag, WizardPage::Rename, WizardPage::Result}) {
        window->affichePage(page);
        QApplication::processEvents();
        EXPECT_EQ(sharedKeys(window.get()).join(u'\n').toStdString(), "") << "page " << int(page);
    }

    AlbumRecord record;
    record.rows = {{u"01 - One"_s, u"a.mp3"_s, u"FileIcon"_s}};
    frmTracks tracks(record);
    frmSelectDir picker;
    frmAbout about(u"N/A"_s);
    for (QDialog *dialog : std::initializer_list<QDialog *>{&tracks, &picker, &about}) {
        dialog->show();
        QApplication::processEvents();
        EXPECT_EQ(sharedKeys(dialog).join(u'\n').toStdString(), "") << dialog->objectName().toStdString();
        dialog->hide();
    }
}
