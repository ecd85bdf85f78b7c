// The product version of a Windows program file, read from its VS_VERSIONINFO resource by a
// small reader of our own so it works on every platform.

#include "foundation/Common.h"

#include <QFile>
#include <QStringList>

#include <optional>

using namespace Qt::StringLiterals;

namespace Common {

namespace {

constexpr quint32 RtVersion = 16;               // resource type of the version information
constexpr quint32 FixedInfoSignature = 0xFEEF04BD;
constexpr qint64 MaxFileSize = 512LL << 20;     // larger files are not program files we read

// Little-endian reads that fail instead of reading past the end.
struct Bytes
{
    const uchar *data;
    qint64 size;

    [[nodiscard]] bool has(qint64 offset, qint64 length) const
    {
        return offset >= 0 && length >= 0 && offset <= size && length <= size - offset;
    }
    [[nodiscard]] std::optional<quint16> u16(qint64 offset) const
    {
        if (!has(offset, 2))
            return std::nullopt;
        return quint16(data[offset] | (data[offset + 1] << 8));
    }
    [[nodiscard]] std::optional<quint32> u32(qint64 offset) const
    {
        if (!has(offset, 4))
            return std::nullopt;
        return quint32(data[offset]) | (quint32(data[offset + 1]) << 8) | (quint32(data[offset + 2]) << 16)
            | (quint32(data[offset + 3]) << 24);
    }
};

struct Section
{
    quint32 virtualAddress;
    quint32 virtualSize;
    quint32 rawSize;
    quint32 rawOffset;
};

// A file offset for a relative virtual address, inside one section's raw data.
std::optional<qint64> rvaToOffset(const QList<Section> &sections, quint32 rva)
{
    for (const Section &s : sections) {
        const quint64 span = std::max(s.virtualSize, s.rawSize);
        if (rva >= s.virtualAddress && rva < quint64(s.virtualAddress) + span) {
            const quint32 delta = rva - s.virtualAddress;
            if (delta >= s.rawSize)
                return std::nullopt;
            return qint64(s.rawOffset) + delta;
        }
    }
    return std::nullopt;
}

enum class Outcome { NoResource, Damaged, Found };

struct Reading
{
    Outcome outcome = Outcome::NoResource;
    QString version;
};

Reading damaged() { return {Outcome::Damaged, {}}; }

// Follows one level of the resource tree: the entry with the wanted id (or the first entry when
// no id is wanted). Returns the entry's OffsetToData field, or nothing when there is no entry.
std::optional<quint32> resourceEntry(const Bytes &b, qint64 directory, std::optional<quint32> wantedId, bool *bad)
{
    const auto named = b.u16(directory + 12);
    const auto ids = b.u16(directory + 14);
    if (!named || !ids) {
        *bad = true;
        return std::nullopt;
    }
    const int count = *named + *ids;
    for (int i = 0; i < count; ++i) {
        const qint64 entry = directory + 16 + qint64(i) * 8;
        const auto name = b.u32(entry);
        const auto target = b.u32(entry + 4);
        if (!name || !target) {
            *bad = true;
            return std::nullopt;
        }
        if (!wantedId || (!(*name & 0x80000000u) && *name == *wantedId))
            return *target;
    }
    return std::nullopt;
}

Reading readVersion(const Bytes &b)
{
    // DOS header "MZ", e_lfanew at 0x3C pointing to "PE\0\0".
    if (b.u16(0) != quint16(0x5A4D))
        return {};
    const auto peOffset = b.u32(0x3C);
    if (!peOffset || b.u32(*peOffset) != quint32(0x00004550))
        return {};
    const qint64 coff = qint64(*peOffset) + 4;
    const auto sectionCount = b.u16(coff + 2);
    const auto optionalSize = b.u16(coff + 16);
    const qint64 optional = coff + 20;
    const auto magic = b.u16(optional);
    if (!sectionCount || !optionalSize || !magic)
        return damaged();
    // PE32 keeps its data directories at 96, PE32+ at 112; the count stands just before.
    qint64 directories = 0;
    if (*magic == 0x10B)
        directories = optional + 96;
    else if (*magic == 0x20B)
        directories = optional + 112;
    else
        return damaged();
    const auto directoryCount = b.u32(directories - 4);
    if (!directoryCount)
        return damaged();
    if (*directoryCount <= 2 || directories + 3 * 8 > optional + *optionalSize)
        return {};
    const auto resourceRva = b.u32(directories + 2 * 8);
    const auto resourceSize = b.u32(directories + 2 * 8 + 4);
    if (!resourceRva || !resourceSize)
        return damaged();
    if (*resourceRva == 0 || *resourceSize == 0)
        return {};

    QList<Section> sections;
    const qint64 table = optional + *optionalSize;
    for (int i = 0; i < *sectionCount; ++i) {
        const qint64 at = table + qint64(i) * 40;
        const auto vsize = b.u32(at + 8), vaddr = b.u32(at + 12), rsize = b.u32(at + 16), roff = b.u32(at + 20);
        if (!vsize || !vaddr || !rsize || !roff)
            return damaged();
        sections.append({*vaddr, *vsize, *rsize, *roff});
    }
    const auto base = rvaToOffset(sections, *resourceRva);
    if (!base)
        return damaged();

    // Three levels: type (RT_VERSION), name, language; the last points to a data entry.
    bool bad = false;
    const auto typeEntry = resourceEntry(b, *base, RtVersion, &bad);
    if (bad)
        return damaged();
    if (!typeEntry)
        return {};
    if (!(*typeEntry & 0x80000000u))
        return damaged();
    const auto nameEntry = resourceEntry(b, *base + (*typeEntry & 0x7FFFFFFFu), std::nullopt, &bad);
    if (bad || !nameEntry || !(*nameEntry & 0x80000000u))
        return damaged();
    const auto langEntry = resourceEntry(b, *base + (*nameEntry & 0x7FFFFFFFu), std::nullopt, &bad);
    if (bad || !langEntry || (*langEntry & 0x80000000u))
        return damaged();
    const qint64 dataEntry = *base + *langEntry;
    const auto dataRva = b.u32(dataEntry);
    const auto dataSize = b.u32(dataEntry + 4);
    if (!dataRva || !dataSize)
        return damaged();
    const auto info = rvaToOffset(sections, *dataRva);
    if (!info || !b.has(*info, *dataSize))
        return damaged();

    // VS_VERSIONINFO: wLength, wValueLength, wType, L"VS_VERSION_INFO\0", padding to 32 bits,
    // then the 52-byte VS_FIXEDFILEINFO.
    const auto valueLength = b.u16(*info + 2);
    static const QString key = u"VS_VERSION_INFO"_s;
    if (!valueLength || *valueLength < 52 || !b.has(*info + 6, (key.size() + 1) * 2))
        return damaged();
    for (qsizetype i = 0; i <= key.size(); ++i) {
        const char16_t expected = i < key.size() ? key.at(i).unicode() : u'\0';
        if (b.u16(*info + 6 + i * 2) != quint16(expected))
            return damaged();
    }
    const qint64 fixed = (*info + 6 + (key.size() + 1) * 2 + 3) & ~qint64(3);
    if (fixed + 52 > *info + *dataSize || b.u32(fixed) != FixedInfoSignature)
        return damaged();
    const quint32 productMs = *b.u32(fixed + 16);
    const quint32 productLs = *b.u32(fixed + 20);
    const QStringList parts = {QString::number(qint16(productMs >> 16)), QString::number(qint16(productMs & 0xFFFF)),
                               QString::number(qint16(productLs >> 16)), QString::number(qint16(productLs & 0xFFFF))};
    return {Outcome::Found, parts.join(u'.')};
}

} // namespace

QString getFileVersion(const QString &fileName)
{
    QFile file(fileName);
    if (fileName.isEmpty() || !fileExists(fileName) || !file.open(QIODevice::ReadOnly))
        return QString();
    if (file.size() == 0)
        return QString();
    if (file.size() > MaxFileSize)
        return u"N/A"_s;
    Bytes bytes{file.map(0, file.size()), file.size()};
    QByteArray copy;
    if (bytes.data == nullptr) {
        copy = file.readAll();
        if (copy.size() != file.size())
            return u"N/A"_s;
        bytes = Bytes{reinterpret_cast<const uchar *>(copy.constData()), copy.size()};
    }
    const Reading reading = readVersion(bytes);
    switch (reading.outcome) {
    case Outcome::Found: return reading.version;
    case Outcome::Damaged: return u"N/A"_s;
    case Outcome::NoResource: break;
    }
    return QString();
}

} // namespace Common
