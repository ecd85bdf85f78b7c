// The mask language: a mask checked as the editor checks it, its preview, then the new path
// built from it with hostile album and track values. No path may leave its destination, and
// none may end in a level "." or "..".
#include "FuzzSupport.h"
#include "FuzzTargets.h"

#include "naming/MaskLanguage.h"
#include "naming/NameBuilder.h"

#include <QDir>
#include <QStringList>

namespace {

void checkInside(const QString &built, const QString &prefix, QChar sep)
{
    FUZZ_CHECK(built.startsWith(prefix));
    FUZZ_CHECK(built.endsWith(QStringLiteral(".mp3")));
    const QStringList levels = built.mid(prefix.size()).split(sep);
    for (const QString &level : levels)
        FUZZ_CHECK(level != QStringLiteral(".") && level != QStringLiteral(".."));
}

} // namespace

int Fuzz::mask_language(const std::uint8_t *data, std::size_t size)
{
    // Line 1 the mask, then artist, album, year, genre, comment, title, track, file name; the
    // first byte picks the options.
    const QByteArray input = FuzzSupport::bytes(data, size);
    const quint8 flags = input.isEmpty() ? 0 : quint8(input.at(0));
    QStringList parts = QString::fromUtf8(input.mid(1)).split(u'\n');
    while (parts.size() < 9)
        parts.append(QString());
    QString mask = parts.at(0);

    const MaskCheck check = validateMask(mask);
    FUZZ_CHECK(check.valid == check.message.isEmpty());
    FUZZ_CHECK(!check.text.contains(u'/'));
    const QString preview = buildMaskPreview(check.text);
    FUZZ_CHECK(preview.endsWith(QStringLiteral(".mp3")));
    const MaskEdit edit = insertMaskVariable(mask, int(flags) - 100, flags % 10);
    FUZZ_CHECK(edit.caret >= 0 && edit.caret <= edit.text.size());
    if (!check.valid)
        return 0;

    const AlbumFields album{parts.at(1), parts.at(2), parts.at(3), parts.at(4), parts.at(5)};
    const TrackInput track{parts.at(6), int(flags >> 4), parts.at(8), parts.at(7)};
    NamingOptions options;
    options.mask = check.text;
    if (flags & 1)
        options.textEffect = TextEffect(flags % 4);
    if (flags & 2)
        options.replaceSpaces = SpaceReplacement((flags >> 2) % 3);

    options.destination = QStringLiteral("/music/out");
    checkInside(buildNewFileName(album, options, QStringLiteral("/music/rip"), track, true, Common::PathStyle::Posix),
                QStringLiteral("/music/out/"), u'/');
    options.destination = Destination::mp3Directory();
    checkInside(buildNewFileName(album, options, QStringLiteral("/music/rip"), track, true, Common::PathStyle::Posix),
                QStringLiteral("/music/rip/"), u'/');
    options.destination = Destination::parentDirectory();
    checkInside(buildNewFileName(album, options, QStringLiteral("D:\\Rips\\new"), track, true,
                                 Common::PathStyle::Windows),
                QStringLiteral("D:\\Rips\\"), u'\\');
    const QString name = applyTextEffects(album.album, options);
    FUZZ_CHECK(!(flags & 3) ? name == album.album : true);
    return 0;
}
