#include "app/BatchMode.h"
#include "app/Engine.h"
#include "collect/ReferenceData.h"
#include "demo/DemoBackOffice.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

/// Records what the operator would see and answers questions from a list.
class RecordingOperator : public Operator {
public:
    void showMessage(const QString& text) override { messages.append(text); }
    bool askYesNo(const QString& text) override {
        messages.append(text);
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    void setProgressText(const QString& text) override { progress = text; }
    void processEvents() override {}
    void requestTermination() override { terminationRequested = true; }

    QStringList messages;
    QList<bool> answers;
    QString progress;
    bool terminationRequested = false;
};

/// A program folder with ALIASES.INI and a small back office for start-up.
class EngineTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        folder = dir.path() + u'/';
        database = folder + "bo.db";
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fixture"));
            db.setDatabaseName(database);
            ASSERT_TRUE(db.open());
            QString error;
            ASSERT_TRUE(demo::createSchema(db, &error)) << error.toStdString();
            ASSERT_TRUE(demo::runSqlScript(db, QStringLiteral(
                "INSERT INTO DJV (SFDJV, NZV) VALUES ('L', 'Lastni posli');"
                "INSERT INTO DJV (SFDJV, NZV) VALUES ('U', 'Upravljanje');"
                "INSERT INTO DJV (SFDJV, NZV) VALUES ('Q', 'Ni na seznamu');"
                "INSERT INTO OSB (SFOSB, NZV, MTS) VALUES (2, 'Demo banka d.d. ', '1234567');"
                "INSERT INTO INISET (KLJUC, VREDNOST) VALUES ('RW_ClientId', 'banka vedazu');"
                "INSERT INTO EUROOBD (OZNAKA, DANOD) VALUES ('ES', '2007-01-01 00:00:00');"
                "INSERT INTO DRZ (SFDRZ, KRT) VALUES ('S', 'SI');"), &error)) << error.toStdString();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("fixture"));
        writeAliases(QStringLiteral("[LB]\nDRIVER=SQLITE\nDATABASE=bo.db\n"));
    }

    void writeAliases(const QString& text) {
        QFile f(folder + "ALIASES.INI");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
    }

    void sql(const QString& statement) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("poke"));
        db.setDatabaseName(database);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(statement)) << statement.toStdString();
        q.finish();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("poke"));
    }

    QTemporaryDir dir;
    QString folder;
    QString database;
    RecordingOperator op;
};

TEST_F(EngineTest, StartUpFillsTheRunStateOnce) {
    Engine engine(op, folder);
    const StartUpResult r = engine.startUp({}, QDate(2025, 1, 15));
    ASSERT_TRUE(r.connected);
    ASSERT_TRUE(r.completed) << op.messages.join(u'|').toStdString();
    EXPECT_EQ(r.dateFrom, QDate(2024, 12, 1));
    EXPECT_EQ(r.dateTo, QDate(2024, 12, 31));
    const RunState& s = engine.state();
    EXPECT_EQ(s.DbAlias, QStringLiteral("LB"));
    EXPECT_EQ(s.DbUser, QStringLiteral("BEJIWG"));
    EXPECT_TRUE(s.DbOracle); // the embedded engine counts as Oracle
    EXPECT_EQ(s.ActivityCodes, (QStringList{"L", "U"}));
    EXPECT_EQ(s.ActivityNames, (QStringList{"Lastni posli", "Upravljanje"}));
    EXPECT_EQ(s.InstitutionName, QStringLiteral("Demo banka d.d."));
    EXPECT_EQ(s.ClientId, QStringLiteral("BK"));
    EXPECT_EQ(s.ReporterRegNo, QStringLiteral(" 1234567"));
    EXPECT_EQ(s.CountryTable.size(), 1);
    EXPECT_EQ(s.IdPor, 1);
    EXPECT_TRUE(s.EuroPeriod);
    EXPECT_TRUE(op.messages.isEmpty()) << op.messages.join(u'|').toStdString();
    EXPECT_FALSE(engine.startUp({}, QDate(2025, 1, 15)).completed); // a second activation does nothing
}

TEST_F(EngineTest, NextReportNumberComesFromReportRowsOnly) {
    for (int i = 1; i <= 7; ++i) sql(QStringLiteral("INSERT INTO TEMP_TEVRA (IDPOR) VALUES (%1)").arg(i));
    sql(QStringLiteral("INSERT INTO TEMP_TEVRA1 (IDPOR) VALUES (8)"));
    Engine engine(op, folder);
    engine.startUp({}, QDate(2025, 1, 15));
    EXPECT_EQ(engine.state().IdPor, 8);
}

TEST_F(EngineTest, CommandLineReplacesCredentialsAndUnknownAliasesEndTheProgram) {
    const struct {
        QStringList args;
        const char* message;
    } cases[] = {{{"NOWHERE"}, "Prijava v bazo z aliasom NOWHERE ni uspela!"},
                 {{""}, "Prijava v bazo z aliasom  ni uspela!"}};
    for (const auto& c : cases) {
        RecordingOperator o;
        Engine engine(o, folder);
        const StartUpResult r = engine.startUp(c.args, QDate(2025, 1, 15));
        EXPECT_FALSE(r.connected);
        EXPECT_TRUE(o.terminationRequested);
        EXPECT_EQ(o.messages, QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(engine.state().DbUser, QStringLiteral("BEJIWG"));
    }
    Engine engine(op, folder);
    engine.startUp({"lb", "ANA", "geslo"}, QDate(2025, 1, 15));
    EXPECT_EQ(engine.state().DbAlias, QStringLiteral("lb"));
    EXPECT_EQ(engine.state().DbUser, QStringLiteral("ANA"));
    EXPECT_EQ(engine.state().DbPassword, QStringLiteral("geslo"));
}

TEST_F(EngineTest, DriverNameDecidesTheDatabaseKind) {
    const struct {
        const char* driverName;
        bool oracle;
    } cases[] = {{"DB2", false}, {"ibm db2 odbc", false}, {"ORACLE", true}, {"INTERBASE", true}};
    for (const auto& c : cases) {
        writeAliases(QStringLiteral("[LB]\nDRIVER=SQLITE\nDATABASE=bo.db\nDRIVER NAME=%1\n").arg(c.driverName));
        RecordingOperator o;
        Engine engine(o, folder);
        engine.startUp({}, QDate(2025, 1, 15));
        EXPECT_EQ(engine.state().DbOracle, c.oracle) << c.driverName;
    }
}

TEST_F(EngineTest, RunChecksInputInOrderBeforeAnyDatabaseWork) {
    Engine engine(op, folder);
    ASSERT_TRUE(engine.startUp({}, QDate(2025, 1, 15)).completed);
    const QList<bool> none{false, false, false, false, false};
    const struct {
        RunInput input;
        const char* message;
    } cases[] = {
        {{"", "31.12.2024", "x.xlsx", none}, "Neveljavni datum!"},
        {{"01.12.2024", "  ", "", none}, "Neveljavni datum!"},
        {{"01.12.2024", "31.12.2024", "   ", none}, "Izberi izhodno datoteko!"},
        {{"31.12.2024", "01.12.2024", "x.xlsx", none}, "Datum OD mora biti manjši od datuma DO!"},
        {{"29.02.2023", "01.03.2023", "x.xlsx", none}, "'29.02.2023' ni veljaven datum"},
    };
    for (const auto& c : cases) {
        op.messages.clear();
        const RunResult r = engine.runReport(c.input, false);
        EXPECT_EQ(r.status, RunStatus::InputRejected) << c.message;
        EXPECT_EQ(op.messages, QStringList{QString::fromUtf8(c.message)});
    }
    EXPECT_EQ(engine.state().IdPor, 1); // no run number was taken
}

TEST_F(EngineTest, ASecondRunDuringARunIsRefused) {
    Engine engine(op, folder);
    engine.startUp({}, QDate(2025, 1, 15));
    ASSERT_TRUE(engine.enterBusy());
    const RunResult r = engine.runReport({"01.12.2024", "31.12.2024", "x.xlsx", {}}, false);
    EXPECT_EQ(r.status, RunStatus::Refused);
    EXPECT_EQ(op.messages.last(), busyMessage());
    engine.leaveBusy();
}

TEST_F(EngineTest, UnusableListFileLinesStopTheRun) {
    QFile f(folder + "idpogi.INI");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("12\n12 OR 1=1\n");
    f.close();
    Engine engine(op, folder);
    engine.startUp({}, QDate(2025, 1, 15));
    op.messages.clear();
    const RunResult r = engine.runReport({"01.12.2024", "31.12.2024", "x.xlsx", {}}, false);
    EXPECT_EQ(r.status, RunStatus::InputRejected);
    EXPECT_EQ(op.messages, QStringList{QStringLiteral("Neveljavna vrstica 2 v datoteki idpogi.INI: 12 OR 1=1")});
}

TEST_F(EngineTest, ExitRemembersTheOutputPath) {
    Engine engine(op, folder);
    engine.exit(QStringLiteral(" out.xlsx"));
    QFile f(folder + "TEVRA.INI");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray(" out.xlsx\r\n"));
}

TEST(SfdjvList, WIsAlwaysThereAndBoxesFollowInOrder) {
    const QStringList codes{"L", "N", "U"};
    EXPECT_EQ(buildSfdjvList(codes, {false, false, false, false, false}), QStringLiteral(" 'W' "));
    EXPECT_EQ(buildSfdjvList({"L", "X", "U"}, {true, false, true, false, false}), QStringLiteral(" 'W' , 'L' , 'U' "));
    EXPECT_EQ(buildSfdjvList(codes, {true, true, true, true, true}), QStringLiteral(" 'W' , 'L' , 'N' , 'U' "));
}

TEST_F(EngineTest, BatchModeChecksItsOptions) {
    qputenv("TEVRA_HOME", folder.toLocal8Bit());
    const QString program = folder + "tevra";
    const struct {
        QStringList args;
        int status;
    } cases[] = {
        {{"--batch", "--help"}, 0},
        {{"--batch"}, 2},
        {{"--batch", "--from", "2024-12-01", "--to", "2024-12-31"}, 2},
        {{"--batch", "--from", "2024-02-30", "--to", "2024-12-31", "--out", "x.xlsx"}, 2},
        {{"--batch", "--from", "2024-12-01", "--to", "2024-11-30", "--out", "x.xlsx"}, 2},
        {{"--batch", "--from", "2024-12-01", "--to", "2024-12-31", "--out", "x.xlsx", "--unsectored", "maybe"}, 2},
        {{"--batch", "--from", "2024-12-01", "--to", "2024-12-31", "--out", "x.xlsx", "--activities", "Z"}, 2},
        {{"--batch", "--from", "2024-12-01", "--to", "2024-12-31", "--out", "x.xlsx", "--bogus"}, 2},
        {{"--batch", "--from", "2024-12-01", "--to", "2024-12-31", "--out", "x.xlsx", "NOWHERE"}, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(runBatch(c.args, program), c.status) << c.args.join(u' ').toStdString();
    qunsetenv("TEVRA_HOME");
}

} // namespace
