#pragma once

// Item model of a GridDataset: one row per record, one column per visible field in field order.
// Rows not yet loaded show empty until their chunk arrives; the model never loads on its own
// thread of control, it only asks the dataset to queue the chunk.

#include <QAbstractTableModel>
#include <QList>

class GridDataset;
class GridField;

class GridDatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridDatasetModel(GridDataset* dataset);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// Field shown in a column, or nullptr.
    GridField* fieldAt(int column) const;
    /// Column showing a field, or -1.
    int columnOf(const GridField* field) const;
    /// Re-reads the visible fields (after a layout change).
    void reloadColumns();

private:
    void resetAll();

    GridDataset* dataset_;
    QList<GridField*> columns_;
};
