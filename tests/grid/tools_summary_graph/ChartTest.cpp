// The chart's data loading, axis scale and labels, the graph window's commands and its settings dialog.

#include "grid/Graph.h"
#include "grid/Ufcharfx.h"
#include "grid/Ugraphvi.h"

#include "grid/GridDataset.h"

#include "../GridTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QBarCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QValueAxis>

#include <gtest/gtest.h>

namespace {

/// SALES(KRAJ text, SKUPINA text, ZNESEK float, KOLICINA float) with the given rows.
class ChartData : public ::testing::Test {
protected:
    void load(const QString& rows) {
        db.exec(QStringLiteral("CREATE TABLE SALES (KRAJ VARCHAR(10), SKUPINA VARCHAR(10), ZNESEK FLOAT, KOLICINA FLOAT)"));
        if (!rows.isEmpty()) db.exec(QStringLiteral("INSERT INTO SALES VALUES ") + rows);
        dataset = GridDataset::forTable(db.db(), QStringLiteral("SALES"));
        dataset->open();
        dataset->fieldByName("ZNESEK").setDisplayLabel(QStringLiteral("Znesek"));
        dataset->fieldByName("KOLICINA").setDisplayLabel(QStringLiteral("Količina"));
        chart.setDataSource(dataset.get());
        chart.xFieldName = QStringLiteral("KRAJ");
        chart.yFieldName = QStringList{QStringLiteral("ZNESEK")};
    }
    TestDatabase db;
    std::unique_ptr<GridDataset> dataset;
    TFChartFx chart;
};

QString groupedRows(int groups) {
    QStringList rows;
    for (int g = 0; g < groups; ++g) rows.append(QStringLiteral("('A', 'g%1', 1, 2)").arg(g));
    return rows.join(u',');
}

} // namespace

TEST_F(ChartData, SumsPerCategoryAndLeavesMissingCellsEmpty) {
    load(QStringLiteral("('Koper', 'a', 1.5, 1), ('Kranj', 'b', 4, 1), ('Koper', 'a', 2.25, 1)"));
    chart.gFieldName = QStringLiteral("SKUPINA");
    chart.loadData();
    EXPECT_EQ(chart.categories(), (QStringList{"Koper", "Kranj"}));
    EXPECT_EQ(chart.seriesLegendTexts(), (QStringList{"Znesek: a", "Znesek: b"}));
    ASSERT_EQ(chart.seriesCount(), 2);
    EXPECT_DOUBLE_EQ(chart.value(0, 0), 3.75);
    EXPECT_DOUBLE_EQ(chart.value(1, 1), 4);
    EXPECT_EQ(chart.value(1, 0), ChartControl::EmptyValue);
    EXPECT_EQ(chart.value(0, 1), ChartControl::EmptyValue);
    EXPECT_EQ(chart.seriesLegend(1), QStringLiteral("Znesek: b"));
    EXPECT_FALSE(dataset->controlsDisabled());
}

TEST_F(ChartData, WithoutGroupingOneSeriesPerValueField) {
    load(QStringLiteral("('Koper', 'a', 1, 10), ('Kranj', 'b', 2, 20)"));
    chart.yFieldName = QStringList{QStringLiteral("ZNESEK"), QStringLiteral("KOLICINA")};
    chart.loadData();
    EXPECT_EQ(chart.seriesLegendTexts(), (QStringList{"Znesek: ", "Količina: "}));
    EXPECT_DOUBLE_EQ(chart.value(1, 1), 20);
    // Only the given group values are charted.
    chart.gFieldName = QStringLiteral("SKUPINA");
    chart.gFieldValue = QStringList{QStringLiteral("b")};
    chart.loadData();
    EXPECT_EQ(chart.categories(), QStringList{"Kranj"});
}

TEST_F(ChartData, SeriesLimitIs99) {
    load(groupedRows(34));
    chart.yFieldName = QStringList{QStringLiteral("ZNESEK"), QStringLiteral("KOLICINA"), QStringLiteral("ZNESEK")};
    chart.gFieldName = QStringLiteral("SKUPINA");
    chart.gFieldValue = QStringList{};
    chart.xFieldName = QStringLiteral("KRAJ");

    // 34 groups x 3 fields = 102 series: refused, the chart keeps what it had.
    try {
        chart.loadData();
        FAIL() << "no error";
    } catch (const ChartSeriesLimitError& error) {
        EXPECT_STREQ(error.what(), "Limit of 100 series exceeded");
    }
    EXPECT_EQ(chart.seriesCount(), 0);
    EXPECT_FALSE(dataset->controlsDisabled());
    EXPECT_FALSE(QApplication::overrideCursor());

    // 33 groups x 3 fields = 99 series.
    QStringList groups;
    for (int g = 0; g < 33; ++g) groups.append(QStringLiteral("g%1").arg(g));
    chart.gFieldValue = groups;
    chart.loadData();
    EXPECT_EQ(chart.seriesCount(), 99);
}

TEST_F(ChartData, ScaleAndLabelsAreSent) {
    load(QStringLiteral("('Koper', 'a', 12, 1), ('Kranj', 'a', 87, 1), ('Bled', 'a', 50, 1)"));
    chart.loadData();
    EXPECT_EQ(chart.setting(ChartControl::AxisMin), 12);
    EXPECT_EQ(chart.setting(ChartControl::AxisMax), 88);
    EXPECT_EQ(chart.setting(ChartControl::AxisStep), 1);
    EXPECT_EQ(chart.setting(ChartControl::LastPoint), 2);
    EXPECT_EQ(chart.RightGap(), 1);
    EXPECT_EQ(chart.legend(1), QStringLiteral("Kranj"));
    EXPECT_EQ(chart.keyLegend(1), QStringLiteral("1"));

    chart.setXLegPeriod(2);
    EXPECT_EQ(chart.legend(1), QString());
    EXPECT_EQ(chart.keyLegend(0), QStringLiteral("Koper"));
    EXPECT_EQ(chart.keyLegend(1), QStringLiteral("\rKranj"));
    EXPECT_EQ(chart.categoryLabels(), (QStringList{"Koper", "\nKranj", "Bled"}));

    // Horizontal bars and pies keep one line.
    chart.setType_(ChartControl::HorizontalBit);
    chart.relabelCategories();
    EXPECT_EQ(chart.legend(1), QStringLiteral("Kranj"));
}

TEST(AxisScale, WholeStepsAroundTheValues) {
    const struct {
        double a, b, min, max, step;
    } cases[] = {
        {12, 87, 12, 88, 1},
        {87, 12, 12, 88, 1},         // swapped
        {40, 40, 0, 41, 1},          // equal positive values start at 0
        {-5, -5, -5, 0.1, 0.1},      // equal negative values end at 0
        {-15.5, 230, -20, 240, 10},
        {0, 0, 0, 1.1, 0.1},         // nothing to scale still gives a range
    };
    for (const auto& c : cases) {
        const AxisScale s = axisScale(c.a, c.b);
        EXPECT_DOUBLE_EQ(s.step, c.step) << c.a << ".." << c.b;
        EXPECT_NEAR(s.minimum, c.min, 1e-9) << c.a << ".." << c.b;
        EXPECT_NEAR(s.maximum, c.max, 1e-9) << c.a << ".." << c.b;
    }
}

TEST(CategoryLabels, RotatedAndThinnedWhenCrowded) {
    const struct {
        int count;
        double slot;
        int textWidth, lineHeight, lines;
        bool rotated;
        int step;
    } cases[] = {
        {10, 80, 50, 14, 1, false, 1},  // fits
        {300, 3, 50, 14, 1, true, 6},   // hundreds: vertical, every 6th
        {40, 20, 50, 14, 1, true, 1},   // vertical fits one per slot
        {40, 20, 50, 14, 3, false, 1},  // three staggered lines fit
        {300, 3, 50, 14, 3, false, 6},  // staggered but still crowded: thinned
    };
    for (const auto& c : cases) {
        const CategoryLabelLayout layout = layoutCategoryLabels(c.count, c.slot, c.textWidth, c.lineHeight, c.lines);
        EXPECT_EQ(layout.rotated, c.rotated) << c.count << " " << c.slot;
        EXPECT_EQ(layout.step, c.step) << c.count << " " << c.slot;
    }
}

TEST_F(ChartData, HundredsOfCategoriesDrawReadably) {
    QStringList rows;
    for (int n = 0; n < 400; ++n) rows.append(QStringLiteral("('Kraj %1', 'a', %2, 1)").arg(n).arg(n % 17));
    load(rows.join(u','));
    chart.resize(1000, 600);
    chart.loadData();
    chart.redrawNow();
    const auto axes = chart.chart()->axes(Qt::Horizontal);
    ASSERT_FALSE(axes.isEmpty());
    auto* categories = qobject_cast<QBarCategoryAxis*>(axes.first());
    ASSERT_TRUE(categories);
    EXPECT_EQ(categories->count(), 400);
    EXPECT_EQ(categories->labelsAngle(), -90);
    EXPECT_GT(chart.labelLayout().step, 1);
    EXPECT_EQ(categories->at(0), QStringLiteral("Kraj 0"));
    EXPECT_TRUE(categories->at(1).startsWith(QStringLiteral("<!--")));
}

TEST_F(ChartData, GraphWindowCommands) {
    load(QStringLiteral("('Koper', 'a', 12, 1), ('Kranj', 'b', 87, 1)"));
    Tgraf form;
    form.chart->setDataSource(dataset.get());
    form.graph(dataset->fieldByName("KRAJ"), dataset->fieldByName("ZNESEK"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("graf"));
    EXPECT_EQ(form.chart->caption(ChartControl::CategoryAxisCaption), QStringLiteral("KRAJ"));
    EXPECT_EQ(form.chart->caption(ChartControl::ValueAxisCaption), QStringLiteral("Znesek"));
    EXPECT_EQ(form.chart->pointCount(), 2);
    EXPECT_EQ(form.chart->toolCommand(25), Tgraf::CommandSettings);

    ASSERT_EQ(form.chart->FixedGap(), 1);
    form.chart->toolAction(26)->trigger();
    EXPECT_EQ(form.chart->FixedGap(), 0);
    form.chart->toolAction(26)->trigger();
    EXPECT_EQ(form.chart->FixedGap(), 1);

    // Picking another chart kind marks the type and relabels.
    form.chart->setXLegPeriod(2);
    form.chart->toolAction(4)->trigger(); // pie
    EXPECT_TRUE(form.chart->Type_() & Tgraf::ChartTypeChangedBit);
    EXPECT_EQ(form.chart->LegStyle(), 75);
    EXPECT_EQ(form.chart->legend(1), QStringLiteral("Kranj"));
}

TEST_F(ChartData, SettingsDialogOffersFieldsAndNeedsXAndY) {
    load(QStringLiteral("('Koper', 'a', 12, 1)"));
    TfGraphView dialog;
    QStringList messages;
    TfGraphView::setMessageHandler([&](const QString& m) { messages.append(m); });
    dialog.setup(*dataset, QStringLiteral("KRAJ"), {QStringLiteral("KOLICINA")}, QStringLiteral("SKUPINA"));
    EXPECT_EQ(dialog.cbX->count(), 2);
    EXPECT_EQ(dialog.lbY->count(), 2);
    EXPECT_EQ(dialog.xChoice(), QStringLiteral("KRAJ"));
    EXPECT_EQ(dialog.yChoices(), QStringList{"KOLICINA"});
    EXPECT_EQ(dialog.groupChoice(), QStringLiteral("SKUPINA"));
    dialog.btnClear->click();
    EXPECT_EQ(dialog.groupChoice(), QString());

    dialog.lbY->clearSelection();
    dialog.BitBtn1->click();
    EXPECT_EQ(messages, QStringList{"Missing X or Y"});
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    dialog.lbY->item(0)->setSelected(true);
    dialog.BitBtn1->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    TfGraphView::setMessageHandler(nullptr);
}

// Saves a picture of the graph window for the documentation when TEVRA_DOCS_DIR is set.
TEST_F(ChartData, GraphPicture) {
    const QString dir = qEnvironmentVariable("TEVRA_DOCS_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "TEVRA_DOCS_DIR not set";
    QStringList rows;
    const char* towns[] = {"Ljubljana", "Maribor", "Celje", "Kranj", "Koper", "Novo mesto", "Velenje", "Ptuj"};
    for (int n = 0; n < 8; ++n)
        for (int g = 0; g < 2; ++g)
            rows.append(QStringLiteral("('%1', '%2', %3, 1)").arg(towns[n]).arg(g ? "2024" : "2023").arg(20 + (n * 37 + g * 23) % 70));
    load(rows.join(u','));
    Tgraf form;
    form.resize(1000, 600);
    form.chart->setDataSource(dataset.get());
    form.chart->gFieldName = QStringLiteral("SKUPINA");
    form.chart->setXLegPeriod(2);
    form.chart->xFieldName = QStringLiteral("KRAJ");
    form.chart->yFieldName = QStringList{QStringLiteral("ZNESEK")};
    form.chart->setCaption(ChartControl::CategoryAxisCaption, QStringLiteral("Kraj"));
    form.chart->setCaption(ChartControl::ValueAxisCaption, QStringLiteral("Znesek"));
    form.chart->loadData();
    form.show();
    QApplication::processEvents();
    form.chart->redrawNow();
    QApplication::processEvents();
    EXPECT_TRUE(form.grab().save(QDir(dir).filePath(QStringLiteral("graph.png"))));
}
