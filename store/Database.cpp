#include "store/Database.h"

#include "store/SqlText.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <sql.h>
#include <sqlext.h>

namespace store {
namespace {

QString nextConnectionName() {
    static QAtomicInt counter;
    return QStringLiteral("tevra-%1").arg(counter.fetchAndAddRelaxed(1));
}

/// The DBMS name an ODBC driver reports for an open connection.
QString odbcDbmsName(QSqlDatabase& db) {
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || (qstrcmp(handle.typeName(), "SQLHANDLE") != 0 && qstrcmp(handle.typeName(), "void*") != 0))
        return {};
    SQLHDBC dbc = *static_cast<SQLHDBC const*>(handle.constData());
    if (!dbc) return {};
    SQLCHAR name[256] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfo(dbc, SQL_DBMS_NAME, name, sizeof name, &length))) return {};
    return QString::fromLocal8Bit(reinterpret_cast<const char*>(name));
}

} // namespace

Database::Database() : connectionName_(nextConnectionName()) {}

Database::~Database() { close(); }

bool Database::open(const QString& alias, const AliasDefinition& definition, QString* reason) {
    close();
    LoginParams params;
    if (login_) login_(params);

    alias_ = alias;
    if (definition.kind == AliasDefinition::Kind::Sqlite) {
        db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
        // The embedded back office must exist; SQLite would otherwise create an empty file.
        db_.setDatabaseName(definition.database);
        db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        if (!QFileInfo::exists(definition.database)) {
            if (reason) *reason = QStringLiteral("no database file ") + definition.database;
            close();
            return false;
        }
    } else {
        db_ = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), connectionName_);
        db_.setDatabaseName(definition.database);
        db_.setConnectOptions(QStringLiteral("SQL_ATTR_ODBC_VERSION=SQL_OV_ODBC3"));
    }
    db_.setUserName(params.userName);
    db_.setPassword(params.password);
    db_.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (!db_.open()) {
        if (reason) *reason = db_.lastError().text();
        close();
        return false;
    }

    QString engineName;
    if (definition.kind == AliasDefinition::Kind::Sqlite) {
        engineName = QStringLiteral("SQLITE");
        sqliteEngine_ = true;
    } else {
        engineName = odbcDbmsName(db_);
        sqliteEngine_ = engineName.contains(QLatin1String("SQLITE"), Qt::CaseInsensitive);
    }
    driverName_ = definition.driverName.isEmpty() ? engineName : definition.driverName;
    return true;
}

bool Database::isOpen() const { return db_.isValid() && db_.isOpen(); }

void Database::close() {
    if (db_.isValid()) {
        if (inBatch_) db_.commit();
        inBatch_ = false;
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName_);
    }
}

QString Database::engineText(const QString& statement, QStringList* parameterNames) const {
    QString text = normalisePlaceholders(statement, parameterNames);
    if (sqliteEngine_ && text.contains(QLatin1String("(+)"))) text = rewriteOuterJoins(text);
    if (sqliteEngine_ && text.contains(QLatin1String("||"))) text = rewriteConcatenation(text);
    return text;
}

bool Database::beginBatch() {
    if (inBatch_ || !isOpen()) return false;
    inBatch_ = db_.transaction();
    return inBatch_;
}

void Database::commitBatch() {
    if (!inBatch_) return;
    inBatch_ = false;
    if (!db_.commit()) db_.rollback();
}

} // namespace store
