#pragma once
// The mask files beside the program: "Masks/Default.ini" (section "Default masks") with the
// twelve masks that come with the program, and "Masks/User.ini" (section "User masks") with the
// user's own. Keys are "Mask1", "Mask2", ... without gaps; a value "0" is no mask and is skipped,
// an empty value ends a file's list.

#include <QList>
#include <QString>
#include <QStringList>

/// One entry of the mask drop-down: the mask and its item value (the key number in the user
/// file for a user mask, 0 for a default mask).
struct MaskEntry
{
    QString text;
    int itemValue = 0;
    [[nodiscard]] bool isUser() const { return itemValue >= 1; }
    friend bool operator==(const MaskEntry &, const MaskEntry &) = default;
};

/// The type of an entry of the mask editor's list.
enum class MaskType { User, Default };

/// One entry of the mask editor's list, in display order.
struct EditorMask
{
    QString text;
    MaskType type = MaskType::User;
    friend bool operator==(const EditorMask &, const EditorMask &) = default;
};

/// The type's text as the editor shows it: "User" or "Default".
[[nodiscard]] QString maskTypeText(MaskType type);

/// The twelve masks that come with the program, in key order.
[[nodiscard]] QStringList defaultMasks();

/// The folder "Masks" (beside the program, or the user's when installed: AppFolder), and the
/// two mask files in it.
[[nodiscard]] QString masksFolder();
[[nodiscard]] QString defaultMasksFile();
[[nodiscard]] QString userMasksFile();

/// The section names of the two files.
[[nodiscard]] inline QString defaultMasksSection() { return QStringLiteral("Default masks"); }
[[nodiscard]] inline QString userMasksSection() { return QStringLiteral("User masks"); }

/// Loads both files into the entries of the mask drop-down, user masks first; an installed
/// program first copies the default file it comes with when the user has none; writes the
/// default file when it is missing or its "Mask1" is empty. When the default file cannot
/// be written the twelve defaults are listed all the same, and the failures are added to
/// problems (each a text the caller shows as "Error").
[[nodiscard]] QList<MaskEntry> readMaskInfo(QStringList &problems);

/// Creates the "Masks" folder and the default file when missing and writes the twelve default
/// masks as "Mask1" to "Mask12" (later keys are left as they are). Returns the failures, each a
/// text the caller shows as "Error".
[[nodiscard]] QStringList writeDefaultMasks();

/// Writes the editor's list into the two files: user masks as "Mask1".. of the user file (stale
/// later keys removed), default masks as "Mask1".. of the default file, both in list order. The
/// user file is created only when the list starts with a user mask. Entries without text are
/// not written (an empty value would end the list and hide every mask after it). Saving goes on
/// after a failure; the failures are returned, each a text the caller shows as "Error".
[[nodiscard]] QStringList saveMasks(const QList<EditorMask> &entries);

/// The editor's list built from the drop-down's entries (item value below 1: "Default").
[[nodiscard]] QList<EditorMask> editorListFromEntries(const QList<MaskEntry> &entries);

/// The drop-down's entries after the editor's list was saved: in list order, a user mask with
/// its key number in the user file as item value; entries without text are left out, as
/// saveMasks leaves them out of the files.
[[nodiscard]] QList<MaskEntry> entriesFromEditorList(const QList<EditorMask> &entries);

/// The drop-down's choice for a remembered mask ("Last Mask").
struct MaskChoice
{
    /// The entry to select (-1: none, the text is used as typed).
    int index = -1;
    /// The drop-down's text.
    QString text;
};

/// Picks the drop-down's choice at start-up: a remembered mask that is not empty and not numeric
/// selects its entry (or stands as typed text when no entry holds it); otherwise the first entry.
[[nodiscard]] MaskChoice chooseRememberedMask(const QList<MaskEntry> &entries, const QString &lastMask);
