#include "GridTestSupport.h"

#include "grid/uProgres.h"

#include <QProgressBar>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {
int connections = 0;
}

TestDatabase::TestDatabase() : connection_(QStringLiteral("grid_test_%1").arg(++connections)) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(dir_.filePath(QStringLiteral("test.db")));
    EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
}

TestDatabase::~TestDatabase() {
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
}

QSqlDatabase TestDatabase::db() const { return QSqlDatabase::database(connection_, false); }

void TestDatabase::exec(const QString& sql) const {
    QSqlQuery query(db());
    ASSERT_TRUE(query.exec(sql)) << query.lastError().text().toStdString() << " in " << sql.toStdString();
}

void TestDatabase::createNumbers(int rows) const {
    exec(QStringLiteral("CREATE TABLE NUMBERS (ID INTEGER, NAME VARCHAR(20), AMOUNT FLOAT)"));
    if (rows <= 0) return;
    exec(QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < %1) "
                        "INSERT INTO NUMBERS SELECT x, 'name' || x, x * 1.5 FROM c")
             .arg(rows));
}

CancelAtStep::CancelAtStep(QProgressBar* bar, QPushButton* cancel, int step) {
    connection_ = QObject::connect(bar, &QProgressBar::valueChanged, cancel, [cancel, step](int value) {
        if (value == step) cancel->click();
    });
}

CancelAtStep::CancelAtStep(int step)
    : CancelAtStep(TfProgress::instance().findChild<QProgressBar*>(), TfProgress::instance().cancelButton(), step) {}

CancelAtStep::~CancelAtStep() { QObject::disconnect(connection_); }
