#pragma once
// The optimal assignment of rows to columns (the Hungarian method with row and column
// potentials, shortest augmenting paths): the pairing of files with tracks is solved for the
// whole album at once instead of file by file.

#include <QList>
#include <vector>

/// For a square cost matrix of size n (row-major, n * n entries, costs >= 0) returns, for each
/// row, the column it is assigned to, such that the sum of the chosen costs is the smallest
/// possible. Every row gets a column of its own. O(n^3) at worst, near O(n^2) when each row
/// has a clear best column.
[[nodiscard]] std::vector<int> solveAssignment(const std::vector<long long> &cost, int n);
