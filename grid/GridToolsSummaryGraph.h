#pragma once

// Registers the summaries, export and graph tools with the grid tool bar.

/// Makes the summaries (TfDataSetPrint), export and graph (Tgraf) buttons of every grid work.
void registerSummaryGraphTools();
