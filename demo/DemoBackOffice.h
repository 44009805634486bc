#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

/// The embedded demo back office: its SQLite schema, the work tables and a deterministic
/// generator of plausible back-office data for trying the report without a real database.
namespace demo {

/// Splits an SQL script into its statements: ';' ends a statement unless it stands inside a
/// quoted literal ('...', "...") or a comment (-- to the end of the line, /* ... */).
/// Comments are dropped; statements are trimmed; empty statements are skipped.
/// Statements with bodies of their own (CREATE TRIGGER ... BEGIN ...; END) are not supported.
QStringList splitSqlStatements(const QString& script);

/// Runs every statement of the script in one transaction (all or nothing). When the
/// connection is already inside a transaction, the statements join it instead.
/// On failure *error (when given) names the failing statement's number and full text.
bool runSqlScript(QSqlDatabase& db, const QString& script, QString* error);

/// The back-office schema script (tables and demo indexes).
QString schemaScript();

/// The work-table script for SQLite (TEMP_TEVRA1, TEMP_TEVRA and their IDPOR indexes).
QString workTablesScript();

/// Creates the back-office tables and the two work tables in an empty database.
bool createSchema(QSqlDatabase& db, QString* error);

/// What the generator makes.
struct GeneratorOptions {
    /// Seed of the generator: the same seed (and the other options) gives the same data.
    quint32 seed = 1;
    /// Multiplies the number of clients and contracts (1 = a few hundred positions).
    int scale = 1;
    /// The day the data is built around: 15 months before it to one month after it.
    QDate today = QDate::currentDate();
    /// Value of the setting INISET 'RW_ClientId' that names the client institution.
    QString clientId = QStringLiteral("Demo banka d.d.");
};

/// Row counts of what the generator wrote.
struct GeneratorStats {
    int persons = 0;    ///< OSB rows (clients, issuers, the institution)
    int securities = 0; ///< SFVP rows
    int contracts = 0;  ///< POG rows
    int holdings = 0;   ///< VPSHST rows
    int trades = 0;     ///< DOG rows (trades, income, redemptions)
};

/// Largest accepted GeneratorOptions::scale.
constexpr int kMaxScale = 1000;

/// The first day of the euro period in the data made for `today`: the first day of the
/// month six months before today's month.
QDate euroChangeoverFor(const QDate& today);

/// Fills the (empty) back-office tables of a database made by createSchema(), in one
/// transaction. The work tables stay empty.
bool generate(QSqlDatabase& db, const GeneratorOptions& options, GeneratorStats* stats, QString* error);

/// Writes a complete demo database file: schema, work tables and generated data. It is built
/// in a temporary file beside `path` and renamed into place only when complete, so a failed
/// run leaves an earlier file at `path` intact.
bool createDemoFile(const QString& path, const GeneratorOptions& options, GeneratorStats* stats,
                    QString* error);

} // namespace demo
