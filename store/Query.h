#pragma once

#include "store/Database.h"
#include "store/NameHash.h"

#include <QDateTime>
#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <memory>

namespace store {

/// A query object reused for many statements: close it, replace its text, set the named
/// parameters, open it. Prepared statements are kept by text, so a statement repeated with new
/// parameter values is not parsed again. NULL reads as 0 or as empty text.
class Query {
public:
    explicit Query(Database& db);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    /// Closes the query and replaces its statement text; parameter values are cleared.
    void setSql(const QString& statement);
    /// The statement text as the step built it.
    const QString& sql() const { return sql_; }

    void bindInt(const QString& name, qint32 value);
    void bindDouble(const QString& name, double value);
    void bindText(const QString& name, const QString& value);
    /// A date-time parameter; a date is bound as its day at 00:00:00.
    void bindDateTime(const QString& name, const QDateTime& value);
    void bindDate(const QString& name, const QDate& value);
    /// Any value: dates go through bindDateTime, a null variant binds NULL.
    void bindValue(const QString& name, const QVariant& value);

    /// Runs the statement and positions on its first row. Throws SqlError with the statement text.
    void open();
    /// Runs a statement that returns no rows. Throws SqlError with the statement text.
    void exec();
    /// Releases the result (the prepared statement is kept for reuse).
    void close();

    bool isOpen() const { return open_; }
    bool eof() const { return eof_; }
    void next();
    /// Number of rows of the open statement, counted by the engine over the same statement.
    int rowCount();

    bool hasField(const QString& column) const;
    bool isNull(const QString& column) const;
    QVariant value(const QString& column) const;
    QString text(const QString& column) const;
    qint32 integer(const QString& column) const;
    qint64 bigInteger(const QString& column) const;
    double number(const QString& column) const;
    QDateTime dateTime(const QString& column) const;

    /// Position of a column in the open statement's rows, for reading many rows by position;
    /// throws SqlError when the statement has no such column.
    int fieldIndex(const QString& column) const;
    QString textAt(int field) const;
    double numberAt(int field) const;

private:
    struct Prepared;
    Prepared& prepared();
    void execute(bool withRows);
    int columnIndex(const QString& column) const;

    Database& db_;
    QString sql_;
    NameMap<QVariant> values_;
    QHash<QString, std::shared_ptr<Prepared>> cache_;
    Prepared* current_ = nullptr;
    bool open_ = false;
    bool eof_ = true;
};

/// Reads a date-time column value as the engines return it (text, date or date-time).
QDateTime toDateTime(const QVariant& value);
/// The text form in which dates are stored in the embedded back office.
QString storedDateText(const QDateTime& value);
QString storedDateText(const QDate& day, const QTime& time);

} // namespace store
