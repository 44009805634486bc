#include "grid/GridToolsSummaryGraph.h"

#include "grid/Graph.h"
#include "grid/GridToolBar.h"
#include "grid/Ufcharfx.h"
#include "grid/Ufwgrid.h"
#include "grid/uDsPrint.h"
#include "grid/uProgres.h"

#include <QApplication>

namespace {

void summaries(TFwwDBGrid& grid) {
    GridDataset* dataset = grid.dataset();
    if (!dataset) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        TfDataSetPrint& window = TfDataSetPrint::instance();
        window.prepare(*dataset);
        grid.refreshLabelText();
        window.setTitle(grid.labelText());
        window.proposeDefaultGrouping();
        window.show();
        window.raise();
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
}

void exportTool(TFwwDBGrid& grid) {
    GridDataset* dataset = grid.dataset();
    if (!dataset) return;
    if (!TfDataSetPrint::existing()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        TfDataSetPrint::instance();
        QApplication::restoreOverrideCursor();
    }
    try {
        TfDataSetPrint::instance().exportDataset(*dataset);
    } catch (const TAbortOperation&) {
    }
}

void graphTool(TFwwDBGrid& grid) {
    GridField* x = grid.fieldAt(0);
    GridField* y = grid.fieldAt(1);
    if (!x || !y) return; // a graph needs two displayed columns
    Tgraf form(grid.window());
    form.chart->setDataSource(grid.dataset());
    form.graph(*x, *y);
    form.run();
}

} // namespace

void registerSummaryGraphTools() {
    GridToolBar::setToolHandler(GridTool::PrintGroup, summaries);
    GridToolBar::setToolHandler(GridTool::Export, exportTool);
    GridToolBar::setToolHandler(GridTool::Graph, graphTool);
}
