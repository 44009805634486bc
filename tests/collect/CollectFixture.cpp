#include "CollectFixture.h"

#include "demo/DemoBackOffice.h"
#include "store/Query.h"
#include "store/ReportNumber.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <gtest/gtest.h>
#include <stdexcept>

QString collectFixtureFolder() {
    const QByteArray source = qgetenv("TEVRA_SOURCE_DIR");
    return (source.isEmpty() ? QStringLiteral(TEVRA_COLLECT_FIXTURES) : QString::fromLocal8Bit(source) +
                                                                           QStringLiteral("/tests/fixtures/collect")) +
           u'/';
}

CollectFixture::CollectFixture() : trace(dir.path() + u'/') {
    if (!dir.isValid()) throw std::runtime_error("no temporary folder");
    QString error;
    {
        QSqlDatabase setup = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("collect_fixture"));
        setup.setDatabaseName(databasePath());
        const bool created = setup.open() && demo::createSchema(setup, &error);
        setup.close();
        if (!created) error = error.isEmpty() ? setup.lastError().text() : error;
    }
    QSqlDatabase::removeDatabase(QStringLiteral("collect_fixture"));
    if (!error.isEmpty()) throw std::runtime_error(error.toStdString());
    store::AliasDefinition definition;
    definition.kind = store::AliasDefinition::Kind::Sqlite;
    definition.database = databasePath();
    QString reason;
    if (!db.open(QStringLiteral("LB"), definition, &reason)) throw std::runtime_error(reason.toStdString());
    load(QStringLiteral("base"));

    state.DbAlias = QStringLiteral("LB");
    state.ProgramFolder = folder();
    state.SfdjvList = QStringLiteral(" 'W' , 'L' ");
    state.EuroChangeoverDate = QDate(2007, 1, 1);
    state.EuroPeriod = true;
    state.ReporterRegNo = QStringLiteral(" 5000001");
    state.IdPor = 1;
    setPeriod(QDate(2024, 3, 1), QDate(2024, 3, 31));
}

void CollectFixture::setPeriod(const QDate& from, const QDate& to) {
    state.period = periodValues(from, to, state.EuroChangeoverDate);
}

void CollectFixture::load(const QString& name) {
    QFile file(collectFixtureFolder() + name + QStringLiteral(".sql"));
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error(("no fixture " + name).toStdString());
    QString error;
    if (!demo::runSqlScript(db.connection(), QString::fromUtf8(file.readAll()), &error))
        throw std::runtime_error(error.toStdString());
}

void CollectFixture::exec(const QString& statement) {
    store::Query q(db);
    q.setSql(statement);
    q.exec();
}

QList<QVariantMap> CollectFixture::detailRows(qint32 idPor) {
    QList<QVariantMap> rows;
    store::Query q(db);
    q.setSql(QStringLiteral("SELECT * FROM TEMP_TEVRA1 WHERE IDPOR=%1 ORDER BY CTRL").arg(idPor));
    static const QStringList columns = {
        QStringLiteral("CTRL"), QStringLiteral("IDPOR"), QStringLiteral("DATUM"), QStringLiteral("SFOSB"),
        QStringLiteral("SFVP"), QStringLiteral("IDPOG"), QStringLiteral("SFSOS"), QStringLiteral("OBLIKA"),
        QStringLiteral("K11"), QStringLiteral("K12"), QStringLiteral("K13"), QStringLiteral("K14"),
        QStringLiteral("K15"), QStringLiteral("K16"), QStringLiteral("K17"), QStringLiteral("K21"),
        QStringLiteral("K25"), QStringLiteral("K31"), QStringLiteral("K32"), QStringLiteral("K33"),
        QStringLiteral("K34"), QStringLiteral("K35"), QStringLiteral("K37"), QStringLiteral("K39"),
        QStringLiteral("K310"), QStringLiteral("K311"), QStringLiteral("K313"), QStringLiteral("ZACLOT"),
        QStringLiteral("SEKTORIZACIJA")};
    for (q.open(); !q.eof(); q.next()) {
        QVariantMap row;
        for (const QString& c : columns) row.insert(c, q.value(c));
        rows.append(row);
    }
    return rows;
}

QVariantMap CollectFixture::detailRow(qint32 client, qint32 security, qint32 idPor) {
    for (const QVariantMap& row : detailRows(idPor)) {
        if (row.value(QStringLiteral("SFOSB")).toInt() == client && row.value(QStringLiteral("SFVP")).toInt() == security)
            return row;
    }
    return {};
}
