#include "naming/NameBuilder.h"

#include "foundation/Basic.h"
#include "naming/MaskLanguage.h"
#include "naming/NamingText.h"
#include "naming/TextEffects.h"

using namespace Qt::StringLiterals;
using Common::PathStyle;

namespace {

// Masks keep "\" as their folder separator so that mask files travel between systems; a "/"
// left in a mask that was edited by hand separates folders on every system, so it counts as one.
QString maskInPathStyle(const QString &mask, PathStyle style)
{
    QString m = mask;
    m.replace(u'/', u'\\');
    m.replace(u'\\', Common::separator(style));
    return m;
}

// "%filename" stands for the name without its extension: the builder appends ".mp3" itself, and
// a name that kept its own would grow by one ".mp3" at every run.
QString withoutExtension(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot > 0 ? fileName.left(dot) : fileName;
}

struct VariableValues
{
    QString artist, album, year, title, track, genre, comment, fileName;
    int fileNumber = 0;
};

VariableValues valuesFor(const AlbumFields &album, const TrackInput &track, PathStyle style)
{
    // Album fields and titles come from web pages and other people's tags: control characters
    // never reach a file name, and no value may open a folder level of its own.
    const auto cleaned = [](const QString &v) { return removeForbiddenCharacters(removeControlCharacters(v)); };
    const auto kept = [style](const QString &v) { return replaceFolderSeparators(removeControlCharacters(v), style); };
    VariableValues values;
    values.artist = cleaned(album.artist);
    values.album = cleaned(album.album);
    values.year = kept(album.year);
    values.title = cleaned(track.title);
    values.track = kept(track.trackText);
    values.genre = kept(Basic::trim(album.genre));
    values.comment = cleaned(album.comment);
    values.fileName = kept(withoutExtension(track.fileName));
    values.fileNumber = track.fileNumber;
    return values;
}

QString valueOf(MaskVariableId id, const VariableValues &v)
{
    switch (id) {
    case MaskVariableId::Artist: return v.artist;
    case MaskVariableId::Album: return v.album;
    case MaskVariableId::Year: return v.year;
    case MaskVariableId::Title: return v.title;
    case MaskVariableId::Track: return v.track;
    case MaskVariableId::Genre: return v.genre;
    case MaskVariableId::Comment: return v.comment;
    case MaskVariableId::FileName: return v.fileName;
    case MaskVariableId::FileNumber: return QString::number(v.fileNumber);
    }
    return {};
}

// One variable after the other over the whole text, so a value holding the spelling of a later
// variable is expanded again by that later step.
QString expandVariables(const QString &text, const VariableValues &values)
{
    QString result = text;
    for (const MaskVariable &var : maskVariablesInSubstitutionOrder()) {
        if (var.id == MaskVariableId::FileNumber && values.fileNumber == 0)
            continue; // "%filenumber" stays as typed for a row without a number
        result = Common::replaceText(result, var.name, valueOf(var.id, values));
    }
    return result;
}

// The destination takes part in the expansion too; a level of it that a value turned into "."
// or ".." must not lead out of it.
QStringList expandedPrefixLevels(const QString &prefix, const VariableValues &values, QChar sep)
{
    if (prefix.isEmpty())
        return {};
    QStringList levels = prefix.split(sep);
    levels.removeLast(); // the prefix ends with a separator
    for (QString &level : levels) {
        const QString expanded = expandVariables(level, values);
        level = expanded == level ? level : makeLevelSafe(expanded);
    }
    return levels;
}

// The file-name level never makes a hidden file (the list and most file managers would not show
// it) nor a nameless ".mp3": leading dots become "_", an empty name is "_".
QString visibleFileName(const QString &name)
{
    qsizetype dots = 0;
    while (dots < name.size() && name.at(dots) == u'.')
        ++dots;
    const QString visible = QString(dots, u'_') + name.mid(dots);
    return visible.isEmpty() ? u"_"_s : visible;
}

// A path built without destination stays relative: empty leading levels are dropped.
void dropLeadingEmptyLevels(QStringList &levels)
{
    while (levels.size() > 1 && levels.first().isEmpty())
        levels.removeFirst();
}

// How many of the mask's last levels come from its variables: from the level of the first album
// or track variable on ("%filename" and "%filenumber" do not count); without any, the last one.
qsizetype variableLevelCount(const QString &mask, QChar sep)
{
    qsizetype start = mask.size() - 1;
    for (const MaskVariable &var : maskVariables()) {
        if (!var.startsVariablePart)
            continue;
        const qsizetype pos = mask.indexOf(var.name);
        if (pos >= 0 && pos < start)
            start = pos;
    }
    return (start >= 0 ? mask.mid(start).count(sep) : 0) + 1;
}

QString withTextEffects(const QString &text, const NamingOptions &options)
{
    QString result = text;
    if (options.textEffect)
        result = applyTextEffect(result, *options.textEffect);
    if (options.replaceSpaces)
        result = Common::replaceText(result, u" "_s, spaceReplacement(*options.replaceSpaces));
    return result;
}

} // namespace

QString destinationPrefix(const QString &destination, const QString &currentDirectory, bool parentFolderExists,
                          PathStyle style)
{
    if (destination == Destination::parentDirectory()) {
        const QString parent = Common::getParentFolder(currentDirectory, style);
        if (!parent.isEmpty() && parentFolderExists)
            return Common::addBackslash(parent, style);
        return Common::addBackslash(currentDirectory, style);
    }
    if (destination == Destination::mp3Directory())
        return Common::addBackslash(currentDirectory, style);
    // A blank destination means the folder of the files, never the folder the program runs in.
    if (Basic::trim(destination).isEmpty())
        return Common::addBackslash(currentDirectory, style);
    return Common::addBackslash(destination, style);
}

bool parentFolderExists(const QString &currentDirectory, PathStyle style)
{
    const QString parent = Common::getParentFolder(currentDirectory, style);
    return !parent.isEmpty() && Common::folderExists(parent);
}

QString buildNewFileName(const AlbumFields &album, const NamingOptions &options, const QString &currentDirectory,
                         const TrackInput &track, bool parentExists, PathStyle style)
{
    const QChar sep = Common::separator(style);
    const QString mask = maskInPathStyle(options.mask, style);
    const VariableValues values = valuesFor(album, track, style);

    // The destination's levels, then the mask's, each expanded on its own: no value holds a
    // separator, so the levels stay as the mask draws them.
    const QString prefix = destinationPrefix(options.destination, currentDirectory, parentExists, style);
    QStringList levels = expandedPrefixLevels(prefix, values, sep);
    QStringList maskLevels;
    for (const QString &level : mask.split(sep))
        maskLevels << expandVariables(level, values);
    if (prefix.isEmpty())
        dropLeadingEmptyLevels(maskLevels);
    levels += maskLevels;

    // The text effects reach the variable levels only: the destination and the mask's fixed
    // leading folders keep their spelling. They run over those levels as one text, so the
    // alternating capitals count on across a folder boundary.
    if (options.textEffect || options.replaceSpaces) {
        const qsizetype variable = std::min(variableLevelCount(mask, sep), levels.size());
        const qsizetype first = levels.size() - variable;
        const QString changed = withTextEffects(levels.mid(first).join(sep), options);
        levels = levels.mid(0, first) + changed.split(sep);
    }

    levels.first() = Basic::ltrim(levels.first());
    levels.last() = Basic::rtrim(levels.last());
    if (prefix.isEmpty())
        dropLeadingEmptyLevels(levels);

    // The last levels are the mask's own: none of them may read as the current or parent folder.
    const qsizetype ownLevels = std::min<qsizetype>(mask.count(sep) + 1, levels.size());
    for (qsizetype i = levels.size() - ownLevels; i < levels.size(); ++i)
        levels[i] = makeLevelSafe(levels[i]);
    levels.last() = visibleFileName(levels.last());
    return levels.join(sep) + u".mp3"_s;
}

QString applyTextEffects(const QString &text, const NamingOptions &options)
{
    return withTextEffects(text, options);
}
