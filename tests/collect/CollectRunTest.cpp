#include "app/BatchMode.h"
#include "demo/DemoBackOffice.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

/// The demo back office built once for all runs of this file (scale 1, a fixed day).
const QString& demoFile() {
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("demo.db"));
        demo::GeneratorOptions options;
        options.seed = 7;
        options.today = QDate(2024, 6, 15);
        QString error;
        if (!demo::createDemoFile(file, options, nullptr, &error)) ADD_FAILURE() << error.toStdString();
        return file;
    }();
    return path;
}

enum class Connection { Sqlite, Odbc };

/// A program folder with a copy of the demo database, its ALIASES.INI and the list files a test gives.
class RunFolder {
public:
    RunFolder(Connection connection, const QString& clientValue) {
        db = dir.filePath(QStringLiteral("backoffice.db"));
        QFile::copy(demoFile(), db);
        QFile aliases(dir.filePath(QStringLiteral("ALIASES.INI")));
        aliases.open(QIODevice::WriteOnly);
        aliases.write((connection == Connection::Sqlite
                           ? QStringLiteral("[LB]\nDRIVER=SQLITE\nDATABASE=") + db
                           : QStringLiteral("[LB]\nDRIVER=ODBC\nDATABASE=DRIVER=SQLite3;Database=") + db)
                          .toUtf8() +
                      "\n");
        aliases.close();
        run(QStringLiteral("UPDATE INISET SET VREDNOST='%1' WHERE KLJUC='RW_ClientId'").arg(clientValue));
    }

    void writeFile(const QString& name, const QByteArray& content) {
        QFile file(dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(content);
    }

    int batch(const QStringList& extra = {}) {
        qputenv("TEVRA_HOME", dir.path().toLocal8Bit());
        QStringList args = {QStringLiteral("--batch"), QStringLiteral("--from"), QStringLiteral("2024-05-01"),
                            QStringLiteral("--to"), QStringLiteral("2024-05-31"), QStringLiteral("--out"),
                            dir.filePath(QStringLiteral("out.xlsx"))};
        args += extra;
        const int status = runBatch(args, dir.filePath(QStringLiteral("tevra")));
        qunsetenv("TEVRA_HOME");
        return status;
    }

    /// A number from the back office copy (the first column of the first row).
    int scalar(const QString& statement) { return run(statement).toInt(); }

    QTemporaryDir dir;
    QString db;

private:
    QVariant run(const QString& statement) {
        QVariant result;
        {
            QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("collect_run_check"));
            c.setDatabaseName(db);
            c.open();
            QSqlQuery q(c);
            if (q.exec(statement) && q.next()) result = q.value(0);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("collect_run_check"));
        return result;
    }
};

struct Variant {
    const char* clientId;
    const char* value; ///< INISET 'RW_ClientId'
};

class CollectRunTest : public testing::TestWithParam<std::tuple<Connection, Variant>> {};

TEST_P(CollectRunTest, BatchRunWritesDetailRowsForTheClientVariant) {
    const auto [connection, variant] = GetParam();
    RunFolder folder(connection, QLatin1String(variant.value));
    folder.batch({QStringLiteral("--unsectored"), QStringLiteral("continue")});
    const int rows = folder.scalar(QStringLiteral("SELECT COUNT(*) FROM TEMP_TEVRA1 WHERE IDPOR=1"));
    EXPECT_GT(rows, 0) << variant.clientId;
    EXPECT_EQ(folder.scalar(QStringLiteral("SELECT MAX(CTRL) FROM TEMP_TEVRA1 WHERE IDPOR=1")), rows);
    EXPECT_GT(folder.scalar(QStringLiteral("SELECT COUNT(*) FROM TEMP_TEVRA1 WHERE IDPOR=1 AND (K31<>0 OR K37<>0)")), 0);
    EXPECT_TRUE(QFile::exists(folder.dir.filePath(QStringLiteral("_stanje.sql"))));
}

const Variant kVariants[] = {{"ZOZE", "zoze banka d.d."}, {"FB", "Direve banka"},  {"ZEZEDUZAVA", "Zezeduzava"},
                             {"MP", "zi zud"},            {"VEDO", "vedo d.d."},    {"VERUVI", "veruvi"},
                             {"ZOV", "zov d.d."},         {"BK", "banka vedazu"},   {"none", "Nova banka"}};

std::string variantName(const testing::TestParamInfo<std::tuple<Connection, Variant>>& info) {
    return std::string(std::get<0>(info.param) == Connection::Sqlite ? "Sqlite_" : "Odbc_") +
           std::get<1>(info.param).clientId;
}

INSTANTIATE_TEST_SUITE_P(Variants, CollectRunTest,
                         testing::Combine(testing::Values(Connection::Sqlite, Connection::Odbc),
                                          testing::ValuesIn(kVariants)),
                         variantName);

TEST(CollectRunUnsectoredTest, ZozeStopsAtTheQuestionWithoutDetailRows) {
    RunFolder folder(Connection::Sqlite, QStringLiteral("zoze banka d.d."));
    EXPECT_EQ(folder.batch({QStringLiteral("--unsectored"), QStringLiteral("stop")}), 4);
    EXPECT_EQ(folder.scalar(QStringLiteral("SELECT COUNT(*) FROM TEMP_TEVRA1")), 0);
    QFile list(folder.dir.filePath(QStringLiteral("OsbBrezSektorja.txt")));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_TRUE(list.readAll().startsWith("   SFOSB \r\n----------------\r\n"));
}

TEST(CollectRunListFilesTest, AnUnusableListLineStopsTheRunBeforeCollecting) {
    for (const char* file : {"idpogi.INI", "PREKNJIZBE.CONF"}) {
        RunFolder folder(Connection::Sqlite, QStringLiteral("Nova banka"));
        folder.writeFile(QLatin1String(file), "12\r\n1) OR (1=1\r\n");
        EXPECT_EQ(folder.batch(), 2) << file;
        EXPECT_EQ(folder.scalar(QStringLiteral("SELECT COUNT(*) FROM TEMP_TEVRA1")), 0) << file;
    }
}

TEST(CollectRunListFilesTest, ValidListsLeaveContractsAndDocumentTypesOut) {
    RunFolder plain(Connection::Sqlite, QStringLiteral("Nova banka"));
    plain.batch();
    const int contract = plain.scalar(QStringLiteral(
        "SELECT D.IDPOG FROM DOG D WHERE D.ZPD >= '2024-05-01' AND D.ZPD <= '2024-05-31 23:59:59' "
        "AND D.SFPDG IN ('A','N','B') GROUP BY D.IDPOG ORDER BY COUNT(*) DESC LIMIT 1"));
    ASSERT_GT(contract, 0);
    const int purchases = plain.scalar(QStringLiteral("SELECT SUM(K34) FROM TEMP_TEVRA1"));

    RunFolder excluded(Connection::Sqlite, QStringLiteral("Nova banka"));
    excluded.writeFile(QStringLiteral("idpogi.INI"), QByteArray::number(contract) + "\r\n");
    excluded.batch();
    EXPECT_LT(excluded.scalar(QStringLiteral("SELECT SUM(K34) FROM TEMP_TEVRA1")), purchases);
}

} // namespace
