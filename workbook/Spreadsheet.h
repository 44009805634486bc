#pragma once

#include <QString>
#include <stdexcept>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

/// A failed workbook operation, with the reason the writer gave.
class SpreadsheetError : public std::runtime_error {
public:
    explicit SpreadsheetError(const QString& reason) : std::runtime_error(reason.toStdString()), reason_(reason) {}
    const QString& reason() const { return reason_; }

private:
    QString reason_;
};

/// The few spreadsheet operations the report uses, over a streaming .xlsx writer: one worksheet,
/// column widths, text and number cells (optionally with the number format "000"), save.
/// Rows and columns are 1-based. Column widths must be set before the first cell; rows are
/// written in ascending order (the writer keeps only the current row in memory).
class SpreadsheetFile {
public:
    /// A new workbook with one worksheet, written to `path` when saved. Throws SpreadsheetError.
    explicit SpreadsheetFile(const QString& path);
    ~SpreadsheetFile();
    SpreadsheetFile(const SpreadsheetFile&) = delete;
    SpreadsheetFile& operator=(const SpreadsheetFile&) = delete;

    void setColumnWidth(int column, double width);
    void writeText(int row, int column, const QString& text, bool codeFormat = false);
    void writeNumber(int row, int column, double value, bool codeFormat = false);
    /// Writes the file and releases the workbook. Throws SpreadsheetError.
    void save();

private:
    void check(int error, const char* operation) const;

    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_format* codeFormat_ = nullptr;
    int lastRow_ = 0;
};
