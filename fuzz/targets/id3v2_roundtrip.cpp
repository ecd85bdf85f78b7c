// The ID3v2 tag through our frames layer: read as the tag page reads it, every field written
// into a copy as the tag page writes it, read back: what was read must survive, in the form
// the written frames keep (loadStoredForm), and the audio and the ID3v1 trailer stay.
#include "FuzzSupport.h"
#include "FuzzTargets.h"

#include "audio/ID3Edit.h"

#include <QFile>

namespace {

// Every text field with its getter and setter.
struct Field
{
    QString (ID3Edit::*get)() const;
    void (ID3Edit::*set)(const QString &);
};

const Field Fields[] = {
    {&ID3Edit::Title, &ID3Edit::setTitle},       {&ID3Edit::Artist, &ID3Edit::setArtist},
    {&ID3Edit::ArtistUrl, &ID3Edit::setArtistUrl}, {&ID3Edit::UserUrl, &ID3Edit::setUserUrl},
    {&ID3Edit::Album, &ID3Edit::setAlbum},       {&ID3Edit::OriginalArtist, &ID3Edit::setOriginalArtist},
    {&ID3Edit::Composer, &ID3Edit::setComposer}, {&ID3Edit::EncodedBy, &ID3Edit::setEncodedBy},
    {&ID3Edit::Copyright, &ID3Edit::setCopyright}, {&ID3Edit::Track, &ID3Edit::setTrack},
    {&ID3Edit::Year, &ID3Edit::setYear},         {&ID3Edit::Comment, &ID3Edit::setComment},
    {&ID3Edit::Genre, &ID3Edit::setGenre},       {&ID3Edit::UserText, &ID3Edit::setUserText},
    {&ID3Edit::Lyrics, &ID3Edit::setLyrics},     {&ID3Edit::Tempo, &ID3Edit::setTempo},
    {&ID3Edit::Mood, &ID3Edit::setMood},         {&ID3Edit::Situation, &ID3Edit::setSituation},
    {&ID3Edit::Preference, &ID3Edit::setPreference},
};

} // namespace

int Fuzz::id3v2_roundtrip(const std::uint8_t *data, std::size_t size)
{
    const QString folder = FuzzSupport::freshScratch();
    const QString path = FuzzSupport::writeFile(folder, QStringLiteral("a.mp3"), FuzzSupport::bytes(data, size));
    ID3Edit read;
    if (read.Load(path) != ID3Edit::Ok)
        return 0;

    const QString copy = folder + QStringLiteral("/copy.mp3");
    FUZZ_CHECK(QFile::copy(path, copy));
    ID3Edit writer;
    if (writer.Load(copy) != ID3Edit::Ok)
        return 0;
    for (const Field &f : Fields)
        (writer.*f.set)((read.*f.get)());
    writer.setPicture(read.Picture());
    const ID3Edit::Result saved = writer.SaveV2(copy);
    if (saved != ID3Edit::Ok)
        return 0; // refused (no MPEG audio, a damaged tag): the copy must then be unchanged
    ID3Edit expected;
    expected.loadStoredForm(writer);
    ID3Edit back;
    FUZZ_CHECK(back.Load(copy) == ID3Edit::Ok);
    for (const Field &f : Fields)
        FUZZ_CHECK((back.*f.get)() == (expected.*f.get)());
    FUZZ_CHECK(back.Picture() == expected.Picture());
    FUZZ_CHECK(back.HasV1() == read.HasV1());
    FUZZ_CHECK(back.V1Title() == read.V1Title());
    return 0;
}
