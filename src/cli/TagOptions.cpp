#include "cli/TagOptions.h"

#include "cli/RenameOptions.h"

#include "foundation/Basic.h"
#include "foundation/PrintableText.h"


#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

using TextField = QString TagEditorValues::*;

/// A field as --fill and --set name it: "v1:" or "v2:" and a keyword of "varnelt-cli tags".
struct FieldKeyword
{
    QString name;
    TextField text = nullptr; ///< null for the version-1 genre and the picture
    std::optional<FillField> fill; ///< none for the titles and the lyrics
};

const QList<FieldKeyword> &fieldKeywords()
{
    using V = TagEditorValues;
    using F = FillField;
    static const QList<FieldKeyword> keywords = {
        {u"v1:Title"_s, &V::v1Title, {}},
        {u"v1:Artist"_s, &V::v1Artist, F::Artist},
        {u"v1:Album"_s, &V::v1Album, F::Album},
        {u"v1:Year"_s, &V::v1Year, F::Year},
        {u"v1:Comment"_s, &V::v1Comment, F::Comment},
        {u"v1:Track"_s, &V::v1Track, F::Track},
        {u"v1:Genre"_s, nullptr, F::Genre},
        {u"v2:Title"_s, &V::title, {}},
        {u"v2:Artist"_s, &V::artist, F::Artist2},
        {u"v2:Album"_s, &V::album, F::Album2},
        {u"v2:Year"_s, &V::year, F::Year2},
        {u"v2:Comment"_s, &V::comment, F::Comment2},
        {u"v2:Track"_s, &V::track, F::Track2},
        {u"v2:Genre"_s, &V::genre, F::Genre2},
        {u"v2:Composer"_s, &V::composer, F::Composer},
        {u"v2:OriginalArtist"_s, &V::originalArtist, F::OriginalArtist},
        {u"v2:EncodedBy"_s, &V::encodedBy, F::EncodedBy},
        {u"v2:UserUrl"_s, &V::userUrl, F::UserUrl},
        {u"v2:UserText"_s, &V::userText, F::UserText},
        {u"v2:ArtistUrl"_s, &V::artistUrl, F::ArtistUrl},
        {u"v2:Preference"_s, &V::preference, F::Preference},
        {u"v2:Tempo"_s, &V::tempo, F::Tempo},
        {u"v2:Mood"_s, &V::mood, F::Mood},
        {u"v2:Situation"_s, &V::situation, F::Situation},
        {u"v2:Copyright"_s, &V::copyright, F::Copyright},
        {u"v2:Lyrics"_s, &V::lyrics, {}},
        {u"v2:Picture"_s, nullptr, F::CoverArt},
    };
    return keywords;
}

/// Stores FIELD=VALUE of --fill (fill true) or --set into the options.
QString storeField(const QString &option, const QString &assignment, bool fill, TagCommandOptions &options)
{
    const qsizetype eq = assignment.indexOf(u'=');
    if (eq <= 0)
        return u"%1 expects FIELD=VALUE, not '%2'"_s.arg(option, printableText(assignment));
    const QString name = assignment.left(eq);
    const QString value = assignment.mid(eq + 1);
    const FieldKeyword *keyword = nullptr;
    for (const FieldKeyword &k : fieldKeywords()) {
        if (k.name == name)
            keyword = &k;
    }
    if (!keyword)
        return u"%1: unknown field '%2' (v1: or v2: and a field of varnelt-cli tags)"_s.arg(option,
                                                                                          printableText(name));
    if (fill && !keyword->fill)
        return u"--fill: %1 has no fill switch (titles are set one file at a time with --set)"_s.arg(name);
    if (keyword->text) {
        options.values.*(keyword->text) = value;
    } else if (name == u"v1:Genre") {
        options.values.v1Genre = NoGenreItem;
        const QString genre = Basic::trim(value);
        if (!genre.isEmpty()) {
            const QStringList &names = ID3Edit::genreNames();
            const auto match = std::find_if(names.begin(), names.end(), [&genre](const QString &name) {
                return name.compare(genre, Qt::CaseInsensitive) == 0;
            });
            if (match == names.end())
                return u"%1: '%2' is no genre of the list"_s.arg(option, printableText(value));
            options.values.v1Genre = int(match - names.begin());
        }
    } else if (!value.isEmpty()) {
        const PictureFile picture = readPictureFile(value);
        if (!picture.problem.isEmpty())
            return u"%1 v2:Picture: %2: %3"_s.arg(option, printableText(value), picture.problem);
        options.values.picture = picture.picture;
    } else {
        options.values.picture = {}; // an empty file name clears the picture
    }
    if (fill)
        options.fill.tick(*keyword->fill);
    else if (!options.set.contains(name))
        options.set << name;
    return {};
}

QString setOperation(TagCommandOptions &options, TagCommandOptions::Operation operation, const QString &option)
{
    if (options.operation != TagCommandOptions::Operation::None && options.operation != operation)
        return u"%1: one operation at a time (--fill, --set, --number, --copy or --remove)"_s.arg(option);
    options.operation = operation;
    return {};
}

} // namespace

QString parseTagOptions(const QStringList &args, TagCommandOptions &options)
{
    using Op = TagCommandOptions::Operation;
    bool positionalOnly = false;
    for (int i = 0; i < args.size(); ++i) {
        QString arg = args.at(i);
        if (!positionalOnly && arg == u"--") {
            positionalOnly = true;
            continue;
        }
        if (positionalOnly || !arg.startsWith(u"--")) {
            if (!options.folder.isEmpty())
                return u"tag takes one folder; unexpected argument '%1'"_s.arg(printableText(arg));
            options.folder = arg;
            continue;
        }
        QString problem;
        if (arg == u"--number") {
            problem = setOperation(options, Op::Number, arg);
        } else if (arg == u"--remove") {
            problem = setOperation(options, Op::Remove, arg);
        } else if (arg == u"--total") {
            options.total = true;
        } else if (arg == u"--yes") {
            options.yes = true;
        } else if (arg == u"--id3v2") {
            if (i + 1 >= args.size())
                return u"%1 needs a value"_s.arg(arg);
            problem = parseId3v2Version(args.at(++i), options.id3v2Version);
        } else if (arg == u"--mode" || arg == u"--fill" || arg == u"--set" || arg == u"--only" || arg == u"--copy") {
            if (i + 1 >= args.size())
                return u"%1 needs a value"_s.arg(arg);
            const QString value = args.at(++i);
            if (arg == u"--mode") {
                bool ok = false;
                const std::optional<TagVersions> mode = tagVersionsFromNumber(value.trimmed().toInt(&ok));
                if (!ok || !mode)
                    return u"--mode expects 1 (ID3v1), 2 (ID3v2) or 3 (both), not '%1'"_s.arg(printableText(value));
                options.mode = *mode;
            } else if (arg == u"--fill") {
                problem = setOperation(options, Op::Fill, arg);
                if (problem.isEmpty())
                    problem = storeField(arg, value, true, options);
            } else if (arg == u"--set") {
                problem = setOperation(options, Op::Set, arg);
                if (problem.isEmpty())
                    problem = storeField(arg, value, false, options);
            } else if (arg == u"--only") {
                options.only << value;
            } else if (value == u"v1-to-v2" || value == u"v2-to-v1") {
                problem = setOperation(options, value == u"v1-to-v2" ? Op::CopyV1ToV2 : Op::CopyV2ToV1, arg);
            } else {
                return u"--copy expects v1-to-v2 or v2-to-v1, not '%1'"_s.arg(printableText(value));
            }
        } else {
            return u"unknown option '%1' (see varnelt-cli --help)"_s.arg(printableText(arg));
        }
        if (!problem.isEmpty())
            return problem;
    }
    if (options.folder.isEmpty())
        return u"tag needs a folder: varnelt-cli tag DIR [options]"_s;
    if (options.operation == Op::None)
        return u"tag needs an operation: --fill, --set, --number, --copy or --remove"_s;
    if (options.operation == Op::Set && options.only.size() != 1)
        return u"--set works on one file: name it with exactly one --only"_s;
    if (options.total && options.operation != Op::Number)
        return u"--total goes with --number"_s;
    return {};
}

void applySetFields(const TagCommandOptions &options, TagEditorValues &values)
{
    for (const FieldKeyword &keyword : fieldKeywords()) {
        if (!options.set.contains(keyword.name))
            continue;
        if (keyword.text)
            values.*(keyword.text) = options.values.*(keyword.text);
        else if (keyword.name == u"v1:Genre")
            values.v1Genre = options.values.v1Genre;
        else
            values.picture = options.values.picture;
    }
}
