#pragma once

#include "store/Aliases.h"

#include <QSqlDatabase>
#include <QString>
#include <functional>

namespace store {

/// Login parameters handed to the login callback before the connection logs in.
struct LoginParams {
    QString userName; ///< "USER NAME"
    QString password; ///< "PASSWORD"
};

/// Counters of the work done inside the database engine (prepare, bind, execute, fetch).
struct EngineStats {
    qint64 executions = 0;
    qint64 prepares = 0;
    qint64 engineNanos = 0;
};

/// The one connection of the process, opened by alias.
class Database {
public:
    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    /// Called before logging in; fills the login parameters (the system never asks the operator).
    void setLoginCallback(std::function<void(LoginParams&)> callback) { login_ = std::move(callback); }

    /// Opens the connection. Returns false with the engine's reason when it cannot be opened.
    bool open(const QString& alias, const AliasDefinition& definition, QString* reason = nullptr);
    bool isOpen() const;
    void close();

    /// The alias the connection was opened with.
    const QString& alias() const { return alias_; }
    /// The driver name configured for the alias (DRIVER NAME), or the engine's own name.
    const QString& driverName() const { return driverName_; }
    /// True when the engine behind the connection is SQLite (embedded or through ODBC): dates are
    /// bound as text and the outer-join notation is rewritten.
    bool sqliteEngine() const { return sqliteEngine_; }

    /// Statement text as this engine runs it: placeholders upper-cased and, for SQLite, outer joins rewritten.
    QString engineText(const QString& statement, QStringList* parameterNames) const;

    QSqlDatabase& connection() { return db_; }
    EngineStats& stats() { return stats_; }

    /// Whether query objects keep their prepared statements for reuse (the default). Off, every
    /// execution prepares its statement anew (for measuring what reuse saves).
    void setReusePrepared(bool reuse) { reusePrepared_ = reuse; }
    bool reusePrepared() const { return reusePrepared_; }

    /// Begins a transaction when none is active; returns whether this call began it.
    bool beginBatch();
    /// Commits the transaction begun by beginBatch.
    void commitBatch();

private:
    QString connectionName_;
    QSqlDatabase db_;
    QString alias_;
    QString driverName_;
    bool sqliteEngine_ = false;
    bool inBatch_ = false;
    bool reusePrepared_ = true;
    std::function<void(LoginParams&)> login_;
    EngineStats stats_;
};

/// Keeps the statements of one step in one transaction and commits what was done when the
/// step ends, also when it ends by an error: rows posted before a failure stay.
class BatchScope {
public:
    explicit BatchScope(Database& db) : db_(db), owner_(db.beginBatch()) {}
    ~BatchScope() {
        if (owner_) db_.commitBatch();
    }
    BatchScope(const BatchScope&) = delete;
    BatchScope& operator=(const BatchScope&) = delete;

private:
    Database& db_;
    bool owner_;
};

} // namespace store
