#pragma once
// The options of "varnelt-cli tag DIR [options]", parsed into plain values.

#include "audio/TagVersions.h"
#include "jobs/TagEditing.h"

#include <QString>
#include <QStringList>

struct TagCommandOptions
{
    enum class Operation { None, Fill, Set, Number, CopyV1ToV2, CopyV2ToV1, Remove };

    /// The album folder (DIR).
    QString folder;
    /// --mode: 1 ID3v1, 2 ID3v2, 3 both.
    TagVersions mode = TagVersions::Both;
    /// --id3v2 3|4: the ID3v2 revision written.
    ID3v2Version id3v2Version = ID3v2Version::V3;
    Operation operation = Operation::None;
    /// --fill: the ticked switches and their values.
    FillSwitches fill;
    /// --fill and --set: the values given (the fields named in `set`, the switches of `fill`); a
    /// picture file named by v2:Picture is read and checked while parsing.
    TagEditorValues values;
    /// --set: the keywords given ("v1:Title", ...), in order.
    QStringList set;
    /// --total with --number.
    bool total = false;
    /// --only NAME (repeatable).
    QStringList only;
    /// --yes.
    bool yes = false;
};

/// Parses the arguments after "tag"; returns an empty text, or a one-line error (bad usage).
[[nodiscard]] QString parseTagOptions(const QStringList &args, TagCommandOptions &options);

/// Puts the fields --set named into a file's values.
void applySetFields(const TagCommandOptions &options, TagEditorValues &values);
