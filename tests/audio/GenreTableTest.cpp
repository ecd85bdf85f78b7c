// The ID3v1 genre table: the built-in names, lookups both ways and loading a genre file.

#include "audio/ID3.h"
#include "audio/ID3Edit.h"

#include "support/TestEnv.h"

#include <QFile>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

class GenreTableTest : public VarneltTest
{
protected:
    void SetUp() override
    {
        VarneltTest::SetUp();
        ID3::loadGenreTable({});
    }
    // The table is program-wide: leave the defaults behind for the other tests.
    void TearDown() override
    {
        ID3::loadGenreTable({});
        VarneltTest::TearDown();
    }
    // As the program would: the loader hands back its problem, the caller shows it.
    static int load(const QString &file)
    {
        const ID3::GenreLoad loaded = ID3::loadGenreTable(file);
        if (loaded.problem)
            Msg::ask(*loaded.problem);
        return loaded.count;
    }
};

TEST_F(GenreTableTest, DefaultTableIsThePublishedList)
{
    EXPECT_EQ(load({}), 148);
    EXPECT_EQ(ID3::highestGenreIndex(), 147);
    EXPECT_EQ(ID3::genreNameOf(0), u"Blues"_s);
    EXPECT_EQ(ID3::genreNameOf(44), u"Space"_s);
    EXPECT_EQ(ID3::genreNameOf(81), u"Folk-Rock"_s);
    EXPECT_EQ(ID3::genreNameOf(84), u"Fast Fusion"_s);
    // Bytes other programs wrote from 84 on read back as the names they meant.
    EXPECT_EQ(ID3::genreNameOf(85), u"Bebob"_s);
    EXPECT_EQ(ID3::genreNameOf(115), u"Folklore"_s);
    EXPECT_EQ(ID3::genreNameOf(147), u"SynthPop"_s);
    EXPECT_EQ(ID3::genreNameOf(148), u"148 (Unknown)"_s);
    EXPECT_EQ(ID3::genreNameOf(255), u"255 (Unknown)"_s);
    EXPECT_EQ(load(tempFile(u"no-such-file.txt"_s)), 148);
    // One list for the trailer and the version-2 component: what one writes the other names alike.
    for (int i = 0; i <= 147; ++i)
        EXPECT_EQ(ID3::genreNameOf(quint8(i)), ID3Edit::genreNames().at(i)) << i;
}

TEST_F(GenreTableTest, IndexOfIgnoresLetterCase)
{
    EXPECT_EQ(ID3::genreIndexOf(u"ROCK"_s), 17);
    EXPECT_EQ(ID3::genreIndexOf(u"rock & roll"_s), 78);
    EXPECT_EQ(ID3::genreIndexOf(u"Bebob"_s), 85);
    EXPECT_EQ(ID3::genreIndexOf(u"Rock "_s), 255);
    EXPECT_EQ(ID3::genreIndexOf(u"Polsk Punk"_s), 134);
    for (int i = 0; i <= 147; ++i)
        EXPECT_EQ(ID3::genreIndexOf(ID3::genreNameOf(quint8(i))), i) << i;
}

TEST_F(GenreTableTest, GenreFileReplacesTheTable)
{
    const QString file = writeFile(u"genres.txt"_s, "  Zeroth  \r\nFirst\nSecond\n");
    EXPECT_EQ(load(file), 3);
    EXPECT_EQ(ID3::highestGenreIndex(), 2);
    EXPECT_EQ(ID3::genreNameOf(0), u"Zeroth"_s);
    EXPECT_EQ(ID3::genreNameOf(2), u"Second"_s);
    EXPECT_EQ(ID3::genreNameOf(3), u"3 (Unknown)"_s);
    EXPECT_EQ(ID3::genreIndexOf(u"blues"_s), 255);
    EXPECT_EQ(answers->count(), 0);

    QByteArray many;
    for (int i = 0; i < 300; ++i)
        many += "Genre " + QByteArray::number(i) + "\n";
    EXPECT_EQ(load(writeFile(u"many.txt"_s, many)), 256);
    EXPECT_EQ(ID3::genreNameOf(255), u"Genre 255"_s);
}

TEST_F(GenreTableTest, UnusableGenreFileFallsBackToDefaultsWithAMessage)
{
    EXPECT_EQ(load(writeFile(u"empty.txt"_s, {})), 148);
    ASSERT_EQ(answers->count(), 1);
    const Msg::Message m = answers->messages().first();
    EXPECT_EQ(m.text, u"The specified file contains no genre information!\rDefaults will be used."_s);
    EXPECT_EQ(m.title, u"Error!"_s);
    EXPECT_EQ(m.icon, Msg::Icon::Critical);
    EXPECT_EQ(ID3::genreNameOf(115), u"Folklore"_s);

    if (geteuid() != 0) { // root reads any file
        const QString locked = writeFile(u"locked.txt"_s, "Rock\n");
        QFile::setPermissions(locked, {});
        EXPECT_EQ(load(locked), 148);
        ASSERT_EQ(answers->count(), 2);
        EXPECT_EQ(answers->lastText(), u"Couldn't open the genre file!\rDefaults will be used."_s);
    }
}

} // namespace
