// Sort choices, the sort dialog and the column chooser with the grid's column view tool.

#include "GridTestSupport.h"

#include "grid/GridDataset.h"
#include "grid/GridToolBar.h"
#include "grid/GridTools.h"
#include "grid/UFSort.h"
#include "grid/Ufwgrid.h"
#include "grid/Usortsel.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QStringList texts(const QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines.append(list->item(i)->text());
    return lines;
}

QStringList names(const TFieldLines& lines) {
    QStringList result;
    for (const TFieldLine& line : lines)
        result.append(line.field->name());
    return result;
}

QStringList visibleNames(const GridDataset& ds) {
    QStringList result;
    for (const GridField* field : ds.visibleFields())
        result.append(field->name());
    return result;
}

} // namespace

TEST(SortChoices, IndexFieldNamesAndOrderByTerms) {
    TSortInfoItem item;
    item.ColumnInfoList.add();
    item.ColumnInfoList.add();
    TColumnInfo& name = item.ColumnInfoList.items[0];
    name.ColumnName = QStringLiteral("NAME");
    TColumnInfo& datum = item.ColumnInfoList.items[1];
    datum.ColumnName = QStringLiteral("DATUM");
    datum.TableName = QStringLiteral("T");
    datum.IsDescending = true;

    EXPECT_EQ(item.indexFieldNames(), QStringLiteral("NAME;DATUM"));
    EXPECT_EQ(name.asOrderBy(), QStringLiteral("NAME"));
    EXPECT_EQ(datum.asOrderBy(), QStringLiteral("T.DATUM DESC"));
    EXPECT_EQ(TColumnInfoList().indexFieldNames(), QString());

    datum.OnGetAsOrderBy = [](const TColumnInfo&, QString& text) {
        text = QStringLiteral("UPPER(") + text + u')';
    };
    datum.OnGetAsIndexFieldNames = [](const TColumnInfo&, QString& text) { text += QStringLiteral("_X"); };
    EXPECT_EQ(datum.asOrderBy(), QStringLiteral("UPPER(T.DATUM DESC)"));
    EXPECT_EQ(item.indexFieldNames(), QStringLiteral("NAME;DATUM_X"));

    TSortInfo copy;
    TSortInfo source;
    source.add().assign(item);
    copy.add().DisplayText = QStringLiteral("old");
    copy.assign(&source);
    ASSERT_EQ(copy.count(), 1);
    EXPECT_EQ(copy.items[0].ColumnInfoList.items[1].asOrderBy(),
              QStringLiteral("T.DATUM DESC")); // events are not copied
    copy.assign(nullptr);
    EXPECT_EQ(copy.count(), 0);
}

class SortDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec(QStringLiteral("CREATE TABLE T (A INTEGER, B VARCHAR(10), C VARCHAR(10), D INTEGER)"));
        db.exec(QStringLiteral("INSERT INTO T VALUES (2, 'b', 'z', 1), (1, 'c', 'y', 2), (3, 'a', 'x', 3)"));
        db.exec(QStringLiteral("CREATE INDEX IX_ABC ON T (A, B, C)"));
        db.exec(QStringLiteral("CREATE INDEX IX_AB ON T (A, B)"));
        db.exec(QStringLiteral("CREATE INDEX IX_C ON T (C)"));
        table = GridDataset::forTable(db.db(), QStringLiteral("T"));
        table->open();
    }

    TestDatabase db;
    std::unique_ptr<GridDataset> table;
    TfSort& dialog = TfSort::instance();
};

TEST_F(SortDialogTest, ListsIndexesWithLabelsAndPreselectsTheCurrentOne) {
    table->fieldByName(QStringLiteral("A")).setDisplayLabel(QStringLiteral("Šifra"));
    table->fieldByName(QStringLiteral("C")).setDisplayLabel(QStringLiteral("*"));
    table->setIndexFieldNames(QStringLiteral("A;B"));
    TSortInfo choices;
    choices.add().DisplayText = QStringLiteral("Po D");
    choices.items[0].ColumnInfoList.add().ColumnName = QStringLiteral("D");

    dialog.fill(table.get(), &choices, nullptr);

    EXPECT_EQ(texts(dialog.lbInx), (QStringList{QStringLiteral("Šifra, B, *C"), QStringLiteral("Šifra, B"),
                                                QStringLiteral("*C"), QStringLiteral("Po D")}));
    EXPECT_EQ(dialog.inxFields, (QStringList{QStringLiteral("A;B;C"), QStringLiteral("A;B"),
                                             QStringLiteral("C"), QStringLiteral("D")}));
    EXPECT_EQ(dialog.lbInx->currentRow(), 1); // A;B, not A;B;C

    table->setIndexFieldNames(QString());
    dialog.fill(table.get(), &choices, nullptr);
    EXPECT_EQ(dialog.lbInx->currentRow(), -1);
}

TEST_F(SortDialogTest, ClickingALineOrdersTheTable) {
    TSortInfo choices;
    choices.add().DisplayText = QStringLiteral("Po D");
    choices.items[0].ColumnInfoList.add().ColumnName = QStringLiteral("D");
    dialog.fill(table.get(), &choices, nullptr);

    dialog.lbInxClick(2); // IX_C
    EXPECT_EQ(table->indexFieldNames(), QStringLiteral("C"));
    EXPECT_EQ(table->value(QStringLiteral("C")).toString(), QStringLiteral("x"));
    dialog.lbInxClick(3); // the sort choice, applied by its index field names
    EXPECT_EQ(table->value(QStringLiteral("D")).toInt(), 1);
    dialog.lbInxClick(-1); // a click beside the lines
    EXPECT_EQ(table->indexFieldNames(), QStringLiteral("D"));
}

TEST(SortDialog, ChoicesOfAQueryGoToTheGridsCallback) {
    TestDatabase db;
    db.createNumbers(3);
    GridDataset ds(db.db(), QStringLiteral("SELECT * FROM NUMBERS"));
    ds.open();
    TFwwDBGrid grid;
    grid.setDataset(&ds);
    grid.SortInfo.add().DisplayText = QStringLiteral("Po imenu");
    grid.SortInfo.add().DisplayText = QStringLiteral("Po znesku");
    QStringList picked;
    grid.OnCustomSort = [&picked](TFwwDBGrid&, const TSortInfoItem& item) {
        picked.append(item.DisplayText);
    };

    TfSort& dialog = TfSort::instance();
    dialog.fill(&ds, &grid.SortInfo, [&grid](const TSortInfoItem* item) { grid.sortChoicePicked(item); });
    EXPECT_EQ(dialog.inxFields,
              (QStringList{QStringLiteral("SortInfoItem:0"), QStringLiteral("SortInfoItem:1")}));
    dialog.lbInxClick(1);
    EXPECT_EQ(picked, QStringList{QStringLiteral("Po znesku")});
    EXPECT_EQ(grid.sortChoiceIndex(), 1);

    dialog.inxFields[0] = QStringLiteral("NAME");
    try {
        dialog.lbInxClick(0);
        ADD_FAILURE() << "a malformed key was accepted";
    } catch (const GridInternalError& error) {
        EXPECT_EQ(QString::fromUtf8(error.what()),
                  QStringLiteral("TfSort.lbInxClick: napačna vsebina elementa v inxFields."));
        EXPECT_EQ(error.unit(), QStringLiteral("UFSort"));
    }
}

TEST(SortDialog, AQueryWithoutChoicesOpensEmptyAndOkCloses) {
    TestDatabase db;
    db.createNumbers(3);
    GridDataset ds(db.db(), QStringLiteral("SELECT * FROM NUMBERS"));
    ds.open();
    TFwwDBGrid grid;
    grid.setDataset(&ds);
    TfSort& dialog = TfSort::instance();
    QTimer::singleShot(0, &dialog, [&dialog] {
        EXPECT_EQ(dialog.lbInx->count(), 0);
        dialog.lbInxClick(0);
        dialog.btnOk->click();
    });
    EXPECT_TRUE(dialog.run(&ds, &grid.SortInfo, nullptr));
}

class ColumnChooserTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec(
            QStringLiteral("CREATE TABLE P (ID INTEGER, NAZIV VARCHAR(10), ZNESEK FLOAT, DATUM VARCHAR(10), "
                           "KOLICINA INTEGER)"));
        ds = std::make_unique<GridDataset>(db.db(), QStringLiteral("SELECT * FROM P"));
        ds->open();
        grid.setDataset(ds.get());
        ds->fieldByName(QStringLiteral("ZNESEK")).setVisible(false);
        ds->fieldByName(QStringLiteral("DATUM")).setVisible(false);
        grid.rebuildLayout();
        columnChoiceLines(grid, shown, available);
        chooser.fill(shown, available);
    }

    TestDatabase db;
    std::unique_ptr<GridDataset> ds;
    TFwwDBGrid grid;
    TFieldLines shown;
    TFieldLines available;
    TsortSelect& chooser = TsortSelect::instance();
};

TEST_F(ColumnChooserTest, MovesKeepTheListsOrderAndSelection) {
    EXPECT_EQ(names(shown),
              (QStringList{QStringLiteral("ID"), QStringLiteral("NAZIV"), QStringLiteral("KOLICINA")}));
    EXPECT_EQ(texts(chooser.lbOff), (QStringList{QStringLiteral("DATUM"), QStringLiteral("ZNESEK")}));
    EXPECT_EQ(chooser.lbOn->currentRow(), 0);
    EXPECT_EQ(chooser.edDisplayLabel->text(), QStringLiteral("ID"));

    chooser.lbOn->setCurrentRow(2);
    chooser.btnRightClick(); // the last line: the selection moves to the new last line
    EXPECT_EQ(texts(chooser.lbOff),
              (QStringList{QStringLiteral("DATUM"), QStringLiteral("KOLICINA"), QStringLiteral("ZNESEK")}));
    EXPECT_EQ(chooser.lbOn->currentRow(), 1);

    chooser.lbOff->setCurrentRow(2);
    chooser.btnLeftClick(); // appended at the end of the shown list
    EXPECT_EQ(texts(chooser.lbOn),
              (QStringList{QStringLiteral("ID"), QStringLiteral("NAZIV"), QStringLiteral("ZNESEK")}));
    EXPECT_EQ(chooser.lbOff->currentRow(), 1);

    chooser.lbOn->setCurrentRow(2);
    chooser.btnUpClick();
    chooser.btnUpClick();
    chooser.btnUpClick(); // nothing above the top
    EXPECT_EQ(texts(chooser.lbOn),
              (QStringList{QStringLiteral("ZNESEK"), QStringLiteral("ID"), QStringLiteral("NAZIV")}));
    EXPECT_EQ(chooser.lbOn->currentRow(), 0);
    chooser.btnDownClick();
    EXPECT_EQ(texts(chooser.lbOn),
              (QStringList{QStringLiteral("ID"), QStringLiteral("ZNESEK"), QStringLiteral("NAZIV")}));
    EXPECT_EQ(chooser.lbOn->currentRow(), 1);

    chooser.btnAllRightClick();
    EXPECT_EQ(chooser.lbOn->count(), 0);
    EXPECT_EQ(chooser.lbOff->currentRow(), 0);
    EXPECT_FALSE(chooser.btnRight->isEnabled());
    EXPECT_FALSE(chooser.edDisplayLabel->isEnabled());
    chooser.btnAllLeftClick();
    EXPECT_EQ(texts(chooser.lbOn),
              (QStringList{QStringLiteral("DATUM"), QStringLiteral("ID"), QStringLiteral("KOLICINA"),
                           QStringLiteral("NAZIV"), QStringLiteral("ZNESEK")}));
    EXPECT_FALSE(chooser.btnLeft->isEnabled());
}

TEST_F(ColumnChooserTest, HoldingUpRepeatsUntilRelease) {
    chooser.lbOn->setCurrentRow(2);
    QTest::mousePress(chooser.btnUp, Qt::LeftButton);
    EXPECT_EQ(chooser.lbOn->currentRow(), 1); // one step at the press
    EXPECT_TRUE(chooser.tmrBtn->isActive());
    QTest::qWait(TsortSelect::RepeatDelayMs + 150);
    EXPECT_EQ(chooser.lbOn->currentRow(), 0);
    QTest::mouseRelease(chooser.btnUp, Qt::LeftButton);
    EXPECT_FALSE(chooser.tmrBtn->isActive());
    EXPECT_EQ(texts(chooser.lbOn),
              (QStringList{QStringLiteral("KOLICINA"), QStringLiteral("ID"), QStringLiteral("NAZIV")}));
    EXPECT_EQ(chooser.edDisplayLabel->text(), QStringLiteral("KOLICINA"));
}

TEST_F(ColumnChooserTest, LabelAndWidthApplyAtOnceAndOutliveCancel) {
    GridField& naziv = ds->fieldByName(QStringLiteral("NAZIV"));
    chooser.lbOn->setCurrentRow(1);
    chooser.refreshControls();
    chooser.edDisplayLabel->setText(QStringLiteral("Naziv papirja"));
    chooser.edDisplayWidth->setText(QStringLiteral("25"));
    chooser.btnDisplayLabelClick();
    EXPECT_EQ(chooser.lbOn->item(1)->text(), QStringLiteral("Naziv papirja"));
    EXPECT_EQ(naziv.displayLabel(), QStringLiteral("Naziv papirja"));
    EXPECT_EQ(naziv.displayWidth(), 25);

    chooser.edDisplayLabel->setText(QStringLiteral("Naziv"));
    chooser.edDisplayWidth->setText(QStringLiteral("x1"));
    EXPECT_THROW(chooser.btnDisplayLabelClick(), std::invalid_argument);
    EXPECT_EQ(naziv.displayLabel(), QStringLiteral("Naziv")); // the label went in before the width failed
    EXPECT_EQ(naziv.displayWidth(), 25);

    const TFieldLines shownBefore = shown;
    QTimer::singleShot(0, &chooser, [this] {
        chooser.btnAllRightClick();
        chooser.BitBtn2->click();
    });
    EXPECT_FALSE(chooser.run(shown, available));
    EXPECT_EQ(shown, shownBefore);
}

TEST_F(ColumnChooserTest, ColumnViewToolAppliesTheChoiceOnOkOnly) {
    QTimer::singleShot(0, &chooser, [this] {
        chooser.btnRightClick(); // ID out
        chooser.lbOff->setCurrentRow(0);
        chooser.btnLeftClick(); // DATUM in, last
        chooser.BitBtn2->click();
    });
    runColumnViewTool(grid);
    EXPECT_EQ(visibleNames(*ds),
              (QStringList{QStringLiteral("ID"), QStringLiteral("NAZIV"), QStringLiteral("KOLICINA")}));

    QTimer::singleShot(0, &chooser, [this] {
        chooser.btnRightClick();
        chooser.lbOff->setCurrentRow(0);
        chooser.btnLeftClick();
        chooser.BitBtn1->click();
    });
    runColumnViewTool(grid);
    EXPECT_EQ(visibleNames(*ds),
              (QStringList{QStringLiteral("NAZIV"), QStringLiteral("KOLICINA"), QStringLiteral("DATUM")}));
    EXPECT_EQ(ds->fieldByName(QStringLiteral("DATUM")).index(), 2);
    EXPECT_EQ(grid.selected.size(), 3);
    EXPECT_FALSE(ds->controlsDisabled());

    QTimer::singleShot(0, &chooser, [this] {
        chooser.btnAllRightClick();
        chooser.BitBtn1->click();
    });
    runColumnViewTool(grid);
    EXPECT_TRUE(ds->visibleFields().isEmpty());
    EXPECT_TRUE(grid.selected.isEmpty());
}

TEST(GridTools, RegistrationMakesTheToolsAvailable) {
    TFwwDBGrid grid;
    registerSortLocatePrintTools();
    for (GridTool tool : {GridTool::Sort, GridTool::View, GridTool::Locate, GridTool::Print})
        EXPECT_TRUE(GridToolBar::toolAvailable(tool, grid)) << GridToolBar::toolCaption(tool).toStdString();
}
