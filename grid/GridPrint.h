#pragma once

// Printing a grid's dataset as a columnar report: a page header with the date, time and page
// number, the grid's caption as a title, the column titles, then one line per record with ruling
// lines; header and titles repeat on every page. A page range limits which pages reach the
// printer while the layout runs through all of them. TfPrintMsg shows progress and can cancel.
//
// All lengths are printer device units (pixels of the printer); fonts are sized in points, so text
// keeps its size at any printer resolution.

#include <QFont>
#include <QList>
#include <QPainter>
#include <QString>

#include <climits>
#include <memory>

class GridDataset;
class QPrinter;
class TfPrintMsg;

/// Page set-up of grid printing, in printer device units.
struct GridPrintSettings {
    int leftMargin = 20;
    int rightMargin = 20;
    int topMargin = 50;
    int bottomMargin = 200;
    int lineGap = 5;
    bool rulingLines = true;
};

/// The process-wide print operations: begin, print one or more datasets, end.
class GridPrint {
public:
    /// The text whose width (bold, divided by its 24 characters) is the average character width.
    static const QString AverageWidthSample;
    /// The text whose height is the line height.
    static const QString LineHeightSample;
    static constexpr int MaxCellText = 1000;

    static GridPrint& instance();

    GridPrintSettings settings;

    /// Runs the print dialog, then begins a job on `printer`. False when the dialog was cancelled
    /// or the job could not start (nothing is shown then).
    bool beginPrinting(QPrinter& printer, const QString& title, const QFont& font);
    /// Begins a job on `printer` that outputs the pages firstPage..lastPage of the layout
    /// (lastPage 0: every page from firstPage on). False when the job could not start.
    bool beginPrinting(QPrinter& printer, const QString& title, const QFont& font, int firstPage,
                       int lastPage);
    /// Prints the dataset from its first record; true when all of it was printed. The dataset
    /// returns to the record it was on. A cancel or a failure aborts the job; lastError() then
    /// tells the failure (empty after a cancel).
    bool printDataset(const QString& title, GridDataset& dataset);
    /// Finishes the job (a failure aborts it) and resets the state.
    void endPrinting();

    bool printing() const { return printer_ != nullptr; }
    bool aborted() const { return aborted_; }
    const QString& lastError() const { return lastError_; }
    /// The progress window, present between begin and end.
    TfPrintMsg* progress() const { return progress_.get(); }

    // The layout's state and measures.
    int page() const { return page_; }
    int x() const { return x_; }
    int y() const { return y_; }
    int averageCharWidth() const { return averageCharWidth_; }
    /// Height of LineHeightSample in the current font.
    int lineHeight();
    int pageWidth() const;
    int pageHeight() const;
    /// Widths of the visible fields' columns as printed: display width times the average character
    /// width, the column crossing the right margin cut to end one unit before it, later ones left out.
    QList<int> columnWidths(const GridDataset& dataset) const;

    // Lower-level operations.
    void printPageHeader();
    /// False (and nothing drawn) when the titles and one line would not fit above the bottom margin.
    bool printColumnTitles(const GridDataset& dataset);
    /// False (and nothing drawn) when the record does not fit above the bottom margin, unless `cut`:
    /// then it is drawn anyway, cut off at the page's lower edge.
    bool printRecord(const GridDataset& dataset, int rowNumber, bool cut = false);
    void newPage();
    void continuationRight();
    void continuationLeft();
    /// Draws a text in a box (only on pages of the range) and returns the height used; with
    /// Qt::TextWordWrap the height needed is measured first.
    int drawTextCell(const QString& text, int x, int y, int width, int height, int flags);
    void drawLine(int x1, int y1, int x2, int y2);

private:
    GridPrint() = default;
    enum Style { Plain = 0, Bold = 1, Italic = 2 };
    void setFont(double pointSize, int style);
    bool pageInRange() const { return page_ >= firstPage_ && page_ <= lastPage_; }
    bool drawing() const { return pageInRange() && painter_.isActive() && !aborted_; }
    void abortJob();
    void reset();

    QPrinter* printer_ = nullptr;
    QPainter painter_;
    std::unique_ptr<TfPrintMsg> progress_;
    int page_ = 1;
    int firstPage_ = 1;
    int lastPage_ = INT_MAX;
    int x_ = 0;
    int y_ = 0;
    bool headerPrinted_ = false;
    bool aborted_ = false;
    QString title_;
    QString fontName_;
    double fontSize_ = 8;
    int averageCharWidth_ = 1;
    QString lastError_;
};
