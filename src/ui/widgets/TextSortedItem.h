#pragma once
// A list row that sorts by the text of the sort column as the user reads it: report views
// compare cells as text, and letter case only breaks ties. Columns of values (sizes, lengths,
// rates, years, track numbers) sort by the value they show instead: "64" before "110", "9:58"
// before "10:02", "1,024" after "987"; a cell without a number comes before every number.

#include <QLocale>
#include <QStringList>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QVariant>
#include <optional>

class TextSortedItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    /// Makes these columns of the list sort by value.
    static void setValueColumns(QTreeWidget *list, const QList<int> &columns)
    {
        QVariantList marks;
        for (int column : columns)
            marks << column;
        list->setProperty(ValueColumnsProperty, marks);
    }

    /// The value a cell shows: "1,024" (in the user's grouping) gives 1024, "3:25" 205 seconds,
    /// "1/12" 1; none when the cell starts with no number.
    static std::optional<double> shownValue(const QString &text)
    {
        QString cell = text.trimmed();
        cell.remove(QLocale().groupSeparator());
        if (cell.isEmpty() || !cell.front().isDigit())
            return std::nullopt;
        if (cell.contains(u':')) {
            double seconds = 0;
            for (const QString &part : cell.split(u':'))
                seconds = seconds * 60 + part.toDouble();
            return seconds;
        }
        qsizetype end = 0;
        while (end < cell.size() && (cell.at(end).isDigit() || cell.at(end) == QLocale().decimalPoint().front()))
            ++end;
        return QLocale().toDouble(cell.left(end));
    }

    bool operator<(const QTreeWidgetItem &other) const override
    {
        const QTreeWidget *list = treeWidget();
        const int column = list ? list->sortColumn() : 0;
        const QString a = text(column);
        const QString b = other.text(column);
        if (list && list->property(ValueColumnsProperty).toList().contains(column)) {
            const std::optional<double> x = shownValue(a);
            const std::optional<double> y = shownValue(b);
            if (x != y)
                return !x || (y && *x < *y);
        }
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    }

private:
    static constexpr const char *ValueColumnsProperty = "varneltValueColumns";
};
