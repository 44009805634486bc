#include "store/Database.h"
#include "store/Query.h"
#include "store/SqlError.h"
#include "store/WorkTableWriter.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

enum class Path { Sqlite, OdbcConnectionString, OdbcDsn };

std::string pathName(const testing::TestParamInfo<Path>& info) {
    switch (info.param) {
    case Path::Sqlite: return "Sqlite";
    case Path::OdbcConnectionString: return "OdbcConnectionString";
    case Path::OdbcDsn: return "OdbcDsn";
    }
    return "?";
}

/// A small database with one back-office-like table and one work table, opened through each path.
class QueryTest : public testing::TestWithParam<Path> {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        odbcFolder();
        file = dir.filePath(QStringLiteral("t.db"));
        {
            QSqlDatabase setup = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("setup"));
            setup.setDatabaseName(file);
            ASSERT_TRUE(setup.open());
            QSqlQuery q(setup);
            for (const char* s : {"CREATE TABLE POS (SFVP INTEGER, IDPOG INTEGER, DAN DATE, LOT FLOAT, NAME VARCHAR2(20))",
                                  "INSERT INTO POS VALUES (1, 10, '2024-03-31 00:00:00', 7, 'A')",
                                  "INSERT INTO POS VALUES (1, 11, '2024-03-31 00:00:00', 7.5, NULL)",
                                  "INSERT INTO POS VALUES (2, 10, '2024-02-29 00:00:00', 1, 'B')",
                                  "CREATE TABLE WORK (IDPOR INTEGER, CTRL INTEGER, K14 VARCHAR2(3), K16 VARCHAR2(5), "
                                  "K31 FLOAT, DATUM DATE)"})
                ASSERT_TRUE(q.exec(QString::fromLatin1(s))) << s;
        }
        QSqlDatabase::removeDatabase(QStringLiteral("setup"));

        store::AliasDefinition def;
        switch (GetParam()) {
        case Path::Sqlite:
            def.kind = store::AliasDefinition::Kind::Sqlite;
            def.database = file;
            break;
        case Path::OdbcConnectionString:
            def.kind = store::AliasDefinition::Kind::Odbc;
            def.database = QStringLiteral("DRIVER=SQLite3;Database=") + file;
            break;
        case Path::OdbcDsn: {
            def.kind = store::AliasDefinition::Kind::Odbc;
            def.database = QStringLiteral("tevra_query_test");
            // The data source always names the same file of the process's ODBC folder.
            QFile::remove(odbcFolder().filePath(QStringLiteral("dsn.db")));
            ASSERT_TRUE(QFile::copy(file, odbcFolder().filePath(QStringLiteral("dsn.db"))));
            file = odbcFolder().filePath(QStringLiteral("dsn.db"));
            break;
        }
        }
        QString reason;
        ASSERT_TRUE(db.open(QStringLiteral("T"), def, &reason)) << reason.toStdString();
    }

    void TearDown() override { db.close(); }

    /// The ODBC system folder of this test process, set before the first ODBC call: it registers the
    /// SQLite3 driver (kept loaded, so that what it holds until the process ends is not reported
    /// as lost by the leak checker) and a data source on dsn.db in the same folder.
    static QDir odbcFolder() {
        static QTemporaryDir folder;
        static const bool written = [] {
            QFile inst(folder.filePath(QStringLiteral("odbcinst.ini")));
            if (!inst.open(QIODevice::WriteOnly)) return false;
            inst.write("[SQLite3]\nDriver=libsqlite3odbc.so\nSetup=libsqlite3odbc.so\nDontDLClose=1\n");
            inst.close();
            QFile ini(folder.filePath(QStringLiteral("odbc.ini")));
            if (!ini.open(QIODevice::WriteOnly)) return false;
            ini.write(QStringLiteral("[tevra_query_test]\nDriver=SQLite3\nDatabase=%1\n")
                          .arg(folder.filePath(QStringLiteral("dsn.db")))
                          .toUtf8());
            qputenv("ODBCSYSINI", folder.path().toLocal8Bit());
            return true;
        }();
        (void)written;
        return QDir(folder.path());
    }

    QTemporaryDir dir;
    QString file;
    store::Database db;
};

TEST_P(QueryTest, EngineIsSqliteAndNamedAsSuch) {
    EXPECT_TRUE(db.sqliteEngine());
    EXPECT_TRUE(db.driverName().toUpper().contains(QLatin1String("SQLITE")));
}

TEST_P(QueryTest, ParametersMatchWithoutLetterCaseAndRepeatedOnesAreBoundOnce) {
    store::Query q(db);
    q.setSql(QStringLiteral("SELECT COUNT(*) N FROM POS WHERE SFVP=:sfvp AND (IDPOG=:IdPog OR :IDPOG=0) AND SFVP=:SFVP"));
    q.bindInt(QStringLiteral("SFVP"), 1);
    q.bindInt(QStringLiteral("idpog"), 11);
    q.open();
    EXPECT_EQ(q.integer(QStringLiteral("n")), 1);
}

TEST_P(QueryTest, DateParametersMatchStoredDays) {
    store::Query q(db);
    q.setSql(QStringLiteral("SELECT SUM(LOT) L FROM POS WHERE DAN = :DAN30"));
    q.bindDate(QStringLiteral("DAN30"), QDate(2024, 3, 31));
    q.open();
    EXPECT_DOUBLE_EQ(q.number(QStringLiteral("L")), 14.5);
    EXPECT_EQ(q.dateTime(QStringLiteral("L")), QDateTime()); // not a date: no value
}

TEST_P(QueryTest, NullReadsAsZeroOrEmptyAndAggregatesGiveOneRow) {
    store::Query q(db);
    q.setSql(QStringLiteral("SELECT MAX(LOT) L, MAX(NAME) N FROM POS WHERE SFVP=99"));
    q.open();
    ASSERT_FALSE(q.eof());
    EXPECT_EQ(q.number(QStringLiteral("L")), 0.0);
    EXPECT_EQ(q.integer(QStringLiteral("L")), 0);
    EXPECT_EQ(q.text(QStringLiteral("N")), QString());
    // The same by position, as rows read many at a time are.
    EXPECT_EQ(q.numberAt(q.fieldIndex(QStringLiteral("l"))), 0.0);
    EXPECT_EQ(q.textAt(q.fieldIndex(QStringLiteral("N"))), QString());
    EXPECT_THROW(q.fieldIndex(QStringLiteral("MISSING")), store::SqlError);
}

TEST_P(QueryTest, FloatColumnsNeverDivideIntegers) {
    store::Query q(db);
    q.setSql(QStringLiteral("SELECT LOT*1/2 H FROM POS WHERE SFVP=2"));
    q.open();
    EXPECT_DOUBLE_EQ(q.number(QStringLiteral("H")), 0.5);
}

TEST_P(QueryTest, FailuresCarryTheStatementText) {
    store::Query q(db);
    const QString bad = QStringLiteral("SELECT NOPE FROM MISSING_TABLE");
    q.setSql(bad);
    try {
        q.open();
        FAIL() << "no error";
    } catch (const store::SqlError& e) {
        EXPECT_EQ(e.statement(), bad);
    }
    q.setSql(QStringLiteral("SELECT * FROM POS WHERE SFVP=:SFVP"));
    EXPECT_THROW(q.open(), store::SqlError); // a parameter without a value is an error, never NULL
}

TEST_P(QueryTest, RepeatedStatementIsPreparedOnce) {
    store::Query q(db);
    const qint64 before = db.stats().prepares;
    for (int i = 0; i < 5; ++i) {
        q.setSql(QStringLiteral("SELECT LOT FROM POS WHERE SFVP=:SFVP AND IDPOG=:IDPOG"));
        q.bindInt(QStringLiteral("SFVP"), 1);
        q.bindInt(QStringLiteral("IDPOG"), 10 + i % 2);
        q.open();
        ASSERT_FALSE(q.eof());
        EXPECT_DOUBLE_EQ(q.number(QStringLiteral("LOT")), i % 2 ? 7.5 : 7.0);
    }
    EXPECT_EQ(db.stats().prepares - before, 1);
    EXPECT_GE(db.stats().executions, 5);
}

TEST_P(QueryTest, WriterCutsTextToItsColumnAndStoresEmptyAsNull) {
    store::WorkTableWriter w(db, QStringLiteral("WORK"));
    w.open(QStringLiteral("SELECT * FROM WORK WHERE IDPOR=1"));
    EXPECT_EQ(w.width(QStringLiteral("K16")), 5);
    w.append();
    w.set(QStringLiteral("IDPOR"), 1);
    w.set(QStringLiteral("CTRL"), 1);
    w.set(QStringLiteral("K14"), QStringLiteral("TRRX"));
    w.set(QStringLiteral("K16"), QString());
    w.set(QStringLiteral("K31"), 2.25);
    w.set(QStringLiteral("DATUM"), QDateTime(QDate(2024, 3, 5), QTime(10, 20, 30)));
    w.post();
    w.edit({{QStringLiteral("IDPOR"), 1}, {QStringLiteral("CTRL"), 1}});
    w.set(QStringLiteral("K31"), 3.5);
    w.post();

    store::Query q(db);
    q.setSql(QStringLiteral("SELECT K14, K16, K31, DATUM, CASE WHEN K16 IS NULL THEN 1 ELSE 0 END NULLK16 FROM WORK"));
    q.open();
    EXPECT_EQ(q.text(QStringLiteral("K14")), QStringLiteral("TRR"));
    EXPECT_EQ(q.integer(QStringLiteral("NULLK16")), 1);
    EXPECT_DOUBLE_EQ(q.number(QStringLiteral("K31")), 3.5);
    // The SQLite ODBC driver reads a DATE column as a day without its time.
    const QDateTime datum = q.dateTime(QStringLiteral("DATUM"));
    EXPECT_EQ(datum.date(), QDate(2024, 3, 5));
    if (GetParam() == Path::Sqlite) {
        EXPECT_EQ(datum.time(), QTime(10, 20, 30));
    }
    EXPECT_THROW(w.set(QStringLiteral("NO_SUCH"), 1), store::SqlError);
}

INSTANTIATE_TEST_SUITE_P(Paths, QueryTest,
                         testing::Values(Path::Sqlite, Path::OdbcConnectionString, Path::OdbcDsn), pathName);

TEST(DeclaredWidths, TextTypes) {
    const struct {
        const char* type;
        int width;
    } cases[] = {{"VARCHAR2(90)", 90}, {"CHAR(3)", 3}, {"varchar(10)", 10}, {"FLOAT", 0}, {"INTEGER", 0}, {"VARCHAR2(15 CHAR)", 15}};
    for (const auto& c : cases) EXPECT_EQ(store::declaredTextWidth(QString::fromLatin1(c.type)), c.width) << c.type;
}

TEST(StoredDates, TextFormOfDateParameters) {
    const struct {
        QDateTime value;
        const char* text;
    } cases[] = {{QDateTime(QDate(2024, 6, 30), QTime(0, 0)), "2024-06-30 00:00:00"},
                 {QDateTime(QDate(1900, 1, 1), QTime(23, 59, 59)), "1900-01-01 23:59:59"},
                 {QDateTime(QDate(9999, 12, 31), QTime(7, 5, 3)), "9999-12-31 07:05:03"},
                 {QDateTime(QDate(45, 2, 9), QTime(10, 0)), "0045-02-09 10:00:00"},
                 {QDateTime(), ""}};
    for (const auto& c : cases) EXPECT_EQ(store::storedDateText(c.value).toStdString(), c.text) << c.text;
}

} // namespace
