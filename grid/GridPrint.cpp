#include "grid/GridPrint.h"

#include "grid/GridDataset.h"
#include "grid/GridScopeGuard.h"
#include "grid/Ufprnmsg.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

const QString ContinuationMark = QStringLiteral("> > >");

/// The system's short date and long time, without a time zone name.
QString headerDateTime() {
    const QLocale locale = QLocale::system();
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(u't');
    const QDateTime now = QDateTime::currentDateTime();
    return locale.toString(now.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(now.time(), timeFormat.trimmed());
}

double pointSizeOf(const QFont& font) {
    if (font.pointSizeF() > 0) return font.pointSizeF();
    if (font.pixelSize() > 0) return font.pixelSize() * 72.0 / 96.0;
    return 8;
}

} // namespace

const QString GridPrint::AverageWidthSample = QStringLiteral("ABCDEFGHIJKLMNOPRSTUWZXY");
const QString GridPrint::LineHeightSample = QStringLiteral("p^{}[]yq$");

GridPrint& GridPrint::instance() {
    static GridPrint engine;
    return engine;
}

bool GridPrint::beginPrinting(QPrinter& printer, const QString& title, const QFont& font) {
    if (!progress_) progress_ = std::make_unique<TfPrintMsg>();
    if (!QPrinterInfo::availablePrinters().isEmpty()) printer.setPageOrientation(QPageLayout::Portrait);
    int first = 0;
    int last = 0;
    if (!progress_->runPrintDialog(printer, first, last)) {
        progress_.reset();
        return false;
    }
    // A PDF file would otherwise be laid out at 1200 dpi, where the margins shrink to nothing.
    if (printer.outputFormat() == QPrinter::PdfFormat) printer.setResolution(300);
    return beginPrinting(printer, title, font, first > 0 ? first : 1, last);
}

bool GridPrint::beginPrinting(QPrinter& printer, const QString& title, const QFont& font, int firstPage,
                              int lastPage) {
    if (!progress_) progress_ = std::make_unique<TfPrintMsg>();
    firstPage_ = std::max(firstPage, 1);
    // Without a range every page is output: a limit here would print all later pages onto the last one.
    lastPage_ = lastPage > 0 ? lastPage : INT_MAX;
    printer.setDocName(QCoreApplication::applicationFilePath() + QStringLiteral(" : "));
    page_ = 1;
    x_ = settings.leftMargin;
    y_ = settings.topMargin;
    fontName_ = font.family();
    fontSize_ = pointSizeOf(font);
    title_ = title;
    headerPrinted_ = false;
    aborted_ = false;
    lastError_.clear();
    printer_ = &printer;
    if (!painter_.begin(&printer)) {
        printer.abort();
        reset();
        return false;
    }
    setFont(fontSize_, Bold);
    averageCharWidth_ = std::max(1, painter_.fontMetrics().horizontalAdvance(AverageWidthSample) / 24);
    setFont(fontSize_, Plain);
    printPageHeader();
    return true;
}

void GridPrint::setFont(double pointSize, int style) {
    QFont font(fontName_);
    font.setPointSizeF(pointSize);
    font.setBold(style & Bold);
    font.setItalic(style & Italic);
    painter_.setFont(font);
}

int GridPrint::lineHeight() {
    return painter_.fontMetrics().boundingRect(LineHeightSample).height();
}

int GridPrint::pageWidth() const {
    return printer_ ? printer_->width() : 0;
}

int GridPrint::pageHeight() const {
    return printer_ ? printer_->height() : 0;
}

void GridPrint::reset() {
    progress_.reset();
    if (painter_.isActive()) painter_.end();
    printer_ = nullptr;
    x_ = settings.leftMargin;
    y_ = settings.topMargin;
    title_.clear();
    page_ = 1;
}

void GridPrint::abortJob() {
    if (aborted_ || !printer_) return;
    aborted_ = true;
    if (printer_->abort()) return;
    // Printing to a file cannot be aborted by the printer: drop what was written.
    const QString file = printer_->outputFileName();
    if (painter_.isActive()) painter_.end();
    if (!file.isEmpty()) QFile::remove(file);
}

void GridPrint::endPrinting() {
    progress_.reset();
    if (printer_ && painter_.isActive() && !aborted_ && !painter_.end()) abortJob();
    reset();
}

int GridPrint::drawTextCell(const QString& text, int x, int y, int width, int height, int flags) {
    QString shown = text.isEmpty() ? QStringLiteral(" ") : text.left(MaxCellText);
    int used = height;
    if (flags & Qt::TextWordWrap) {
        used = painter_.boundingRect(QRect(x, y, std::max(width, 1), INT_MAX / 4), flags, shown).height();
    } else {
        flags |= Qt::TextSingleLine;
        shown.replace(u'\n', u' ');
    }
    if (drawing()) painter_.drawText(QRect(x, y, width, used), flags, shown);
    return used;
}

void GridPrint::drawLine(int x1, int y1, int x2, int y2) {
    if (drawing()) painter_.drawLine(x1, y1, x2, y2);
}

void GridPrint::printPageHeader() {
    if (headerPrinted_ || !printer_) return;
    setFont(fontSize_, Italic);
    const int h = lineHeight();
    const QString text = u' ' + headerDateTime() + QStringLiteral(", Stran ") + QString::number(page_);
    const int width = averageCharWidth_ * int(text.size());
    const int right = pageWidth() - settings.rightMargin;
    y_ +=
        drawTextCell(text, right - width, y_, width, h, Qt::AlignRight | Qt::AlignVCenter) + settings.lineGap;

    setFont(int(fontSize_ * 1.5), Bold);
    const int wide = pageWidth() - settings.leftMargin - settings.rightMargin;
    y_ +=
        drawTextCell(title_, settings.leftMargin, y_, wide, lineHeight(), Qt::AlignLeft | Qt::TextWordWrap) +
        settings.lineGap;
    x_ = settings.leftMargin;
    headerPrinted_ = true;
    setFont(fontSize_, Plain);
}

QList<int> GridPrint::columnWidths(const GridDataset& dataset) const {
    QList<int> widths;
    const int right = pageWidth() - settings.rightMargin;
    int x = settings.leftMargin;
    for (const GridField* field : dataset.visibleFields()) {
        if (x >= right) break;
        int w = averageCharWidth_ * std::max(field->displayWidth(), 0);
        if (x + w + 1 > right) w = right - x - 1;
        widths.append(w);
        x += w + 3;
    }
    return widths;
}

bool GridPrint::printColumnTitles(const GridDataset& dataset) {
    setFont(fontSize_, Italic);
    x_ = settings.leftMargin;
    const int h = lineHeight();
    int band = h + 1 + settings.lineGap;
    if (pageHeight() - settings.bottomMargin < y_ + 2 * band) return false;
    const QList<int> widths = columnWidths(dataset);
    const QList<GridField*> fields = dataset.visibleFields();
    QList<int> rules;
    for (int i = 0; i < widths.size(); ++i) {
        const GridField* field = fields[i];
        const int w = widths[i];
        const int used = drawTextCell(field->displayLabel(), x_ + 1, y_ + 1 + settings.lineGap / 2, w, h,
                                      int(field->alignment() & Qt::AlignHorizontal_Mask) | Qt::TextWordWrap);
        band = std::max(band, used);
        rules.append(x_ + w + 2);
        x_ += w + 3;
    }
    if (settings.rulingLines) {
        for (int rule : rules)
            drawLine(rule, y_, rule, y_ + band);
        drawLine(settings.leftMargin, y_, x_, y_);
        drawLine(settings.leftMargin, y_ + band, x_, y_ + band);
        drawLine(settings.leftMargin, y_, settings.leftMargin, y_ + band);
    }
    y_ += band + 1;
    x_ = settings.leftMargin;
    return true;
}

bool GridPrint::printRecord(const GridDataset& dataset, int rowNumber, bool cut) {
    setFont(fontSize_, Bold);
    x_ = settings.leftMargin;
    const int h = lineHeight();
    const int bottom = y_ + h + settings.lineGap + 1;
    const bool fits = pageHeight() - settings.bottomMargin >= bottom;
    if (!fits && !cut) return false;
    if (!fits && drawing()) painter_.setClipRect(QRect(0, 0, pageWidth(), pageHeight()));
    const QList<int> widths = columnWidths(dataset);
    const QList<GridField*> fields = dataset.visibleFields();
    for (int i = 0; i < widths.size(); ++i) {
        const GridField* field = fields[i];
        const int w = widths[i];
        const QString text =
            field->name() == QLatin1String("#") ? QString::number(rowNumber) : dataset.displayText(*field);
        drawTextCell(text, x_ + 1, y_ + settings.lineGap / 2 + 1, w, h,
                     int(field->alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter);
        if (settings.rulingLines) drawLine(x_ + w + 2, y_, x_ + w + 2, bottom);
        x_ += w + 3;
    }
    if (settings.rulingLines) {
        drawLine(settings.leftMargin, y_, settings.leftMargin, bottom);
        drawLine(settings.leftMargin, bottom, x_, bottom);
    }
    if (!fits && painter_.isActive()) painter_.setClipping(false);
    x_ = settings.leftMargin;
    y_ = bottom + 1;
    return true;
}

void GridPrint::newPage() {
    if (page_ >= firstPage_ && page_ < lastPage_ && printer_ && !aborted_ && !printer_->newPage()) abortJob();
    ++page_;
    headerPrinted_ = false;
    x_ = settings.leftMargin;
    y_ = settings.topMargin;
}

void GridPrint::continuationRight() {
    const int h = lineHeight();
    const int width = 5 * averageCharWidth_;
    const int right = pageWidth() - settings.rightMargin;
    drawTextCell(ContinuationMark, right - width, y_, width, h, Qt::AlignRight | Qt::AlignVCenter);
    y_ += h + settings.lineGap;
}

void GridPrint::continuationLeft() {
    const int h = lineHeight();
    drawTextCell(ContinuationMark, settings.leftMargin, y_, 5 * averageCharWidth_, h,
                 Qt::AlignLeft | Qt::AlignVCenter);
    y_ += h + settings.lineGap;
}

bool GridPrint::printDataset(const QString& title, GridDataset& dataset) {
    if (!printer_ || aborted_) return false;
    title_ = title;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int remembered = dataset.recNo();
    dataset.disableControls();
    GridScopeGuard restore([this, &dataset, remembered] {
        try {
            if (remembered >= 0 && remembered < dataset.recordCount()) dataset.setRecNo(remembered);
        } catch (const std::exception&) {
            // the dataset could not be read again; it stays where the print left it
        }
        dataset.enableControls();
        if (progress_) progress_->hide();
        QApplication::restoreOverrideCursor();
    });
    try {
        dataset.first();
        if (!progress_) progress_ = std::make_unique<TfPrintMsg>();
        progress_->showProgress(dataset.recordCount(), 0);

        printPageHeader();
        printColumnTitles(dataset);
        if (page_ > 1) continuationLeft();

        int row = 1;
        // A record that does not fit right below the titles of a fresh page would not fit on any
        // later page either: it is printed cut off at the page's edge instead of starting pages forever.
        bool freshPage = true;
        while (!dataset.eof()) {
            if (printRecord(dataset, row, freshPage)) {
                dataset.next();
                ++row;
                freshPage = false;
            } else {
                continuationRight();
                newPage();
                printPageHeader();
                printColumnTitles(dataset);
                freshPage = true;
            }
            if (!progress_->updateProgress(row)) abortJob();
            if (aborted_) return false;
        }
        return true;
    } catch (const std::exception& error) {
        lastError_ = QString::fromUtf8(error.what());
        abortJob();
        return false;
    }
}
