#pragma once
// "Undo last rename" of the File menu: the last rename job taken back from its journal, after
// the user's confirmation, with what was restored and what was left shown.

class LastRenameUndo
{
public:
    /// Asks, undoes the last recorded job and tells the outcome. True when the undo ran, so
    /// files may have changed; false when there was nothing to undo, the user said no, or the
    /// journal refused it.
    [[nodiscard]] static bool run();
};
