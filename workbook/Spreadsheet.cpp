#include "workbook/Spreadsheet.h"

#include <xlsxwriter.h>

SpreadsheetFile::SpreadsheetFile(const QString& path) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    const QByteArray file = path.toLocal8Bit();
    workbook_ = workbook_new_opt(file.constData(), &options);
    if (!workbook_) throw SpreadsheetError(QStringLiteral("the workbook cannot be created"));
    sheet_ = workbook_add_worksheet(workbook_, nullptr);
    codeFormat_ = workbook_add_format(workbook_);
    if (!sheet_ || !codeFormat_) {
        lxw_workbook_free(workbook_);
        workbook_ = nullptr;
        throw SpreadsheetError(QStringLiteral("the worksheet cannot be created"));
    }
    format_set_num_format(codeFormat_, "000");
}

SpreadsheetFile::~SpreadsheetFile() {
    if (workbook_) lxw_workbook_free(workbook_);
}

void SpreadsheetFile::check(int error, const char* operation) const {
    if (error != LXW_NO_ERROR)
        throw SpreadsheetError(QLatin1String(operation) + QStringLiteral(": ") +
                               QString::fromUtf8(lxw_strerror(static_cast<lxw_error>(error))));
}

void SpreadsheetFile::setColumnWidth(int column, double width) {
    const auto c = static_cast<lxw_col_t>(column - 1);
    check(worksheet_set_column(sheet_, c, c, width, nullptr), "column width");
}

void SpreadsheetFile::writeText(int row, int column, const QString& text, bool codeFormat) {
    if (row < lastRow_) throw SpreadsheetError(QStringLiteral("row %1 comes after row %2").arg(row).arg(lastRow_));
    lastRow_ = row;
    const auto r = static_cast<lxw_row_t>(row - 1);
    const auto c = static_cast<lxw_col_t>(column - 1);
    lxw_format* format = codeFormat ? codeFormat_ : nullptr;
    if (text.isEmpty()) {
        if (format) check(worksheet_write_blank(sheet_, r, c, format), "blank cell");
        return;
    }
    // The library takes a C string: a NUL would end the text there. XML cannot hold it either.
    const QByteArray utf8 = QString(text).replace(QChar(0), u' ').toUtf8();
    check(worksheet_write_string(sheet_, r, c, utf8.constData(), format), "text cell");
}

void SpreadsheetFile::writeNumber(int row, int column, double value, bool codeFormat) {
    if (row < lastRow_) throw SpreadsheetError(QStringLiteral("row %1 comes after row %2").arg(row).arg(lastRow_));
    lastRow_ = row;
    check(worksheet_write_number(sheet_, static_cast<lxw_row_t>(row - 1), static_cast<lxw_col_t>(column - 1), value,
                                 codeFormat ? codeFormat_ : nullptr),
          "number cell");
}

void SpreadsheetFile::save() {
    lxw_workbook* workbook = workbook_;
    workbook_ = nullptr; // workbook_close frees the workbook whatever its result
    check(workbook_close(workbook), "save");
}
