#include "grid/ChartControl.h"

#include "grid/GridToolBar.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QAreaSeries>
#include <QEvent>
#include <QFontMetrics>
#include <QHorizontalBarSeries>
#include <QLineSeries>
#include <QPainter>
#include <QPieSeries>
#include <QTimer>
#include <QToolBar>
#include <QValueAxis>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int ToolImageWidth = 16;
constexpr int MaxTicks = 20;

bool isEmptyValue(double value) { return !(value < ChartControl::EmptyValue * 0.999); }

struct KindTool {
    int item;
    const char* caption;
    ToolBitmap bitmap;
    int kind;
    bool horizontal;
};

const KindTool kindTools[] = {
    {0, "Bar", ToolBitmap::MSB_BAR, ChartControl::Bar, false},
    {1, "Horizontal bar", ToolBitmap::MSB_BARHORIZONTAL, ChartControl::Bar, true},
    {2, "Line", ToolBitmap::MSB_BARJOINED, ChartControl::Line, false},
    {3, "Area", ToolBitmap::MSB_BARSTACKED, ChartControl::Area, false},
    {4, "Pie", ToolBitmap::MSB_CIRCLE, ChartControl::Pie, false},
};

} // namespace

CategoryLabelLayout layoutCategoryLabels(int count, double slotWidth, int textWidth, int lineHeight,
                                         int staggerLines) {
    CategoryLabelLayout layout;
    if (count <= 0 || slotWidth <= 0) return layout;
    const int lines = std::max(staggerLines, 1);
    // Staggered labels share `lines` rows, so each may use that many slots side by side.
    if (textWidth <= slotWidth * lines) return layout;
    if (lines == 1) {
        layout.rotated = true;
        layout.step = std::max(1, int(std::ceil(lineHeight * 1.2 / slotWidth)));
    } else {
        layout.step = std::max(1, int(std::ceil(textWidth / (slotWidth * lines))));
    }
    return layout;
}

ChartControl::ChartControl(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    toolBar_ = new QToolBar(this);
    toolBar_->setIconSize(QSize(15, 15));
    toolBar_->installEventFilter(this);
    view_ = new QChartView(new QChart, this);
    view_->setRenderHint(QPainter::Antialiasing);
    layout->addWidget(toolBar_);
    layout->addWidget(view_, 1);

    toolActions_.resize(ToolItemCount);
    toolCommands_.fill(0, ToolItemCount);
    toolStyles_.fill(0, ToolItemCount);
    for (const KindTool& tool : kindTools) {
        QAction* action = toolBar_->addAction(QIcon(toolBitmap(tool.bitmap)), tr(tool.caption));
        toolActions_[tool.item] = action;
        toolStyles_[tool.item] = StyleButton;
        connect(action, &QAction::triggered, this, [this, tool] {
            setType_(tool.horizontal ? (type_ | HorizontalBit) : (type_ & ~HorizontalBit));
            setChartType(tool.kind);
        });
    }
    toolBar_->addSeparator();
    for (int item = FirstProgramItem; item < ToolItemCount; ++item) {
        QAction* action = toolBar_->addAction(QString());
        action->setVisible(false);
        toolActions_[item] = action;
        connect(action, &QAction::triggered, this, [this, item] {
            if (toolCommands_[item] != 0) Q_EMIT userCommand(toolCommands_[item]);
        });
    }
}

ChartControl::~ChartControl() = default;

QChart* ChartControl::chart() const { return view_->chart(); }

void ChartControl::openData(short kind, int series, int points) {
    if (kind != 1) return;
    seriesCount_ = std::max(series, 0);
    pointCount_ = std::max(points, 0);
    values_.fill(EmptyValue, qsizetype(seriesCount_) * pointCount_);
    legends_.clear();
    keyLegends_.clear();
    seriesLegends_.clear();
    thisSerie_ = 0;
}

void ChartControl::closeData(short kind) {
    if (kind == 1) scheduleRedraw();
}

void ChartControl::setValue(int point, double value) {
    if (thisSerie_ < 0 || thisSerie_ >= seriesCount_ || point < 0 || point >= pointCount_) return;
    values_[qsizetype(thisSerie_) * pointCount_ + point] = value;
}

double ChartControl::value(int series, int point) const {
    if (series < 0 || series >= seriesCount_ || point < 0 || point >= pointCount_) return EmptyValue;
    return values_[qsizetype(series) * pointCount_ + point];
}

void ChartControl::setSetting(short index, double value) {
    settings_[index] = value;
    scheduleRedraw();
}

void ChartControl::setCaption(short index, const QString& text) {
    captions_[index] = text;
    scheduleRedraw();
}

void ChartControl::setLegend(int point, const QString& text) {
    legends_[point] = text;
    scheduleRedraw();
}

void ChartControl::setKeyLegend(int point, const QString& text) {
    keyLegends_[point] = text;
    scheduleRedraw();
}

void ChartControl::setSeriesLegend(short series, const QString& text) {
    seriesLegends_[series] = text;
    scheduleRedraw();
}

QStringList ChartControl::categoryLabels() const {
    QStringList labels;
    for (int n = 0; n < pointCount_; ++n) {
        QString text = legends_.value(n);
        if (text.isEmpty()) text = keyLegends_.value(n);
        text.replace(u'\r', u'\n');
        labels.append(text);
    }
    return labels;
}

void ChartControl::setToolCommand(short item, int command) {
    if (item < 0 || item >= ToolItemCount) return;
    toolCommands_[item] = command;
}

void ChartControl::setToolStyle(short item, int style) {
    if (item < 0 || item >= ToolItemCount || item < FirstProgramItem) return;
    toolStyles_[item] = style;
    QAction* action = toolActions_[item];
    action->setSeparator(style & StyleSeparator);
    action->setCheckable(style & StyleToggle);
    applyToolImages();
}

void ChartControl::setToolEnabled(short item, int enabled) {
    if (item < 0 || item >= ToolItemCount || !toolActions_[item]) return;
    toolActions_[item]->setEnabled(enabled != 0);
    if (item >= FirstProgramItem) toolActions_[item]->setVisible(toolStyles_[item] != 0);
}

int ChartControl::toolCommand(short item) const {
    return item >= 0 && item < ToolItemCount ? toolCommands_[item] : 0;
}

QAction* ChartControl::toolAction(short item) const {
    return item >= 0 && item < ToolItemCount ? toolActions_[item] : nullptr;
}

void ChartControl::setTBBitmap(const QPixmap& strip) {
    toolStrip_ = strip;
    applyToolImages();
}

void ChartControl::applyToolImages() {
    if (toolStrip_.isNull()) return;
    for (int item = FirstProgramItem; item < ToolItemCount; ++item) {
        const int left = item * ToolImageWidth;
        if (left + ToolImageWidth <= toolStrip_.width() && !(toolStyles_[item] & StyleSeparator))
            toolActions_[item]->setIcon(QIcon(toolStrip_.copy(left, 0, ToolImageWidth, toolStrip_.height())));
    }
}

void ChartControl::refresh() { scheduleRedraw(); }

void ChartControl::setType_(int type) {
    type_ = type;
    scheduleRedraw();
}

void ChartControl::setFixedGap(int gap) {
    fixedGap_ = gap;
    scheduleRedraw();
}

void ChartControl::setChartType(int kind) {
    chartType_ = kind;
    Q_EMIT chartTypeChanged();
    scheduleRedraw();
}

void ChartControl::scheduleRedraw() {
    if (redrawQueued_) return;
    redrawQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        if (redrawQueued_) redrawNow();
    });
}

void ChartControl::redrawNow() {
    redrawQueued_ = false;
    QChart* c = chart();
    c->removeAllSeries();
    for (QAbstractAxis* axis : c->axes()) {
        c->removeAxis(axis);
        delete axis;
    }
    c->setTitle(QString());
    c->legend()->setVisible(seriesCount_ > 0);
    if (seriesCount_ == 0 || pointCount_ == 0) return;

    const QStringList labels = categoryLabels();
    if (chartType_ == Pie) {
        auto* pie = new QPieSeries;
        for (int n = 0; n < pointCount_; ++n) {
            const double v = value(0, n);
            if (!isEmptyValue(v) && v > 0) pie->append(QString(labels[n]).replace(u'\n', u' ').trimmed(), v);
        }
        c->addSeries(pie);
        c->setTitle(seriesLegends_.value(0));
        return;
    }

    auto* categories = new QBarCategoryAxis;
    auto* values = new QValueAxis;
    const bool horizontal = chartType_ == Bar && (type_ & HorizontalBit);
    c->addAxis(categories, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    c->addAxis(values, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    categories->setTitleText(captions_.value(CategoryAxisCaption));
    values->setTitleText(captions_.value(ValueAxisCaption));

    if (chartType_ == Bar) {
        QAbstractBarSeries* bars = horizontal ? static_cast<QAbstractBarSeries*>(new QHorizontalBarSeries)
                                              : static_cast<QAbstractBarSeries*>(new QBarSeries);
        bars->setBarWidth(fixedGap_ ? 0.8 : 1.0);
        for (int s = 0; s < seriesCount_; ++s) {
            auto* set = new QBarSet(seriesLegends_.value(s));
            for (int n = 0; n < pointCount_; ++n) {
                const double v = value(s, n);
                set->append(isEmptyValue(v) ? 0.0 : v);
            }
            bars->append(set);
        }
        c->addSeries(bars);
        bars->attachAxis(categories);
        bars->attachAxis(values);
    } else {
        for (int s = 0; s < seriesCount_; ++s) {
            auto* line = new QLineSeries;
            line->setName(seriesLegends_.value(s));
            for (int n = 0; n < pointCount_; ++n) {
                const double v = value(s, n);
                if (!isEmptyValue(v)) line->append(n, v);
            }
            QAbstractSeries* series = line;
            if (chartType_ == Area) {
                auto* area = new QAreaSeries(line);
                area->setName(line->name());
                series = area;
            }
            c->addSeries(series);
            series->attachAxis(categories);
            series->attachAxis(values);
        }
    }

    if (settings_.contains(AxisMin) && settings_.contains(AxisMax) && settings_[AxisMax] > settings_[AxisMin]) {
        const double low = settings_[AxisMin];
        const double high = settings_[AxisMax];
        values->setRange(low, high);
        double step = settings_.value(AxisStep);
        if (step > 0) {
            while ((high - low) / step > MaxTicks) step *= (std::fmod(std::log10(step), 1.0) == 0 ? 2 : 2.5);
            values->setTickType(QValueAxis::TicksDynamic);
            values->setTickAnchor(low);
            values->setTickInterval(step);
        }
    }
    layoutLabels();
}

void ChartControl::layoutLabels() {
    QChart* c = chart();
    const auto axes = c->axes(Qt::Horizontal) + c->axes(Qt::Vertical);
    QBarCategoryAxis* categories = nullptr;
    for (QAbstractAxis* axis : axes)
        if ((categories = qobject_cast<QBarCategoryAxis*>(axis))) break;
    if (!categories) return;

    const QStringList labels = categoryLabels();
    const QFontMetrics metrics(categories->labelsFont());
    int textWidth = 0;
    int lines = 1;
    for (const QString& label : labels) {
        const QStringList parts = label.split(u'\n');
        lines = std::max(lines, int(parts.size()));
        for (const QString& part : parts) textWidth = std::max(textWidth, metrics.horizontalAdvance(part));
    }
    const bool horizontal = categories->alignment() == Qt::AlignBottom;
    const QRectF plot = c->plotArea().isEmpty() ? QRectF(0, 0, std::max(width() - 120, 100), std::max(height() - 160, 100))
                                                : c->plotArea();
    const double slot = (horizontal ? plot.width() : plot.height()) / std::max<qsizetype>(labels.size(), 1);
    labelLayout_ = horizontal ? layoutCategoryLabels(int(labels.size()), slot, textWidth, metrics.height(), lines)
                              : CategoryLabelLayout{false, std::max(1, int(std::ceil(metrics.height() / slot)))};

    // Labels must differ from each other; the ones left out are told apart by an empty HTML comment.
    QStringList shown;
    for (int n = 0; n < labels.size(); ++n) {
        if (n % labelLayout_.step == 0)
            shown.append(labels[n].toHtmlEscaped().replace(u'\n', QStringLiteral("<br>")));
        else
            shown.append(QStringLiteral("<!--%1-->").arg(n));
    }
    categories->setCategories(shown);
    categories->setLabelsAngle(labelLayout_.rotated ? -90 : 0);
}

void ChartControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (pointCount_ > 0) scheduleRedraw();
}

bool ChartControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == toolBar_ && event->type() == QEvent::Show) Q_EMIT toolBarShown();
    return QWidget::eventFilter(watched, event);
}
