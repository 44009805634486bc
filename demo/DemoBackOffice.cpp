#include "demo/DemoBackOffice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QUuid>

#include <filesystem>
#include <system_error>

// Q_INIT_RESOURCE must stand outside any namespace; the resources of a static library are
// not registered until it runs.
static void initDemoResources() {
    Q_INIT_RESOURCE(demo);
}

namespace demo {
namespace {

QString readResource(const QString& name) {
    initDemoResources();
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

bool setError(QString* error, const QString& message) {
    if (error) *error = message;
    return false;
}

/// Opens a private SQLite connection for the lifetime of the object and removes it after.
class ScopedSqlite {
public:
    explicit ScopedSqlite(const QString& path)
        : m_name(QStringLiteral("tevra-demo-%1").arg(QUuid::createUuid().toString(QUuid::WithoutBraces))) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.open();
    }
    ~ScopedSqlite() {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    ScopedSqlite(const ScopedSqlite&) = delete;
    ScopedSqlite& operator=(const ScopedSqlite&) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
};

} // namespace

QStringList splitSqlStatements(const QString& script) {
    QStringList statements;
    QString current;
    const qsizetype n = script.size();
    auto flush = [&] {
        const QString trimmed = current.trimmed();
        if (!trimmed.isEmpty()) statements << trimmed;
        current.clear();
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = script[i];
        const QChar next = i + 1 < n ? script[i + 1] : QChar();
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A quoted literal or name; a doubled quote stands for the quote itself.
            current += c;
            for (++i; i < n; ++i) {
                current += script[i];
                if (script[i] == c) {
                    if (i + 1 < n && script[i + 1] == c)
                        current += script[++i];
                    else
                        break;
                }
            }
        } else if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            while (i < n && script[i] != QLatin1Char('\n'))
                ++i;
            current += QLatin1Char('\n');
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            i += 2;
            while (i < n &&
                   !(script[i] == QLatin1Char('*') && i + 1 < n && script[i + 1] == QLatin1Char('/')))
                ++i;
            ++i; // past the closing '/'
            current += QLatin1Char(' ');
        } else if (c == QLatin1Char(';')) {
            flush();
        } else {
            current += c;
        }
    }
    flush();
    return statements;
}

bool runSqlScript(QSqlDatabase& db, const QString& script, QString* error) {
    if (!db.isOpen()) return setError(error, QStringLiteral("the database is not open"));
    const QStringList statements = splitSqlStatements(script);
    const bool ownTransaction = db.transaction();
    {
        QSqlQuery query(db);
        for (int i = 0; i < statements.size(); ++i) {
            if (query.exec(statements[i])) continue;
            const QString message = QStringLiteral("statement %1 of %2 failed: %3\n%4")
                                        .arg(i + 1)
                                        .arg(statements.size())
                                        .arg(query.lastError().text(), statements[i]);
            query.finish();
            if (ownTransaction) db.rollback();
            return setError(error, message);
        }
    }
    if (ownTransaction && !db.commit())
        return setError(error, QStringLiteral("cannot commit the script: %1").arg(db.lastError().text()));
    return true;
}

QString schemaScript() {
    return readResource(QStringLiteral(":/demo/schema.sql"));
}

QString workTablesScript() {
    return readResource(QStringLiteral(":/demo/worktables_sqlite.sql"));
}

bool createSchema(QSqlDatabase& db, QString* error) {
    const QString schema = schemaScript();
    const QString workTables = workTablesScript();
    if (schema.isEmpty() || workTables.isEmpty())
        return setError(error, QStringLiteral("the embedded schema scripts are missing"));
    // The work tables come first: the schema's demo indexes serve them too.
    return runSqlScript(db, workTables + QStringLiteral(";\n") + schema, error);
}

bool createDemoFile(const QString& path, const GeneratorOptions& options, GeneratorStats* stats,
                    QString* error) {
    if (path.isEmpty()) return setError(error, QStringLiteral("no output file given"));
    const QFileInfo target(path);
    if (target.isDir())
        return setError(error, QStringLiteral("%1 is a folder").arg(QDir::toNativeSeparators(path)));
    if (!target.absoluteDir().exists())
        return setError(error, QStringLiteral("the folder %1 does not exist")
                                   .arg(QDir::toNativeSeparators(target.absolutePath())));

    // The database is built in a temporary file beside the target and renamed into place
    // when complete; any failure removes the temporary file and leaves the target alone.
    QTemporaryFile temporary(
        target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    if (!temporary.open())
        return setError(error, QStringLiteral("cannot create a temporary file beside %1: %2")
                                   .arg(QDir::toNativeSeparators(path), temporary.errorString()));
    const QString temporaryPath = temporary.fileName();
    temporary.close();
    auto removeLeftovers = [&] { QFile::remove(temporaryPath + QStringLiteral("-journal")); };

    {
        ScopedSqlite connection(temporaryPath);
        QSqlDatabase db = connection.db();
        if (!db.isOpen()) {
            removeLeftovers();
            return setError(error, QStringLiteral("cannot open %1: %2")
                                       .arg(QDir::toNativeSeparators(temporaryPath), db.lastError().text()));
        }
        {
            // A half-written temporary file is thrown away, so it needs no crash safety.
            QSqlQuery pragma(db);
            pragma.exec(QStringLiteral("PRAGMA synchronous = OFF"));
            pragma.exec(QStringLiteral("PRAGMA journal_mode = MEMORY"));
        }
        QString failure;
        bool ok = createSchema(db, &failure) && generate(db, options, stats, &failure);
        if (ok) {
            QSqlQuery analyze(db);
            if (!analyze.exec(QStringLiteral("ANALYZE"))) {
                failure =
                    QStringLiteral("cannot analyze the new database: %1").arg(analyze.lastError().text());
                ok = false;
            }
        }
        if (!ok) {
            db = QSqlDatabase();
            removeLeftovers();
            return setError(error, failure);
        }
    }

    // The temporary file is private to its owner; the database gets the permissions of the
    // file it replaces, or the usual ones of a new file.
    QFile::setPermissions(temporaryPath, target.exists()
                                             ? QFile::permissions(path)
                                             : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                   QFileDevice::ReadGroup | QFileDevice::ReadOther);
    std::error_code code;
    std::filesystem::rename(std::filesystem::path(temporaryPath.toStdString()),
                            std::filesystem::path(target.absoluteFilePath().toStdString()), code);
    if (code)
        return setError(error,
                        QStringLiteral("cannot rename %1 to %2: %3")
                            .arg(QDir::toNativeSeparators(temporaryPath), QDir::toNativeSeparators(path),
                                 QString::fromStdString(code.message())));
    temporary.setAutoRemove(false);
    return true;
}

} // namespace demo
