#pragma once

// TfSort: the sort dialog. It lists the indexes of a table dataset and the grid's sort choices and
// applies the line the user clicks at once; OK closes it.

#include "grid/SortComboBox.h"

#include <QDialog>
#include <QStringList>

#include <functional>
#include <stdexcept>

class GridDataset;
class QListWidget;
class QPushButton;

/// A fault of the framework itself, reported with the unit it was found in.
class GridInternalError : public std::runtime_error {
public:
    GridInternalError(const QString& message, const QString& unit);
    const QString& unit() const { return unit_; }

private:
    QString unit_;
};

/// One index of a table: its name and its fields joined by ";".
struct TableIndexDef {
    QString name;
    QString fields;
};

/// The indexes of a table dataset's table, read afresh, in the order they were created.
QList<TableIndexDef> tableIndexDefs(const GridDataset& table);

class TfSort : public QDialog {
    Q_OBJECT
public:
    /// Called with the sort choice the user clicked.
    using SortChoicePicked = std::function<void(const TSortInfoItem* item)>;

    /// The process-wide dialog, created on first use.
    static TfSort& instance();

    /// Fills the dialog and shows it modally; true when it was closed with OK. `dataSource` is the
    /// grid's dataset: its indexes are offered when it is a table.
    bool run(GridDataset* dataSource, TSortInfo* sortInfo, SortChoicePicked picked);
    /// Fills the list as run() does, without showing the dialog.
    void fill(GridDataset* dataSource, TSortInfo* sortInfo, SortChoicePicked picked);
    /// Applies the line `row` (what clicking it does). Throws GridInternalError for a malformed key.
    void lbInxClick(int row);

    QListWidget* lbInx = nullptr;
    QPushButton* btnOk = nullptr;
    /// One key per listed line: an index's field list, or "SortInfoItem:" and the choice's position.
    QStringList inxFields;

private:
    explicit TfSort(QWidget* parent = nullptr);

    GridDataset* table_ = nullptr;
    TSortInfo* sortInfo_ = nullptr;
    SortChoicePicked picked_;
};
