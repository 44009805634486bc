#pragma once

#include "app/RunState.h"

#include <QString>
#include <array>

namespace store {
class Query;
}

/// One report row of TEMP_TEVRA as the workbook and the trace file show it.
struct ReportRow {
    QString k11, k12, k13, k14, k15, k16, k17, k18;
    QString k21, k22, k23, k24, k25, k26, k27;
    double k28 = 0;
    QString k29;
    double k210 = 0;
    double k31 = 0, k32 = 0, k33 = 0, k34 = 0, k35 = 0, k36 = 0, k37 = 0, k38 = 0, k39 = 0, k310 = 0, k311 = 0,
           k312 = 0;
    QString k313, k314;
    double zaclot = 0;
};

/// Reads report rows from an open statement over TEMP_TEVRA, its columns found once by name.
class ReportRowReader {
public:
    /// `query` must be on a row; throws SqlError when a report column is missing.
    explicit ReportRowReader(const store::Query& query);
    /// The report row at the query's current row.
    ReportRow read() const;

private:
    const store::Query& query_;
    std::array<int, 33> field_;
};

/// The report row at the query's current row.
ReportRow readReportRow(const store::Query& query);

/// One worksheet cell of a report row.
struct SheetCell {
    enum class Kind { Text, Number };
    Kind kind = Kind::Text;
    QString text;
    double number = 0;
    bool codeFormat = false; ///< shown under the number format "000"
};

/// Number of report fields, one worksheet column each.
constexpr int kReportColumns = 32;

/// The worksheet's label of each column ("1.1." to "3.14.").
const std::array<QString, kReportColumns>& columnLabels();

/// Columns 1 to 32 of a report row. The currency codes of columns 17 and 32 are numbers under the
/// format "000" when they are made of digits (as a spreadsheet holds a typed code), text otherwise.
std::array<SheetCell, kReportColumns> worksheetCells(const ReportRow& row, const RunState& state,
                                                     const QString& decimalPoint);

/// The fixed-width trace line of a report row (without its line end).
QString traceLine(const ReportRow& row, const RunState& state, const QString& decimalPoint);

/// The general text form of a number: up to 15 significant digits, no thousands separators,
/// `decimalPoint` between the whole and the fraction; exponent form for very large or small magnitudes.
QString generalNumberText(double value, const QString& decimalPoint);
