#include "grid/SummaryStatements.h"

#include <QDate>
#include <QDateTime>

namespace {

const QString From = QStringLiteral("FROM");

QString joined(const QStringList& items) { return items.join(u','); }

QStringList names(const QList<SummaryGroupField>& groups, qsizetype from, qsizetype to) {
    QStringList list;
    for (qsizetype i = from; i < to; ++i) list.append(groups[i].name);
    return list;
}

QStringList aggregates(const QList<SummarySumField>& sums) {
    QStringList list;
    for (const SummarySumField& s : sums)
        list.append(operatorName(s.op) + u'(' + s.name + QStringLiteral(") AS ") + s.name);
    return list;
}

QDate dateOf(const QVariant& value) {
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return value.toDate();
    case QMetaType::QDateTime:
        return value.toDateTime().date();
    default:
        return QDate::fromString(value.toString().left(10), Qt::ISODate);
    }
}

} // namespace

QString operatorName(int op) {
    switch (op) {
    case opSum:
        return QStringLiteral("SUM");
    case opAvg:
        return QStringLiteral("AVG");
    case opMin:
        return QStringLiteral("MIN");
    case opMax:
        return QStringLiteral("MAX");
    default:
        return {};
    }
}

int nextOperator(int op) { return op >= opSum && op < opMax ? op + 1 : opSum; }

int defaultOperator(FieldKind kind, const QString& displayLabel) {
    switch (kind) {
    case FieldKind::Float:
    case FieldKind::Currency: {
        static const QStringList averaged{QStringLiteral("Tecaj"), QStringLiteral("Tečaj"), QStringLiteral("Cena"),
                                          QStringLiteral("Temperatura"), QStringLiteral("Index")};
        for (const QString& word : averaged)
            if (displayLabel.contains(word, Qt::CaseInsensitive)) return opAvg;
        return opSum;
    }
    case FieldKind::Date:
    case FieldKind::DateTime:
        return opMax;
    default:
        return opNone;
    }
}

char32_t totalTextChar() { return 0x10FFFF; }

QString totalDateText() { return QStringLiteral("2999-03-10"); }

QString totalDateTimeText() { return QStringLiteral("2999-03-10 10:10:10"); }

QString totalRowItem(const SummaryGroupField& field) {
    QString value;
    switch (field.kind) {
    case FieldKind::String:
    case FieldKind::Memo:
    case FieldKind::FixedChar:
    case FieldKind::WideString: {
        const char32_t highest = totalTextChar();
        value = u'\'' + QString::fromUcs4(&highest, 1).repeated(std::max(field.size, 1)) + u'\'';
        break;
    }
    case FieldKind::SmallInt:
    case FieldKind::Integer:
    case FieldKind::LargeInt:
        value = QStringLiteral("CAST(%1 AS INTEGER)").arg(TotalInteger);
        break;
    case FieldKind::Float:
    case FieldKind::Currency:
        value = QStringLiteral("CAST(%1+0 AS NUMERIC)").arg(TotalFloat);
        break;
    case FieldKind::Date:
        value = u'\'' + totalDateText() + u'\'';
        break;
    case FieldKind::DateTime:
        value = u'\'' + totalDateTimeText() + u'\'';
        break;
    default:
        value = QStringLiteral("NULL");
        break;
    }
    return value + QStringLiteral(" AS ") + field.name;
}

bool isTotalRowValue(FieldKind kind, const QVariant& value) {
    if (!value.isValid() || value.isNull()) return false;
    switch (kind) {
    case FieldKind::String:
    case FieldKind::Memo:
    case FieldKind::FixedChar:
    case FieldKind::WideString: {
        const QString text = value.toString();
        return !text.isEmpty() && text.toUcs4().first() == totalTextChar();
    }
    case FieldKind::SmallInt:
    case FieldKind::Integer:
    case FieldKind::LargeInt:
        return value.toLongLong() == TotalInteger;
    case FieldKind::Float:
    case FieldKind::Currency:
        return value.toDouble() == double(TotalFloat);
    case FieldKind::Date:
    case FieldKind::DateTime:
        return dateOf(value) == QDate(2999, 3, 10);
    default:
        return false;
    }
}

QStringList sortedListingSql(const QList<SummaryGroupField>& groups, const QList<SummarySumField>& sums,
                             const QString& quotedTable) {
    const QString from = From + u' ' + quotedTable;
    QStringList detail = names(groups, 0, groups.size());
    for (const SummarySumField& s : sums) detail.append(s.name);
    QStringList total;
    for (const SummaryGroupField& g : groups) total.append(totalRowItem(g));
    total.append(aggregates(sums));

    QStringList lines{QStringLiteral("SELECT ") + joined(detail) + u' ' + from, QStringLiteral("UNION ALL"),
                      QStringLiteral("SELECT ") + joined(total) + u' ' + from};
    if (!groups.isEmpty()) lines.append(QStringLiteral("ORDER BY ") + joined(names(groups, 0, groups.size())));
    return lines;
}

QStringList groupedListingSql(const QList<SummaryGroupField>& groups, const QList<SummarySumField>& sums,
                              const QString& quotedTable) {
    QStringList lines;
    const qsizetype count = groups.size();
    for (qsizetype i = -1; i < count; ++i) {
        if (i >= 0 && !groups[i].marked) continue;
        if (!lines.isEmpty()) lines.append(QStringLiteral("UNION"));

        // Grouped by G[0..i] and the unmarked fields that follow up to the next marked one.
        qsizetype end = i + 1;
        while (end < count && !groups[end].marked) ++end;
        const QStringList grouping = names(groups, 0, end);
        QStringList totals;
        for (qsizetype j = end; j < count; ++j) totals.append(totalRowItem(groups[j]));

        QString select = joined(grouping);
        if (!grouping.isEmpty() && !totals.isEmpty()) select += u',';
        select += joined(totals);
        if (!select.isEmpty()) select += u',';
        lines.append(QStringLiteral("SELECT ") + select + joined(aggregates(sums)));
        lines.append(From + u' ' + quotedTable);
        if (!grouping.isEmpty()) lines.append(QStringLiteral("GROUP BY ") + joined(grouping));
    }
    if (count > 0) lines.append(QStringLiteral("ORDER BY ") + joined(names(groups, 0, count)));
    return lines;
}

QString emptyTableSql(const QString& quotedTable) { return QStringLiteral("DELETE FROM ") + quotedTable; }
