// The product version reader, on small program files built here byte by byte.

#include "support/TestEnv.h"

#include "foundation/Common.h"

using namespace Qt::StringLiterals;

namespace {

void put16(QByteArray &b, qsizetype at, quint16 v)
{
    if (b.size() < at + 2)
        b.resize(at + 2, '\0');
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}

void put32(QByteArray &b, qsizetype at, quint32 v)
{
    put16(b, at, quint16(v & 0xFFFF));
    put16(b, at + 2, quint16(v >> 16));
}

struct PeOptions
{
    bool plus = false;             // PE32+ (64-bit) optional header
    bool withResources = true;     // a resource directory at all
    quint32 resourceType = 16;     // RT_VERSION
    quint32 signature = 0xFEEF04BD;
    quint16 valueLength = 52;
    quint32 productMs = 0x00060000; // 6.0
    quint32 productLs = 0x0B541588; // 2900.5512
    qsizetype truncateTo = -1;     // cut the file here
};

// A minimal program file: DOS header, PE header, one ".rsrc" section at RVA 0x1000 (file 0x200)
// holding the three-level resource tree and a VS_VERSIONINFO block.
QByteArray buildPe(const PeOptions &o)
{
    QByteArray b(0x200, '\0');
    put16(b, 0, 0x5A4D);            // "MZ"
    put32(b, 0x3C, 0x40);           // e_lfanew
    put32(b, 0x40, 0x00004550);     // "PE\0\0"
    const qsizetype coff = 0x44;
    put16(b, coff, o.plus ? 0x8664 : 0x014C); // machine
    put16(b, coff + 2, 1);                    // one section
    const quint16 optionalSize = o.plus ? 240 : 224;
    put16(b, coff + 16, optionalSize);
    const qsizetype opt = coff + 20;
    put16(b, opt, o.plus ? 0x20B : 0x10B);    // magic
    const qsizetype dirs = opt + (o.plus ? 112 : 96);
    put32(b, dirs - 4, 16);                   // NumberOfRvaAndSizes
    const qsizetype table = opt + optionalSize;
    b.replace(table, 5, ".rsrc");
    put32(b, table + 8, 0x200);               // virtual size
    put32(b, table + 12, 0x1000);             // virtual address
    put32(b, table + 16, 0x200);              // raw size
    put32(b, table + 20, 0x200);              // raw offset
    if (!o.withResources) {
        b.resize(0x400, '\0');
        return b;
    }
    put32(b, dirs + 16, 0x1000);              // resource directory RVA
    put32(b, dirs + 20, 0x200);               // and size

    QByteArray r(0x200, '\0');
    // Level 1 (type) at 0, level 2 (name) at 0x18, level 3 (language) at 0x30, data entry at 0x48.
    put16(r, 14, 1);
    put32(r, 16, o.resourceType);
    put32(r, 20, 0x80000018);
    put16(r, 0x18 + 14, 1);
    put32(r, 0x18 + 16, 1);
    put32(r, 0x18 + 20, 0x80000030);
    put16(r, 0x30 + 14, 1);
    put32(r, 0x30 + 16, 0x409);
    put32(r, 0x30 + 20, 0x48);
    put32(r, 0x48, 0x1000 + 0x60);            // data RVA
    put32(r, 0x48 + 4, 40 + 52);              // data size
    // VS_VERSIONINFO at 0x60: lengths, type, key, padding to 0x88, then VS_FIXEDFILEINFO.
    put16(r, 0x60, 40 + 52);
    put16(r, 0x62, o.valueLength);
    const QString key = u"VS_VERSION_INFO"_s;
    for (qsizetype i = 0; i < key.size(); ++i)
        put16(r, 0x66 + i * 2, key.at(i).unicode());
    put32(r, 0x88, o.signature);
    put32(r, 0x88 + 4, 0x00010000);
    put32(r, 0x88 + 8, 0x00010002);           // file version differs from the product version
    put32(r, 0x88 + 12, 0x00030004);
    put32(r, 0x88 + 16, o.productMs);
    put32(r, 0x88 + 20, o.productLs);
    b.append(r);
    if (o.truncateTo >= 0)
        b.truncate(o.truncateTo);
    return b;
}

class CommonVersion : public VarneltTest
{
protected:
    QString version(const PeOptions &o) { return Common::getFileVersion(writeFile(u"x.dll"_s, buildPe(o))); }
};

} // namespace

TEST_F(CommonVersion, ReadsTheProductVersion)
{
    EXPECT_EQ(version({}), u"6.0.2900.5512"_s);
    PeOptions plus;
    plus.plus = true;
    plus.productMs = 0x000B0000;
    plus.productLs = 0x00000001;
    EXPECT_EQ(version(plus), u"11.0.0.1"_s);
}

TEST_F(CommonVersion, NumbersAreSigned16Bit)
{
    PeOptions o;
    o.productMs = 0xFFFF8000;
    o.productLs = 0x7FFF0000;
    EXPECT_EQ(version(o), u"-1.-32768.32767.0"_s);
}

TEST_F(CommonVersion, NoVersionResourceGivesAnEmptyText)
{
    PeOptions none;
    none.withResources = false;
    EXPECT_EQ(version(none), QString());
    PeOptions icons;
    icons.resourceType = 3; // only an icon
    EXPECT_EQ(version(icons), QString());
    EXPECT_EQ(Common::getFileVersion(writeFile(u"text.txt"_s, "just text, no program")), QString());
    EXPECT_EQ(Common::getFileVersion(writeFile(u"empty.dll"_s, {})), QString());
    EXPECT_EQ(Common::getFileVersion(tempFile(u"missing.dll"_s)), QString());
    EXPECT_EQ(Common::getFileVersion(tempPath()), QString());
}

TEST_F(CommonVersion, DamagedResourceGivesNA)
{
    PeOptions badSignature;
    badSignature.signature = 0x12345678;
    EXPECT_EQ(version(badSignature), u"N/A"_s);
    PeOptions noFixedInfo;
    noFixedInfo.valueLength = 0;
    EXPECT_EQ(version(noFixedInfo), u"N/A"_s);
    // Cut inside the version block, then inside the resource tree.
    for (qsizetype cut : {0x200 + 0x90, 0x200 + 0x20}) {
        PeOptions truncated;
        truncated.truncateTo = cut;
        EXPECT_EQ(version(truncated), u"N/A"_s) << cut;
    }
}
