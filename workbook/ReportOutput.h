#pragma once

#include "app/Context.h"

#include <memory>

/// The workbook and the trace file TEVRA.TXT of one run. Both are written to temporary files
/// beside their targets and put in place only when complete.
class ReportOutput {
public:
    explicit ReportOutput(Context& ctx);
    ~ReportOutput();

    /// Creates the workbook with its field labels and opens the trace file.
    void GlavaExcel();
    /// Writes the run's report rows in order of K16.
    void PrepisVExcel();
    /// Saves the workbook into place; shows it when `show` is set.
    void OdpriExcel(bool show);
    /// Closes the trace file and puts it in place.
    void closeTraceFile();

private:
    struct Impl;
    Context& ctx_;
    std::unique_ptr<Impl> impl_;
};
