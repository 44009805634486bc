#include "app/BatchMode.h"
#include "demo/DemoBackOffice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void ensureCoreApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "workbook-tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

/// Demo data built around 2024-06-15: the euro changeover is on 2023-12-01.
const QDate kToday(2024, 6, 15);

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

/// Runs the batch mode over a copy of `database` through SQLite or ODBC in a program folder of its own;
/// returns the exit status and the trace file.
std::pair<int, QByteArray> runReport(const QString& database, bool odbc, const QString& from, const QString& to) {
    QTemporaryDir home;
    const QString db = home.filePath(QStringLiteral("bo.db"));
    EXPECT_TRUE(QFile::copy(database, db));
    QFile aliases(home.filePath(QStringLiteral("ALIASES.INI")));
    EXPECT_TRUE(aliases.open(QIODevice::WriteOnly));
    aliases.write(odbc ? "[LB]\nDRIVER=ODBC\nDATABASE=DRIVER=SQLite3;Database=" + db.toUtf8() + "\n"
                       : "[LB]\nDRIVER=SQLITE\nDATABASE=" + db.toUtf8() + "\n");
    aliases.close();
    qputenv("TEVRA_HOME", home.path().toUtf8());
    const QString out = home.filePath(QStringLiteral("porocilo.xlsx"));
    const int status = runBatch({QStringLiteral("--batch"), QStringLiteral("--from"), from, QStringLiteral("--to"), to,
                                 QStringLiteral("--out"), out, QStringLiteral("--unsectored"), QStringLiteral("continue")},
                                home.filePath(QStringLiteral("tevra")));
    qunsetenv("TEVRA_HOME");
    EXPECT_TRUE(QFile::exists(out));
    EXPECT_FALSE(QDir(home.path()).entryList(QDir::Hidden | QDir::Files).join(u' ').contains(QLatin1String(".porocilo")));
    return {status, fileBytes(home.filePath(QStringLiteral("TEVRA.TXT")))};
}

/// Every client variant and period gives a report, the same through both database paths.
TEST(BatchReport, EveryClientVariantAndPeriodThroughSqliteAndOdbc) {
    ensureCoreApplication();
    const struct {
        const char* setting; ///< INISET RW_ClientId
        const char* from;
        const char* to;
    } cases[] = {
        {"Demo banka d.d.", "2024-05-01", "2024-05-31"},
        {"Zoze banka", "2024-05-01", "2024-05-31"},
        {"Direve banka", "2024-05-01", "2024-05-31"},
        {"Zezeduzava banka", "2024-05-01", "2024-05-31"},
        {"Zi zud d.d.", "2024-05-01", "2024-05-31"},
        {"Zove vavuravi zidiz", "2024-05-01", "2024-05-31"},
        {"Veruvi banka", "2024-05-01", "2024-05-31"},
        {"Ziroraz banka", "2024-05-01", "2024-05-31"},
        {"Banka vedazu", "2024-05-01", "2024-05-31"},
        {"Demo banka d.d.", "2023-10-01", "2023-10-31"}, // before the changeover: thousands
        {"Demo banka d.d.", "2023-12-01", "2023-12-31"}, // starting on the changeover day
        {"Demo banka d.d.", "2024-03-01", "2024-04-30"}, // two months
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const QString database = dir.filePath(QStringLiteral("bo.db"));
        QFile::remove(database);
        demo::GeneratorOptions options;
        options.today = kToday;
        options.clientId = QString::fromLatin1(c.setting);
        QString error;
        ASSERT_TRUE(demo::createDemoFile(database, options, nullptr, &error)) << error.toStdString();
        const std::string label = std::string(c.setting) + " " + c.from + ".." + c.to;
        const auto [sqliteStatus, sqliteTrace] = runReport(database, false, QLatin1String(c.from), QLatin1String(c.to));
        const auto [odbcStatus, odbcTrace] = runReport(database, true, QLatin1String(c.from), QLatin1String(c.to));
        EXPECT_EQ(sqliteStatus, 0) << label;
        EXPECT_EQ(odbcStatus, 0) << label;
        EXPECT_FALSE(sqliteTrace.isEmpty()) << label;
        EXPECT_EQ(sqliteTrace, odbcTrace) << label;
        EXPECT_TRUE(sqliteTrace.endsWith("\r\n")) << label;
    }
}

} // namespace
