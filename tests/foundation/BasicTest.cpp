// The old BASIC text and number rules the program's rules are written in.

#include "foundation/Basic.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(BasicVal, LeadingNumberOfATextOnly)
{
    EXPECT_DOUBLE_EQ(Basic::val(u"199x"_s), 199.0);
    EXPECT_DOUBLE_EQ(Basic::val(u"3/12"_s), 3.0);
    EXPECT_DOUBLE_EQ(Basic::val(u"5.50.4134.600"_s), 5.5);
    EXPECT_DOUBLE_EQ(Basic::val(QString()), 0.0);
    EXPECT_DOUBLE_EQ(Basic::val(u"x12"_s), 0.0);
    EXPECT_DOUBLE_EQ(Basic::val(u"  07 "_s), 7.0);
    EXPECT_DOUBLE_EQ(Basic::val(u"-3 dB"_s), -3.0);
    EXPECT_DOUBLE_EQ(Basic::val(u"+4"_s), 4.0);
    EXPECT_DOUBLE_EQ(Basic::val(u"-"_s), 0.0);
    EXPECT_DOUBLE_EQ(Basic::val(u"."_s), 0.0);
    // Only ASCII digits count: other scripts' digits end the number.
    EXPECT_DOUBLE_EQ(Basic::val(u"12\u0663"_s), 12.0);
}

TEST(BasicIsNumeric, TheWholeTextMustBeANumber)
{
    EXPECT_TRUE(Basic::isNumeric(u"3"_s));
    EXPECT_TRUE(Basic::isNumeric(u" 3 "_s));
    EXPECT_TRUE(Basic::isNumeric(u"-2.5"_s));
    EXPECT_TRUE(Basic::isNumeric(u"1e3"_s));
    EXPECT_FALSE(Basic::isNumeric(QString()));
    EXPECT_FALSE(Basic::isNumeric(u"   "_s));
    EXPECT_FALSE(Basic::isNumeric(u"3/12"_s));
    EXPECT_FALSE(Basic::isNumeric(u"199x"_s));
    EXPECT_FALSE(Basic::isNumeric(uR"(%artist - %album\%track - %title)"_s));
    // Words that a floating-point reader would take for numbers are still words.
    EXPECT_FALSE(Basic::isNumeric(u"inf"_s));
    EXPECT_FALSE(Basic::isNumeric(u"nan"_s));
    EXPECT_FALSE(Basic::isNumeric(u"-INF"_s));
    EXPECT_FALSE(Basic::isNumeric(u"1e999"_s));
}

TEST(BasicRounding, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(Basic::roundEven(2.5), 2);
    EXPECT_EQ(Basic::roundEven(3.5), 4);
    EXPECT_EQ(Basic::roundEven(-2.5), -2);
    EXPECT_EQ(Basic::roundEven(2.4999), 2);
    EXPECT_EQ(Basic::roundEven(2.5001), 3);
    EXPECT_EQ(Basic::roundEven(153.125), 153);
}

TEST(BasicTrim, SpacesOnly)
{
    EXPECT_EQ(Basic::trim(u"  a b  "_s), u"a b"_s);
    EXPECT_EQ(Basic::ltrim(u"  a  "_s), u"a  "_s);
    EXPECT_EQ(Basic::rtrim(u"  a  "_s), u"  a"_s);
    EXPECT_EQ(Basic::trim(u"\ta\t"_s), u"\ta\t"_s);
    EXPECT_EQ(Basic::trim(u"   "_s), QString());
    EXPECT_EQ(Basic::trim(QString()), QString());
}

TEST(BasicFormat, DigitsAndThousands)
{
    EXPECT_EQ(Basic::formatDigits(5, 2), u"05"_s);
    EXPECT_EQ(Basic::formatDigits(0, 2), u"00"_s);
    EXPECT_EQ(Basic::formatDigits(59, 2), u"59"_s);
    EXPECT_EQ(Basic::formatDigits(112, 2), u"112"_s);
    EXPECT_EQ(Basic::formatDigits(-5, 2), u"-05"_s);

    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(Basic::formatThousands(0), u"0"_s);
    EXPECT_EQ(Basic::formatThousands(999), u"999"_s);
    EXPECT_EQ(Basic::formatThousands(1234567), u"1,234,567"_s);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(Basic::formatThousands(1234567), u"1.234.567"_s);
    // The C locale leaves out group separators unless asked: "##,##0" always groups.
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(Basic::formatThousands(12345), u"12,345"_s);
    QLocale::setDefault(saved);
}
