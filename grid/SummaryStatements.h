#pragma once

// Statements of the summary window over its local table: the sorted listing with one grand-total
// row, the grouped listing with subtotal rows, the total-row values that mark those rows, and the
// summary operators of the summed fields.

#include "grid/GridDataset.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

/// Operator of a summed field, kept in the field's tag.
enum SummaryOperator { opNone = 0, opSum = 1, opAvg = 2, opMin = 3, opMax = 4 };

/// SQL name of an operator ("SUM", "AVG", "MIN", "MAX"; empty for none).
QString operatorName(int op);
/// The operator after `op` in the cycle SUM, AVG, MIN, MAX, SUM.
int nextOperator(int op);
/// Default operator of a field: AVG for prices, rates, temperatures and indexes, SUM for other
/// float and currency fields, MAX for dates, none for everything else.
int defaultOperator(FieldKind kind, const QString& displayLabel);

/// A group field of a listing.
struct SummaryGroupField {
    QString name;
    FieldKind kind = FieldKind::String;
    int size = 0;         ///< characters of a text field
    bool marked = true;   ///< the listing shows subtotal rows at this field's level
};

/// A summed field of a listing.
struct SummarySumField {
    QString name;
    int op = opSum;
};

/// The highest character: a text total-row value is a run of it, so totals sort after every text.
char32_t totalTextChar();
/// Value a total row holds in a date field and in a date-time field (10 March 2999, in the local
/// table's sortable form).
QString totalDateText();
QString totalDateTimeText();
/// Value a total row holds in an integer field (sorts first) and in a float field (sorts last).
constexpr int TotalInteger = -32000;
constexpr qint64 TotalFloat = 68719476736LL; // 2 to the power 36

/// The select item that gives a group field its total-row value, e.g. "CAST(-32000 AS INTEGER) AS ID".
/// Kinds without a total-row value (time, Boolean, binary ...) get NULL.
QString totalRowItem(const SummaryGroupField& field);
/// True when a group field's value in a result row is the total-row value of its kind.
bool isTotalRowValue(FieldKind kind, const QVariant& value);

/// The sorted listing: the detail rows, UNION ALL one grand-total row, ordered by the group fields.
/// `quotedTable` is the local table's name in double quotes. One line per list item.
QStringList sortedListingSql(const QList<SummaryGroupField>& groups, const QList<SummarySumField>& sums,
                             const QString& quotedTable);
/// The grouped listing: a grand total (when the first group field is marked) and one part per marked
/// group field, joined by UNION and ordered by the group fields.
QStringList groupedListingSql(const QList<SummaryGroupField>& groups, const QList<SummarySumField>& sums,
                              const QString& quotedTable);
/// Removes every row of the local table.
QString emptyTableSql(const QString& quotedTable);
