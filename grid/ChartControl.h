#pragma once

// The charting layer under the graph window: a widget that is handed a finished table of values
// (series x points) with point labels, series legends, captions and the value-axis range, and
// draws it with Qt Charts. It has its own tool bar of chart kinds; the program may add items to it
// and receives their commands.
//
// Values are set for the current series (setThisSerie) between openData and closeData. A value of
// EmptyValue marks a point without a value; it is not drawn.

#include <QMap>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

class QAction;
class QToolBar;
QT_BEGIN_NAMESPACE
class QChart;
class QChartView;
QT_END_NAMESPACE

/// How category labels are laid out along an axis that has `count` slots of `slotWidth` pixels.
struct CategoryLabelLayout {
    bool rotated = false; ///< labels stand vertically
    int step = 1;         ///< every step-th label is drawn
};
/// Readable labels: horizontal when they fit their slot (staggered labels spread over their lines),
/// otherwise rotated; labels are thinned out when even one text line does not fit a slot.
CategoryLabelLayout layoutCategoryLabels(int count, double slotWidth, int textWidth, int lineHeight,
                                         int staggerLines);

class ChartControl : public QWidget {
    Q_OBJECT
public:
    /// The value of a point that has none (the largest single-precision number).
    static constexpr double EmptyValue = 3.4028235e38;

    /// Chart kinds.
    enum Kind { Line = 1, Bar = 2, Area = 3, Pie = 5 };
    /// Bit of type(): bars lie horizontally.
    static constexpr int HorizontalBit = 512;

    /// Numeric settings.
    enum Setting { AxisMin = 0, AxisMax = 1, AxisStep = 2, FirstPoint = 6, LastPoint = 7 };
    /// Captions.
    enum Caption { ValueAxisCaption = 0, CategoryAxisCaption = 3 };
    /// First tool-bar item the program may set up; items before it are the chart kinds.
    static constexpr int FirstProgramItem = 24;
    static constexpr int ToolItemCount = 27;
    /// Tool-bar item styles.
    static constexpr int StyleButton = 1;
    static constexpr int StyleSeparator = 2;
    static constexpr int StyleToggle = 8192;

    explicit ChartControl(QWidget* parent = nullptr);
    ~ChartControl() override;

    // The value table.
    /// Starts a new table of `series` x `points` values (kind 1: values), all empty.
    void openData(short kind, int series, int points);
    /// Ends the table and draws it.
    void closeData(short kind);
    /// Value of a point in the current series.
    void setValue(int point, double value);
    double value(int series, int point) const;
    int seriesCount() const { return seriesCount_; }
    int pointCount() const { return pointCount_; }

    // Settings, captions and texts.
    void setSetting(short index, double value);
    double setting(short index) const { return settings_.value(index); }
    void setCaption(short index, const QString& text);
    QString caption(short index) const { return captions_.value(index); }
    /// First per-point text: the category's label (empty when the key legend carries it).
    void setLegend(int point, const QString& text);
    QString legend(int point) const { return legends_.value(point); }
    /// Second per-point text: the point's key; leading CR characters put the label on lower lines.
    void setKeyLegend(int point, const QString& text);
    QString keyLegend(int point) const { return keyLegends_.value(point); }
    void setSeriesLegend(short series, const QString& text);
    QString seriesLegend(int series) const { return seriesLegends_.value(series); }
    /// The category labels as drawn (line breaks as '\n').
    QStringList categoryLabels() const;

    // Tool bar.
    void setToolCommand(short item, int command);
    void setToolStyle(short item, int style);
    void setToolEnabled(short item, int enabled);
    int toolCommand(short item) const;
    QAction* toolAction(short item) const;
    QToolBar* toolBar() const { return toolBar_; }
    /// A strip of 16-pixel-wide tool images, one per item.
    void setTBBitmap(const QPixmap& strip);
    /// Draws again with the current settings.
    void refresh();

    // Properties.
    int Type_() const { return type_; }
    void setType_(int type);
    int Style() const { return style_; }
    void setStyle(int style) { style_ = style; }
    int TypeEx() const { return typeEx_; }
    void setTypeEx(int typeEx) { typeEx_ = typeEx; }
    int FixedGap() const { return fixedGap_; }
    void setFixedGap(int gap);
    int ChartType() const { return chartType_; }
    /// Changes the kind as the kind buttons do, and reports it.
    void setChartType(int kind);
    int LegStyle() const { return legStyle_; }
    void setLegStyle(int style) { legStyle_ = style; }
    int ThisSerie() const { return thisSerie_; }
    void setThisSerie(int series) { thisSerie_ = series; }
    int RightGap() const { return rightGap_; }
    void setRightGap(int gap) { rightGap_ = gap; }

    /// Rebuilds the drawing now (it is otherwise rebuilt when events are next processed).
    void redrawNow();
    QChart* chart() const;
    QChartView* chartView() const { return view_; }
    /// Layout of the category labels in the last drawing.
    CategoryLabelLayout labelLayout() const { return labelLayout_; }

Q_SIGNALS:
    /// A tool-bar item with a command was clicked.
    void userCommand(int command);
    /// The tool bar became visible.
    void toolBarShown();
    /// The user picked another chart kind.
    void chartTypeChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void scheduleRedraw();
    void applyToolImages();
    void layoutLabels();

    QChartView* view_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QVector<QAction*> toolActions_;
    QVector<int> toolCommands_;
    QVector<int> toolStyles_;
    QPixmap toolStrip_;

    int seriesCount_ = 0;
    int pointCount_ = 0;
    QVector<double> values_;
    QMap<int, double> settings_;
    QMap<int, QString> captions_;
    QMap<int, QString> legends_;
    QMap<int, QString> keyLegends_;
    QMap<int, QString> seriesLegends_;

    int type_ = 0;
    int style_ = 0;
    int typeEx_ = 0;
    int fixedGap_ = 1;
    int chartType_ = Bar;
    int legStyle_ = 0;
    int thisSerie_ = 0;
    int rightGap_ = 0;
    bool redrawQueued_ = false;
    CategoryLabelLayout labelLayout_;
};
