// varnelt-cli tags FILE
#include "audio/ID3.h"
#include "audio/ID3Edit.h"
#include "audio/TagAccess.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "foundation/Basic.h"
#include "foundation/PrintableText.h"
#include "album/Mp3InfoText.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

/// One "label: value" line; control characters inside a value (line breaks of the lyrics, ...)
/// are escaped ("\n").
QString line(const QString &label, const QString &value)
{
    return Basic::rtrim(label + u": "_s + printableText(value));
}

/// The version-1 genre as the tag editor's drop-down shows it: the name of the genre number.
QString v1GenreName(const QString &number)
{
    if (number.isEmpty())
        return {};
    const QStringList &names = ID3Edit::genreNames();
    const int index = number.toInt();
    return index >= 0 && index < names.size() ? names.at(index) : QString();
}

} // namespace

int runTagsCommand(const QStringList &args)
{
    if (args.size() != 1)
        return Cli::fail(u"tags takes one file: varnelt-cli tags FILE"_s);
    const QString path = args.first();
    if (!QFileInfo(path).isFile())
        return Cli::fail(u"no such file: %1"_s.arg(printableText(path)));
    Cli::installPresenter();

    ID3Edit tagV2;
    ID3Tag theTag;
    // A file the user may not read would otherwise show as one without tags or audio.
    if (tagV2.Load(path) == ID3Edit::Unreadable)
        return Cli::fail(u"cannot read the file: %1"_s.arg(printableText(path)), Cli::JobErrors);
    theTag.takeRead(path, tagV2.loadedV1Record());
    const TagKeywords::TagSources sources{theTag, tagV2};
    QStringList lines;
    const QStringList v1Keywords{u"Title"_s, u"Artist"_s, u"Album"_s, u"Year"_s, u"Comment"_s, u"Track"_s, u"Genre"_s};
    for (const QString &keyword : v1Keywords) {
        QString value = TagKeywords::getTagValue(keyword, u"v1"_s, sources).value;
        if (keyword == u"Genre")
            value = v1GenreName(value);
        lines << line(u"ID3v1 "_s + keyword, value);
    }
    const QStringList v2Keywords{u"Title"_s,     u"Artist"_s,   u"Album"_s,     u"Year"_s,           u"Comment"_s,
                                 u"Track"_s,     u"Genre"_s,    u"Composer"_s,  u"OriginalArtist"_s, u"EncodedBy"_s,
                                 u"UserUrl"_s,   u"UserText"_s, u"ArtistUrl"_s, u"Preference"_s,     u"Tempo"_s,
                                 u"Mood"_s,      u"Situation"_s, u"Copyright"_s, u"Lyrics"_s};
    for (const QString &keyword : v2Keywords)
        lines << line(u"ID3v2 "_s + keyword, TagKeywords::getTagValue(keyword, u"v2"_s, sources).value);
    const ID3Picture picture = tagV2.Picture();
    lines << line(u"ID3v2 Picture"_s,
                  picture.isNull() ? QString() : u"%1, %2 bytes"_s.arg(picture.mimeType).arg(picture.data.size()));
    for (const QString &info : mp3InfoLines(path, tagV2)) {
        if (!info.isEmpty())
            lines << Basic::rtrim(info);
    }
    for (const QString &l : std::as_const(lines))
        Cli::out() << l << '\n';
    Cli::out().flush();
    return Cli::Success;
}
