#pragma once

#include "FixtureDb.h"
#include "aggregate/ReporterIdentity.h"
#include "app/Context.h"
#include "store/Database.h"
#include "store/SqlError.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>
#include <gtest/gtest.h>
#include <memory>

/// The operator of the step tests: remembers what it was told.
class RecordingOperator : public Operator {
public:
    void showMessage(const QString& text) override { messages.append(text); }
    bool askYesNo(const QString&) override { return true; }
    void setProgressText(const QString& text) override { progress.append(text); }
    void processEvents() override {}
    void requestTermination() override {}
    void showFailedStatement(const QString& statement) override { failedStatements.append(statement); }
    void showFile(const QString& path) override { shownFiles.append(path); }

    QStringList messages, progress, failedStatements, shownFiles;
};

/// A detail row of TEMP_TEVRA1 as data collection writes it; defaults give a domestic company's
/// position in security 10.
struct Detail {
    int ctrl = 0;
    int sfosb = 202;
    int sfvp = 10;
    QVariant sektor = QStringLiteral("S.11001");
    QVariant oblika = QStringLiteral("TRR");
    QString k15 = QStringLiteral("S");
    QString k16 = QStringLiteral("Zupan d.o.o.");
    QString k21 = QStringLiteral("S");
    QString k25 = QStringLiteral("SI0000000010");
    QString k313 = QStringLiteral("S");
    double k31 = 0, k32 = 0, k33 = 0, k34 = 0, k35 = 0, k37 = 0, k39 = 0, k310 = 0, k311 = 0, zaclot = 0;
    int idpor = 1;
    QString sfsos = QStringLiteral("P");
    QString k17;
};

/// A fixture back office with the run state and context of one report run (report number 1,
/// period March 2024 in the euro era, activities W and L, no ClientId) over the embedded database.
class ReportHarness {
public:
    explicit ReportHarness(const QString& script = QStringLiteral("aggregate/backoffice.sql"))
        : fixture(FixtureDb::withFile(script)), trace(fixture.dir() + QStringLiteral("/")),
          ctx{state, db, op, trace} {
        state.IdPor = 1;
        state.EuroPeriod = true;
        state.SfdjvList = QStringLiteral(" 'W' , 'L' ");
        state.period.PeriodFrom = QDate(2024, 3, 1);
        state.period.PeriodTo = QDate(2024, 3, 31);
        state.period.PeriodCode = QStringLiteral("202403");
        state.ProgramFolder = fixture.dir() + QStringLiteral("/");
        state.CountryTable = {{QStringLiteral("S"), QStringLiteral("SVN")},
                              {QStringLiteral("A"), QStringLiteral("AUT")},
                              {QStringLiteral("DE"), QStringLiteral("DEU")},
                              {QStringLiteral("HR"), QStringLiteral("HRV")}};
        store::AliasDefinition def;
        def.kind = store::AliasDefinition::Kind::Sqlite;
        def.database = fixture.path();
        QString reason;
        opened = db.open(QStringLiteral("LB"), def, &reason);
        EXPECT_TRUE(fixture.ok()) << fixture.error().toStdString();
        EXPECT_TRUE(opened) << reason.toStdString();
    }

    /// Runs SQL on the fixture's own connection (statements that the fixture scripts cannot hold).
    void exec(const QString& sql) {
        QSqlQuery q(db.connection());
        EXPECT_TRUE(q.exec(sql)) << sql.toStdString() << ": " << q.lastError().text().toStdString();
    }

    void addDetails(const QList<Detail>& rows) {
        QSqlQuery q(db.connection());
        q.prepare(QStringLiteral(
            "INSERT INTO TEMP_TEVRA1 (DATUM, IDPOR, CTRL, SFOSB, SFVP, SFSOS, OBLIKA, K11, K12, K13, K14, K15, K16, "
            "K17, K21, K25, K31, K32, K33, K34, K35, K37, K39, K310, K311, ZACLOT, K313, SEKTORIZACIJA) VALUES "
            "('2024-03-31 10:00:00', :IDPOR, :CTRL, :SFOSB, :SFVP, :SFSOS, :OBLIKA, '202403', ' 1234567', '2', "
            ":OBLIKA, :K15, :K16, :K17, :K21, :K25, :K31, :K32, :K33, :K34, :K35, :K37, :K39, :K310, :K311, "
            ":ZACLOT, :K313, :SEKTOR)"));
        int next = 1;
        for (const Detail& d : rows) {
            q.bindValue(QStringLiteral(":IDPOR"), d.idpor);
            q.bindValue(QStringLiteral(":CTRL"), d.ctrl ? d.ctrl : next);
            q.bindValue(QStringLiteral(":SFOSB"), d.sfosb);
            q.bindValue(QStringLiteral(":SFVP"), d.sfvp);
            q.bindValue(QStringLiteral(":SFSOS"), d.sfsos);
            q.bindValue(QStringLiteral(":OBLIKA"), d.oblika);
            q.bindValue(QStringLiteral(":K15"), d.k15);
            q.bindValue(QStringLiteral(":K16"), d.k16);
            q.bindValue(QStringLiteral(":K17"), d.k17.isEmpty() ? QVariant() : QVariant(d.k17));
            q.bindValue(QStringLiteral(":K21"), d.k21);
            q.bindValue(QStringLiteral(":K25"), d.k25);
            q.bindValue(QStringLiteral(":K31"), d.k31);
            q.bindValue(QStringLiteral(":K32"), d.k32);
            q.bindValue(QStringLiteral(":K33"), d.k33);
            q.bindValue(QStringLiteral(":K34"), d.k34);
            q.bindValue(QStringLiteral(":K35"), d.k35);
            q.bindValue(QStringLiteral(":K37"), d.k37);
            q.bindValue(QStringLiteral(":K39"), d.k39);
            q.bindValue(QStringLiteral(":K310"), d.k310);
            q.bindValue(QStringLiteral(":K311"), d.k311);
            q.bindValue(QStringLiteral(":ZACLOT"), d.zaclot);
            q.bindValue(QStringLiteral(":K313"), d.k313);
            q.bindValue(QStringLiteral(":SEKTOR"), d.sektor);
            EXPECT_TRUE(q.exec()) << q.lastError().text().toStdString();
            next = (d.ctrl ? d.ctrl : next) + 1;
        }
    }

    /// The report rows of a report number, one map of column to value per row, in order of CTRL.
    QList<QVariantMap> reportRows(int idPor = 1) {
        QList<QVariantMap> rows;
        QSqlQuery q(db.connection());
        q.prepare(QStringLiteral("SELECT * FROM TEMP_TEVRA WHERE IDPOR=:IDPOR ORDER BY CTRL"));
        q.bindValue(QStringLiteral(":IDPOR"), idPor);
        EXPECT_TRUE(q.exec()) << q.lastError().text().toStdString();
        while (q.next()) {
            QVariantMap row;
            for (int i = 0; i < q.record().count(); ++i) row.insert(q.record().fieldName(i).toUpper(), q.value(i));
            rows.append(row);
        }
        return rows;
    }

    FixtureDb fixture;
    RunState state;
    store::Database db;
    TraceFiles trace;
    RecordingOperator op;
    Context ctx;
    bool opened = false;
};
