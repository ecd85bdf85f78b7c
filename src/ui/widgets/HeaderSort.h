#pragma once
// The file lists' rule for a click on a column header: the column sorted last turns its order
// round, another column is sorted in the order the list was in.

#include <Qt>

class HeaderSort
{
public:
    explicit HeaderSort(int column) : column_(column) {}

    /// The order to sort `column` in after a click on its header.
    Qt::SortOrder clicked(int column)
    {
        if (column == column_)
            order_ = order_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        column_ = column;
        return order_;
    }
    void resetOrder() { order_ = Qt::AscendingOrder; }
    void reset(int column)
    {
        column_ = column;
        resetOrder();
    }
    [[nodiscard]] int column() const { return column_; }
    [[nodiscard]] Qt::SortOrder order() const { return order_; }

private:
    int column_;
    Qt::SortOrder order_ = Qt::AscendingOrder;
};
