#include "grid/GridDatasetModel.h"

#include "grid/GridDataset.h"

GridDatasetModel::GridDatasetModel(GridDataset* dataset) : QAbstractTableModel(dataset), dataset_(dataset) {
    connect(dataset, &GridDataset::dataReset, this, &GridDatasetModel::resetAll);
    connect(dataset, &GridDataset::fieldsChanged, this, &GridDatasetModel::reloadColumns);
    connect(dataset, &GridDataset::rowsLoaded, this, [this](int first, int last) {
        if (!columns_.isEmpty()) Q_EMIT dataChanged(index(first, 0), index(last, int(columns_.size()) - 1));
    });
}

void GridDatasetModel::resetAll() {
    beginResetModel();
    columns_ = dataset_->isOpen() ? dataset_->visibleFields() : QList<GridField*>{};
    endResetModel();
}

void GridDatasetModel::reloadColumns() { resetAll(); }

int GridDatasetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !dataset_->isOpen() ? 0 : dataset_->recordCount();
}

int GridDatasetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

GridField* GridDatasetModel::fieldAt(int column) const {
    return column >= 0 && column < columns_.size() ? columns_[column] : nullptr;
}

int GridDatasetModel::columnOf(const GridField* field) const {
    return int(columns_.indexOf(const_cast<GridField*>(field)));
}

QVariant GridDatasetModel::data(const QModelIndex& index, int role) const {
    const GridField* field = fieldAt(index.column());
    if (!field || !index.isValid()) return {};
    switch (role) {
    case Qt::DisplayRole: {
        const QVector<QVariant>* row = dataset_->cachedRow(index.row());
        if (!row || field->sourceColumn() >= row->size()) return {};
        return field->displayText(row->at(field->sourceColumn()));
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(field->alignment() | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant GridDatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        const GridField* field = fieldAt(section);
        if (!field) return {};
        if (role == Qt::DisplayRole) return field->displayLabel();
        if (role == Qt::TextAlignmentRole) return QVariant::fromValue(field->alignment() | Qt::AlignVCenter);
        return {};
    }
    if (role == Qt::DisplayRole) return QString();
    return {};
}
