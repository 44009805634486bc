#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace demo {
struct GeneratorOptions;
struct GeneratorStats;
} // namespace demo

/// A fresh SQLite back-office database for one test: a file in a temporary folder of its own
/// holding the back-office schema and the two work tables, optionally filled by fixture
/// scripts or generated demo data. The fixture keeps no connection open between its calls,
/// so the code under test can open the file itself. Setup failures are reported as test
/// failures (and by ok() / error()).
class FixtureDb {
public:
    /// Schema and work tables only.
    FixtureDb();
    /// Schema and work tables, then the given SQL script.
    static FixtureDb withScript(const QString& sql);
    /// Schema and work tables, then a script file named relative to tests/fixtures/.
    static FixtureDb withFile(const QString& relativePath);

    FixtureDb(FixtureDb&&) noexcept;
    FixtureDb& operator=(FixtureDb&&) noexcept;
    ~FixtureDb();

    /// Runs an SQL script (statements separated by ';') in one transaction.
    bool runScript(const QString& sql);
    /// Runs a script file named relative to tests/fixtures/.
    bool runScriptFile(const QString& relativePath);
    /// Fills the back-office tables with generated demo data.
    bool generateDemoData(const demo::GeneratorOptions& options, demo::GeneratorStats* stats = nullptr);

    /// True while every step so far succeeded.
    bool ok() const { return m_error.isEmpty(); }
    /// The first failure, empty when none.
    QString error() const { return m_error; }
    /// The database file.
    QString path() const { return m_path; }
    /// The temporary folder holding the database; tests may put further files there.
    QString dir() const;

    /// The source tree: $TEVRA_SOURCE_DIR, or the tree the tests were built from when the
    /// variable is not set.
    static QString sourceDir();
    /// The fixture folder, tests/fixtures of the source tree.
    static QString fixturesDir();

private:
    bool fail(const QString& message);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
    QString m_error;
};

/// A QSQLITE connection to a database file under a name of its own, closed and removed when
/// the object ends. Needs no QCoreApplication.
class TestConnection {
public:
    explicit TestConnection(const QString& path);
    ~TestConnection();
    TestConnection(const TestConnection&) = delete;
    TestConnection& operator=(const TestConnection&) = delete;

    QSqlDatabase& db() { return m_db; }
    bool isOpen() const { return m_db.isOpen(); }

private:
    QString m_name;
    QSqlDatabase m_db;
};
