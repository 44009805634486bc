#pragma once

#include <QMetaObject>
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

class QProgressBar;
class QPushButton;

/// Presses `cancel` as the user would when `bar` reaches `step` (its maximum for a walk's last
/// step); stops watching when destroyed.
class CancelAtStep {
public:
    CancelAtStep(QProgressBar* bar, QPushButton* cancel, int step);
    /// The framework's progress window (copies and exports).
    explicit CancelAtStep(int step);
    ~CancelAtStep();
    CancelAtStep(const CancelAtStep&) = delete;
    CancelAtStep& operator=(const CancelAtStep&) = delete;

private:
    QMetaObject::Connection connection_;
};
