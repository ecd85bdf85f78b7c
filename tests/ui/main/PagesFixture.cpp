#include "PagesFixture.h"

#include "ui/main/PageRename.h"
#include "ui/main/PageResult.h"
#include "ui/main/PageTag.h"

#include <QDir>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

void PagesTest::SetUp()
{
    VarneltTest::SetUp();
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
        auto *button = new QPushButton(name, bar);
        button->setObjectName(name);
        barLayout->addWidget(button);
    }
    auto *layout = new QVBoxLayout(host.get());
    layout->addWidget(pages, 1);
    layout->addWidget(bar);

    QObject::connect(pageTag, &PageTag::renameListFromTags, pageRename, &PageRename::takeRenameListFromTags);
    const auto switchTo = [this](int p) {
        requestedPages.append(p);
        showPage(p);
    };
    QObject::connect(pageTag, &PageTag::requestPage, pages, switchTo);
    QObject::connect(pageRename, &PageRename::requestPage, pages, switchTo);
    QObject::connect(pageResult, &PageResult::requestPage, pages, switchTo);

    host->resize(900, 700);
    host->show();
}

void PagesTest::TearDown()
{
    host.reset();
    VarneltTest::TearDown();
}

void PagesTest::showPage(int page)
{
    context->activeWizardPage = page;
    pages->setCurrentIndex(page);
}

QString PagesTest::makeAlbum(const QString &relativeFolder, const QList<Mp3Writer::Song> &songs,
                             const QStringList &fileNames)
{
    const QString folder = tempFile(relativeFolder);
    QDir().mkpath(folder);
    for (int i = 0; i < songs.size(); ++i)
        Mp3Writer::save(folder + u'/' + fileNames.at(i), Mp3Writer::song(songs.at(i)));
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
