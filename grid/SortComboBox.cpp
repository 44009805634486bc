#include "grid/SortComboBox.h"

#include <QStringList>

QString TColumnInfo::asIndexFieldNames() const {
    QString text = ColumnName;
    if (OnGetAsIndexFieldNames) OnGetAsIndexFieldNames(*this, text);
    return text;
}

QString TColumnInfo::asOrderBy() const {
    QString text = TableName.isEmpty() ? ColumnName : TableName + u'.' + ColumnName;
    if (IsDescending) text += QStringLiteral(" DESC");
    if (OnGetAsOrderBy) OnGetAsOrderBy(*this, text);
    return text;
}

QString TColumnInfo::displayName() const {
    return ColumnName.isEmpty() ? QStringLiteral("TColumnInfo") : ColumnName;
}

void TColumnInfo::assign(const TColumnInfo& other) {
    TableName = other.TableName;
    ColumnName = other.ColumnName;
    IsDescending = other.IsDescending;
}

QString TColumnInfoList::indexFieldNames() const {
    QStringList names;
    for (const TColumnInfo& item : items) names.append(item.asIndexFieldNames());
    return names.join(u';');
}

TColumnInfo& TColumnInfoList::add() { return items.emplace_back(); }

void TSortInfoItem::assign(const TSortInfoItem& other) {
    DisplayText = other.DisplayText;
    ColumnInfoList.items.clear();
    for (const TColumnInfo& column : other.ColumnInfoList.items) ColumnInfoList.add().assign(column);
}

TSortInfoItem& TSortInfo::add() { return items.emplace_back(); }

int TSortInfo::indexOf(const TSortInfoItem* item) const {
    for (size_t i = 0; i < items.size(); ++i)
        if (&items[i] == item) return int(i);
    return -1;
}

void TSortInfo::assign(const TSortInfo* other) {
    if (other == this) return;
    items.clear();
    if (!other) return;
    for (const TSortInfoItem& item : other->items) add().assign(item);
}
