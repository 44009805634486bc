#include "GridTestSupport.h"

#include "grid/GridDataset.h"
#include "grid/GridDatasetModel.h"

#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

QVariant idAt(const GridDataset& ds) { return ds.value(QStringLiteral("ID")); }

} // namespace

TEST(GridDataset, OpeningABigResultReadsOneChunkAndCountsTheRest) {
    TestDatabase database;
    database.createNumbers(100000);
    GridDataset ds(database.db(), QStringLiteral("SELECT * FROM NUMBERS ORDER BY ID"));
    ds.open();

    EXPECT_EQ(ds.recordCount(), 100000);
    EXPECT_EQ(ds.chunkLoads(), 1);
    EXPECT_EQ(ds.cachedRowCount(), GridDataset::ChunkSize);
    EXPECT_EQ(idAt(ds).toInt(), 1);

    ds.last();
    EXPECT_EQ(idAt(ds).toInt(), 100000);
    EXPECT_EQ(ds.chunkLoads(), 2) << "jumping to the end reads only the last chunk";
    EXPECT_TRUE(ds.eof());
}

TEST(GridDataset, WalksEveryRecordAroundTheChunkBoundaries) {
    for (int rows : {0, 1, 255, 256, 257, 600}) {
        SCOPED_TRACE(rows);
        TestDatabase database;
        database.createNumbers(rows);
        GridDataset ds(database.db(), QStringLiteral("SELECT ID, NAME FROM NUMBERS ORDER BY ID"));
        ds.open();
        ASSERT_EQ(ds.recordCount(), rows);
        EXPECT_EQ(ds.isEmpty(), rows == 0);

        int seen = 0;
        for (ds.first(); !ds.eof(); ds.next()) {
            ++seen;
            ASSERT_EQ(idAt(ds).toInt(), seen);
            ASSERT_EQ(ds.value(QStringLiteral("name")).toString(), QStringLiteral("name%1").arg(seen));
        }
        EXPECT_EQ(seen, rows);
        EXPECT_EQ(ds.chunkLoads(), std::max(1, (rows + GridDataset::ChunkSize - 1) / GridDataset::ChunkSize));
    }
}

TEST(GridDataset, KeepsOnlyABoundedNumberOfChunksWhileWalking) {
    TestDatabase database;
    database.createNumbers(20000);
    GridDataset ds(database.db(), QStringLiteral("SELECT * FROM NUMBERS ORDER BY ID"));
    ds.setCacheLimit(4);
    ds.open();
    long long sum = 0;
    for (ds.first(); !ds.eof(); ds.next()) sum += idAt(ds).toLongLong();
    EXPECT_EQ(sum, 20000LL * 20001 / 2);
    EXPECT_LE(ds.cachedRowCount(), 4 * GridDataset::ChunkSize);

    ds.setRecNo(10);
    EXPECT_EQ(idAt(ds).toInt(), 11) << "an evicted chunk is read again";
}

TEST(GridDataset, TheModelQueuesMissingRowsAndDropsLoadsAskedForBeforeARefresh) {
    TestDatabase database;
    database.createNumbers(5000);
    GridDataset ds(database.db(), QStringLiteral("SELECT ID FROM NUMBERS ORDER BY ID"));
    ds.open();
    GridDatasetModel* model = ds.model();
    const QModelIndex far = model->index(4000, 0);

    EXPECT_FALSE(model->data(far).isValid()) << "the model never reads rows itself";
    ds.refresh(); // the queued load belongs to the old result
    const int loadsAfterRefresh = ds.chunkLoads();
    QCoreApplication::processEvents();
    EXPECT_EQ(ds.chunkLoads(), loadsAfterRefresh);

    QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
    EXPECT_FALSE(model->data(far).isValid());
    QCoreApplication::processEvents();
    EXPECT_EQ(ds.chunkLoads(), loadsAfterRefresh + 1);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(model->data(far).toString(), QStringLiteral("4001"));
}

TEST(GridDataset, BindsParametersWhateverTheirLetterCase) {
    TestDatabase database;
    database.createNumbers(50);
    GridDataset ds(database.db(),
                   QStringLiteral("SELECT ID FROM NUMBERS WHERE ID > :low AND ID <= :High AND NAME <> ':no'"),
                   {{QStringLiteral("LOW"), 10}, {QStringLiteral(":high"), 20}});
    ds.open();
    EXPECT_EQ(ds.recordCount(), 10);
}

TEST(GridDataset, ReportsFailingStatementsAndMissingParameters) {
    TestDatabase database;
    database.createNumbers(3);
    GridDataset missing(database.db(), QStringLiteral("SELECT ID FROM NUMBERS WHERE ID = :ID"));
    EXPECT_THROW(missing.open(), GridDatasetError);
    EXPECT_FALSE(missing.isOpen());

    GridDataset wrong(database.db(), QStringLiteral("SELECT NOPE FROM NUMBERS"));
    try {
        wrong.open();
        FAIL() << "no error";
    } catch (const GridDatasetError& e) {
        EXPECT_EQ(e.sql(), QStringLiteral("SELECT NOPE FROM NUMBERS"));
    }
    EXPECT_FALSE(wrong.isOpen());
}

TEST(GridDataset, OverAWholeTableDescribesItsFields) {
    TestDatabase database;
    database.createNumbers(3);
    auto ds = GridDataset::forTable(database.db(), QStringLiteral("NUMBERS"));
    ds->open();
    ASSERT_EQ(ds->fieldCount(), 3);
    EXPECT_TRUE(ds->isTable());
    const GridField& amount = ds->fieldByName(QStringLiteral("amount"));
    EXPECT_EQ(amount.kind(), FieldKind::Float);
    EXPECT_EQ(amount.alignment(), Qt::AlignRight);
    EXPECT_EQ(ds->fieldByName(QStringLiteral("NAME")).kind(), FieldKind::String);
    EXPECT_THROW(ds->fieldByName(QStringLiteral("MISSING")), GridDatasetError);
}

TEST(GridDataset, KeepsFieldSettingsAcrossARefreshAndDefersLayoutWhileDisabled) {
    TestDatabase database;
    database.createNumbers(3);
    GridDataset ds(database.db(), QStringLiteral("SELECT ID, NAME, AMOUNT FROM NUMBERS"));
    ds.open();
    GridField* name = ds.findField(QStringLiteral("NAME"));
    name->setDisplayLabel(QStringLiteral("Naziv"));

    QSignalSpy layout(&ds, &GridDataset::fieldsChanged);
    ds.disableControls();
    name->setVisible(false);
    name->setIndex(2);
    EXPECT_EQ(layout.count(), 0);
    ds.enableControls();
    EXPECT_EQ(layout.count(), 1);
    EXPECT_EQ(name->index(), 2);
    EXPECT_EQ(ds.model()->columnCount(), 2);

    ds.refresh();
    EXPECT_EQ(ds.findField(QStringLiteral("NAME")), name);
    EXPECT_EQ(name->displayLabel(), QStringLiteral("Naziv"));
    EXPECT_FALSE(name->visible());
}

TEST(GridDataset, FormatsNumbersByTheirDisplayFormat) {
    struct Case {
        double value;
        const char* format;
        const char* text;
    };
    const Case cases[] = {
        {1234.5, "#,##0.00", "1,234.50"}, {-1234567.891, "#,##0.00", "-1,234,567.89"},
        {0.5, "0.###", "0.5"},            {2, "0.###", "2"},
        {0.25, "#.##", ".25"},            {1234.5, "", "1234.5"},
        {-0.001, "0.00", "0.00"},         {7, "000", "007"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatNumber(c.value, QString::fromLatin1(c.format)), QString::fromLatin1(c.text))
            << c.value << " " << c.format;
}
