// The tag editor part of the tag page: the fields of both tag versions, their fill switches,
// the file facts and the editor's commands. They are laid out and reset with the page; editing
// and saving are not available yet, so every one of them stays disabled.
#include "PageTag.h"

#include "ui/widgets/GenreCombo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include "ui/widgets/ButtonEx.h"
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

struct FieldSpec {
    const char16_t *label;
    const char16_t *name;
    const char16_t *fill; // fill switch, or nullptr (titles have none)
};

QLineEdit *addField(QGridLayout *grid, int row, const FieldSpec &spec, QWidget *parent)
{
    grid->addWidget(new QLabel(QString::fromUtf16(spec.label), parent), row, 0);
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromUtf16(spec.name));
    grid->addWidget(edit, row, 1);
    if (spec.fill) {
        auto *fill = new QCheckBox(parent);
        fill->setObjectName(QString::fromUtf16(spec.fill));
        fill->setToolTip(u"Fill this field in every file"_s);
        grid->addWidget(fill, row, 2);
    }
    return edit;
}

QComboBox *addGenre(QGridLayout *grid, int row, const QString &name, const QString &fill, const QString &clear,
                    QWidget *parent)
{
    grid->addWidget(new QLabel(u"Genre"_s, parent), row, 0);
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(name == u"cboGenre2");
    fillGenreList(combo);
    auto *box = new QHBoxLayout;
    box->addWidget(combo, 1);
    auto *none = new ButtonEx(u"No genre"_s, parent);
    none->setObjectName(clear);
    box->addWidget(none);
    grid->addLayout(box, row, 1);
    auto *fillBox = new QCheckBox(parent);
    fillBox->setObjectName(fill);
    grid->addWidget(fillBox, row, 2);
    return combo;
}

ButtonEx *command(const QString &caption, const QString &name, QWidget *parent)
{
    auto *button = new ButtonEx(caption, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

void PageTag::buildTagEditor(QWidget *area)
{
    tabTagEditor = new QTabWidget(area);
    tabTagEditor->setObjectName(u"tabTagEditor"_s);

    // First tab: both tag versions side by side.
    auto *tagsTab = new QWidget(tabTagEditor);
    auto *v1 = new QGroupBox(u"ID3v1"_s, tagsTab);
    auto *v1Grid = new QGridLayout(v1);
    const FieldSpec v1Fields[] = {{u"Title", u"txtTitle", nullptr},       {u"Artist", u"txtArtist", u"chkFillArtist"},
                                  {u"Album", u"txtAlbum", u"chkFillAlbum"}, {u"Year", u"txtYear", u"chkFillYear"},
                                  {u"Comment", u"txtComment", u"chkFillComment"}, {u"Track", u"txtTrack", u"chkFillTrack"}};
    int row = 0;
    for (const FieldSpec &f : v1Fields)
        tagFields_.append(addField(v1Grid, row++, f, v1));
    cboGenre = addGenre(v1Grid, row++, u"cboGenre"_s, u"chkFillGenre"_s, u"cmdDelGenre"_s, v1);
    v1Grid->setRowStretch(row, 1);

    tabTagEditor2 = new QTabWidget(tagsTab);
    tabTagEditor2->setObjectName(u"tabTagEditor2"_s);
    auto *v2Main = new QWidget(tabTagEditor2);
    auto *v2Grid = new QGridLayout(v2Main);
    const FieldSpec v2Fields[] = {{u"Title", u"txtTitle2", nullptr},
                                  {u"Artist", u"txtArtist2", u"chkFillArtist2"},
                                  {u"Album", u"txtAlbum2", u"chkFillAlbum2"},
                                  {u"Year", u"txtYear2", u"chkFillYear2"},
                                  {u"Comment", u"txtComment2", u"chkFillComment2"},
                                  {u"Track", u"txtTrack2", u"chkFillTrack2"}};
    row = 0;
    for (const FieldSpec &f : v2Fields)
        tagFields_.append(addField(v2Grid, row++, f, v2Main));
    cboGenre2 = addGenre(v2Grid, row++, u"cboGenre2"_s, u"chkFillGenre2"_s, u"cmdDelGenre2"_s, v2Main);
    v2Grid->setRowStretch(row, 1);
    tabTagEditor2->addTab(v2Main, u"ID3v2"_s);

    auto *v2More = new QWidget(tabTagEditor2);
    auto *moreGrid = new QGridLayout(v2More);
    const FieldSpec moreFields[] = {{u"Composer", u"txtComposer", u"chkFillComposer"},
                                    {u"Original artist", u"txtOriginalArtist", u"chkFillOriginalArtist"},
                                    {u"Encoded by", u"txtEncodedBy", u"chkFillEncodedBy"},
                                    {u"User URL", u"txtUserUrl", u"chkFillUserUrl"},
                                    {u"User text", u"txtUserText", u"chkFillUserText"},
                                    {u"Artist URL", u"txtArtistUrl", u"chkFillArtistUrl"},
                                    {u"Unique key", u"txtUniqueKey", nullptr},
                                    {u"Preference", u"txtPreference", u"chkFillPreference"},
                                    {u"Tempo", u"txtTempo", u"chkFillTempo"},
                                    {u"Mood", u"txtMood", u"chkFillMood"},
                                    {u"Situation", u"txtSituation", u"chkFillSituation"},
                                    {u"Copyright", u"txtCopyright", u"chkFillCopyright"}};
    row = 0;
    for (const FieldSpec &f : moreFields)
        addField(moreGrid, row++, f, v2More);
    tabTagEditor2->addTab(v2More, u"ID3v2 extended"_s);

    auto *lyricsTab = new QWidget(tabTagEditor2);
    auto *lyricsBox = new QVBoxLayout(lyricsTab);
    txtLyrics = new QPlainTextEdit(lyricsTab);
    txtLyrics->setObjectName(u"txtLyrics"_s);
    lyricsBox->addWidget(txtLyrics);
    tabTagEditor2->addTab(lyricsTab, u"Lyrics"_s);

    auto *pictureTab = new QWidget(tabTagEditor2);
    auto *pictureGrid = new QGridLayout(pictureTab);
    auto *imgCoverArt = new QLabel(pictureTab);
    imgCoverArt->setObjectName(u"imgCoverArt"_s);
    imgCoverArt->setFixedSize(120, 120);
    imgCoverArt->setFrameShape(QFrame::StyledPanel);
    pictureGrid->addWidget(imgCoverArt, 0, 0, 3, 1);
    pictureGrid->addWidget(command(u"&Change picture"_s, u"cmdChangeCover"_s, pictureTab), 0, 1);
    pictureGrid->addWidget(command(u"C&lear picture"_s, u"cmdClearPicture"_s, pictureTab), 1, 1);
    auto *fillCover = new QCheckBox(u"Fill"_s, pictureTab);
    fillCover->setObjectName(u"chkFillCoverArt"_s);
    pictureGrid->addWidget(fillCover, 2, 1);
    pictureGrid->setColumnStretch(2, 1);
    tabTagEditor2->addTab(pictureTab, u"Picture"_s);

    auto *tagsRow = new QHBoxLayout(tagsTab);
    tagsRow->addWidget(v1, 2);
    tagsRow->addWidget(tabTagEditor2, 3);
    tabTagEditor->addTab(tagsTab, u"ID3 Tag"_s);

    // Second tab: the shown file and its audio facts.
    auto *infoTab = new QWidget(tabTagEditor);
    auto *infoGrid = new QGridLayout(infoTab);
    auto *imgFile = new QLabel(infoTab);
    imgFile->setObjectName(u"imgFile"_s);
    imgFile->setFixedSize(16, 16);
    txtFileName = new QLineEdit(infoTab);
    txtFileName->setObjectName(u"txtFileName"_s);
    txtFileName->setReadOnly(true);
    txtMp3Info = new QPlainTextEdit(infoTab);
    txtMp3Info->setObjectName(u"txtMp3Info"_s);
    txtMp3Info->setReadOnly(true);
    infoGrid->addWidget(imgFile, 0, 0);
    infoGrid->addWidget(txtFileName, 0, 1);
    infoGrid->addWidget(txtMp3Info, 1, 0, 1, 2);
    tabTagEditor->addTab(infoTab, u"File informations"_s);

    auto *commands = new QGridLayout;
    const std::pair<QString, QString> buttons[] = {
        {u"&Write ID3 tag"_s, u"cmdWrite"_s},         {u"&Delete ID3 tag"_s, u"cmdDelete"_s},
        {u"&Fill selected tags"_s, u"cmdCopyTag"_s},  {u"Auto &track"_s, u"cmdAutoTrack"_s},
        {u"Auto track v&2"_s, u"cmdAutoTrack2"_s},    {u"v1 -> v2"_s, u"cmdCopyId3To"_s},
        {u"v2 -> v1"_s, u"cmdCopyId3From"_s},         {u"All v1 -> v2"_s, u"cmdCopyAllId3To"_s},
        {u"All v2 -> v1"_s, u"cmdCopyAllId3From"_s},  {u"&Remove all tags"_s, u"cmdRemoveAllTag"_s}};
    int i = 0;
    for (const auto &[caption, name] : buttons) {
        commands->addWidget(command(caption, name, area), i / 5, i % 5);
        ++i;
    }

    auto *notice = new QLabel(u"The tag editor is not available yet: the tags are shown in the list above."_s, area);
    notice->setObjectName(u"lblTagEditorNotice"_s);
    notice->setWordWrap(true);

    auto *column = new QVBoxLayout(area);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(notice);
    column->addWidget(tabTagEditor, 1);
    column->addLayout(commands);

    tabTagEditor->setEnabled(false);
    for (ButtonEx *button : area->findChildren<ButtonEx *>())
        button->setEnabled(false);
}

void PageTag::resetForShow()
{
    lstFilesTag->clear();
    lastSortColumn_ = 0;
    sortOrder_ = Qt::AscendingOrder;
    lstFilesTag->header()->setSortIndicatorShown(false);
    tabTagEditor->setCurrentIndex(0);
    tabTagEditor2->setCurrentIndex(0);
    for (QLineEdit *edit : std::as_const(tagFields_))
        edit->clear();
    cboGenre->setCurrentIndex(0);
    cboGenre2->setEditText(QString());
}
