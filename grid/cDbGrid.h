#pragma once

// The base data grid of the framework: a QTableView over a GridDataset that follows the dataset's
// current record, sizes columns from the fields' display widths and draws its own titles.

#include <QColor>
#include <QFlags>
#include <QFont>
#include <QHeaderView>
#include <QPointer>
#include <QTableView>

#include "grid/GridDataset.h"

class GridDatasetModel;
class GridField;
class TVKCustomDbGrid;

/// Title row of a TVKCustomDbGrid: raised cells, a sunken one for the marked sort column,
/// captions cut with an ellipsis or word-wrapped.
class TVKTitleHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit TVKTitleHeader(TVKCustomDbGrid* grid);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    TVKCustomDbGrid* grid_;
};

class TVKCustomDbGrid : public QTableView {
    Q_OBJECT
public:
    enum class Option {
        Editing = 0x1,
        AlwaysShowEditor = 0x2,
        Titles = 0x4,
        Indicator = 0x8,
        ColumnResize = 0x10,
        ColLines = 0x20,
        RowLines = 0x40,
        Tabs = 0x80,
        RowSelect = 0x100,
        AlwaysShowSelection = 0x200,
        ConfirmDelete = 0x400,
        CancelOnExit = 0x800,
        MultiSelect = 0x1000,
    };
    Q_DECLARE_FLAGS(Options, Option)

    explicit TVKCustomDbGrid(QWidget* parent = nullptr);
    ~TVKCustomDbGrid() override;

    /// Attaches the grid to a dataset (or detaches it with nullptr). The dataset is not owned.
    void setDataset(GridDataset* dataset);
    GridDataset* dataset() const { return dataset_; }
    GridDatasetModel* datasetModel() const;

    QColor SortColor() const { return sortColor_; }
    void setSortColor(const QColor& color);
    bool TitleWordwrap() const { return titleWordwrap_; }
    void setTitleWordwrap(bool on);
    /// The marked sort column's field, or nullptr (the base grid accepts sorting on no field).
    GridField* markedSortField() const { return markedSortField_; }
    /// Whether a title click may mark the column of this field as the sort column.
    virtual bool canSortOnField(const GridField* field) const;

    Options options() const { return options_; }
    void setOptions(Options options);
    QFont titleFont() const { return titleFont_; }
    void setTitleFont(const QFont& font);
    QColor titleFontColor() const { return titleFontColor_; }
    void setTitleFontColor(const QColor& color);
    /// Sets the data font (the cells' font) and the row height that goes with it.
    void setDataFont(const QFont& font);
    /// Fixed height of every data row in pixels.
    void setRowHeight(int pixels);
    int rowHeight() const;

    /// Width in pixels of a column showing `characters` characters of the data font.
    int columnWidthFor(int characters) const;
    /// Display width in characters for a column of `pixels` pixels.
    int charactersFor(int pixels) const;
    /// Visible field shown in a column, or nullptr.
    GridField* fieldAt(int column) const;

Q_SIGNALS:
    /// A column title was clicked.
    void titleClick(int column);

protected:
    /// Called after the columns were laid out again from the fields.
    virtual void layoutChanged();
    /// Called after the user changed a column's width (written back to the field).
    virtual void columnWidthChanged(GridField* field);
    /// Handles a title click after titleClick was sent.
    virtual void titleClicked(int column);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyColumns();
    void followCurrent(int row);
    void updateVisibleRows();
    void updateTitleHeight();
    void onSectionResized(int column, int oldSize, int newSize);

    QPointer<GridDataset> dataset_;
    QList<QMetaObject::Connection> connections_;
    TVKTitleHeader* header_;
    QColor sortColor_;
    bool titleWordwrap_ = false;
    GridField* markedSortField_ = nullptr;
    Options options_;
    QFont titleFont_;
    QColor titleFontColor_;
    bool writeBackWidths_ = false;
    bool applyingColumns_ = false;
    bool followingDataset_ = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TVKCustomDbGrid::Options)

/// The published grid: TVKCustomDbGrid with the toolkit grid's usual properties.
class TVKDbGrid : public TVKCustomDbGrid {
    Q_OBJECT
public:
    enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

    explicit TVKDbGrid(QWidget* parent = nullptr);

    int FixedCols() const { return fixedCols_; }
    void setFixedCols(int count) { fixedCols_ = count; }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void setScrollBars(TScrollStyle style);
    bool ReadOnly() const { return readOnly_; }
    void setReadOnly(bool on) { readOnly_ = on; }

private:
    int fixedCols_ = 1;
    TScrollStyle scrollBars_ = ssBoth;
    bool readOnly_ = false;
};
