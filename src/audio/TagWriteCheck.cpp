#include "audio/TagWriteCheck.h"

#include "audio/Mp3FileBytes.h"
#include "audio/SafeFileRewrite.h"

#include <QHash>
#include <QFile>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace TagWriteCheck {

namespace {

// A value as a message shows it: quoted, and short, whatever a file holds.
QString quoted(const QString &text)
{
    constexpr qsizetype Longest = 40;
    return u'"' + (text.size() > Longest ? text.left(Longest) + u"..."_s : text) + u'"';
}

QString differs(const QString &what, const QString &found, const QString &wanted)
{
    return what + u" reads "_s + quoted(found) + u" instead of "_s + quoted(wanted);
}

QString trackText(qint16 track)
{
    return track < 0 ? QString() : QString::number(track);
}

void compareV1(const ID3::ID3v1Record &record, const ID3::ID3v1Record &found, QStringList &out)
{
    if (!found.exists) {
        out.append(u"the ID3v1 tag is missing"_s);
        return;
    }
    // What the trailer can hold of the record: ISO-8859-1, cut to the field widths, the track
    // byte taking the comment's last two places.
    const ID3::ID3v1Record wanted = ID3::decodeTrailer(ID3::encodeTrailer(record, 0.0f));
    const auto text = [&out](const char *name, const QString &got, const QString &want) {
        if (got != want)
            out.append(differs(u"ID3v1 "_s + QLatin1StringView(name), got, want));
    };
    text("Title", found.title, wanted.title);
    text("Artist", found.artist, wanted.artist);
    text("Album", found.album, wanted.album);
    text("Year", found.year, wanted.year);
    text("Comment", found.comment, wanted.comment);
    text("Track", trackText(found.track), trackText(wanted.track));
    text("Genre", QString::number(found.genre), QString::number(wanted.genre));
}

} // namespace

// A fast 64-bit hash (the check looks for accidents, not for attacks) chained from piece to
// piece, seeded with the length.
void AudioHasher::add(QByteArrayView chunk)
{
    value_ = qHashBits(chunk.data(), size_t(chunk.size()), value_);
}

QByteArray AudioHasher::result() const
{
    const quint64 v = value_;
    return QByteArray(reinterpret_cast<const char *>(&v), sizeof v);
}

FileBefore readBefore(const QString &path, qint64 keepAtMost)
{
    Mp3FileBytes file(path);
    if (!file.isOpen())
        return {};
    const qint64 start = file.audioStart();
    const qint64 end = std::max(start, file.size() - (file.hasV1() ? ID3::TrailerSize : 0));
    AudioHasher hash(end - start);
    if (file.size() > keepAtMost) {
        if (!file.readRange(start, end, [&hash](QByteArrayView chunk) { hash.add(chunk); }))
            return {};
        return {hash.result(), std::nullopt};
    }
    QByteArray bytes(file.size(), Qt::Uninitialized);
    if (!file.readExactly(0, bytes.data(), bytes.size()))
        return {};
    for (qint64 at = start; at < end; at += Mp3FileBytes::RangeChunk)
        hash.add(QByteArrayView(bytes).sliced(at, std::min(Mp3FileBytes::RangeChunk, end - at)));
    return {hash.result(), std::move(bytes)};
}

QByteArray audioHash(const QString &path)
{
    return readBefore(path, -1).audioHash;
}

bool putBack(const QString &path, const QByteArray &bytes)
{
    const auto write = [&bytes](QFile &, QFile &copy) { return copy.write(bytes) == bytes.size(); };
    const auto check = [&bytes](const QString &copy) {
        QFile file(copy);
        return file.open(QIODevice::ReadOnly) && file.readAll() == bytes;
    };
    return SafeFileRewrite::replaceWithWrittenCopy(path, write, check) == SafeFileRewrite::Outcome::Ok;
}

QList<V2Field> storedForms(const ID3Edit &tagger, QList<V2Field> fields)
{
    ID3Edit stored;
    stored.loadStoredForm(tagger);
    for (V2Field &field : fields)
        field.value = (stored.*field.read)();
    return fields;
}

QStringList differences(const WrittenTags &written, const QString &path, const ID3Edit &v2,
                        const ID3::ID3v1Record &v1)
{
    QStringList out;
    if (!written.audioHash.isEmpty() && audioHash(path) != written.audioHash)
        out.append(u"the audio data changed"_s);
    for (const V2Field &field : written.v2) {
        const QString found = (v2.*field.read)();
        if (found != field.value)
            out.append(differs(u"ID3v2 "_s + field.name, found, field.value));
    }
    if (written.picture && v2.Picture() != *written.picture)
        out.append(written.picture->isNull() ? u"the ID3v2 tag holds a picture it should not"_s
                                             : u"the ID3v2 picture is missing or changed"_s);
    if (written.v1)
        compareV1(*written.v1, v1, out);
    return out;
}

} // namespace TagWriteCheck
