#pragma once

// Tgraf: the graph window of the grid's graph tool, a maximised modal window around the chart with
// two commands of its own on the chart's tool bar: the settings dialog and the bar-gap switch.

#include <QDialog>

class GridField;
class QLabel;
class TFChartFx;

class Tgraf : public QDialog {
    Q_OBJECT
public:
    /// Tool-bar commands of the window.
    static constexpr int CommandSettings = 29439;
    static constexpr int CommandFixedGap = 29438;
    static constexpr int ChartTypeChangedBit = 16777216;

    explicit Tgraf(QWidget* parent = nullptr);

    /// Charts y over x for the chart's data source (nothing is loaded when it has no dataset).
    void graph(const GridField& x, const GridField& y);
    /// Shows the window maximised and modal.
    int run();

    /// The chart's tool-bar commands.
    void command(int command);
    /// The settings dialog; on OK the chart is loaded again with the new choices.
    void showSettings();
    /// Sets up the window's tool-bar items on the chart.
    void setupToolBar();

    TFChartFx* chart = nullptr;
    QLabel* imgTool = nullptr;

private:
    void chartTypeChanged();
};
