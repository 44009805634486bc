#pragma once

#include <QString>
#include <stdexcept>

namespace store {

/// A failed database operation. Carries the statement text so that the calling step can show it.
class SqlError : public std::runtime_error {
public:
    SqlError(QString statement, QString reason)
        : std::runtime_error((reason + QStringLiteral(" [") + statement + QStringLiteral("]")).toStdString()),
          statement_(std::move(statement)), reason_(std::move(reason)) {}

    /// The full text of the statement that failed, as the step built it.
    const QString& statement() const { return statement_; }
    /// What the database (or our layer) said.
    const QString& reason() const { return reason_; }

private:
    QString statement_;
    QString reason_;
};

} // namespace store
