#include "naming/NamingText.h"
#include "naming/TextEffects.h"
#include "naming/QStringPrinter.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Common::PathStyle;

TEST(ForbiddenCharacters, EveryForbiddenCharacterIsReplaced)
{
    EXPECT_EQ(removeForbiddenCharacters(uR"(a\b/c:d*e?f"g<h>i|j)"_s), u"a-b-c-d-e-f'g-h-i-j"_s);
    EXPECT_EQ(removeForbiddenCharacters(u"Été – ok's [1]"_s), u"Été – ok's [1]"_s);
    EXPECT_EQ(removeForbiddenCharacters(u"\"\""_s), u"''"_s);
}

TEST(ForbiddenCharacters, FinderReportsTheLastOfTheOrder)
{
    EXPECT_EQ(findForbiddenCharacter(u"a:b|c"_s, true), u"|"_s);
    EXPECT_EQ(findForbiddenCharacter(u"|a:b"_s, true), u"|"_s); // the order counts, not the position
    EXPECT_EQ(findForbiddenCharacter(uR"(a\b)"_s, true), QString());
    EXPECT_EQ(findForbiddenCharacter(uR"(a\b)"_s, false), uR"(\)"_s);
    EXPECT_EQ(findForbiddenCharacter(uR"(a\b/c)"_s, false), u"/"_s);
    EXPECT_EQ(findForbiddenCharacter(u"x\"y*"_s, true), u"\""_s);
    EXPECT_EQ(findForbiddenCharacter(u"plain text"_s, false), QString());
}

TEST(CompareForm, PunctuationAndFrenchAccentsOnly)
{
    EXPECT_EQ(normalizeForCompare(u"Été (Live)"_s), u"ete  Live "_s);
    EXPECT_EQ(normalizeForCompare(u"_-[]().,:;/\\*{}!?=|><'%+@#&$`\""_s), QString(30, u' '));
    EXPECT_EQ(normalizeForCompare(u"àâäÀÂÄ ïîìÏÎÌ ôöòÔÖÒ ûüùÛÜÙ çÇ éèêëÉÈÊ"_s),
              u"aaaaaa iiiiii oooooo uuuuuu cc eeeeeee"_s);
    // Everything else stays: letter case, other accents, runs of spaces.
    EXPECT_EQ(normalizeForCompare(u"Señor  Ángel Ë úí"_s), u"Señor  Ángel Ë úí"_s);
}

TEST(SearchText, LastFolderNameCleaned)
{
    const QString folder = uR"(D:\mp3\Foo - Bar_Baz [2001]\)"_s;
    EXPECT_EQ(searchTextFromFolder(folder, true, PathStyle::Windows), u"Foo - Bar Baz"_s);
    EXPECT_EQ(searchTextFromFolder(folder, false, PathStyle::Windows), u"Bar Baz"_s);
    // "- " counts as a separator too; the first of either wins.
    EXPECT_EQ(searchTextFromFolder(uR"(D:\a-b\Foo- Bar - Baz)"_s, false, PathStyle::Windows), u"Bar - Baz"_s);
    // Without a separator the name is taken whole, dots become spaces.
    EXPECT_EQ(searchTextFromFolder(uR"(D:\x.y\Greatest.Hits)"_s, false, PathStyle::Windows), u"Greatest Hits"_s);
    // A bracket of another length stays.
    EXPECT_EQ(searchTextFromFolder(uR"(D:\Album [Live 2])"_s, true, PathStyle::Windows), u"Album [Live 2]"_s);
    // No separator at all: the whole text is the folder name.
    EXPECT_EQ(searchTextFromFolder(u"Foo - Bar"_s, false, PathStyle::Windows), u"Bar"_s);

    EXPECT_EQ(searchTextFromFolder(u"/music/Foo - Bar_Baz [2001]/"_s, true, PathStyle::Posix), u"Foo - Bar Baz"_s);
    EXPECT_EQ(searchTextFromFolder(u"/music/Foo - Bar_Baz [2001]"_s, false, PathStyle::Posix), u"Bar Baz"_s);
    EXPECT_EQ(searchTextFromFolder(u"/music/Artist-Album"_s, false, PathStyle::Posix), u"Artist-Album"_s);
}

TEST(PathSafety, ControlCharactersSeparatorsAndDotLevels)
{
    EXPECT_EQ(removeControlCharacters(QString(u"a\u0000b\tc\r\nd\u001be\u007ff\u009fg"_s)), u"abcdefg"_s);
    EXPECT_EQ(removeControlCharacters(u"Noël ♪ 日本"_s), u"Noël ♪ 日本"_s);

    EXPECT_EQ(replaceFolderSeparators(uR"(a/b\c)"_s, PathStyle::Windows), u"a-b-c"_s);
    EXPECT_EQ(replaceFolderSeparators(uR"(a/b\c)"_s, PathStyle::Posix), uR"(a-b\c)"_s);
    EXPECT_EQ(replaceFolderSeparators(u"1999: live"_s, PathStyle::Windows), u"1999: live"_s);

    EXPECT_EQ(makeLevelSafe(u"."_s), u"_"_s);
    EXPECT_EQ(makeLevelSafe(u".."_s), u"__"_s);
    EXPECT_EQ(makeLevelSafe(u" .. "_s), u" __ "_s);
    EXPECT_EQ(makeLevelSafe(u"..."_s), u"___"_s);
    EXPECT_EQ(makeLevelSafe(u"..a"_s), u"..a"_s);
    EXPECT_EQ(makeLevelSafe(u"   "_s), u"   "_s);
    EXPECT_EQ(makeLevelSafe(QString()), QString());
}

TEST(TextEffects, WordCapitals)
{
    EXPECT_EQ(toCapitals(uR"(the end.of-it\02 - o'neil)"_s), uR"(The End.Of-It\02 - O'neil)"_s);
    EXPECT_EQ(toCapitals(u"ROCK (live)_mix 2nd"_s), u"Rock (live)_mix 2nd"_s);
    EXPECT_EQ(toCapitals(u"a/b"_s), u"A/B"_s); // the POSIX separator starts a level too
    EXPECT_EQ(toCapitals(QString()), QString());
    // Accented letters change case as well, outside the basic plane too.
    EXPECT_EQ(toCapitals(u"ÉTÉ à l'ÎLE"_s), u"Été À L'île"_s);
    EXPECT_EQ(toCapitals(u"𐐨𐐨 𐐨"_s), u"𐐀𐐨 𐐀"_s);
}

TEST(TextEffects, AlternatingCapitalsCountEveryCharacter)
{
    EXPECT_EQ(AltCaps(u"Abc def"_s), u"aBc dEf"_s);
    EXPECT_EQ(AltCaps(u"Zz"_s), u"zZ"_s);
    EXPECT_EQ(AltCaps(u"1aa"_s), u"1Aa"_s);
    // Accented letters are left as they are but still count.
    EXPECT_EQ(AltCaps(u"ééab"_s), u"ééaB"_s);
    EXPECT_EQ(AltCaps(u"𐐨ab"_s), u"𐐨Ab"_s);
}

TEST(TextEffects, EffectChoicesAndSpaceReplacement)
{
    // The drop-down positions as the settings and the CLI give them.
    const auto effect = [](const QString &text, int position) {
        const std::optional<TextEffect> e = textEffectAt(position);
        return e ? applyTextEffect(text, *e) : text;
    };
    EXPECT_EQ(effect(u"abC déf"_s, 0), u"Abc Déf"_s);
    EXPECT_EQ(effect(u"Abc def"_s, 1), u"aBc dEf"_s);
    EXPECT_EQ(effect(u"ABc DÉF"_s, 2), u"abc déf"_s);
    EXPECT_EQ(effect(u"AbC Déf straße"_s, 3), u"ABC DÉF STRASSE"_s);
    EXPECT_EQ(effect(u"AbC"_s, 4), u"AbC"_s);
    EXPECT_EQ(spaceReplacement(spaceReplacementAt(0)), u"_"_s);
    EXPECT_EQ(spaceReplacement(spaceReplacementAt(1)), u"."_s);
    EXPECT_EQ(spaceReplacement(spaceReplacementAt(2)), QString());
    EXPECT_EQ(spaceReplacement(spaceReplacementAt(-1)), QString());
    ASSERT_EQ(textEffectItems().size(), 4);
    EXPECT_EQ(textEffectItems()[1], u"Abc def -> aBc DeF"_s);
    EXPECT_EQ(replaceSpacesItems(), QStringList({u"Underscores"_s, u"Points"_s, u"Nothing"_s}));
}
