#pragma once

// The grid tool bar: eleven flat buttons shared by every TFwwDBGrid of the process. A grid shows them
// above itself (in its parent) on a title click and gives them up when it loses focus; whichever
// grid showed them last receives their clicks.
//
// Tools that live in other units (column view, sorting, summaries, export, locate, printing, graph)
// register a handler with setToolHandler(); until then their buttons stay disabled and say so.

#include "grid/Ufwgrid.h"

#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QToolButton>

#include <array>
#include <functional>

class GridDataset;

/// The tool bitmaps, numbered 1 to 36.
enum class ToolBitmap {
    MSB_MAXIMIZE = 1,
    MSB_MINIMIZE,
    MSB_RESTORE,
    MSB_ZOOM,
    MSB_SUM,
    MSB_VIEW,
    MSB_PRINT,
    MSB_PRINT1,
    MSB_PRINTGROUP,
    MSB_CLEAR,
    MSB_REFRESH,
    MSB_SIZENS,
    MSB_SIZEN,
    MSB_SIZES,
    MSB_SIZEW,
    MSB_SIZEE,
    MSB_TITLEWORDWRAP,
    MSB_LOCATE,
    MSB_CALENDAR,
    MSB_URA,
    MSB_SORT,
    MSB_CALCULATOR,
    MSB_ALPHA,
    MSB_BAR,
    MSB_BARSTACKED,
    MSB_BARSTACKED100,
    MSB_BARHORIZONTAL,
    MSB_BARJOINED,
    MSB_BARNEGATIVE,
    MSB_CIRCLE,
    MSB_SQUARE,
    MSB_TRIANGLE,
    MSB_MARBLE,
    MSB_CUBE,
    MSB_COPYTOCLIP,
    MSB_EXPORT,
};

/// A 15 x 15 tool image, drawn once and kept for the process.
QPixmap toolBitmap(ToolBitmap bitmap);
/// The bitmap of a tool-bar tool.
ToolBitmap toolBitmapOf(GridTool tool);

/// A flat 18 x 18 tool button that never takes the focus from the grid.
class TStdBtn : public QToolButton {
    Q_OBJECT
public:
    explicit TStdBtn(QWidget* parent = nullptr);
};

class GridToolBar : public QObject {
    Q_OBJECT
public:
    using ToolHandler = std::function<void(TFwwDBGrid& grid)>;
    /// The process-wide zoom handler: (master dataset or nullptr, dataset, 0).
    using ZoomHandler = std::function<void(GridDataset* master, GridDataset* dataset, int)>;

    static constexpr int ButtonSize = 18;
    static constexpr int FirstButtonLeft = 8;
    /// Width of the eleven adjacent buttons.
    static constexpr int totalWidth() { return ButtonSize * GridToolCount; }

    /// The process-wide tool bar, created on first use and freed when the application ends.
    static GridToolBar& instance();
    /// The tool bar when it exists, else nullptr (it is not created by asking).
    static GridToolBar* existing();
    /// Shows an error of a tool the way the application reports errors.
    static void reportError(const std::exception& error);

    TStdBtn* button(GridTool tool);
    /// The grid the buttons act on, or nullptr while they are detached.
    TFwwDBGrid* owner() const { return owner_; }
    /// Routes the buttons to the grid, enables them by its gridButtons and places them in its parent.
    void attach(TFwwDBGrid& grid);
    /// Takes the buttons out of the grid's parent when the grid holds them.
    void detach(TFwwDBGrid& grid);

    /// Registers the handler of a tool that another unit carries out (nullptr removes it).
    static void setToolHandler(GridTool tool, ToolHandler handler);
    static const ToolHandler& toolHandler(GridTool tool);
    /// True when the tool can run for this grid: built in, or registered, or (print) OnPrint set.
    static bool toolAvailable(GridTool tool, const TFwwDBGrid& grid);
    /// English name of a tool, used as its tooltip.
    static QString toolCaption(GridTool tool);

    static void setZoomHandler(ZoomHandler handler);
    static const ZoomHandler& zoomHandler();

private:
    GridToolBar();
    ~GridToolBar() override;
    static void freeInstance();
    void refreshButton(GridTool tool, const TFwwDBGrid& grid);

    std::array<QPointer<TStdBtn>, GridToolCount> buttons_;
    QPointer<TFwwDBGrid> owner_;
};
