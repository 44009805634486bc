#include "ReliabilitySupport.h"

#include "app/BatchMode.h"
#include "demo/DemoBackOffice.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace reliability {

QDate demoToday() { return QDate(2024, 6, 15); }

RunInput mayInput(const QString& outputPath) {
    return {QStringLiteral("01.05.2024"), QStringLiteral("31.05.2024"), outputPath, {true, true, true, true, true}};
}

namespace {

/// The demo back office, generated once per process.
QString demoDatabase() {
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.filePath(QStringLiteral("demo.db"));
        demo::GeneratorOptions options;
        options.today = demoToday();
        QString error;
        EXPECT_TRUE(demo::createDemoFile(p, options, nullptr, &error)) << error.toStdString();
        return p;
    }();
    return path;
}

QString nextConnectionName() {
    static QAtomicInt counter;
    return QStringLiteral("reliability-%1").arg(counter.fetchAndAddRelaxed(1));
}

} // namespace

ProgramHome::ProgramHome() : folder_(dir_.path() + u'/') {
    QDir().mkpath(folder_ + QStringLiteral("db"));
    QDir().mkpath(folder_ + QStringLiteral("out"));
    EXPECT_TRUE(QFile::copy(demoDatabase(), database()));
    write(QStringLiteral("ALIASES.INI"), "[LB]\nDRIVER=SQLITE\nDATABASE=db/bo.db\n");
}

ProgramHome::~ProgramHome() = default;

void ProgramHome::write(const QString& name, const QByteArray& bytes) {
    QFile f(folder_ + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name.toStdString();
    f.write(bytes);
}

QString ProgramHome::exec(const QStringList& statements) {
    const QString name = nextConnectionName();
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(database());
        if (!db.open()) return db.lastError().text();
        QSqlQuery q(db);
        for (const QString& s : statements) {
            if (!q.exec(s)) {
                error = s + QStringLiteral(": ") + q.lastError().text();
                break;
            }
        }
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return error;
}

QStringList ProgramHome::workRows(const QList<int>& reportNumbers) {
    const QString name = nextConnectionName();
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(database());
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        for (const char* table : {"TEMP_TEVRA1", "TEMP_TEVRA"}) {
            for (int idPor : reportNumbers) {
                EXPECT_TRUE(q.exec(QStringLiteral("SELECT * FROM %1 WHERE IDPOR=%2 ORDER BY CTRL, SFOSB, SFVP")
                                       .arg(QLatin1String(table))
                                       .arg(idPor)))
                    << q.lastError().text().toStdString();
                while (q.next()) {
                    QStringList fields{QLatin1String(table)};
                    for (int i = 0; i < q.record().count(); ++i) fields.append(q.value(i).toString());
                    rows.append(fields.join(u'|'));
                }
            }
        }
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList leftovers(const QString& folder) {
    QStringList found;
    for (const QString& name : QDir(folder).entryList(QDir::Hidden | QDir::Files | QDir::System))
        if (name.startsWith(u'.')) found.append(name);
    return found;
}

Immutable::Immutable(QString path) : path_(std::move(path)) {
    QProcess p;
    p.start(QStringLiteral("chattr"), {QStringLiteral("+i"), path_});
    ok_ = p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

Immutable::~Immutable() { release(); }

void Immutable::release() {
    if (!ok_) return;
    QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path_});
    ok_ = false;
}

CapturedStderr::CapturedStderr() : path_(dir_.filePath(QStringLiteral("stderr.txt"))) {
    std::fflush(stderr);
    saved_ = ::dup(2);
    const int fd = ::open(QFile::encodeName(path_).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd >= 0) {
        ::dup2(fd, 2);
        ::close(fd);
    }
}

CapturedStderr::~CapturedStderr() { finish(); }

QString CapturedStderr::finish() {
    if (saved_ >= 0) {
        std::fflush(stderr);
        ::dup2(saved_, 2);
        ::close(saved_);
        saved_ = -1;
    }
    return QString::fromUtf8(fileBytes(path_));
}

int runBatchIn(const QString& home, const QStringList& arguments) {
    qputenv("TEVRA_HOME", home.toLocal8Bit());
    const int status = runBatch(QStringList{QStringLiteral("--batch")} + arguments, home + QStringLiteral("tevra"));
    qunsetenv("TEVRA_HOME");
    return status;
}

} // namespace reliability
