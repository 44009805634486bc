// Export of a dataset to file tables, read back with the libraries that read those formats.

#include "grid/TableExport.h"
#include "grid/uDsPrint.h"
#include "grid/uProgres.h"

#include "../GridTestSupport.h"

#include <QFile>
#include <QPushButton>
#include <QTimer>

#include <shapefil.h>
extern "C" {
#include <paradox.h>
}

#include <gtest/gtest.h>

namespace {

class Export : public ::testing::Test {
protected:
    void SetUp() override {
        TTempTable::setPrivateDir(db.path());
        db.exec(QStringLiteral("CREATE TABLE CLIENTS (NAME VARCHAR(12), ID INTEGER, AMOUNT FLOAT, DATUM DATE)"));
        db.exec(QStringLiteral("INSERT INTO CLIENTS VALUES ('Adamič Šuštar', 7, 1234.5, '2024-03-05'), "
                               "('Žiga', -2, 0.125, NULL), (NULL, 3, -7, '1999-12-31')"));
        source = GridDataset::forTable(db.db(), QStringLiteral("CLIENTS"));
        source->open();
        source->fieldByName("DATUM").setKind(FieldKind::Date);
        // A field shown through a handler is exported as its display text.
        source->fieldByName("ID").setOnGetText([](const GridField&, const QVariant& v) {
            return QStringLiteral("#") + v.toString();
        });
        source->fieldByName("ID").setDisplayWidth(4);
    }
    QString file(const char* name) const { return db.path() + u'/' + QLatin1String(name); }

    TestDatabase db;
    std::unique_ptr<GridDataset> source;
    TfDataSetPrint window;
};

QString dbfText(DBFHandle dbf, int row, int field) {
    return fromWindows1250(QByteArray(DBFReadStringAttribute(dbf, row, field)));
}

} // namespace

TEST_F(Export, DBaseReadsBackWithWindows1250Texts) {
    ASSERT_TRUE(window.exportTo(*source, file("clients.dbf"), ExportFormat::DBase));
    EXPECT_TRUE(source->eof());
    DBFHandle dbf = DBFOpen(QFile::encodeName(file("clients.dbf")).constData(), "rb");
    ASSERT_TRUE(dbf);
    EXPECT_EQ(DBFGetRecordCount(dbf), 3);
    ASSERT_EQ(DBFGetFieldCount(dbf), 4);
    char name[12];
    int width = 0;
    EXPECT_EQ(DBFGetFieldInfo(dbf, 1, name, &width, nullptr), FTString);
    EXPECT_EQ(width, 4);
    EXPECT_EQ(DBFGetFieldInfo(dbf, 3, name, nullptr, nullptr), FTDate);
    EXPECT_EQ(dbfText(dbf, 0, 0), QStringLiteral("Adamič Šuštar"));
    EXPECT_EQ(QByteArray(DBFReadStringAttribute(dbf, 1, 0)).size(), 4); // "Žiga": one byte a letter
    EXPECT_EQ(dbfText(dbf, 1, 1), QStringLiteral("#-2"));
    EXPECT_DOUBLE_EQ(DBFReadDoubleAttribute(dbf, 0, 2), 1234.5);
    EXPECT_DOUBLE_EQ(DBFReadDoubleAttribute(dbf, 1, 2), 0.125);
    EXPECT_EQ(QByteArray(DBFReadStringAttribute(dbf, 0, 3)), QByteArray("20240305"));
    EXPECT_TRUE(DBFIsAttributeNULL(dbf, 2, 0));
    EXPECT_TRUE(DBFIsAttributeNULL(dbf, 1, 3));
    DBFClose(dbf);
}

TEST_F(Export, ParadoxReadsBack) {
    ASSERT_TRUE(window.exportTo(*source, file("clients.db"), ExportFormat::Paradox));
    pxdoc_t* px = PX_new();
    ASSERT_EQ(PX_open_file(px, QFile::encodeName(file("clients.db")).constData()), 0);
    ASSERT_EQ(PX_get_num_records(px), 3);
    ASSERT_EQ(PX_get_num_fields(px), 4);
    pxfield_t* fields = PX_get_fields(px);
    EXPECT_EQ(fields[0].px_ftype, pxfAlpha);
    EXPECT_EQ(fields[2].px_ftype, pxfNumber);
    EXPECT_EQ(fields[3].px_ftype, pxfDate);
    std::vector<char> record(size_t(PX_get_recordsize(px)));
    ASSERT_TRUE(PX_get_record(px, 0, record.data()));
    char* text = nullptr;
    ASSERT_GT(PX_get_data_alpha(px, record.data(), fields[0].px_flen, &text), 0);
    EXPECT_EQ(fromWindows1250(QByteArray(text)), QStringLiteral("Adamič Šuštar"));
    px->free(px, text);
    const int amountAt = fields[0].px_flen + fields[1].px_flen;
    double amount = 0;
    ASSERT_GT(PX_get_data_double(px, record.data() + amountAt, 8, &amount), 0);
    EXPECT_DOUBLE_EQ(amount, 1234.5);
    long days = 0;
    ASSERT_GT(PX_get_data_long(px, record.data() + amountAt + 8, 4, &days), 0);
    int year = 0, month = 0, day = 0;
    PX_SdnToGregorian(days + 1721425, &year, &month, &day);
    EXPECT_EQ(QDate(year, month, day), QDate(2024, 3, 5));
    PX_close(px);
    PX_delete(px);
}

TEST_F(Export, FixedTextFollowsItsSchema) {
    ASSERT_TRUE(window.exportTo(*source, file("clients.txt"), ExportFormat::FixedText));
    QFile schema(schemaFileName(file("clients.txt")));
    ASSERT_TRUE(schema.open(QIODevice::ReadOnly));
    const QList<QByteArray> schemaLines = schema.readAll().split('\n');
    EXPECT_EQ(schemaLines[0].trimmed(), QByteArray("[clients]"));
    EXPECT_EQ(schemaLines[1].trimmed(), QByteArray("FILETYPE = FIXED"));

    // Each column is cut out of the lines at the offset and width its schema line gives.
    struct Column {
        QByteArray name;
        int width;
        int offset;
    };
    QList<Column> columns;
    for (const QByteArray& line : schemaLines) {
        if (!line.startsWith("Field")) continue;
        const QList<QByteArray> parts = line.mid(line.indexOf('=') + 1).trimmed().split(',');
        ASSERT_EQ(parts.size(), 5);
        columns.append({parts[0], parts[2].toInt(), parts[4].toInt()});
    }
    ASSERT_EQ(columns.size(), 4);
    EXPECT_EQ(columns[0].name, QByteArray("NAME"));

    QFile data(file("clients.txt"));
    ASSERT_TRUE(data.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = data.readAll().split('\n');
    ASSERT_EQ(lines.size(), 4); // three rows, each ending CR LF
    const auto cell = [&](int row, int c) {
        return fromWindows1250(lines[row].mid(columns[c].offset, columns[c].width)).trimmed();
    };
    EXPECT_EQ(cell(0, 0), QStringLiteral("Adamič Šuštar"));
    EXPECT_EQ(cell(1, 0), QStringLiteral("Žiga"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("#-2"));
    EXPECT_DOUBLE_EQ(cell(0, 2).toDouble(), 1234.5);
    EXPECT_EQ(cell(0, 3), QStringLiteral("05.03.2024"));
    EXPECT_EQ(cell(1, 3), QString());
    EXPECT_TRUE(lines[0].endsWith('\r'));
}

TEST_F(Export, CancelStopsAndRestoresTheSource) {
    QTimer::singleShot(0, [] { TfProgress::instance().cancelButton()->click(); });
    EXPECT_FALSE(window.exportTo(*source, file("part.dbf"), ExportFormat::DBase));
    EXPECT_FALSE(source->controlsDisabled());
    EXPECT_FALSE(TfProgress::instance().isVisible());
    DBFHandle dbf = DBFOpen(QFile::encodeName(file("part.dbf")).constData(), "rb");
    ASSERT_TRUE(dbf);
    EXPECT_EQ(DBFGetRecordCount(dbf), 1); // the rows written so far stay
    DBFClose(dbf);
}

TEST_F(Export, CancelAtTheLastRowKeepsTheRowsWritten) {
    const CancelAtStep cancel(3);
    EXPECT_FALSE(window.exportTo(*source, file("last.dbf"), ExportFormat::DBase));
    EXPECT_FALSE(source->controlsDisabled());
    EXPECT_FALSE(TfProgress::instance().isVisible());
    DBFHandle dbf = DBFOpen(QFile::encodeName(file("last.dbf")).constData(), "rb");
    ASSERT_TRUE(dbf);
    EXPECT_EQ(DBFGetRecordCount(dbf), 3);
    DBFClose(dbf);
}

TEST(ExportWriters, NumberTooWideForItsFieldIsAnError) {
    QTemporaryDir dir;
    auto writer = makeTableWriter(ExportFormat::FixedText);
    writer->create(dir.filePath(QStringLiteral("n.txt")), {{QStringLiteral("S"), FieldKind::SmallInt, 0, 0}});
    writer->append({12345});
    EXPECT_THROW(writer->append({1234567}), TableExportError);
}
