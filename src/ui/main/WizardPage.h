#pragma once
// The main window's four pages, in the order the wizard shows them.

enum class WizardPage {
    Directory = 0, ///< the folder tree and the file list
    Tag = 1, ///< the tag list and the tag editor
    Rename = 2, ///< the rename list and the naming options
    Result = 3, ///< the result log of the last rename job
};
