// Grid printing checked on real PDF output: pages are counted with pdfinfo and read with pdftotext.

#include "GridTestSupport.h"

#include "grid/GridDataset.h"
#include "grid/GridPrint.h"
#include "grid/Ufprnmsg.h"

#include <QAbstractPrintDialog>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed: " << process.readAllStandardError().toStdString();
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const QString& pdf) {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(run(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

/// The text of one page, line by line as laid out.
QStringList pdfPageLines(const QString& pdf, int page) {
    const QString text = run(QStringLiteral("pdftotext"),
                             {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                              QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
    QStringList lines;
    for (const QString& line : text.split(u'\n'))
        if (!line.trimmed().isEmpty() && line.trimmed() != QStringLiteral("\f")) lines.append(line.trimmed());
    return lines;
}

/// The NAME values "name<n>" printed on a page.
QList<int> printedNumbers(const QStringList& lines) {
    QList<int> numbers;
    const QRegularExpression name(QStringLiteral("name(\\d+)\\b"));
    for (const QString& line : lines)
        for (auto it = name.globalMatch(line); it.hasNext();)
            numbers.append(it.next().captured(1).toInt());
    return numbers;
}

} // namespace

class GridPrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedSettings = engine.settings;
        pdf = dir.filePath(QStringLiteral("grid.pdf"));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setResolution(300);
        printer.setPageSize(QPageSize(QPageSize::A4));
    }
    void TearDown() override {
        if (engine.printing()) engine.endPrinting();
        engine.settings = savedSettings;
    }

    std::unique_ptr<GridDataset> numbers(int rows) {
        db.createNumbers(rows);
        auto ds = std::make_unique<GridDataset>(db.db(), QStringLiteral("SELECT * FROM NUMBERS"));
        ds->open();
        ds->fieldByName(QStringLiteral("NAME")).setDisplayLabel(QStringLiteral("Naziv"));
        return ds;
    }

    /// Prints the dataset as the print tool does, pages first..last (0: all).
    bool print(GridDataset& ds, int first = 1, int last = 0) {
        if (!engine.beginPrinting(printer, QStringLiteral("Pregled stanja"),
                                  QFont(QStringLiteral("Arial"), 8), first, last))
            return false;
        const bool printed = engine.printDataset(QStringLiteral("Pregled stanja"), ds);
        engine.endPrinting();
        return printed;
    }

    GridPrint& engine = GridPrint::instance();
    GridPrintSettings savedSettings;
    TestDatabase db;
    QTemporaryDir dir;
    QString pdf;
    QPrinter printer{QPrinter::HighResolution};
};

TEST_F(GridPrintTest, EmptyDatasetPrintsHeaderTitleAndColumnTitles) {
    auto ds = numbers(0);
    ASSERT_TRUE(print(*ds));
    ASSERT_EQ(pdfPages(pdf), 1);
    const QStringList lines = pdfPageLines(pdf, 1);
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(", Stran 1"))) << lines[0].toStdString();
    EXPECT_EQ(lines[1], QStringLiteral("Pregled stanja"));
    EXPECT_TRUE(lines[2].contains(QStringLiteral("Naziv"))) << lines[2].toStdString();
    EXPECT_EQ(lines.size(), 3);
}

TEST_F(GridPrintTest, RecordThatDoesNotFitMovesToTheNextPageAfterAContinuationMark) {
    auto ds = numbers(120);
    ds->setRecNo(7);
    ASSERT_TRUE(print(*ds));
    EXPECT_EQ(ds->recNo(), 7);
    EXPECT_FALSE(ds->controlsDisabled());
    ASSERT_EQ(pdfPages(pdf), 2);

    const QStringList first = pdfPageLines(pdf, 1);
    const QStringList second = pdfPageLines(pdf, 2);
    EXPECT_EQ(QString(first.last()).remove(u' '), QStringLiteral(">>>")); // pdftotext drops the gaps
    ASSERT_GE(second.size(), 4);
    EXPECT_TRUE(second[0].endsWith(QStringLiteral(", Stran 2")));
    EXPECT_EQ(second[1], QStringLiteral("Pregled stanja"));
    EXPECT_TRUE(second[2].contains(QStringLiteral("Naziv")));
    const QList<int> onFirst = printedNumbers(first);
    const QList<int> onSecond = printedNumbers(second);
    ASSERT_FALSE(onFirst.isEmpty());
    ASSERT_FALSE(onSecond.isEmpty());
    EXPECT_EQ(printedNumbers({second[3]}), QList<int>{onFirst.last() + 1}); // right below the titles
    QList<int> all = onFirst + onSecond;
    QList<int> expected;
    for (int i = 1; i <= 120; ++i)
        expected.append(i);
    EXPECT_EQ(all, expected); // every record once, in order
}

TEST_F(GridPrintTest, PageRangeOutputsOnlyThoseLayoutPages) {
    auto ds = numbers(600);
    ASSERT_TRUE(print(*ds, 3, 5));
    ASSERT_EQ(pdfPages(pdf), 3);
    for (int sheet = 1; sheet <= 3; ++sheet) {
        const QStringList lines = pdfPageLines(pdf, sheet);
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_TRUE(lines[0].endsWith(QStringLiteral(", Stran %1").arg(sheet + 2))) << lines[0].toStdString();
    }
    EXPECT_GT(printedNumbers(pdfPageLines(pdf, 1)).first(), 100); // pages 1 and 2 were laid out, not printed
}

TEST_F(GridPrintTest, ColumnCrossingTheRightMarginIsCutAndLaterOnesLeftOut) {
    auto ds = numbers(3);
    ds->fieldByName(QStringLiteral("NAME")).setDisplayWidth(400);
    ds->fieldByName(QStringLiteral("AMOUNT")).setDisplayLabel(QStringLiteral("Znesek"));
    ASSERT_TRUE(
        engine.beginPrinting(printer, QStringLiteral("Široko"), QFont(QStringLiteral("Arial"), 8), 1, 0));
    const QList<int> widths = engine.columnWidths(*ds);
    ASSERT_EQ(widths.size(), 2);
    EXPECT_EQ(widths[0], engine.averageCharWidth() * ds->fieldByName(QStringLiteral("ID")).displayWidth());
    const int right = engine.pageWidth() - engine.settings.rightMargin;
    EXPECT_EQ(engine.settings.leftMargin + widths[0] + 3 + widths[1] + 1, right);
    ASSERT_TRUE(engine.printDataset(QStringLiteral("Široko"), *ds));
    engine.endPrinting();

    const QString text = pdfPageLines(pdf, 1).join(u'\n');
    EXPECT_TRUE(text.contains(QStringLiteral("Naziv")));
    EXPECT_TRUE(text.contains(QStringLiteral("name3")));
    EXPECT_FALSE(text.contains(QStringLiteral("Znesek")));
    EXPECT_FALSE(text.contains(QStringLiteral("4.5")));
}

TEST_F(GridPrintTest, RowNumberColumnCountsRecords) {
    db.createNumbers(40);
    GridDataset ds(db.db(), QStringLiteral("SELECT 'x' AS \"#\", NAME, AMOUNT FROM NUMBERS"));
    ds.open();
    ds.fieldByName(QStringLiteral("#")).setDisplayWidth(4);
    ASSERT_TRUE(print(ds));
    const QStringList lines = pdfPageLines(pdf, 1);
    const QRegularExpression row(QStringLiteral("^(\\S+?)\\s*name(\\d+)\\b"));
    int rows = 0;
    for (const QString& line : lines) {
        const QRegularExpressionMatch m = row.match(line);
        if (!m.hasMatch()) continue;
        ++rows;
        EXPECT_EQ(m.captured(1), m.captured(2)) << line.toStdString();
    }
    EXPECT_EQ(rows, 40);

    // With TEVRA_DOCS_DIR set, page 1 of this print becomes the documentation's picture.
    const QString docs = qEnvironmentVariable("TEVRA_DOCS_DIR");
    if (!docs.isEmpty()) {
        QDir().mkpath(docs);
        run(QStringLiteral("pdftoppm"),
            {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-f"),
             QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-singlefile"),
             pdf, QDir(docs).filePath(QStringLiteral("printed-page"))});
        EXPECT_TRUE(QFile::exists(QDir(docs).filePath(QStringLiteral("printed-page.png"))));
    }
}

TEST_F(GridPrintTest, RecordTooTallForAnyPageIsPrintedCutInsteadOfEndlessPages) {
    auto ds = numbers(3);
    ASSERT_TRUE(engine.beginPrinting(printer, QStringLiteral("Kratka stran"),
                                     QFont(QStringLiteral("Arial"), 8), 1, 0));
    // The usable part of a page ends above where the header ends: nothing fits anywhere.
    engine.settings.bottomMargin = engine.pageHeight() - engine.settings.topMargin - 10;
    ASSERT_TRUE(engine.printDataset(QStringLiteral("Kratka stran"), *ds));
    EXPECT_EQ(engine.page(), 3); // one page per record
    engine.endPrinting();
    ASSERT_EQ(pdfPages(pdf), 3);
    EXPECT_EQ(printedNumbers(pdfPageLines(pdf, 2)), QList<int>{2});
}

TEST_F(GridPrintTest, WholeDocumentIsNotCutOffAfterPage999) {
    auto ds = numbers(1001);
    ASSERT_TRUE(
        engine.beginPrinting(printer, QStringLiteral("Dolgo"), QFont(QStringLiteral("Arial"), 8), 1, 0));
    // Room for exactly one record below the titles: one page per record.
    engine.printPageHeader();
    const int titlesEnd = engine.y() + engine.lineHeight() + 1 + engine.settings.lineGap + 1;
    const int recordHeight = engine.lineHeight() + engine.settings.lineGap + 2;
    engine.settings.bottomMargin = engine.pageHeight() - titlesEnd - recordHeight - recordHeight / 2;
    ASSERT_TRUE(engine.printDataset(QStringLiteral("Dolgo"), *ds));
    EXPECT_EQ(engine.page(), 1001);
    engine.endPrinting();
    ASSERT_EQ(pdfPages(pdf), 1001);
    EXPECT_TRUE(pdfPageLines(pdf, 1001).join(u' ').contains(QStringLiteral("name1001")));
}

TEST_F(GridPrintTest, CancelAbortsAndReturnsToTheRecord) {
    auto ds = numbers(300);
    ds->setRecNo(42);
    ASSERT_TRUE(
        engine.beginPrinting(printer, QStringLiteral("Preklic"), QFont(QStringLiteral("Arial"), 8), 1, 0));
    QTimer::singleShot(0, [this] { engine.progress()->btnCancel->click(); });
    EXPECT_FALSE(engine.printDataset(QStringLiteral("Preklic"), *ds));
    EXPECT_TRUE(engine.aborted());
    EXPECT_TRUE(engine.lastError().isEmpty());
    EXPECT_EQ(ds->recNo(), 42);
    EXPECT_FALSE(ds->controlsDisabled());
    engine.endPrinting();
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(GridPrintTest, CancelWithTheGaugeFullAbortsTheJob) {
    auto ds = numbers(300);
    ds->setRecNo(7);
    ASSERT_TRUE(
        engine.beginPrinting(printer, QStringLiteral("Preklic"), QFont(QStringLiteral("Arial"), 8), 1, 0));
    bool watched = false;
    std::unique_ptr<CancelAtStep> cancel;
    // The print progress window is made when the dataset's print starts: watch it from its first show.
    QTimer::singleShot(0, [&] {
        cancel = std::make_unique<CancelAtStep>(engine.progress()->gauge, engine.progress()->btnCancel, 300);
        watched = true;
    });
    EXPECT_FALSE(engine.printDataset(QStringLiteral("Preklic"), *ds));
    EXPECT_TRUE(watched);
    EXPECT_TRUE(engine.aborted());
    EXPECT_TRUE(engine.lastError().isEmpty());
    EXPECT_EQ(ds->recNo(), 7);
    EXPECT_FALSE(ds->controlsDisabled());
    engine.endPrinting();
    EXPECT_FALSE(QFile::exists(pdf));
}

namespace {
/// Closes the print dialog once it is shown, accepting or cancelling it.
void closePrintDialog(bool accept, int fromPage = 0, int toPage = 0) {
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QAbstractPrintDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        if (fromPage > 0) { // as the user would: the range button and the two page numbers
            auto* range = dialog->findChild<QRadioButton*>(QStringLiteral("printRange"));
            auto* from = dialog->findChild<QSpinBox*>(QStringLiteral("from"));
            auto* to = dialog->findChild<QSpinBox*>(QStringLiteral("to"));
            ASSERT_TRUE(range && from && to);
            range->setChecked(true);
            to->setValue(toPage);
            from->setValue(fromPage);
        }
        if (accept)
            dialog->accept();
        else
            dialog->reject();
    });
}
} // namespace

TEST_F(GridPrintTest, PrintDialogCancelPrintsNothing) {
    closePrintDialog(false);
    EXPECT_FALSE(engine.beginPrinting(printer, QStringLiteral("Nič"), QFont(QStringLiteral("Arial"), 8)));
    EXPECT_FALSE(engine.printing());
    EXPECT_EQ(engine.progress(), nullptr);
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(GridPrintTest, PrintDialogChoosesThePageRange) {
    auto ds = numbers(300);
    closePrintDialog(true, 2, 3);
    ASSERT_TRUE(engine.beginPrinting(printer, QStringLiteral("Obseg"), QFont(QStringLiteral("Arial"), 8)));
    EXPECT_EQ(printer.docName(), QCoreApplication::applicationFilePath() + QStringLiteral(" : "));
    ASSERT_TRUE(engine.printDataset(QStringLiteral("Obseg"), *ds));
    engine.endPrinting();
    ASSERT_EQ(pdfPages(pdf), 2);
    EXPECT_TRUE(pdfPageLines(pdf, 1).first().endsWith(QStringLiteral(", Stran 2")));
}
