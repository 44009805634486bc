// The summary window over a dataset: default grouping, the settings interactions, the copy to the
// local table and the two listings.

#include "grid/uDsPrint.h"

#include "grid/GridToolBar.h"
#include "grid/GridToolsSummaryGraph.h"

#include "grid/Ufwgrid.h"
#include "grid/uProgres.h"

#include "../GridTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QFile>
#include <QHeaderView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class SummaryWindow : public ::testing::Test {
protected:
    void SetUp() override {
        TTempTable::setPrivateDir(db.path());
        db.exec(QStringLiteral("CREATE TABLE TRADES (PARTNER VARCHAR(20), ID INTEGER, AMOUNT FLOAT, DATUM DATE, "
                               "FLAG BOOLEAN, PRICE FLOAT)"));
        db.exec(QStringLiteral("INSERT INTO TRADES VALUES "
                               "('Adamič', 1, 10, '2024-01-05', 1, 2), ('Adamič', 2, 20, '2024-02-05', 0, 4), "
                               "('Šuštar', 1, 5, '2024-03-05', 1, 6), ('Žiga', 3, 1.5, '2024-01-31', 0, 8)"));
        source = GridDataset::forTable(db.db(), QStringLiteral("TRADES"));
        source->open();
        const struct {
            const char* name;
            const char* label;
        } labels[] = {{"PARTNER", "Partner"}, {"ID", "Id"}, {"AMOUNT", "Znesek"},
                      {"DATUM", "Datum"},     {"FLAG", "Znak"}, {"PRICE", "cena enote"}};
        for (const auto& l : labels) source->fieldByName(l.name).setDisplayLabel(l.label);
        source->fieldByName("DATUM").setKind(FieldKind::Date);
        source->fieldByName("AMOUNT").setDisplayFormat(QStringLiteral("0.00"));
        window.prepare(*source);
        window.proposeDefaultGrouping();
    }
    void TearDown() override { window.close(); }

    /// Display texts of one result column.
    static QStringList column(GridDataset& result, const QString& name) {
        QStringList texts;
        const GridField& field = result.fieldByName(name);
        for (int row = 0; row < result.recordCount(); ++row) texts.append(field.displayText(result.valueAt(row, field)));
        return texts;
    }

    TestDatabase db;
    std::unique_ptr<GridDataset> source;
    TfDataSetPrint window;
};

} // namespace

TEST_F(SummaryWindow, DefaultGroupingTakesLeadingKeysAndSumsFloats) {
    EXPECT_EQ(window.groupTexts(), (QStringList{"Partner", "Id"}));
    EXPECT_EQ(window.sumTexts(), (QStringList{"SUM Znesek", "AVG cena enote", "SUM N"}));
    EXPECT_TRUE(window.noneNames().isEmpty());
    // Summed fields move after the group fields; the date after the first float is left out.
    EXPECT_EQ(window.columnOrder(), (QStringList{"N", "PARTNER", "ID", "AMOUNT", "PRICE", "DATUM", "FLAG"}));
    EXPECT_EQ(window.eLine->text(), QString(33, QChar(0x00D7)));
}

TEST_F(SummaryWindow, TitleClickGroupsUpToTheColumnAndSumsTheRest) {
    window.titleClicked(2); // ID
    EXPECT_EQ(window.groupTexts(), (QStringList{"Partner", "Id"}));
    EXPECT_EQ(window.sumTexts(), (QStringList{"SUM Znesek", "AVG cena enote", "MAX Datum", "SUM N"}));
    EXPECT_EQ(window.noneNames(), QStringList{"FLAG"});
    EXPECT_EQ(window.columnOrder(), (QStringList{"N", "PARTNER", "ID", "AMOUNT", "PRICE", "DATUM", "FLAG"}));
}

TEST_F(SummaryWindow, ListClicksToggleMarksCycleOperatorsAndRelist) {
    window.toggleGroupMark(1);
    EXPECT_EQ(window.groupTexts(), (QStringList{"Partner", "××Id"}));
    EXPECT_FALSE(window.groupFields()[1].marked);
    window.toggleGroupMark(1);
    EXPECT_TRUE(window.groupFields()[1].marked);

    QStringList seen;
    for (int click = 0; click < 4; ++click) {
        window.cycleOperator(0);
        seen.append(window.sumTexts()[0]);
    }
    EXPECT_EQ(seen, (QStringList{"AVG Znesek", "MIN Znesek", "MAX Znesek", "SUM Znesek"}));
    window.setShowSumOperator(false);
    EXPECT_EQ(window.sumTexts(), (QStringList{"Znesek", "cena enote", "N"}));
}

TEST_F(SummaryWindow, CountColumnStaysFirst) {
    window.moveColumn(3, 0);
    EXPECT_EQ(window.columnOrder().first(), QStringLiteral("N"));
    window.moveColumn(0, 4);
    EXPECT_EQ(window.columnOrder().first(), QStringLiteral("N"));
}

TEST_F(SummaryWindow, GroupedListingHasSubtotalsAndGrandTotalLast) {
    window.toggleGroupMark(1); // Id without subtotals: one level per partner
    window.groupListing();
    ASSERT_TRUE(window.qG());
    EXPECT_EQ(window.currentPage(), TfDataSetPrint::tabGroup);
    GridDataset& result = *window.qG();
    const QString total = window.totalLabel();
    EXPECT_EQ(column(result, "PARTNER"), (QStringList{"Adamič", "Adamič", "Šuštar", "Žiga", total}));
    EXPECT_EQ(column(result, "N"), (QStringList{"1", "1", "1", "1", "4"}));
    EXPECT_EQ(column(result, "AMOUNT").last(), QStringLiteral("36.50"));
    EXPECT_EQ(result.fieldByName("AMOUNT").displayLabel(), QStringLiteral("SUM Znesek"));
    EXPECT_EQ(result.fieldByName("N").displayWidth(), 6);

    window.toggleGroupMark(1);
    window.groupListing();
    EXPECT_EQ(column(*window.qG(), "ID"), (QStringList{total, "1", "2", total, "1", total, "3", total}));
}

TEST_F(SummaryWindow, SortedListingEndsWithOneTotalRow) {
    window.sortListing();
    EXPECT_EQ(window.currentPage(), TfDataSetPrint::tabSort);
    GridDataset& result = *window.q();
    EXPECT_EQ(column(result, "PARTNER"), (QStringList{"Adamič", "Adamič", "Šuštar", "Žiga", window.totalLabel()}));
    EXPECT_EQ(column(result, "PRICE").last(), QStringLiteral("5"));
}

TEST_F(SummaryWindow, GroupFieldWithoutTotalValueListsWithEmptyTotals) {
    window.titleClicked(6); // every column up to FLAG (a Boolean) becomes a group field
    ASSERT_EQ(window.groupFields().last().kind, FieldKind::Boolean);
    window.groupListing();
    EXPECT_EQ(column(*window.qG(), "N").last(), QStringLiteral("4"));
    EXPECT_EQ(column(*window.qG(), "FLAG").last(), QString());
    window.sortListing();
    EXPECT_EQ(window.q()->recordCount(), 5);
}

TEST_F(SummaryWindow, CancelledCopyIsNotCountedTwice) {
    // Cancel while the progress window starts: the copy stops after its first row.
    QTimer::singleShot(0, [] { TfProgress::instance().cancelButton()->click(); });
    EXPECT_THROW(window.sortListing(), TAbortOperation);
    EXPECT_FALSE(window.copied());
    EXPECT_FALSE(TfProgress::instance().isVisible());
    EXPECT_FALSE(source->controlsDisabled());

    window.sortListing();
    EXPECT_TRUE(window.copied());
    EXPECT_EQ(window.tTemp.recordCount(), 4);
    EXPECT_EQ(column(*window.q(), "N").last(), QStringLiteral("4"));
}

TEST_F(SummaryWindow, CopyCancelledAtItsLastRowIsNotCountedTwice) {
    {
        const CancelAtStep cancel(4); // all four rows are in the local table when cancel comes
        EXPECT_THROW(window.sortListing(), TAbortOperation);
    }
    EXPECT_FALSE(window.copied());
    EXPECT_FALSE(TfProgress::instance().isVisible());
    EXPECT_FALSE(source->controlsDisabled());

    window.sortListing();
    EXPECT_EQ(window.tTemp.recordCount(), 4);
    EXPECT_EQ(column(*window.q(), "N").last(), QStringLiteral("4"));
}

TEST_F(SummaryWindow, ClosingDeletesTheLocalTableAndTheNextPrepareCopiesAgain) {
    window.sortListing();
    const QString file = window.tTemp.fileName();
    ASSERT_TRUE(QFile::exists(file));
    window.close();
    EXPECT_FALSE(window.copied());
    EXPECT_FALSE(QFile::exists(file));

    window.prepare(*source);
    window.proposeDefaultGrouping();
    window.groupListing();
    EXPECT_TRUE(window.copied());
    EXPECT_EQ(column(*window.qG(), "N").last(), QStringLiteral("4"));
}

TEST_F(SummaryWindow, SummariesToolPreparesTheSharedWindowForTheGrid) {
    registerSummaryGraphTools();
    QWidget form;
    auto* grid = new TFwwDBGrid(&form);
    grid->setDataset(source.get());
    grid->setLabelText(QStringLiteral("Posli"));
    for (GridTool tool : {GridTool::PrintGroup, GridTool::Export, GridTool::Graph})
        EXPECT_TRUE(GridToolBar::toolAvailable(tool, *grid));
    grid->runTool(GridTool::PrintGroup);
    TfDataSetPrint* shared = TfDataSetPrint::existing();
    ASSERT_TRUE(shared);
    EXPECT_TRUE(shared->isVisible());
    EXPECT_EQ(shared->title->toPlainText(), QStringLiteral("Posli"));
    EXPECT_EQ(shared->groupTexts(), (QStringList{"Partner", "Id"}));
    shared->groupListing();
    EXPECT_EQ(shared->dbgQG->labelText(), QStringLiteral("Posli"));
    delete shared;
    EXPECT_FALSE(TfDataSetPrint::existing());
}

// Saves a picture of the grouped listing for the documentation when TEVRA_DOCS_DIR is set.
TEST(SummaryWindowPicture, GroupedListing) {
    const QString dir = qEnvironmentVariable("TEVRA_DOCS_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "TEVRA_DOCS_DIR not set";
    TestDatabase db;
    TTempTable::setPrivateDir(db.path());
    db.exec(QStringLiteral("CREATE TABLE HOLDINGS (SEKTOR VARCHAR(6), DRZAVA VARCHAR(3), ZNESEK FLOAT, TECAJ FLOAT)"));
    db.exec(QStringLiteral(
        "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 36) "
        "INSERT INTO HOLDINGS SELECT CASE x % 3 WHEN 0 THEN 'S.11' WHEN 1 THEN 'S.122' ELSE 'S.14' END, "
        "CASE x % 4 WHEN 0 THEN 'SI' WHEN 1 THEN 'AT' WHEN 2 THEN 'DE' ELSE 'HR' END, x * 1250.5, 1 + x / 100.0 FROM c"));
    auto source = GridDataset::forTable(db.db(), QStringLiteral("HOLDINGS"));
    source->open();
    source->fieldByName("SEKTOR").setDisplayLabel(QStringLiteral("Sektor"));
    source->fieldByName("DRZAVA").setDisplayLabel(QStringLiteral("Država"));
    source->fieldByName("ZNESEK").setDisplayLabel(QStringLiteral("Znesek"));
    source->fieldByName("ZNESEK").setDisplayFormat(QStringLiteral("#,##0.00"));
    source->fieldByName("ZNESEK").setDisplayWidth(14);
    source->fieldByName("TECAJ").setDisplayLabel(QStringLiteral("Tečaj"));
    source->fieldByName("TECAJ").setDisplayFormat(QStringLiteral("0.0000"));
    source->fieldByName("TECAJ").setDisplayWidth(10);
    TfDataSetPrint window;
    window.resize(700, 395);
    window.prepare(*source);
    window.setTitle(QStringLiteral("Stanje po sektorjih in državah"));
    window.proposeDefaultGrouping();
    window.groupListing();
    window.show();
    QApplication::processEvents();
    EXPECT_TRUE(window.grab().save(QDir(dir).filePath(QStringLiteral("summary-grouped.png"))));
    window.close();
}
