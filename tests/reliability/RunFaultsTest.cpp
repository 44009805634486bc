#include "ReliabilitySupport.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>
#include <gtest/gtest.h>

using namespace reliability;

namespace {

/// Another process holding an exclusive lock on the database until it ends.
class LockingProcess {
public:
    explicit LockingProcess(const QString& database) {
        process_.start(QStringLiteral("sqlite3"), {database});
        if (!process_.waitForStarted(5000)) return;
        process_.write("BEGIN EXCLUSIVE;\nCREATE TABLE HELD_BY_ANOTHER_PROCESS (X INTEGER);\n");
        process_.waitForBytesWritten(5000);
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 5000 && !locked_) {
            QThread::msleep(50);
            locked_ = isLocked(database);
        }
    }
    ~LockingProcess() { release(); }
    bool locked() const { return locked_; }
    void release() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.write("ROLLBACK;\n.quit\n");
        process_.waitForBytesWritten(5000);
        process_.closeWriteChannel();
        if (!process_.waitForFinished(5000)) process_.kill();
        process_.waitForFinished(1000);
    }

private:
    static bool isLocked(const QString& database) {
        bool locked = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("lock-probe"));
            db.setDatabaseName(database);
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
            if (db.open()) {
                QSqlQuery q(db);
                locked = !q.exec(QStringLiteral("SELECT COUNT(*) FROM DJV"));
                q.finish();
                db.close();
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("lock-probe"));
        return locked;
    }
    QProcess process_;
    bool locked_ = false;
};

/// One way the database fails during a run, and how it is put right again.
struct DatabaseFault {
    const char* name;
    QStringList breakSql;       ///< run on another connection before the run
    const char* atProgress;     ///< progress text (start) at which `during` acts; null: none
    std::function<void(Engine&)> during;
    QStringList repairSql;      ///< run on another connection after the failed run
    const char* shownStatement; ///< a piece of the statement the operator must be shown
};

void execOn(Engine& engine, const QString& sql) {
    QSqlQuery q(engine.database().connection());
    EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
}

/// A full report run over the demo back office, failed in every step in turn: each failure shows
/// the failing statement, ends the run, keeps earlier reports, the previous workbook and TEVRA.TXT,
/// and the next run writes a report again.
TEST(RunFaults, DatabaseFailureInEachStepStopsTheRunAndLosesNothing) {
    const QString raise = QStringLiteral(" BEGIN SELECT RAISE(ABORT, 'poskusna napaka'); END");
    const QList<DatabaseFault> faults = {
        {"selection: a back-office table is missing",
         {"ALTER TABLE VPSHST RENAME TO VPSHST_SKRITA"}, nullptr, {},
         {"ALTER TABLE VPSHST_SKRITA RENAME TO VPSHST"}, "VPSHST"},
        {"detail rows: the work table refuses rows",
         {"CREATE TRIGGER NAPAKA BEFORE INSERT ON TEMP_TEVRA1" + raise}, nullptr, {},
         {"DROP TRIGGER NAPAKA"}, "INSERT INTO TEMP_TEVRA1"},
        {"grouping: the detail table disappears between the steps",
         {}, "Grupiranje", [](Engine& e) { execOn(e, "ALTER TABLE TEMP_TEVRA1 RENAME TO TEMP_TEVRA1_SKRITA"); },
         {"ALTER TABLE TEMP_TEVRA1_SKRITA RENAME TO TEMP_TEVRA1"}, "TEMP_TEVRA1"},
        {"grouping: the report table refuses rows",
         {"CREATE TRIGGER NAPAKA BEFORE INSERT ON TEMP_TEVRA" + raise}, nullptr, {},
         {"DROP TRIGGER NAPAKA"}, "FROM TEMP_TEVRA1"},
        {"completion: the report table refuses updates",
         {"CREATE TRIGGER NAPAKA BEFORE UPDATE ON TEMP_TEVRA" + raise}, nullptr, {},
         {"DROP TRIGGER NAPAKA"}, "UPDATE TEMP_TEVRA"},
        {"completion: the security master disappears between the steps",
         {}, "Ostala polja", [](Engine& e) { execOn(e, "ALTER TABLE SFVP RENAME TO SFVP_SKRITA"); },
         {"ALTER TABLE SFVP_SKRITA RENAME TO SFVP"}, "SFVP"},
        {"zero rows: the report table refuses deletes",
         {"CREATE TRIGGER NAPAKA BEFORE DELETE ON TEMP_TEVRA" + raise}, "Ostala polja",
         [](Engine& e) {
             // a report row whose amounts are all zero, for the zero-row step to remove
             execOn(e, QStringLiteral("INSERT INTO TEMP_TEVRA (IDPOR, CTRL, SFOSB, SFVP, K16, K31, K34, K35, K37, "
                                      "K311) VALUES (%1, 999999, 1, 1, 'Ničelna', 0, 0, 0, 0, 0)")
                              .arg(e.state().IdPor));
         },
         {"DROP TRIGGER NAPAKA"}, "DELETE FROM TEMP_TEVRA WHERE  K34=0"},
        {"the database becomes read-only",
         {}, "0", [](Engine& e) { execOn(e, "PRAGMA query_only=ON"); }, {}, "DELETE FROM TEMP_TEVRA1"},
        {"the connection drops after data collection",
         {}, "Grupiranje", [](Engine& e) { e.database().close(); }, {}, "TEMP_TEVRA"},
        {"the connection drops after grouping",
         {}, "Ostala polja", [](Engine& e) { e.database().close(); }, {}, "TEMP_TEVRA"},
    };

    ProgramHome home;
    RecordingOperator op;
    Engine engine(op, home.folder());
    ASSERT_TRUE(engine.startUp({}, demoToday()).completed) << op.all().toStdString();
    const RunInput input = mayInput(home.output());
    ASSERT_EQ(engine.runReport(input, false).status, RunStatus::Written) << op.all().toStdString();
    QList<int> written{engine.state().IdPor};

    for (const DatabaseFault& fault : faults) {
        SCOPED_TRACE(fault.name);
        const QStringList before = home.workRows(written);
        const QByteArray workbook = fileBytes(home.output());
        const QByteArray trace = fileBytes(home.traceFile());
        ASSERT_FALSE(before.isEmpty());
        ASSERT_TRUE(home.exec(fault.breakSql).isEmpty()) << home.exec(fault.breakSql).toStdString();
        op.clear();
        bool acted = false;
        op.onProgress = [&](const QString& text) {
            if (acted || !fault.atProgress || !text.startsWith(QLatin1String(fault.atProgress))) return;
            acted = true;
            fault.during(engine);
        };

        const RunResult failed = engine.runReport(input, false);
        op.onProgress = nullptr;
        if (QString::fromLatin1(fault.name).contains(QLatin1String("read-only"))) execOn(engine, "PRAGMA query_only=OFF");
        EXPECT_EQ(fault.atProgress != nullptr, acted);
        EXPECT_EQ(failed.status, RunStatus::Failed) << op.all().toStdString();
        EXPECT_FALSE(failed.message.isEmpty());
        // The step's own messages, then the error display of the window (the run's message).
        const QString shown = op.all() + u'\n' + failed.message;
        EXPECT_TRUE(shown.contains(QLatin1String(fault.shownStatement))) << shown.toStdString();
        EXPECT_FALSE(engine.busy());
        EXPECT_TRUE(home.exec(fault.repairSql).isEmpty());
        EXPECT_EQ(home.workRows(written), before);
        EXPECT_EQ(fileBytes(home.output()), workbook);
        EXPECT_EQ(fileBytes(home.traceFile()), trace);
        EXPECT_EQ(leftovers(home.folder() + "out"), QStringList());

        op.clear();
        const RunResult next = engine.runReport(input, false);
        EXPECT_EQ(next.status, RunStatus::Written) << op.all().toStdString() << next.message.toStdString();
        if (next.status == RunStatus::Written) written.append(engine.state().IdPor);
        EXPECT_NE(fileBytes(home.traceFile()), QByteArray("<missing>"));
    }
}

/// Another process holds the database locked for the whole run: the run waits, then fails with the
/// statement, and runs once the lock is gone.
TEST(RunFaults, DatabaseLockedByAnotherProcess) {
    ProgramHome home;
    RecordingOperator op;
    Engine engine(op, home.folder());
    ASSERT_TRUE(engine.startUp({}, demoToday()).completed) << op.all().toStdString();
    const RunInput input = mayInput(home.output());
    ASSERT_EQ(engine.runReport(input, false).status, RunStatus::Written);
    const QStringList before = home.workRows({engine.state().IdPor});
    const QByteArray workbook = fileBytes(home.output());
    const QByteArray trace = fileBytes(home.traceFile());

    LockingProcess lock(home.database());
    if (!lock.locked()) GTEST_SKIP() << "the sqlite3 program could not lock the database from another process";
    op.clear();
    const RunResult failed = engine.runReport(input, false);
    lock.release();
    EXPECT_EQ(failed.status, RunStatus::Failed);
    EXPECT_TRUE(failed.message.contains(QLatin1String("locked"))) << failed.message.toStdString();
    EXPECT_TRUE(op.all().contains(QLatin1String("TEMP_TEVRA"))) << op.all().toStdString();
    EXPECT_FALSE(engine.busy());
    EXPECT_EQ(home.workRows({1}), before);
    EXPECT_EQ(fileBytes(home.output()), workbook);
    EXPECT_EQ(fileBytes(home.traceFile()), trace);
    op.clear();
    EXPECT_EQ(engine.runReport(input, false).status, RunStatus::Written) << op.all().toStdString();
}

} // namespace
