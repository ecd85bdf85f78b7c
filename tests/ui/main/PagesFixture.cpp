#include "PagesFixture.h"

#include "ui/main/PageRename.h"
#include "ui/main/PageResult.h"
#include "ui/main/PageTag.h"

#include <QDir>
#include <QEvent>
#include "ui/widgets/ButtonEx.h"
#include "ui/widgets/PictureDecoding.h"
#include <QStackedWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// What the main window does for its pages: its activation rebuilds the rename preview, and it
// stays open while the rename job runs.
class HostWindowEvents : public QObject
{
public:
    HostWindowEvents(MainContext &context, PageRename &page, QObject *parent)
        : QObject(parent)
        , context_(context)
        , page_(page)
    {
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowActivate && context_.activeWizardPage == WizardPage::Rename)
            page_.windowActivated();
        if (event->type() == QEvent::Close && page_.isRenaming()) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    MainContext &context_;
    PageRename &page_;
};

} // namespace

void PagesTest::SetUp()
{
    VarneltTest::SetUp();
    PictureDecoding::install(); // as the program does at start-up
    host = std::make_unique<QWidget>();
    host->setObjectName(u"frmMain"_s);
    context = new MainContext(host.get());
    pages = new QStackedWidget(host.get());
    pages->addWidget(new QWidget(pages));
    pageTag = new PageTag(*context, pages);
    pageRename = new PageRename(*context, pages);
    pageResult = new PageResult(*context, pages);
    pages->addWidget(pageTag);
    pages->addWidget(pageRename);
    pages->addWidget(pageResult);

    auto *bar = new QWidget(host.get());
    auto *barLayout = new QHBoxLayout(bar);
    for (const QString &name : {u"cmdRename"_s, u"cmdWorkWithTagLog"_s, u"cmdSelectDirectory"_s, u"cmdEnd"_s}) {
        auto *button = new ButtonEx(name, bar);
        button->setObjectName(name);
        barLayout->addWidget(button);
        QObject::connect(pageRename, &PageRename::busyChanged, button, [button](bool busy) { button->setEnabled(!busy); });
    }
    auto *layout = new QVBoxLayout(host.get());
    layout->addWidget(pages, 1);
    layout->addWidget(bar);

    const auto switchTo = [this](WizardPage p) {
        requestedPages.append(p);
        showPage(p);
    };
    QObject::connect(pageTag, &PageTag::requestPage, pages, switchTo);
    QObject::connect(pageRename, &PageRename::requestPage, pages, switchTo);
    QObject::connect(pageResult, &PageResult::requestPage, pages, switchTo);

    host->installEventFilter(new HostWindowEvents(*context, *pageRename, host.get()));
    host->resize(900, 700);
    host->show();
}

void PagesTest::TearDown()
{
    host.reset();
    VarneltTest::TearDown();
}

void PagesTest::showPage(WizardPage page)
{
    context->activeWizardPage = page;
    pages->setCurrentIndex(int(page));
}

QString PagesTest::makeAlbum(const QString &relativeFolder, const QList<Mp3Writer::Song> &songs,
                             const QStringList &fileNames)
{
    QList<Mp3Writer::AlbumFile> files;
    for (int i = 0; i < songs.size(); ++i)
        files.append({fileNames.at(i), songs.at(i)});
    const QString folder = Mp3Writer::makeAlbum(tempFile(relativeFolder), files);
    context->currentDirectory = folder;
    emit context->currentDirectoryChanged(folder);
    return folder;
}

QString PagesTest::makeThreeSongAlbum(const QString &relativeFolder)
{
    QList<Mp3Writer::Song> songs;
    const QStringList titles{u"One"_s, u"Two"_s, u"Three"_s};
    for (int i = 0; i < titles.size(); ++i) {
        Mp3Writer::Song song;
        song.title = titles.at(i);
        song.artist = u"Foo"_s;
        song.album = u"Bar"_s;
        song.track = i + 1;
        song.seconds = 1.0 + 0.5 * i; // distinct lengths: no two files alike
        songs.append(song);
    }
    return makeAlbum(relativeFolder, songs, {u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s});
}
