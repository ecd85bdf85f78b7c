#include "naming/MaskLanguage.h"

#include "foundation/Common.h"
#include "foundation/cIniFile.h"
#include "naming/NamingText.h"

#include <algorithm>

using namespace Qt::StringLiterals;

const QList<MaskVariable> &maskVariables()
{
    static const QList<MaskVariable> table = {
        {MaskVariableId::Track, u"%track"_s, u"the track number of the file's track (\"01\")"_s, u"01"_s, 4, true, true},
        {MaskVariableId::Title, u"%title"_s, u"the track's title"_s, u"Paper Kites"_s, 3, true, true},
        {MaskVariableId::Artist, u"%artist"_s, u"the album artist"_s, u"Quillon"_s, 0, true, false},
        {MaskVariableId::Album, u"%album"_s, u"the album title"_s, u"Tidal Lanterns"_s, 1, true, false},
        {MaskVariableId::Year, u"%year"_s, u"the album year"_s, u"1999"_s, 2, true, false},
        {MaskVariableId::Genre, u"%genre"_s, u"the album genre"_s, u"Rock"_s, 5, true, false},
        {MaskVariableId::Comment, u"%comment"_s, u"the comment text"_s, u"Remastered"_s, 6, true, false},
        {MaskVariableId::FileName, u"%filename"_s, u"the file's current name"_s, u"quillon_paper_kites"_s, 7, false, true},
        {MaskVariableId::FileNumber, u"%filenumber"_s, u"the file's running number in the list (1 for the first)"_s,
         u"1"_s, 8, false, false},
    };
    return table;
}

QList<MaskVariable> maskVariablesInSubstitutionOrder()
{
    QList<MaskVariable> ordered = maskVariables();
    std::sort(ordered.begin(), ordered.end(),
              [](const MaskVariable &a, const MaskVariable &b) { return a.substitutionRank < b.substitutionRank; });
    return ordered;
}

QString maskVariablesHelp()
{
    QString help;
    for (const MaskVariable &v : maskVariables())
        help += v.name + u"\t"_s + v.description + u'\n';
    help += u"\\\tends a folder name: the text after the last \\ is the file name"_s;
    return help;
}

int maxMaskLength()
{
    return cIniFile::MaxReadLength;
}

QString maskLengthProblem(const QString &maskText)
{
    // The mask files give back at most this many characters: a longer mask would come back
    // cut, without its variables, on the next start.
    if (maskText.size() <= maxMaskLength())
        return {};
    return u"The mask is too long (%1 characters, at most %2)."_s.arg(maskText.size()).arg(maxMaskLength());
}

MaskCheck validateMask(const QString &maskText)
{
    MaskCheck check;
    check.text = Common::replaceText(maskText, u"/"_s, u"\\"_s);
    const QString &t = check.text;

    const auto fail = [&check](const QString &message) {
        check.valid = false;
        check.message = message;
        return check;
    };

    if (const QString tooLong = maskLengthProblem(t); !tooLong.isEmpty())
        return fail(tooLong);
    const QString forbidden = findForbiddenCharacter(t, true);
    if (!forbidden.isEmpty())
        return fail(u"Character not allowed -> "_s + forbidden);
    if (t.endsWith(u'\\'))
        return fail(u"Character \\ not allowed at end"_s);
    if (t.startsWith(u'.'))
        return fail(u"Character . not allowed at start"_s);
    if (t.startsWith(u' '))
        return fail(u"Blank Character not allowed at start"_s);
    if (t.startsWith(u'\\'))
        return fail(u"Character \\ not allowed at start"_s);
    if (t.contains(u"\\ "_s))
        return fail(u"Character \\ followed by a blank character is not allowed"_s);
    if (t.contains(u"\\\\"_s))
        return fail(u"Characters \\\\ not allowed"_s);
    if (t.contains(u"\\."_s))
        return fail(u"Characters \\. not allowed"_s);
    const QList<MaskVariable> &vars = maskVariables();
    const bool named = std::any_of(vars.begin(), vars.end(), [&t](const MaskVariable &v) {
        return v.distinguishesTracks && t.contains(v.name, Qt::CaseInsensitive);
    });
    if (!named)
        return fail(u"%track, %title or %filename not found"_s);
    // The checks above look at the ordinary space only: a level made of other blanks (a tab, a
    // no-break space) or of dots behind them would still give a folder or file name that
    // cannot be created or that the system silently drops. The name builder cleans values, never
    // the mask's own text.
    for (const QString &level : t.split(u'\\')) {
        const QString core = level.trimmed();
        if (core.isEmpty() || core.count(u'.') == core.size())
            return fail(u"Folder or file name made only of blanks or dots not allowed"_s);
    }

    check.valid = true;
    return check;
}

QString buildMaskPreview(const QString &maskText)
{
    QString preview = maskText;
    for (const MaskVariable &v : maskVariablesInSubstitutionOrder())
        preview = Common::replaceText(preview, v.name, v.sample);
    return preview + u".mp3"_s;
}

MaskEdit insertMaskVariable(const QString &text, int caret, int variableIndex)
{
    const QList<MaskVariable> &vars = maskVariables();
    const int p = std::clamp(caret, 0, int(text.size()));
    if (variableIndex < 0 || variableIndex >= vars.size())
        return {text, p};
    const QString &name = vars[variableIndex].name;
    return {text.left(p) + name + text.mid(p), p + int(name.size())};
}
