#include "lookup/Assignment.h"

#include <limits>

std::vector<int> solveAssignment(const std::vector<long long> &cost, int rows, int columns)
{
    const int n = rows;
    const int m = columns;
    if (n <= 0 || m < n || cost.size() < size_t(n) * size_t(m))
        return {};
    constexpr long long Infinite = std::numeric_limits<long long>::max() / 4;
    // 1-based inside: index 0 is the virtual column the augmenting path starts from.
    std::vector<long long> rowPotential(n + 1, 0), columnPotential(m + 1, 0), slack(m + 1);
    std::vector<int> rowOfColumn(m + 1, 0), previous(m + 1, 0);
    std::vector<char> visited(m + 1);
    for (int row = 1; row <= n; ++row) {
        rowOfColumn[0] = row;
        int column = 0;
        std::fill(slack.begin(), slack.end(), Infinite);
        std::fill(visited.begin(), visited.end(), 0);
        // Grow a tree of tight edges from the new row until it reaches a free column.
        do {
            visited[column] = 1;
            const int from = rowOfColumn[column];
            const long long *costs = cost.data() + size_t(from - 1) * size_t(m);
            long long delta = Infinite;
            int next = 0;
            for (int j = 1; j <= m; ++j) {
                if (visited[j])
                    continue;
                const long long reduced = costs[j - 1] - rowPotential[from] - columnPotential[j];
                if (reduced < slack[j]) {
                    slack[j] = reduced;
                    previous[j] = column;
                }
                if (slack[j] < delta) {
                    delta = slack[j];
                    next = j;
                }
            }
            for (int j = 0; j <= m; ++j) {
                if (visited[j]) {
                    rowPotential[rowOfColumn[j]] += delta;
                    columnPotential[j] -= delta;
                } else {
                    slack[j] -= delta;
                }
            }
            column = next;
        } while (rowOfColumn[column] != 0);
        // Flip the path: every column on it takes the row of the column before it.
        do {
            const int before = previous[column];
            rowOfColumn[column] = rowOfColumn[before];
            column = before;
        } while (column != 0);
    }
    std::vector<int> columnOfRow(n, -1);
    for (int j = 1; j <= m; ++j) {
        if (rowOfColumn[j] > 0)
            columnOfRow[rowOfColumn[j] - 1] = j - 1;
    }
    return columnOfRow;
}
