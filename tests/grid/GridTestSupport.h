#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>

#include <ostream>

QT_BEGIN_NAMESPACE
/// Readable QString values in test failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

/// A SQLite database of its own in a temporary folder, removed with the object.
class TestDatabase {
public:
    TestDatabase();
    ~TestDatabase();
    QSqlDatabase db() const;
    /// Runs statements; fails the test on an error.
    void exec(const QString& sql) const;
    /// Table NUMBERS(ID INTEGER, NAME VARCHAR(20), AMOUNT FLOAT) with rows ID 1..rows,
    /// NAME 'name<ID>', AMOUNT ID * 1.5.
    void createNumbers(int rows) const;
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QString connection_;
};
