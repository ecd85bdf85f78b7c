#pragma once
// The genre drop-downs of the tag and rename pages.

class QComboBox;

/// Fills a genre drop-down: an empty first entry (item data 254), then the standard genre
/// names sorted without regard to letter case, each with its genre number as item data; the
/// empty entry is selected. Earlier entries are removed first, so filling twice is harmless.
void fillGenreList(QComboBox *combo);

