#pragma once

#include "app/Context.h"
#include "app/Operator.h"
#include "app/RunState.h"
#include "app/TraceFiles.h"
#include "store/Database.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>

/// An operator that records what it is told and answers questions from a list (No when it runs out).
class RecordingOperator : public Operator {
public:
    void showMessage(const QString& text) override { messages.append(text); }
    bool askYesNo(const QString& text) override {
        questions.append(text);
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    void setProgressText(const QString& text) override { progress.append(text); }
    void processEvents() override {}
    void requestTermination() override { terminationRequested = true; }
    void showFailedStatement(const QString& statement) override { failedStatements.append(statement); }
    void setBusy(bool on) override { busy = on; }

    QStringList messages;
    QStringList questions;
    QList<bool> answers;
    QStringList progress;
    QStringList failedStatements;
    bool terminationRequested = false;
    bool busy = false;
};

/// A fresh back office in a temporary folder: the schema, the work tables and tests/fixtures/collect/base.sql,
/// plus the fixture scripts a test names. The run state is set for March 2024 in the euro period,
/// activities W and L, report number 1; the program folder is the temporary folder.
class CollectFixture {
public:
    CollectFixture();

    /// Runs tests/fixtures/collect/<name>.sql.
    void load(const QString& name);
    /// Runs one statement on the fixture database.
    void exec(const QString& statement);
    /// Sets the period and the values derived from it.
    void setPeriod(const QDate& from, const QDate& to);

    /// The detail rows of a report number in CTRL order, columns by upper-case name.
    QList<QVariantMap> detailRows(qint32 idPor = 1);
    /// The detail row of a client, security and (when not 0) contract; empty when there is none.
    QVariantMap detailRow(qint32 client, qint32 security, qint32 idPor = 1);

    QString folder() const { return dir.path() + u'/'; }
    QString databasePath() const { return dir.filePath(QStringLiteral("backoffice.db")); }

    QTemporaryDir dir;
    RunState state;
    store::Database db;
    RecordingOperator op;
    TraceFiles trace;
    Context ctx{state, db, op, trace};
};

/// Folder of the collection fixture scripts.
QString collectFixtureFolder();
