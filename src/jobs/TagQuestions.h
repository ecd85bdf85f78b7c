#pragma once
// The questions the tag operations put before they touch any file: their texts, titles, icons,
// buttons and default buttons. The tag page asks them through the message gateway, varnelt-cli
// answers them from its options.

#include "audio/TagVersions.h"
#include "foundation/MessageGateway.h"

#include <QString>

/// "ID3 Mode : ID3v1", "ID3 Mode : ID3v2" or "ID3 Mode : ID3v1 + ID3v2": the line that ends the
/// questions naming the tag versions an operation touches.
[[nodiscard]] QString id3ModeCaption(TagVersions mode);

/// Which way a copy between the tag versions goes.
enum class TagCopy { V1ToV2, V2ToV1 };

namespace TagQuestions {

/// "Fill confirmation": fill the ticked fields of the selected (or all) files.
[[nodiscard]] Msg::Message fill(bool onlySelected, TagVersions mode);
/// "Track auto fill confirmation": number the selected (or all) files' tracks.
[[nodiscard]] Msg::Message numberTracks(bool onlySelected, TagVersions mode);
/// "Track auto fill": whether the version-2 track gets the total ("3/12").
[[nodiscard]] Msg::Message addTotal();
/// "ID3 copy confirmation" for one file.
[[nodiscard]] Msg::Message copyOne(TagCopy copy, const QString &fileName);
/// "ID3 copy confirmation" for the selected (or all) files; No is the default button.
[[nodiscard]] Msg::Message copyAll(TagCopy copy, bool onlySelected);
/// "ID3 tag delete confirmation" for one file.
[[nodiscard]] Msg::Message removeOne(const QString &fileName, TagVersions mode);
/// "ID3 tag delete confirmation" for the selected (or all) files; No is the default button.
[[nodiscard]] Msg::Message removeAll(bool onlySelected, TagVersions mode);

} // namespace TagQuestions
