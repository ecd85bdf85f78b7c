#include "naming/MaskLanguage.h"
#include "support/TestEnv.h"
#include "naming/QStringPrinter.h"

using namespace Qt::StringLiterals;

namespace {

QString verdict(const QString &mask)
{
    const MaskCheck check = validateMask(mask);
    return check.valid ? u"valid"_s : check.message;
}

} // namespace

TEST(MaskValidation, EachRuleWithItsMessageInOrder)
{
    EXPECT_EQ(verdict(QString()), u"%track, %title or %filename not found"_s);
    EXPECT_EQ(verdict(u"%artist - %album"_s), u"%track, %title or %filename not found"_s);
    EXPECT_EQ(verdict(u"%filenumber %year %genre %comment"_s), u"%track, %title or %filename not found"_s);
    EXPECT_EQ(verdict(u"%a:b|c %title"_s), u"Character not allowed -> |"_s);
    EXPECT_EQ(verdict(u"%title*"_s), u"Character not allowed -> *"_s);
    EXPECT_EQ(verdict(u"%title?<"_s), u"Character not allowed -> <"_s);
    EXPECT_EQ(verdict(u"%title\""_s), u"Character not allowed -> \""_s);
    EXPECT_EQ(verdict(uR"(%title\)"_s), uR"(Character \ not allowed at end)"_s);
    EXPECT_EQ(verdict(uR"(.\%track)"_s), u"Character . not allowed at start"_s);
    EXPECT_EQ(verdict(u" %track"_s), u"Blank Character not allowed at start"_s);
    EXPECT_EQ(verdict(uR"(\%track)"_s), uR"(Character \ not allowed at start)"_s);
    EXPECT_EQ(verdict(uR"(%artist\ %title)"_s), uR"(Character \ followed by a blank character is not allowed)"_s);
    EXPECT_EQ(verdict(uR"(%artist\\%title)"_s), uR"(Characters \\ not allowed)"_s);
    EXPECT_EQ(verdict(uR"(%artist\.%title)"_s), uR"(Characters \. not allowed)"_s);
    // Levels the rules above let through but no file system would keep: other blanks than the
    // ordinary space, and dots behind them.
    const QString unusable = u"Folder or file name made only of blanks or dots not allowed"_s;
    EXPECT_EQ(verdict(u"\t\\%track"_s), unusable);
    EXPECT_EQ(verdict(u"%artist\\\u00a0..\\%title"_s), unusable);
    EXPECT_EQ(verdict(u"%title\\\u3000"_s), unusable);
    EXPECT_EQ(verdict(u"\u00a0%track"_s), u"valid"_s);
    // The forbidden character is found before any other rule.
    EXPECT_EQ(verdict(uR"( \:)"_s), u"Character not allowed -> :"_s);
    // Only what the mask files give back whole is accepted: 254 characters after the slash
    // conversion; the length is the first rule.
    EXPECT_EQ(verdict(u"%title"_s + QString(248, u'a')), u"valid"_s);
    EXPECT_EQ(verdict(u"%title/"_s + QString(248, u':')),
              u"The mask is too long (255 characters, at most 254)."_s);
}

TEST(MaskValidation, AcceptedMasks)
{
    EXPECT_EQ(verdict(uR"(%artist - %album\%track - %title)"_s), u"valid"_s);
    EXPECT_EQ(verdict(u"%Title"_s), u"valid"_s);     // the required variable ignores letter case
    EXPECT_EQ(verdict(u"%FILENAME"_s), u"valid"_s);
    EXPECT_EQ(verdict(u"%track "_s), u"valid"_s);    // a trailing space passes
    EXPECT_EQ(verdict(uR"(%artist.\%title)"_s), u"valid"_s); // a segment may end in a dot
    EXPECT_EQ(verdict(u"100% %track"_s), u"valid"_s);
}

TEST(MaskValidation, SlashesBecomeBackslashesEvenWhenTheMaskFails)
{
    MaskCheck check = validateMask(u"%track/%title"_s);
    EXPECT_TRUE(check.valid);
    EXPECT_EQ(check.text, uR"(%track\%title)"_s);

    check = validateMask(u"%title/"_s);
    EXPECT_FALSE(check.valid);
    EXPECT_EQ(check.text, uR"(%title\)"_s);
    EXPECT_EQ(check.message, uR"(Character \ not allowed at end)"_s);
}

TEST(MaskPreview, SamplesReplaceExactSpellingsOnly)
{
    EXPECT_EQ(buildMaskPreview(uR"(%artist - %album\%track - %title)"_s),
              uR"(Quillon - Tidal Lanterns\01 - Paper Kites.mp3)"_s);
    EXPECT_EQ(buildMaskPreview(QString()), u".mp3"_s);
    EXPECT_EQ(buildMaskPreview(u"%filenumber"_s), u"1.mp3"_s);
    EXPECT_EQ(buildMaskPreview(u"%filename"_s), u"quillon_paper_kites.mp3"_s);
    EXPECT_EQ(buildMaskPreview(u"%year %genre %comment %Artist a/b "_s), u"1999 Rock Remastered %Artist a/b .mp3"_s);
}

TEST(MaskVariables, OneTableFeedsMenuOrderSubstitutionAndHelp)
{
    const QList<MaskVariable> &vars = maskVariables();
    QStringList names;
    for (const MaskVariable &v : vars)
        names << v.name;
    EXPECT_EQ(names, QStringList({u"%track"_s, u"%title"_s, u"%artist"_s, u"%album"_s, u"%year"_s, u"%genre"_s,
                                  u"%comment"_s, u"%filename"_s, u"%filenumber"_s}));
    QStringList order;
    for (const MaskVariable &v : maskVariablesInSubstitutionOrder())
        order << v.name;
    EXPECT_EQ(order, QStringList({u"%artist"_s, u"%album"_s, u"%year"_s, u"%title"_s, u"%track"_s, u"%genre"_s,
                                  u"%comment"_s, u"%filename"_s, u"%filenumber"_s}));
    const QString help = maskVariablesHelp();
    for (const MaskVariable &v : vars)
        EXPECT_TRUE(help.contains(v.name + u'\t' + v.description)) << qPrintable(v.name);
}

TEST(MaskInsertion, AtTheCaretKeepingTheRest)
{
    const MaskEdit edit = insertMaskVariable(u"abcdef"_s, 3, 4);
    EXPECT_EQ(edit.text, u"abc%yeardef"_s);
    EXPECT_EQ(edit.caret, 8);

    EXPECT_EQ(insertMaskVariable({}, 0, 8).text, u"%filenumber"_s);
    EXPECT_EQ(insertMaskVariable(u"ab"_s, 2, 0).caret, 8);
    // A caret beyond the text inserts at the end; an unknown index changes nothing.
    EXPECT_EQ(insertMaskVariable(u"ab"_s, 10, 1).text, u"ab%title"_s);
    EXPECT_EQ(insertMaskVariable(u"ab"_s, 1, 9).text, u"ab"_s);
    EXPECT_EQ(insertMaskVariable(u"ab"_s, 1, -1).caret, 1);
}
