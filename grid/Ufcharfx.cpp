#include "grid/Ufcharfx.h"

#include "grid/GridDataset.h"

#include <QApplication>

#include <cmath>
#include <vector>

namespace {

/// Restores the cursor and the dataset's controls (and position) however the load ends.
class LoadGuard {
public:
    explicit LoadGuard(GridDataset& dataset) : dataset_(dataset), row_(dataset.recNo()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        dataset_.disableControls();
    }
    ~LoadGuard() {
        if (row_ >= 0 && row_ < dataset_.recordCount()) dataset_.setRecNo(row_);
        dataset_.enableControls();
        QApplication::restoreOverrideCursor();
    }
    LoadGuard(const LoadGuard&) = delete;
    LoadGuard& operator=(const LoadGuard&) = delete;

private:
    GridDataset& dataset_;
    int row_;
};

} // namespace

AxisScale axisScale(double a, double b) {
    if (a == b) {
        if (b > 0) a = 0;
        else b = 0;
    }
    if (b < a) std::swap(a, b);
    // A range of nothing (every value 0, or none) still needs a scale.
    if (b - a <= 0) b = a + 1;
    const double step = std::pow(10.0, std::trunc(std::log10(b - a)) - 1);
    double low = step * std::trunc(a / step);
    if (low > a) low -= step;
    double high = step * std::trunc(b / step);
    if (high <= b) high += step;
    return {low, high, step};
}

ChartSeriesLimitError::ChartSeriesLimitError()
    : std::runtime_error(QStringLiteral("Limit of %1 series exceeded").arg(TFChartFx::MaxSeries + 1).toStdString()) {}

TFChartFx::TFChartFx(QWidget* parent) : ChartControl(parent) {}

void TFChartFx::setXLegPeriod(int period) {
    xLegPeriod_ = period;
    setLegStyle(75);
    relabelCategories();
}

void TFChartFx::loadData() {
    if (!dataSource_) return;
    GridDataset& dataset = *dataSource_;
    LoadGuard guard(dataset);

    GridField& xField = dataset.fieldByName(xFieldName);
    QList<GridField*> yFields;
    for (const QString& name : yFieldName) yFields.append(&dataset.fieldByName(name));
    QStringList groups;
    GridField* groupField = nullptr;
    bool collectGroups = true;
    if (!gFieldName.isEmpty()) {
        groups = gFieldValue;
        collectGroups = groups.isEmpty();
        groupField = &dataset.fieldByName(gFieldName);
    } else {
        groups.append(QString());
        collectGroups = false;
    }

    // First pass: the group values and the categories, in order of first appearance.
    QStringList categories;
    const auto groupIndex = [&](bool collect) {
        if (!groupField) return 0;
        const QString text = dataset.displayText(*groupField);
        qsizetype index = groups.indexOf(text);
        if (index < 0 && collect) {
            groups.append(text);
            index = groups.size() - 1;
        }
        return int(index);
    };
    for (dataset.first(); !dataset.eof(); dataset.next()) {
        if (groupIndex(collectGroups) < 0) continue;
        const QString category = dataset.displayText(xField);
        if (!categories.contains(category)) categories.append(category);
    }

    const qsizetype yCount = yFields.size();
    const qsizetype seriesCount = groups.size() * yCount;
    if (seriesCount > MaxSeries) throw ChartSeriesLimitError();

    QStringList legends;
    for (qsizetype g = 0; g < groups.size(); ++g)
        for (const GridField* y : yFields) legends.append(y->displayLabel() + QStringLiteral(": ") + groups[g]);

    // Second pass: sums per category and series, in single precision like the chart's values.
    std::vector<double> cells(size_t(categories.size() * seriesCount), EmptyCell);
    QHash<QString, int> categoryIndex;
    for (int n = 0; n < categories.size(); ++n) categoryIndex.insert(categories[n], n);
    for (dataset.first(); !dataset.eof(); dataset.next()) {
        const int g = groupIndex(false);
        if (g < 0) continue;
        const auto found = categoryIndex.constFind(dataset.displayText(xField));
        if (found == categoryIndex.cend()) continue;
        for (qsizetype y = 0; y < yCount; ++y) {
            const double value = double(float(dataset.value(*yFields[y]).toDouble()));
            double& cell = cells[size_t(*found * seriesCount + g * yCount + y)];
            if (cell == EmptyCell) cell = value;
            else cell += value;
        }
    }

    double minimum = 1e38;
    double maximum = -1e38;
    for (double& cell : cells) {
        if (cell == EmptyCell) {
            cell = EmptyValue;
            continue;
        }
        minimum = std::min(minimum, cell);
        maximum = std::max(maximum, cell);
    }
    if (minimum > maximum) minimum = maximum = 0; // no values at all

    categories_ = categories;
    legendTexts_ = legends;
    setStyle(-1);
    setTypeEx(36);
    openData(1, int(seriesCount), int(categories.size()));
    for (int s = 0; s < int(seriesCount); ++s) setSeriesLegend(short(s), legends[s]);
    for (int n = 0; n < categories.size(); ++n) {
        for (int s = 0; s < int(seriesCount); ++s) {
            setThisSerie(s);
            setValue(n, cells[size_t(n * seriesCount + s)]);
        }
    }
    closeData(1);
    relabelCategories();

    const AxisScale scale = axisScale(minimum, maximum);
    setSetting(AxisMin, scale.minimum);
    setSetting(AxisMax, scale.maximum);
    setSetting(AxisStep, scale.step);
    setSetting(FirstPoint, 0);
    setSetting(LastPoint, double(categories.size() - 1));
    setRightGap(1);
}

void TFChartFx::relabelCategories() {
    const bool oneLine = (ChartType() == Bar && (Type_() & HorizontalBit)) || ChartType() == Pie;
    const int period = oneLine ? 0 : xLegPeriod_;
    for (int n = 0; n < categories_.size(); ++n) {
        if (period > 0) {
            setLegend(n, QString());
            setKeyLegend(n, QString(n % period, u'\r') + categories_[n]);
        } else {
            setKeyLegend(n, QString::number(n));
            setLegend(n, categories_[n]);
        }
    }
}
