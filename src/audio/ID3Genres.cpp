// The genre table of the ID3 module: 256 name slots and the highest valid index, loaded from
// a genre file or from the built-in list.

#include "audio/ID3.h"

#include "foundation/Basic.h"
#include "foundation/MessageGateway.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <array>

using namespace Qt::StringLiterals;

namespace ID3 {
namespace {

struct GenreTable {
    std::array<QString, 256> names;
    int highest = 0;
};

GenreTable &table()
{
    static GenreTable t;
    return t;
}

// Our own list: it follows the published one up to 83, then leaves out one name, so from
// "Bebob" on every name stands one index lower. Written tags depend on these indices.
constexpr std::array<const char16_t *, 115> kDefaultGenres{
    u"Blues", u"Classic Rock", u"Country", u"Dance", u"Disco", u"Funk", u"Grunge", u"Hip-Hop", u"Jazz",
    u"Metal", u"New Age", u"Oldies", u"Other", u"Pop", u"R&B", u"Rap", u"Reggae", u"Rock", u"Techno",
    u"Industrial", u"Alternative", u"Ska", u"Death Metal", u"Pranks", u"Soundtrack", u"Euro-Techno",
    u"Ambient", u"Trip-Hop", u"Vocal", u"Jazz+Funk", u"Fusion", u"Trance", u"Classical", u"Instrumental",
    u"Acid", u"House", u"Game", u"Sound Clip", u"Gospel", u"Noise", u"AlternRock", u"Bass", u"Soul",
    u"Punk", u"Space Music", u"Meditative", u"Instrumental Pop", u"Instrumental Rock", u"Ethnic",
    u"Gothic", u"Darkwave", u"Techno-Industrial", u"Electronic", u"Pop-Folk", u"Eurodance", u"Dream",
    u"Southern Rock", u"Comedy", u"Cult", u"Gangsta", u"Top 40", u"Christian Rap", u"Pop/Funk",
    u"Jungle", u"Native American", u"Cabaret", u"New Wave", u"Psychadelic", u"Rave", u"Showtunes",
    u"Trailer", u"Lo-Fi", u"Tribal", u"Acid Punk", u"Acid Jazz", u"Polka", u"Retro", u"Musical",
    u"Rock & Roll", u"Hard Rock", u"Folk", u"Folk/Rock", u"National Folk", u"Swing", u"Bebob", u"Latin",
    u"Revival", u"Celtic", u"Bluegrass", u"Avantgarde", u"Gothic Rock", u"Progressive Rock",
    u"Psychedelic Rock", u"Symphonic Rock", u"Slow Rock", u"Big Band", u"Chorus", u"Easy Listening",
    u"Acoustic", u"Humour", u"Speech", u"Chanson", u"Opera", u"Chamber Music", u"Sonata", u"Symphony",
    u"Booty Bass", u"Primus", u"Porn Groove", u"Satire", u"Slow Jam", u"Club", u"Tango", u"Samba",
    u"Folklore"};

int loadDefaults()
{
    GenreTable &t = table();
    for (std::size_t i = 0; i < kDefaultGenres.size(); ++i)
        t.names[i] = QString::fromUtf16(kDefaultGenres[i]);
    t.highest = int(kDefaultGenres.size()) - 1;
    return t.highest + 1;
}

int defaultsAfter(const QString &problem)
{
    Msg::ask(problem + u"\r"_s + u"Defaults will be used."_s, u"Error!"_s, Msg::Icon::Critical);
    return loadDefaults();
}

} // namespace

int loadGenreTable(const QString &genreFile)
{
    if (genreFile.isEmpty() || !QFileInfo(genreFile).isFile())
        return loadDefaults();

    QFile file(genreFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return defaultsAfter(u"Couldn't open the genre file!"_s);

    // Like the program's other text files, the genre file is UTF-8.
    QTextStream in(&file);
    std::array<QString, 256> names;
    int count = 0;
    while (count < int(names.size()) && !in.atEnd())
        names[std::size_t(count++)] = Basic::trim(in.readLine());
    file.close();
    if (count == 0)
        return defaultsAfter(u"The specified file contains no genre information!"_s);

    GenreTable &t = table();
    for (int i = 0; i < count; ++i)
        t.names[std::size_t(i)] = names[std::size_t(i)];
    t.highest = count - 1;
    return count;
}

int highestGenreIndex()
{
    return table().highest;
}

QString genreNameOf(quint8 index)
{
    const GenreTable &t = table();
    if (index > t.highest)
        return QString::number(index) + u" (Unknown)"_s;
    return t.names[index];
}

quint8 genreIndexOf(const QString &name)
{
    const GenreTable &t = table();
    const QString wanted = name.toLower();
    for (int i = 0; i <= t.highest; ++i)
        if (t.names[std::size_t(i)].toLower() == wanted)
            return quint8(i);
    return 255;
}

} // namespace ID3
