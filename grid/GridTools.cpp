#include "grid/GridTools.h"

#include "grid/GridDataset.h"
#include "grid/GridPrint.h"
#include "grid/GridScopeGuard.h"
#include "grid/GridToolBar.h"
#include "grid/Uflocate.h"
#include "grid/UFSort.h"
#include "grid/Ufwgrid.h"

#include <QPrinter>

void columnChoiceLines(TFwwDBGrid& grid, TFieldLines& shown, TFieldLines& available) {
    shown.clear();
    available.clear();
    GridDataset* ds = grid.dataset();
    if (!ds) return;
    grid.applyLayout();
    for (GridField* field : ds->fields())
        (field->visible() ? shown : available).append({field->displayLabel(), field});
}

void applyColumnChoice(TFwwDBGrid& grid, const TFieldLines& shown, const TFieldLines& available) {
    GridDataset* ds = grid.dataset();
    if (!ds) return;
    ds->disableControls();
    GridScopeGuard enable([ds] { ds->enableControls(); });
    int position = 0;
    for (const TFieldLine& line : shown) {
        line.field->setIndex(position++);
        line.field->setVisible(true);
    }
    for (const TFieldLine& line : available) {
        line.field->setIndex(position++);
        line.field->setVisible(false);
    }
    grid.rebuildLayout();
}

void runSortTool(TFwwDBGrid& grid) {
    TfSort::instance().run(grid.dataset(), &grid.SortInfo,
                           [&grid](const TSortInfoItem* item) { grid.sortChoicePicked(item); });
}

void runColumnViewTool(TFwwDBGrid& grid) {
    GridDataset* ds = grid.dataset();
    if (!ds) return;
    ds->disableControls();
    GridScopeGuard enable([ds] { ds->enableControls(); });
    TFieldLines shown;
    TFieldLines available;
    columnChoiceLines(grid, shown, available);
    if (TsortSelect::instance().run(shown, available)) applyColumnChoice(grid, shown, available);
}

void runLocateTool(TFwwDBGrid& grid) {
    if (GridDataset* ds = grid.dataset(); ds && ds->isOpen()) TfLocate::instance().run(ds);
}

void runPrintTool(TFwwDBGrid& grid) {
    GridDataset* ds = grid.dataset();
    if (!ds || !ds->isOpen()) return;
    GridPrint& engine = GridPrint::instance();
    QPrinter printer(QPrinter::HighResolution);
    if (!engine.beginPrinting(printer, grid.labelText(), grid.font())) return;
    GridScopeGuard end([&engine] { engine.endPrinting(); });
    if (!engine.printDataset(grid.labelText(), *ds) && !engine.lastError().isEmpty())
        GridToolBar::reportError(std::runtime_error(engine.lastError().toStdString()));
}

void registerSortLocatePrintTools() {
    GridToolBar::setToolHandler(GridTool::Sort, runSortTool);
    GridToolBar::setToolHandler(GridTool::View, runColumnViewTool);
    GridToolBar::setToolHandler(GridTool::Locate, runLocateTool);
    GridToolBar::setToolHandler(GridTool::Print, runPrintTool);
}
