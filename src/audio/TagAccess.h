#pragma once
// Reading tag fields and audio properties of the current file by keyword. The tag objects and
// the analyzer belong to the caller (the main window, the rename job), which loads them for a
// file and passes them in; keywords are compared with letter case.
//
// Tag keywords: "Title", "Artist", "Album", "Comment", "Year", "Track", "Genre" (by version
// "v1", "v2" or "v1v2"), and "Composer", "OriginalArtist", "EncodedBy", "UserUrl", "UserText",
// "ArtistUrl", "Preference", "Tempo", "Mood", "Situation", "Copyright", "Lyrics" (always the
// version-2 field), "UniqueKey" (always empty).
//
// Information keywords: "Bitrate", "Duration", "DurationFormated", "SampleRate",
// "ChannelMode", "bVBR", "MPEGVersion", "Layer", "TotalFrames", "Padding", "Protection",
// "Emphasis", "Copyright", "Original", "PrivateBit".

#include "audio/Mp3InfoVBR.h"
#include "foundation/MessageGateway.h"

#include <QString>
#include <QVariant>

#include <optional>

class ID3Tag;
class ID3Edit;
namespace XAnalyzer {
class Analysis;
}

namespace TagKeywords {

/// The two tag objects of the current file, both loaded for it by the caller.
struct TagSources {
    const ID3Tag &theTag; ///< the version-1 tag, read with ReadFromFile
    const ID3Edit &tagV2; ///< both tags, read with Load
};

/// Where the audio properties of the current file come from.
struct FileInfoSources {
    const Mp3InfoVBR::MpegInfo &info; ///< the built-in reader's result for the file
    bool vbr = false; ///< the built-in reader's VBR flag
    quint32 vbrFrameCount = 0; ///< the built-in reader's "Xing" frame count
    const XAnalyzer::Analysis &analyzer; ///< the analyzer, its Filename set to the file

    /// The built-in reader's state after its last readMpegInfo, with the given analyzer.
    [[nodiscard]] static FileInfoSources current(const XAnalyzer::Analysis &analyzer);
    /// One reading of the built-in reader, with the given analyzer.
    [[nodiscard]] static FileInfoSources of(const Mp3InfoVBR::Reading &reading, const XAnalyzer::Analysis &analyzer);
};

/// A tag field read by keyword: its text, and the message for the user when the keyword is not
/// known or the read failed (the reader shows nothing; the caller decides whether to).
struct TagRead {
    TagRead() = default;
    TagRead(QString text, std::optional<Msg::Message> message = {})
        : value(std::move(text)), problem(std::move(message)) {}
    QString value;
    std::optional<Msg::Message> problem;
};

/// An audio property read by keyword: its value and, for an unknown keyword, the message.
struct InfoRead {
    QVariant value;
    std::optional<Msg::Message> problem;
};

/// The text of a tag field by keyword and version ("v1", "v2" or "v1v2"); empty when nothing
/// applies. An unknown keyword gives an empty text and the problem "Bad cTagName" (critical icon,
/// title "Errror"); a run-time error while reading gives its description titled "Error".
[[nodiscard]] TagRead getTagValue(const QString &cTagName, const QString &version, const TagSources &sources);

/// An audio property by keyword, from the analyzer (useAnalyzer) or the built-in reader: a
/// number, a text or a Boolean by keyword. An unknown keyword gives an empty value and the
/// problem "Invalide infoName keyword" (no icon).
[[nodiscard]] InfoRead getFileInfo(const QString &infoName, bool useAnalyzer, const FileInfoSources &sources);

} // namespace TagKeywords
