#pragma once

// The grid tool bar's sorting, column view, locate and print tools.

#include "grid/Usortsel.h"

class TFwwDBGrid;

/// Registers the sort, column view, locate and print tools with GridToolBar; called at start-up.
void registerSortLocatePrintTools();

/// The column view tool's lists for a grid: its visible fields in field order (shown) and the
/// others (available), after the grid's saved layout was applied.
void columnChoiceLines(TFwwDBGrid& grid, TFieldLines& shown, TFieldLines& available);
/// Makes the shown fields visible in their order and puts the available ones after them, hidden;
/// then rebuilds the grid's saved layout.
void applyColumnChoice(TFwwDBGrid& grid, const TFieldLines& shown, const TFieldLines& available);

/// The tools as the tool bar runs them.
void runSortTool(TFwwDBGrid& grid);
void runColumnViewTool(TFwwDBGrid& grid);
void runLocateTool(TFwwDBGrid& grid);
void runPrintTool(TFwwDBGrid& grid);
