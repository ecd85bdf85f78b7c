#pragma once
// Both tags of one file, loaded for reading by keyword as the tag access reads them.

#include "audio/ID3Edit.h"
#include "audio/ID3.h"
#include "audio/TagAccess.h"

#include <QString>

struct LoadedTags
{
    ID3Edit tagV2;
    ID3Tag theTag;

    // The version-1 tag comes from the same read of the file as the version-2 tag.
    explicit LoadedTags(const QString &path)
    {
        tagV2.Load(path);
        theTag.takeRead(path, tagV2.loadedV1Record());
    }
    /// The same on the file already opened as `bytes`.
    LoadedTags(Mp3FileBytes &bytes, const QString &path)
    {
        tagV2.Load(bytes, path);
        theTag.takeRead(path, tagV2.loadedV1Record());
    }
    /// The field's text from either tag version ("v1v2").
    [[nodiscard]] QString value(const QString &keyword) const
    {
        return TagKeywords::getTagValue(keyword, QStringLiteral("v1v2"), TagKeywords::TagSources{theTag, tagV2}).value;
    }
};
