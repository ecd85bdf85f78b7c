#pragma once
// The language of naming masks: the nine variables, the checks a mask must pass before the mask
// editor accepts it, the live preview and the insertion of a variable at the caret.
//
// A mask is one line of text; "\" separates folder levels, everything that is not a variable is
// copied literally, and the extension ".mp3" is never part of it.

#include <QList>
#include <QString>

/// What a mask variable stands for.
enum class MaskVariableId { Track, Title, Artist, Album, Year, Genre, Comment, FileName, FileNumber };

/// One mask variable: its spelling, what it stands for, the value the preview shows, its place in
/// the substitution order and whether it marks the start of a mask's variable part.
struct MaskVariable
{
    MaskVariableId id;
    QString name;
    QString description;
    QString sample;
    /// Variables are replaced one after the other by this rank (0 first); a value holding the
    /// spelling of a later variable is expanded again by that later step.
    int substitutionRank;
    /// True for the seven album and track variables whose first occurrence starts the part of a
    /// path that the text effects change; "%filename" and "%filenumber" take no part.
    bool startsVariablePart;
    /// True for "%track", "%title" and "%filename": a valid mask holds at least one of them, so
    /// that the tracks of an album do not all get the same name.
    bool distinguishesTracks;
};

/// The nine mask variables in the order of the editor's "Insert" menu (indexes 0 to 8).
[[nodiscard]] const QList<MaskVariable> &maskVariables();

/// The nine mask variables in substitution order (artist, album, year, title, track, genre,
/// comment, file name, file number).
[[nodiscard]] QList<MaskVariable> maskVariablesInSubstitutionOrder();

/// A help text listing every variable with what it stands for, one per line.
[[nodiscard]] QString maskVariablesHelp();

/// The verdict on a mask.
struct MaskCheck
{
    /// The mask with every "/" turned into "\": the editor writes it back into its box even when
    /// a later check fails.
    QString text;
    bool valid = false;
    /// The one message to show when the mask is not valid (empty when it is).
    QString message;
};

/// The longest mask the mask files keep whole (254 characters).
[[nodiscard]] int maxMaskLength();

/// The message for a mask longer than maxMaskLength(), or empty when its length is fine.
[[nodiscard]] QString maskLengthProblem(const QString &maskText);

/// Checks a mask as the editor does before accepting it; stops at the first rule it breaks.
[[nodiscard]] MaskCheck validateMask(const QString &maskText);

/// The title of the message box that reports an invalid mask.
[[nodiscard]] inline QString invalidMaskTitle() { return QStringLiteral("Invalid mask"); }

/// Returns the mask with every variable replaced by its sample value, followed by ".mp3"; no text
/// effect and no cleaning are applied.
[[nodiscard]] QString buildMaskPreview(const QString &maskText);

/// A mask box's text and caret position (characters before the caret).
struct MaskEdit
{
    QString text;
    int caret = 0;
};

/// Inserts the variable of the given menu index at the caret (a selection is not replaced) and
/// puts the caret right after it. An index outside 0..8 changes nothing.
[[nodiscard]] MaskEdit insertMaskVariable(const QString &text, int caret, int variableIndex);
