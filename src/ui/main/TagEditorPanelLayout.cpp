// The tag editor's layout: the fields of both tag versions as tables (label, value, object
// name, fill switch), the genre boxes, lyrics, picture and the file facts.
#include "TagEditorPanel.h"

#include "ui/widgets/ButtonEx.h"
#include "ui/widgets/GenreCombo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

struct FieldSpec {
    const char16_t *label;
    QString TagEditorValues::*value; // the field's value in the editor's values
    const char16_t *name;
    const char16_t *fill; // fill switch, or nullptr (titles have none)
    FillField field;
};

using Switches = QList<std::pair<FillField, QCheckBox *>>;

QCheckBox *addFillSwitch(const QString &name, FillField field, Switches &switches, QWidget *parent)
{
    auto *fill = new QCheckBox(parent);
    fill->setObjectName(name);
    fill->setToolTip(u"Fill this field in every file"_s);
    switches.append({field, fill});
    return fill;
}

QLineEdit *addField(QGridLayout *grid, int row, const FieldSpec &spec, Switches &switches, QWidget *parent)
{
    auto *label = new QLabel(QString::fromUtf16(spec.label), parent);
    grid->addWidget(label, row, 0);
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromUtf16(spec.name));
    label->setBuddy(edit);
    grid->addWidget(edit, row, 1);
    if (spec.fill)
        grid->addWidget(addFillSwitch(QString::fromUtf16(spec.fill), spec.field, switches, parent), row, 2);
    return edit;
}

// suffix: "" for version 1, "2" for version 2.
QComboBox *addGenre(QGridLayout *grid, int row, const QString &suffix, Switches &switches, QWidget *parent)
{
    grid->addWidget(new QLabel(u"Genre"_s, parent), row, 0);
    auto *combo = new QComboBox(parent);
    combo->setObjectName(u"cboGenre"_s + suffix);
    // The version-2 genre is a name of the file's own choosing; version 1 holds a number only.
    combo->setEditable(!suffix.isEmpty());
    fillGenreList(combo);
    auto *box = new QHBoxLayout;
    box->addWidget(combo, 1);
    auto *none = new ButtonEx(u"No genre"_s, parent);
    none->setObjectName(u"cmdDelGenre"_s + suffix);
    QObject::connect(none, &ButtonEx::clicked, combo, [combo] {
        combo->setCurrentIndex(0);
        combo->setEditText(QString());
    });
    box->addWidget(none);
    grid->addLayout(box, row, 1);
    grid->addWidget(addFillSwitch(u"chkFillGenre"_s + suffix, suffix.isEmpty() ? FillField::Genre : FillField::Genre2,
                                  switches, parent),
                    row, 2);
    return combo;
}

ButtonEx *command(const QString &caption, const QString &name, QWidget *parent)
{
    auto *button = new ButtonEx(caption, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

TagEditorPanel::TagEditorPanel(const MainContext &context, QWidget *parent)
    : QWidget(parent)
    , context_(context)
{
    tabTagEditor = new QTabWidget(this);
    tabTagEditor->setObjectName(u"tabTagEditor"_s);

    // First tab: both tag versions side by side.
    auto *tagsTab = new QWidget(tabTagEditor);
    QGroupBox *v1 = buildVersionOneBox(tagsTab);
    tabTagEditor2 = new QTabWidget(tagsTab);
    tabTagEditor2->setObjectName(u"tabTagEditor2"_s);
    buildVersionTwoTabs();
    auto *tagsRow = new QHBoxLayout(tagsTab);
    tagsRow->addWidget(v1, 2);
    tagsRow->addWidget(tabTagEditor2, 3);
    tabTagEditor->addTab(tagsTab, u"ID3 Tag"_s);

    buildFileInfoTab();
    // Connected once every tab is in: adding the first one makes it current.
    connect(tabTagEditor, &QTabWidget::currentChanged, this, [this](int index) {
        const int left = editorTab_;
        editorTab_ = index;
        if (left == 0)
            emit tagsTabLeft();
    });

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(tabTagEditor, 1);
}

QGroupBox *TagEditorPanel::buildVersionOneBox(QWidget *tagsTab)
{
    auto *v1 = new QGroupBox(u"ID3v1"_s, tagsTab);
    auto *v1Grid = new QGridLayout(v1);
    const FieldSpec v1Fields[] = {{u"Title", &TagEditorValues::v1Title, u"txtTitle", nullptr, FillField::Count},
                                  {u"Artist", &TagEditorValues::v1Artist, u"txtArtist", u"chkFillArtist", FillField::Artist},
                                  {u"Album", &TagEditorValues::v1Album, u"txtAlbum", u"chkFillAlbum", FillField::Album},
                                  {u"Year", &TagEditorValues::v1Year, u"txtYear", u"chkFillYear", FillField::Year},
                                  {u"Comment", &TagEditorValues::v1Comment, u"txtComment", u"chkFillComment", FillField::Comment},
                                  {u"Track", &TagEditorValues::v1Track, u"txtTrack", u"chkFillTrack", FillField::Track}};
    int row = 0;
    for (const FieldSpec &f : v1Fields)
        edits_.append({f.value, addField(v1Grid, row++, f, fillSwitches_, v1)});
    cboGenre = addGenre(v1Grid, row++, QString(), fillSwitches_, v1);
    v1Grid->setRowStretch(row, 1);
    return v1;
}

void TagEditorPanel::buildVersionTwoTabs()
{
    auto *v2Main = new QWidget(tabTagEditor2);
    auto *v2Grid = new QGridLayout(v2Main);
    const FieldSpec v2Fields[] = {{u"Title", &TagEditorValues::title, u"txtTitle2", nullptr, FillField::Count},
                                  {u"Artist", &TagEditorValues::artist, u"txtArtist2", u"chkFillArtist2", FillField::Artist2},
                                  {u"Album", &TagEditorValues::album, u"txtAlbum2", u"chkFillAlbum2", FillField::Album2},
                                  {u"Year", &TagEditorValues::year, u"txtYear2", u"chkFillYear2", FillField::Year2},
                                  {u"Comment", &TagEditorValues::comment, u"txtComment2", u"chkFillComment2", FillField::Comment2},
                                  {u"Track", &TagEditorValues::track, u"txtTrack2", u"chkFillTrack2", FillField::Track2}};
    int row = 0;
    for (const FieldSpec &f : v2Fields)
        edits_.append({f.value, addField(v2Grid, row++, f, fillSwitches_, v2Main)});
    cboGenre2 = addGenre(v2Grid, row++, u"2"_s, fillSwitches_, v2Main);
    v2Grid->setRowStretch(row, 1);
    tabTagEditor2->addTab(v2Main, u"ID3v2"_s);

    auto *v2More = new QWidget(tabTagEditor2);
    auto *moreGrid = new QGridLayout(v2More);
    const FieldSpec moreFields[] = {{u"Composer", &TagEditorValues::composer, u"txtComposer", u"chkFillComposer", FillField::Composer},
                                    {u"Original artist", &TagEditorValues::originalArtist, u"txtOriginalArtist", u"chkFillOriginalArtist", FillField::OriginalArtist},
                                    {u"Encoded by", &TagEditorValues::encodedBy, u"txtEncodedBy", u"chkFillEncodedBy", FillField::EncodedBy},
                                    {u"User URL", &TagEditorValues::userUrl, u"txtUserUrl", u"chkFillUserUrl", FillField::UserUrl},
                                    {u"User text", &TagEditorValues::userText, u"txtUserText", u"chkFillUserText", FillField::UserText},
                                    {u"Artist URL", &TagEditorValues::artistUrl, u"txtArtistUrl", u"chkFillArtistUrl", FillField::ArtistUrl},
                                    {u"Unique key", &TagEditorValues::uniqueKey, u"txtUniqueKey", nullptr, FillField::Count},
                                    {u"Preference", &TagEditorValues::preference, u"txtPreference", u"chkFillPreference", FillField::Preference},
                                    {u"Tempo", &TagEditorValues::tempo, u"txtTempo", u"chkFillTempo", FillField::Tempo},
                                    {u"Mood", &TagEditorValues::mood, u"txtMood", u"chkFillMood", FillField::Mood},
                                    {u"Situation", &TagEditorValues::situation, u"txtSituation", u"chkFillSituation", FillField::Situation},
                                    {u"Copyright", &TagEditorValues::copyright, u"txtCopyright", u"chkFillCopyright", FillField::Copyright}};
    row = 0;
    for (const FieldSpec &f : moreFields)
        edits_.append({f.value, addField(moreGrid, row++, f, fillSwitches_, v2More)});
    tabTagEditor2->addTab(v2More, u"ID3v2 extended"_s);

    buildLyricsAndPictureTabs();
}

void TagEditorPanel::buildLyricsAndPictureTabs()
{
    auto *lyricsTab = new QWidget(tabTagEditor2);
    auto *lyricsBox = new QVBoxLayout(lyricsTab);
    txtLyrics = new QPlainTextEdit(lyricsTab);
    txtLyrics->setObjectName(u"txtLyrics"_s);
    lyricsBox->addWidget(txtLyrics);
    tabTagEditor2->addTab(lyricsTab, u"Lyrics"_s);

    auto *pictureTab = new QWidget(tabTagEditor2);
    auto *pictureGrid = new QGridLayout(pictureTab);
    imgCoverArt = new QLabel(pictureTab);
    imgCoverArt->setObjectName(u"imgCoverArt"_s);
    imgCoverArt->setFixedSize(120, 120);
    imgCoverArt->setFrameShape(QFrame::StyledPanel);
    imgCoverArt->setAlignment(Qt::AlignCenter);
    imgCoverArt->setToolTip(u"Click to see the picture at full size"_s);
    imgCoverArt->installEventFilter(this);
    pictureGrid->addWidget(imgCoverArt, 0, 0, 3, 1);
    ButtonEx *change = command(u"&Change picture"_s, u"cmdChangeCover"_s, pictureTab);
    connect(change, &ButtonEx::clicked, this, &TagEditorPanel::changeCover);
    pictureGrid->addWidget(change, 0, 1);
    ButtonEx *clear = command(u"C&lear picture"_s, u"cmdClearPicture"_s, pictureTab);
    connect(clear, &ButtonEx::clicked, this, [this] { setCoverArt({}); });
    pictureGrid->addWidget(clear, 1, 1);
    QCheckBox *fillCover = addFillSwitch(u"chkFillCoverArt"_s, FillField::CoverArt, fillSwitches_, pictureTab);
    fillCover->setText(u"Fill"_s);
    pictureGrid->addWidget(fillCover, 2, 1);
    pictureGrid->setColumnStretch(2, 1);
    tabTagEditor2->addTab(pictureTab, u"Picture"_s);
}

void TagEditorPanel::buildFileInfoTab()
{
    // Second tab: the shown file and its audio facts.
    auto *infoTab = new QWidget(tabTagEditor);
    auto *infoGrid = new QGridLayout(infoTab);
    imgFile = new QLabel(infoTab);
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
}
