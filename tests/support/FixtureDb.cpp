#include "FixtureDb.h"

#include "demo/DemoBackOffice.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QUuid>

#include <gtest/gtest.h>

TestConnection::TestConnection(const QString& path)
    : m_name(QStringLiteral("fixture-%1").arg(QUuid::createUuid().toString(QUuid::WithoutBraces))) {
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setDatabaseName(path);
    m_db.open();
}

TestConnection::~TestConnection() {
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

FixtureDb::FixtureDb() : m_dir(std::make_unique<QTemporaryDir>()) {
    if (!m_dir->isValid()) {
        fail(QStringLiteral("cannot create a temporary folder: %1").arg(m_dir->errorString()));
        return;
    }
    m_path = m_dir->filePath(QStringLiteral("backoffice.db"));
    TestConnection connection(m_path);
    if (!connection.isOpen()) {
        fail(QStringLiteral("cannot open %1: %2").arg(m_path, connection.db().lastError().text()));
        return;
    }
    QString error;
    if (!demo::createSchema(connection.db(), &error)) fail(error);
}

FixtureDb FixtureDb::withScript(const QString& sql) {
    FixtureDb fixture;
    fixture.runScript(sql);
    return fixture;
}

FixtureDb FixtureDb::withFile(const QString& relativePath) {
    FixtureDb fixture;
    fixture.runScriptFile(relativePath);
    return fixture;
}

FixtureDb::FixtureDb(FixtureDb&&) noexcept = default;
FixtureDb& FixtureDb::operator=(FixtureDb&&) noexcept = default;
FixtureDb::~FixtureDb() = default;

QString FixtureDb::dir() const {
    return m_dir ? m_dir->path() : QString();
}

bool FixtureDb::fail(const QString& message) {
    if (m_error.isEmpty()) m_error = message;
    ADD_FAILURE() << "fixture database: " << message.toStdString();
    return false;
}

bool FixtureDb::runScript(const QString& sql) {
    if (!ok()) return false;
    TestConnection connection(m_path);
    QString error;
    if (!demo::runSqlScript(connection.db(), sql, &error)) return fail(error);
    return true;
}

bool FixtureDb::runScriptFile(const QString& relativePath) {
    if (!ok()) return false;
    const QString path = QDir(fixturesDir()).filePath(relativePath);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read the fixture script %1: %2").arg(path, file.errorString()));
    return runScript(QString::fromUtf8(file.readAll()));
}

bool FixtureDb::generateDemoData(const demo::GeneratorOptions& options, demo::GeneratorStats* stats) {
    if (!ok()) return false;
    TestConnection connection(m_path);
    QString error;
    if (!demo::generate(connection.db(), options, stats, &error)) return fail(error);
    return true;
}

QString FixtureDb::sourceDir() {
    const QString source = qEnvironmentVariable("TEVRA_SOURCE_DIR");
    return source.isEmpty() ? QStringLiteral(TEVRA_SOURCE_DIR_FALLBACK) : source;
}

QString FixtureDb::fixturesDir() {
    return QDir(sourceDir()).filePath(QStringLiteral("tests/fixtures"));
}
