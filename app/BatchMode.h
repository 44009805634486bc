#pragma once

#include <QStringList>

/// The headless batch mode: start-up and one report run without any window.
/// Returns the process exit status (0 workbook written, 1 failure, 2 bad input or usage,
/// 3 no data for the period, 4 stopped at the question about clients without a sector).
int runBatch(const QStringList& arguments, const QString& programFilePath);

/// The usage text of the batch mode.
QString batchUsage();
