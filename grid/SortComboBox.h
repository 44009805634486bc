#pragma once

// Sort choices kept with a grid: a TSortInfo holds TSortInfoItem choices, each a list of
// TColumnInfo columns that can be written as index field names or as ORDER BY terms.

#include <QString>

#include <functional>
#include <vector>

class TColumnInfo {
public:
    /// May rewrite the text computed by asIndexFieldNames() or asOrderBy().
    using TGetAsEvent = std::function<void(const TColumnInfo& sender, QString& text)>;

    QString TableName;
    QString ColumnName;
    bool IsDescending = false;
    TGetAsEvent OnGetAsIndexFieldNames;
    TGetAsEvent OnGetAsOrderBy;

    virtual ~TColumnInfo() = default;
    /// ColumnName, possibly rewritten by OnGetAsIndexFieldNames.
    virtual QString asIndexFieldNames() const;
    /// [TableName "."] ColumnName [" DESC"], possibly rewritten by OnGetAsOrderBy.
    virtual QString asOrderBy() const;
    /// ColumnName, or "TColumnInfo" when it is empty.
    QString displayName() const;
    /// Copies TableName, ColumnName and IsDescending (not the events).
    void assign(const TColumnInfo& other);
};

class TColumnInfoList {
public:
    std::vector<TColumnInfo> items;

    /// Index field names of the items joined by ";".
    QString indexFieldNames() const;
    TColumnInfo& add();
};

class TSortInfoItem {
public:
    QString DisplayText;
    TColumnInfoList ColumnInfoList;

    QString indexFieldNames() const { return ColumnInfoList.indexFieldNames(); }
    /// Copies DisplayText and the columns.
    void assign(const TSortInfoItem& other);
};

class TSortInfo {
public:
    std::vector<TSortInfoItem> items;

    int count() const { return int(items.size()); }
    TSortInfoItem& add();
    void clear() { items.clear(); }
    /// Position of an item of this collection (by address), or -1.
    int indexOf(const TSortInfoItem* item) const;
    /// Clears this collection and copies the items of `other` (when given).
    void assign(const TSortInfo* other);
};
