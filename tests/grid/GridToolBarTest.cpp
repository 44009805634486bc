#include "GridTestSupport.h"

#include "grid/GridDataset.h"
#include "grid/GridToolBar.h"
#include "grid/Ufwgrid.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

/// A form with two grids side by side over one dataset, each in a panel of its own, and an edit.
class ToolBarFixture : public ::testing::Test {
protected:
    void SetUp() override {
        database.createNumbers(3);
        dataset = std::make_unique<GridDataset>(database.db(), QStringLiteral("SELECT ID, NAME FROM NUMBERS"));
        dataset->open();
        form.resize(800, 300);
        for (int i = 0; i < 2; ++i) {
            panels[i] = new QWidget(&form);
            panels[i]->setGeometry(i * 400, 0, 390, 250);
            grids[i] = new TFwwDBGrid(panels[i]);
            grids[i]->setFillsParent(true);
            grids[i]->setDataset(dataset.get());
        }
        edit = new QLineEdit(&form);
        edit->setGeometry(0, 260, 100, 20);
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    static void clickTitle(TFwwDBGrid* grid, int column = 0) {
        QHeaderView* header = grid->horizontalHeader();
        const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                            header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
    }

    static TStdBtn* button(GridTool tool) { return GridToolBar::instance().button(tool); }

    TestDatabase database;
    std::unique_ptr<GridDataset> dataset;
    QWidget form;
    QWidget* panels[2] = {};
    TFwwDBGrid* grids[2] = {};
    QLineEdit* edit = nullptr;
};

} // namespace

TEST_F(ToolBarFixture, TitleClickShowsTheBarAndLeavingTheGridHidesIt) {
    TFwwDBGrid* grid = grids[0];
    clickTitle(grid);

    ASSERT_TRUE(grid->toolBarShown());
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(GridToolBar::instance().owner(), grid);
    for (int i = 0; i < GridToolCount; ++i) {
        TStdBtn* b = button(GridTool(i));
        EXPECT_EQ(b->parentWidget(), panels[0]);
        EXPECT_TRUE(b->isVisible());
        EXPECT_EQ(b->pos(), QPoint(8 + 18 * i, grid->label()->y() - 1));
        EXPECT_EQ(b->size(), QSize(18, 18));
    }
    const int band = grid->label()->height() + grid->labelSpacing();
    EXPECT_EQ(grid->geometry(), QRect(0, band, 390, 250 - band));
    EXPECT_EQ(grid->label()->x(), 8 + 11 * 18 + 5);
    EXPECT_EQ(grid->titleFontColor(), QColor(Qt::darkBlue));

    edit->setFocus(Qt::TabFocusReason);

    EXPECT_FALSE(grid->toolBarShown());
    EXPECT_EQ(GridToolBar::instance().owner(), nullptr);
    EXPECT_EQ(button(GridTool::Zoom)->parentWidget(), nullptr);
    EXPECT_EQ(grid->geometry(), QRect(0, 0, 390, 250));
}

TEST_F(ToolBarFixture, ASecondTitleClickHidesTheBar) {
    clickTitle(grids[0]);
    clickTitle(grids[0], 1);
    EXPECT_FALSE(grids[0]->toolBarShown());
    EXPECT_EQ(button(GridTool::Zoom)->parentWidget(), nullptr);
}

TEST_F(ToolBarFixture, ButtonsFollowGridButtonsAndUnbuiltToolsStayDisabled) {
    grids[0]->setGridButtons({gbZoom, gbRefresh, gbCopyToClip, gbSort});
    clickTitle(grids[0]);

    EXPECT_TRUE(button(GridTool::Zoom)->isEnabled());
    EXPECT_TRUE(button(GridTool::Refresh)->isEnabled());
    EXPECT_TRUE(button(GridTool::CopyToClip)->isEnabled());
    EXPECT_FALSE(button(GridTool::TitleWordWrap)->isEnabled()) << "not in gridButtons";
    EXPECT_FALSE(button(GridTool::Sort)->isEnabled()) << "in gridButtons but not built";
    EXPECT_TRUE(button(GridTool::Sort)->toolTip().contains(QStringLiteral("not available yet")));
    EXPECT_EQ(button(GridTool::Refresh)->toolTip(), QStringLiteral("Refresh"));

    int sorted = 0;
    GridToolBar::setToolHandler(GridTool::Sort, [&](TFwwDBGrid&) { ++sorted; });
    EXPECT_TRUE(button(GridTool::Sort)->isEnabled());
    button(GridTool::Sort)->click();
    GridToolBar::setToolHandler(GridTool::Sort, nullptr);
    EXPECT_EQ(sorted, 1);
    EXPECT_FALSE(button(GridTool::Sort)->isEnabled());
}

TEST_F(ToolBarFixture, AGridWithoutToolsShowsElevenDisabledButtonsAndIgnoresEnterAndDoubleClick) {
    TFwwDBGrid* grid = grids[0];
    grid->setGridButtons(TGridButtons());
    int zooms = 0;
    grid->OnZoom = [&](TFwwDBGrid&) { ++zooms; };
    clickTitle(grid);

    for (int i = 0; i < GridToolCount; ++i) {
        EXPECT_EQ(button(GridTool(i))->parentWidget(), panels[0]);
        EXPECT_FALSE(button(GridTool(i))->isEnabled()) << i;
    }
    QTest::keyClick(grid, Qt::Key_Return);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(0, 0)).center());
    EXPECT_EQ(zooms, 0);

    grid->setGridButtons(TGridButtons::all());
    QTest::keyClick(grid, Qt::Key_Enter);
    EXPECT_EQ(zooms, 1);
}

TEST_F(ToolBarFixture, TheSecondGridTakesTheBarOverAndItsToolsActOnIt) {
    clickTitle(grids[0]);
    clickTitle(grids[1]);

    EXPECT_FALSE(grids[0]->toolBarShown());
    EXPECT_TRUE(grids[1]->toolBarShown());
    EXPECT_EQ(GridToolBar::instance().owner(), grids[1]);
    EXPECT_EQ(button(GridTool::TitleWordWrap)->parentWidget(), panels[1]);

    button(GridTool::TitleWordWrap)->click();
    EXPECT_TRUE(grids[1]->TitleWordwrap());
    EXPECT_FALSE(grids[0]->TitleWordwrap());
    EXPECT_EQ(grids[1]->horizontalHeader()->height(), 45);
}

TEST_F(ToolBarFixture, ZoomWithoutAHandlerDoesNothingAndCopyUsesTheCaption) {
    TFwwDBGrid* grid = grids[0];
    grid->setLabelText(QStringLiteral("Stanje"));
    clickTitle(grid);
    EXPECT_EQ(grid->label()->text(), QStringLiteral("Stanje"));
    EXPECT_EQ(grid->label()->toolTip(), QStringLiteral("Stanje"));

    button(GridTool::Zoom)->click();
    EXPECT_FALSE(dataset->controlsDisabled());

    button(GridTool::CopyToClip)->click();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral("Stanje\r\nID\tNAME\t\r\n1\t\"name1\"\t\r\n")));
}

TEST_F(ToolBarFixture, RefreshReadsTheStatementAgain) {
    clickTitle(grids[0]);
    database.exec(QStringLiteral("INSERT INTO NUMBERS VALUES (4, 'name4', 6)"));
    EXPECT_EQ(grids[0]->model()->rowCount(), 3);
    button(GridTool::Refresh)->click();
    EXPECT_EQ(grids[0]->model()->rowCount(), 4);
    EXPECT_EQ(grids[1]->model()->rowCount(), 4);
}

TEST_F(ToolBarFixture, DestroyingTheGridThatShowsTheBarKeepsTheButtons) {
    clickTitle(grids[1]);
    delete panels[1];
    EXPECT_EQ(GridToolBar::instance().owner(), nullptr);
    clickTitle(grids[0]);
    EXPECT_EQ(button(GridTool::Zoom)->parentWidget(), panels[0]);
}
