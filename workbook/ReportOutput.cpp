#include "workbook/ReportOutput.h"

#include "app/TextFile.h"
#include "store/Query.h"
#include "workbook/ReportRow.h"
#include "workbook/ReportStatements.h"
#include "workbook/Spreadsheet.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>

namespace {

constexpr double kColumnWidth = 25;

/// A message the operator reads for an output file that could not be written.
QString outputFailure(const QString& what, const QString& path, const QString& reason) {
    return what + QStringLiteral(" ") + path + QStringLiteral(": ") + reason;
}

} // namespace

struct ReportOutput::Impl {
    std::unique_ptr<SpreadsheetFile> sheet;
    QString workbookTemp; ///< the new workbook until it is put in place
    std::unique_ptr<QSaveFile> trace;

    ~Impl() {
        sheet.reset();
        if (!workbookTemp.isEmpty()) QFile::remove(workbookTemp);
    }
};

ReportOutput::ReportOutput(Context& ctx)
    : ctx_(ctx), impl_(std::make_unique<Impl>()), decimalPoint_(QLocale().decimalPoint()) {}

ReportOutput::~ReportOutput() = default;

void ReportOutput::fail(const QString& message) {
    ctx_.op.showMessage(message);
    throw std::runtime_error(message.toStdString());
}

void ReportOutput::GlavaExcel() {
    RunState& s = ctx_.state;
    const QFileInfo target(s.OutputFileName);
    {
        // A unique name beside the target, so that putting it in place is a rename within one folder.
        QTemporaryFile reserve(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                               QStringLiteral(".XXXXXX"));
        reserve.setAutoRemove(false);
        if (!reserve.open() || !reserve.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                       QFileDevice::ReadGroup | QFileDevice::ReadOther))
            fail(outputFailure(QStringLiteral("Delovnega zvezka ni mogoče ustvariti:"), s.OutputFileName,
                               reserve.errorString()));
        impl_->workbookTemp = reserve.fileName();
    }
    try {
        impl_->sheet = std::make_unique<SpreadsheetFile>(impl_->workbookTemp);
        for (int c = 1; c <= kReportColumns; ++c) impl_->sheet->setColumnWidth(c, kColumnWidth);
        for (int c = 1; c <= kReportColumns; ++c) impl_->sheet->writeText(1, c, columnLabels()[c - 1]);
    } catch (const SpreadsheetError& e) {
        fail(outputFailure(QStringLiteral("Delovnega zvezka ni mogoče ustvariti:"), s.OutputFileName, e.reason()));
    }

    const QString tracePath = s.ProgramFolder + QStringLiteral("TEVRA.TXT");
    impl_->trace = std::make_unique<QSaveFile>(tracePath);
    if (!impl_->trace->open(QIODevice::WriteOnly))
        fail(outputFailure(QStringLiteral("Datoteke ni mogoče ustvariti:"), tracePath, impl_->trace->errorString()));
}

void ReportOutput::PrepisVExcel() {
    RunState& s = ctx_.state;
    const QString statement = reportout::reportRowsByName(s.IdPor);
    try {
        if (!impl_->sheet || !impl_->trace) throw std::runtime_error("the workbook is not open");
        store::Query query(ctx_.db);
        query.setSql(statement);
        s.ProgressTotal = query.rowCount();
        if (s.ProgressTotal == 0)
            ctx_.op.showMessage(QStringLiteral("Po izločitvi ničelnih vrstic ni podatkov za v Excel"));
        s.ProgressCount = 0;
        std::optional<ReportRowReader> reader; // columns are known once the first row is there
        for (query.open(); !query.eof(); query.next()) {
            if (!reader) reader.emplace(query);
            const ReportRow row = reader->read();
            ++s.SheetRow;
            const auto cells = worksheetCells(row, s, decimalPoint_);
            for (int c = 1; c <= kReportColumns; ++c) {
                const SheetCell& cell = cells[c - 1];
                if (cell.kind == SheetCell::Kind::Number)
                    impl_->sheet->writeNumber(s.SheetRow, c, cell.number, cell.codeFormat);
                else
                    impl_->sheet->writeText(s.SheetRow, c, cell.text, cell.codeFormat);
            }
            const QByteArray line = toWindows1250(traceLine(row, s, decimalPoint_) + QStringLiteral("\r\n"));
            if (impl_->trace->write(line) != line.size())
                throw std::runtime_error(impl_->trace->errorString().toStdString());
            ++s.ProgressCount;
            ctx_.op.setProgressText(QStringLiteral("Excel: ") + QString::number(s.ProgressCount) +
                                    QStringLiteral("./.") + QString::number(s.ProgressTotal));
            ctx_.op.processEvents();
        }
        query.close();
    } catch (const std::exception&) {
        ctx_.op.showMessage(statement);
        throw;
    }
}

void ReportOutput::OdpriExcel(bool show) {
    const QString path = ctx_.state.OutputFileName;
    const QString what = QStringLiteral("Delovnega zvezka ni bilo mogoče shraniti v");
    if (!impl_->sheet) fail(outputFailure(what, path, QStringLiteral("the workbook was not created")));
    try {
        std::unique_ptr<SpreadsheetFile> sheet = std::move(impl_->sheet);
        sheet->save();
    } catch (const SpreadsheetError& e) {
        fail(outputFailure(what, path, e.reason()));
    }
    // rename() replaces an existing file in one step: the previous workbook stays until the new one is there.
    if (std::rename(QFile::encodeName(impl_->workbookTemp).constData(), QFile::encodeName(path).constData()) != 0)
        fail(outputFailure(what, path, QString::fromLocal8Bit(std::strerror(errno))));
    impl_->workbookTemp.clear();
    if (show) ctx_.op.showFile(path);
}

void ReportOutput::closeTraceFile() {
    if (!impl_->trace) return;
    std::unique_ptr<QSaveFile> trace = std::move(impl_->trace);
    if (!trace->commit())
        fail(outputFailure(QStringLiteral("Datoteke ni bilo mogoče shraniti:"), trace->fileName(), trace->errorString()));
}
