#pragma once
// The optimal assignment of rows to columns (the Hungarian method with row and column
// potentials, shortest augmenting paths): the pairing of files with tracks is solved for the
// whole album at once instead of file by file.

#include <QList>
#include <vector>

/// For a cost matrix of rows x columns (row-major, costs >= 0, rows <= columns) returns, for
/// each row, the column it is assigned to, such that the sum of the chosen costs is the
/// smallest possible. Every row gets a column of its own. O(rows^2 * columns) at worst: a
/// short side against a long one (a dozen tracks, thousands of files) costs little.
[[nodiscard]] std::vector<int> solveAssignment(const std::vector<long long> &cost, int rows, int columns);

/// The square case: n rows, n columns.
[[nodiscard]] inline std::vector<int> solveAssignment(const std::vector<long long> &cost, int n)
{
    return solveAssignment(cost, n, n);
}
