#pragma once

// TFChartFx: the chart that loads a dataset itself. It walks the dataset, sums the y fields per
// category (the x field's text) and series (y field x group value), and hands the finished value
// table, the labels and the value-axis scale to the charting layer.

#include "grid/ChartControl.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <stdexcept>

class GridDataset;

/// Value-axis range and step for values between a minimum and a maximum.
struct AxisScale {
    double minimum = 0;
    double maximum = 0;
    double step = 0;
};
/// Whole steps of a power of ten around [a, b]; equal values are widened to include 0.
AxisScale axisScale(double a, double b);

/// More series than the chart can hold.
class ChartSeriesLimitError : public std::runtime_error {
public:
    ChartSeriesLimitError();
};

class TFChartFx : public ChartControl {
    Q_OBJECT
public:
    /// Most series in one chart.
    static constexpr int MaxSeries = 99;
    /// Value of a cell that has received no value yet, while summing.
    static constexpr double EmptyCell = 3.14159e-31;

    explicit TFChartFx(QWidget* parent = nullptr);

    // Published properties.
    /// The dataset charted (not owned).
    GridDataset* dataSource() const { return dataSource_; }
    void setDataSource(GridDataset* dataset) { dataSource_ = dataset; }
    /// The category field.
    QString xFieldName;
    /// The value fields.
    QStringList yFieldName;
    /// The grouping field; empty for none.
    QString gFieldName;
    /// The group values charted; empty for every value found.
    QStringList gFieldValue;
    int xLegPeriod() const { return xLegPeriod_; }
    /// Labels are put on `period` staggered lines (0: one line).
    void setXLegPeriod(int period);

    /// Reads the dataset and sends the chart its values, labels and scale. Throws
    /// ChartSeriesLimitError (the chart keeps its content) and dataset errors.
    void loadData();
    /// Sends the category labels again (after a change of chart kind).
    void relabelCategories();

    const QStringList& categories() const { return categories_; }
    const QStringList& seriesLegendTexts() const { return legendTexts_; }

private:
    QPointer<GridDataset> dataSource_;
    int xLegPeriod_ = 0;
    QStringList categories_;
    QStringList legendTexts_;
};
