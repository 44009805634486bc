#include "GridTestSupport.h"

#include "grid/GridDataset.h"
#include "grid/GridDatasetModel.h"
#include "grid/Ufwgrid.h"
#include "grid/uProgres.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

/// A form with one grid over a small table of texts and numbers.
class GridFixture : public ::testing::Test {
protected:
    void SetUp() override {
        database.exec(QStringLiteral("CREATE TABLE T (A VARCHAR(30), B FLOAT, C INTEGER)"));
        form.resize(600, 400);
        grid = new TFwwDBGrid(&form);
        grid->setFillsParent(true);
    }

    void open(const QString& sql = QStringLiteral("SELECT A, B, C FROM T")) {
        dataset = std::make_unique<GridDataset>(database.db(), sql);
        dataset->open();
        grid->setDataset(dataset.get());
    }

    TestDatabase database;
    QWidget form;
    TFwwDBGrid* grid = nullptr;
    std::unique_ptr<GridDataset> dataset;
};

} // namespace

TEST_F(GridFixture, CopiesOneRecordWithQuotedTextAndPlainNumbers) {
    database.exec(QStringLiteral("INSERT INTO T VALUES ('say \"hi\"', 12.5, 3)"));
    open(QStringLiteral("SELECT A, B FROM T"));
    dataset->fieldByName(QStringLiteral("A")).setDisplayLabel(QStringLiteral("Naziv"));
    dataset->fieldByName(QStringLiteral("B")).setDisplayLabel(QStringLiteral("Znesek"));

    grid->copyToClipboard(QStringLiteral("Poročilo"));

    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("Poročilo\r\nNaziv\tZnesek\t\r\n\"say \"\"hi\"\"\"\t12.5\t\r\n"));
}

TEST_F(GridFixture, CopiedCellsLoseCarriageReturnsAndTabs) {
    struct Case {
        const char* stored; // SQL expression
        const char* copied;
    };
    const Case cases[] = {
        {"'two' || char(13) || char(10) || 'lines'", "\"two\nlines\""},
        {"'a' || char(9) || 'b'", "\"ab\""},
        {"''''", "\"'\""},
        {"''", "\"\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        database.exec(QStringLiteral("DELETE FROM T"));
        database.exec(QStringLiteral("INSERT INTO T VALUES (%1, NULL, NULL)").arg(QString::fromLatin1(c.stored)));
        open(QStringLiteral("SELECT A FROM T"));
        grid->copyToClipboard(QString());
        EXPECT_EQ(QApplication::clipboard()->text(),
                  QStringLiteral("\r\nA\t\r\n") + QString::fromLatin1(c.copied) + QStringLiteral("\t\r\n"));
    }
}

TEST_F(GridFixture, CopiesEveryRecordAndReturnsToTheFirst) {
    database.exec(QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 700) "
                                 "INSERT INTO T SELECT 'r' || x, x, x FROM n"));
    open(QStringLiteral("SELECT C FROM T ORDER BY C"));
    dataset->setRecNo(500);

    grid->copyToClipboard(QStringLiteral("x"));

    const QStringList lines = QApplication::clipboard()->text().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 2 + 700 + 1);
    EXPECT_EQ(lines[2], QStringLiteral("1\t"));
    EXPECT_EQ(lines[701], QStringLiteral("700\t"));
    EXPECT_EQ(dataset->recNo(), 0);
    EXPECT_FALSE(dataset->controlsDisabled());
    EXPECT_FALSE(TfProgress::instance().isVisible());
}

TEST_F(GridFixture, CancellingTheCopyLeavesTheClipboardAlone) {
    database.exec(QStringLiteral("INSERT INTO T VALUES ('a', 1, 1), ('b', 2, 2)"));
    open();
    QApplication::clipboard()->setText(QStringLiteral("before"));
    // The progress window lets window messages run when it starts: the cancel lands before step one.
    QTimer::singleShot(0, [] { TfProgress::instance().cancelButton()->click(); });

    grid->copyToClipboard(QStringLiteral("x"));

    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_FALSE(dataset->controlsDisabled());
    EXPECT_FALSE(TfProgress::instance().isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(GridFixture, CancellingAtTheLastStepStillLeavesTheClipboardAlone) {
    database.exec(QStringLiteral("INSERT INTO T VALUES ('a', 1, 1), ('b', 2, 2), ('c', 3, 3)"));
    open();
    QApplication::clipboard()->setText(QStringLiteral("before"));
    const CancelAtStep cancel(3); // every record read, the bar full

    grid->copyToClipboard(QStringLiteral("x"));

    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_FALSE(dataset->controlsDisabled());
    EXPECT_FALSE(TfProgress::instance().isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(GridFixture, AppliedLayoutSkipsUnknownFieldsAndHidesTheOthers) {
    open();
    grid->selected = {QStringLiteral("C\t5\tcc"), QStringLiteral("MISSING\t3\tx"), QStringLiteral("A\t4\taa")};
    grid->applyLayout();

    const QList<GridField*> visible = dataset->visibleFields();
    ASSERT_EQ(visible.size(), 2);
    EXPECT_EQ(visible[0]->name(), QStringLiteral("C"));
    EXPECT_EQ(visible[1]->name(), QStringLiteral("A"));
    EXPECT_FALSE(dataset->findField(QStringLiteral("B"))->visible());
    EXPECT_EQ(visible[1]->displayLabel(), QStringLiteral("A")) << "labels of the layout are not applied";
    EXPECT_EQ(grid->model()->columnCount(), 2);
    EXPECT_EQ(grid->fieldAt(0)->name(), QStringLiteral("C"));
}

TEST_F(GridFixture, ResizingAColumnByMouseRebuildsTheLayout) {
    open();
    form.show();
    QHeaderView* header = grid->horizontalHeader();
    const int before = dataset->fieldByName(QStringLiteral("A")).displayWidth();

    grid->setColumnWidth(0, 300); // by program: not written back
    EXPECT_EQ(dataset->fieldByName(QStringLiteral("A")).displayWidth(), before);
    EXPECT_TRUE(grid->selected.isEmpty());

    const int edge = header->sectionViewportPosition(0) + header->sectionSize(0) - 1;
    const QPoint from(edge, header->height() / 2);
    const QPoint to(edge + 200, header->height() / 2);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), header->viewport()->mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(header->viewport(), &move);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, to);

    const GridField& a = dataset->fieldByName(QStringLiteral("A"));
    EXPECT_EQ(a.displayWidth(), grid->charactersFor(500));
    ASSERT_EQ(grid->selected.size(), 3);
    EXPECT_EQ(grid->selected[0], QStringLiteral("A\t%1\tA").arg(a.displayWidth()));
    EXPECT_TRUE(grid->selected[1].startsWith(QStringLiteral("B\t")));
}

TEST_F(GridFixture, LoadingTakesFontsAndRowHeightFromTheUserSettings) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("WIN.INI"));
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[windows]\r\nFontSize=30\r\n[zel]\r\nFontName=Courier New\r\nfontsize=11\r\nLineHeight=25\r\n"
               "TitleFontSize=9\r\n");
    file.close();
    qputenv("TEVRA_WININI", ini.toLocal8Bit());
    reloadGridFontSettings();
    open();
    grid->loaded();
    qunsetenv("TEVRA_WININI");
    reloadGridFontSettings();

    EXPECT_EQ(grid->font().family(), QStringLiteral("Courier New"));
    EXPECT_EQ(grid->font().pointSize(), 11);
    EXPECT_TRUE(grid->font().bold());
    EXPECT_EQ(grid->titleFont().family(), QStringLiteral("Arial CE"));
    EXPECT_EQ(grid->titleFont().pointSize(), 9);
    EXPECT_FALSE(grid->titleFont().bold());
    EXPECT_EQ(grid->rowHeight(), 25);
}

TEST(GridFontSettings, MissingFileGivesTheDefaults) {
    const GridFontSettings s = GridFontSettings::read(QStringLiteral("no/such/WIN.INI"));
    EXPECT_EQ(s.fontSize, 8);
    EXPECT_EQ(s.fontName, QStringLiteral("Arial CE"));
    EXPECT_EQ(s.lineHeight, 18);
    EXPECT_EQ(s.titleFontSize, 8);
    EXPECT_EQ(s.titleFontName, QStringLiteral("Arial CE"));
}

TEST(GridFontSettings, SizesOutsideTheirRangeKeepTheDefaults) {
    const struct {
        const char* value;
        int fontSize;
        int lineHeight;
    } cases[] = {{"1", 1, 1},         {"144", 144, 144}, {"500", 8, 500},  {"501", 8, 18},
                 {"0", 8, 18},        {"-12", 8, 18},    {"2147483647", 8, 18}, {"99999999999", 8, 18},
                 {" 12 ", 12, 12},    {"12pt", 8, 18}};
    for (const auto& c : cases) {
        const QString text = QStringLiteral("[ZEL]\nFontSize=%1\nTitleFontSize=%1\nLineHeight=%1\n").arg(c.value);
        const GridFontSettings s = GridFontSettings::parse(text);
        EXPECT_EQ(s.fontSize, c.fontSize) << c.value;
        EXPECT_EQ(s.titleFontSize, c.fontSize) << c.value;
        EXPECT_EQ(s.lineHeight, c.lineHeight) << c.value;
    }
}

TEST_F(GridFixture, SortChoicesGetTextsFromFieldLabelsAndReportThePickedOne) {
    open();
    dataset->fieldByName(QStringLiteral("A")).setDisplayLabel(QStringLiteral("Naziv"));
    grid->SortInfo.add().ColumnInfoList.add().ColumnName = QStringLiteral(" A ");
    grid->SortInfo.items[0].ColumnInfoList.add().ColumnName = QStringLiteral("X");
    grid->SortInfo.add().DisplayText = QStringLiteral("Own");
    grid->loaded();
    EXPECT_EQ(grid->SortInfo.items[0].DisplayText, QStringLiteral("Naziv,X"));
    EXPECT_EQ(grid->SortInfo.items[1].DisplayText, QStringLiteral("Own"));

    QString picked;
    grid->OnCustomSort = [&](TFwwDBGrid&, const TSortInfoItem& choice) { picked = choice.DisplayText; };
    grid->sortChoicePicked(&grid->SortInfo.items[1]);
    EXPECT_EQ(grid->sortChoiceIndex(), 1);
    EXPECT_EQ(picked, QStringLiteral("Own"));

    TSortInfoItem stranger;
    picked.clear();
    grid->sortChoicePicked(&stranger);
    EXPECT_EQ(grid->sortChoiceIndex(), -1);
    EXPECT_TRUE(picked.isEmpty());
}

TEST_F(GridFixture, FollowsTheDatasetOnlyWhileItsControlsAreEnabled) {
    database.exec(QStringLiteral("INSERT INTO T VALUES ('a', 1, 1), ('b', 2, 2), ('c', 3, 3)"));
    open();
    dataset->setRecNo(2);
    EXPECT_EQ(grid->currentIndex().row(), 2);

    dataset->disableControls();
    EXPECT_FALSE(grid->updatesEnabled());
    dataset->first();
    EXPECT_EQ(grid->currentIndex().row(), 2);
    dataset->enableControls();
    EXPECT_TRUE(grid->updatesEnabled());
    EXPECT_EQ(grid->currentIndex().row(), 0);

    grid->setCurrentIndex(grid->model()->index(1, 0));
    EXPECT_EQ(dataset->recNo(), 1);
    EXPECT_EQ(dataset->value(QStringLiteral("A")).toString(), QStringLiteral("b"));
}
