#pragma once

#include "app/Context.h"

#include <QString>
#include <memory>

/// The workbook and the trace file TEVRA.TXT of one run. Both are written to temporary files
/// beside their targets and put in place only when complete, so a run that fails leaves the
/// previous workbook and trace file as they were.
class ReportOutput {
public:
    explicit ReportOutput(Context& ctx);
    ~ReportOutput();

    /// Creates the workbook with its field labels and column widths, and opens the trace file.
    void GlavaExcel();
    /// Writes the run's report rows in order of K16 to the worksheet and the trace file.
    void PrepisVExcel();
    /// Saves the workbook into place under OutputFileName; shows it when `show` is set. A workbook
    /// that cannot be saved is told to the operator (path and reason) and passed on as an error.
    void OdpriExcel(bool show);
    /// Closes the trace file and puts it in place.
    void closeTraceFile();

    /// The decimal separator of the text forms of numbers (the user's by default).
    void setDecimalPoint(const QString& decimalPoint) { decimalPoint_ = decimalPoint; }

private:
    struct Impl;
    [[noreturn]] void fail(const QString& message);
    Context& ctx_;
    std::unique_ptr<Impl> impl_;
    QString decimalPoint_;
};
