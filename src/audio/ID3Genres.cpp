// The genre table of the ID3 module: 256 name slots and the highest valid index, loaded from
// a genre file or from the built-in list.

#include "audio/ID3.h"

#include "foundation/Basic.h"
#include "foundation/MessageGateway.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
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

int loadDefaults()
{
    GenreTable &t = table();
    const QStringList &names = publishedGenres();
    for (qsizetype i = 0; i < names.size(); ++i)
        t.names[std::size_t(i)] = names.at(i);
    t.highest = int(names.size()) - 1;
    return t.highest + 1;
}

GenreLoad defaultsAfter(const QString &problem)
{
    const int count = loadDefaults();
    return {count, Msg::Message {problem + u"\r"_s + u"Defaults will be used."_s, u"Error!"_s, Msg::Icon::Critical,
                                 Msg::Buttons::Ok, {}}};
}

} // namespace

const QStringList &publishedGenres()
{
    // The 80 names of the original list and the 68 extensions, by index: the list every tagger
    // and player reads the genre byte with, so a byte written here reads back as its name there.
    static const QStringList names = QStringLiteral(
        "Blues|Classic Rock|Country|Dance|Disco|Funk|Grunge|Hip-Hop|Jazz|Metal|New Age|Oldies|Other|Pop|R&B|Rap|"
        "Reggae|Rock|Techno|Industrial|Alternative|Ska|Death Metal|Pranks|Soundtrack|Euro-Techno|Ambient|"
        "Trip-Hop|Vocal|Jazz+Funk|Fusion|Trance|Classical|Instrumental|Acid|House|Game|Sound Clip|Gospel|Noise|"
        "AlternRock|Bass|Soul|Punk|Space|Meditative|Instrumental Pop|Instrumental Rock|Ethnic|Gothic|Darkwave|"
        "Techno-Industrial|Electronic|Pop-Folk|Eurodance|Dream|Southern Rock|Comedy|Cult|Gangsta|Top 40|"
        "Christian Rap|Pop/Funk|Jungle|Native American|Cabaret|New Wave|Psychadelic|Rave|Showtunes|Trailer|"
        "Lo-Fi|Tribal|Acid Punk|Acid Jazz|Polka|Retro|Musical|Rock & Roll|Hard Rock|Folk|Folk-Rock|"
        "National Folk|Swing|Fast Fusion|Bebob|Latin|Revival|Celtic|Bluegrass|Avantgarde|Gothic Rock|"
        "Progressive Rock|Psychedelic Rock|Symphonic Rock|Slow Rock|Big Band|Chorus|Easy Listening|Acoustic|"
        "Humour|Speech|Chanson|Opera|Chamber Music|Sonata|Symphony|Booty Bass|Primus|Porn Groove|Satire|"
        "Slow Jam|Club|Tango|Samba|Folklore|Ballad|Power Ballad|Rhythmic Soul|Freestyle|Duet|Punk Rock|"
        "Drum Solo|A capella|Euro-House|Dance Hall|Goa|Drum & Bass|Club-House|Hardcore|Terror|Indie|BritPop|"
        "Afro-Punk|Polsk Punk|Beat|Christian Gangsta Rap|Heavy Metal|Black Metal|Crossover|"
        "Contemporary Christian|Christian Rock|Merengue|Salsa|Thrash Metal|Anime|JPop|SynthPop")
                                         .split(QLatin1Char('|'));
    return names;
}

GenreLoad loadGenreTable(const QString &genreFile)
{
    if (genreFile.isEmpty() || !QFileInfo(genreFile).isFile())
        return {loadDefaults(), {}};

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
    return {count, {}};
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
