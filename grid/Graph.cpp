#include "grid/Graph.h"

#include "grid/GridDataset.h"
#include "grid/GridToolBar.h"
#include "grid/Ufcharfx.h"
#include "grid/Ugraphvi.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {

/// The tool-bar images of the chart: 16-pixel cells, the window's own commands at items 25 and 26.
QPixmap toolStrip() {
    QPixmap strip(16 * ChartControl::ToolItemCount, 15);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.drawPixmap(16 * 25, 0, toolBitmap(ToolBitmap::MSB_VIEW));
    painter.drawPixmap(16 * 26, 0, toolBitmap(ToolBitmap::MSB_SIZEW));
    return strip;
}

} // namespace

Tgraf::Tgraf(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("graf"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    chart = new TFChartFx(this);
    layout->addWidget(chart);
    imgTool = new QLabel(this);
    imgTool->setPixmap(toolStrip());
    imgTool->hide();

    chart->setTBBitmap(imgTool->pixmap());
    setupToolBar();
    connect(chart, &ChartControl::toolBarShown, this, &Tgraf::setupToolBar);
    connect(chart, &ChartControl::userCommand, this, [this](int id) {
        try {
            command(id);
        } catch (const std::exception& error) {
            GridToolBar::reportError(error);
        }
    });
    connect(chart, &ChartControl::chartTypeChanged, this, &Tgraf::chartTypeChanged);
}

void Tgraf::setupToolBar() {
    chart->setToolCommand(24, 6);
    chart->setToolStyle(24, ChartControl::StyleSeparator);
    chart->setToolCommand(25, CommandSettings);
    chart->setToolStyle(25, ChartControl::StyleButton);
    chart->setToolCommand(26, CommandFixedGap);
    chart->setToolStyle(26, ChartControl::StyleToggle | ChartControl::StyleButton);
    for (short item = 24; item <= 26; ++item) chart->setToolEnabled(item, 1);
    chart->refresh();
}

void Tgraf::graph(const GridField& x, const GridField& y) {
    if (!chart->dataSource()) return;
    chart->yFieldName = QStringList{y.name()};
    chart->xFieldName = x.name();
    chart->gFieldName.clear();
    chart->setCaption(ChartControl::CategoryAxisCaption, x.displayLabel());
    chart->setCaption(ChartControl::ValueAxisCaption, y.displayLabel());
    chart->loadData();
}

int Tgraf::run() {
    setWindowState(windowState() | Qt::WindowMaximized);
    return exec();
}

void Tgraf::command(int command) {
    if (command == CommandFixedGap) chart->setFixedGap(chart->FixedGap() ? 0 : 1);
    else if (command == CommandSettings) showSettings();
}

void Tgraf::showSettings() {
    GridDataset* dataset = chart->dataSource();
    if (!dataset) return;
    QString x = chart->xFieldName;
    QStringList y = chart->yFieldName;
    QString g = chart->gFieldName;
    if (!TfGraphView::settings(*dataset, x, y, g)) return;
    chart->xFieldName = x;
    chart->yFieldName = y;
    chart->gFieldName = g;
    chart->setCaption(ChartControl::CategoryAxisCaption, dataset->fieldByName(x).displayLabel());
    QStringList labels;
    for (const QString& name : y) labels.append(dataset->fieldByName(name).displayLabel());
    chart->setCaption(ChartControl::ValueAxisCaption, labels.join(QStringLiteral(", ")));
    chart->loadData();
}

void Tgraf::chartTypeChanged() {
    chart->setType_(chart->Type_() | ChartTypeChangedBit);
    chart->setLegStyle(75);
    chart->relabelCategories();
}
