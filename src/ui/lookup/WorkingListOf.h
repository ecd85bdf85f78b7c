#pragma once
// The working list of a lookup read from a page's file list.

#include "lookup/AlbumRecord.h"

class QTreeWidget;

/// Every row's file name (from nameColumn) with its selection; onlySelected: the page's
/// "&Use only selected files".
[[nodiscard]] WorkingList workingListOf(const QTreeWidget *list, int nameColumn, bool onlySelected);
