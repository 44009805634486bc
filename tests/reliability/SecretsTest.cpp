#include "ReliabilitySupport.h"

#include <QDir>
#include <QDirIterator>
#include <gtest/gtest.h>

using namespace reliability;

namespace {

/// The scrambled form of a credential as ZEL.INI stores it (twenty characters of padding first).
QByteArray scrambled(const QByteArray& plain) {
    static const char key[] = "qok";
    const QByteArray text = QByteArray(20, 'p') + plain;
    QByteArray out;
    for (int i = 0; i < text.size(); ++i)
        out += QByteArray::number(static_cast<uchar>(text[i]) ^ static_cast<uchar>(key[i % 3]), 16)
                   .rightJustified(2, '0')
                   .toUpper();
    return out;
}

/// Where a password could surface: what the batch mode wrote to standard error, and every file in
/// the program folder except the ones the test itself wrote. Says which, never the password.
QString whereSeen(const QString& password, const QString& stderrText, const QString& folder,
                  const QStringList& ownFiles) {
    QStringList places;
    if (stderrText.contains(password, Qt::CaseInsensitive)) places.append(QStringLiteral("standard error"));
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (ownFiles.contains(QFileInfo(path).fileName()) || path.endsWith(QLatin1String(".db"))) continue;
        if (fileBytes(path).contains(password.toLatin1())) places.append(QFileInfo(path).fileName());
    }
    return places.join(QStringLiteral(", "));
}

/// Passwords from the defaults, ZEL.INI, the command line and an ODBC connection string never
/// appear in messages, trace files or standard error, in runs that succeed and runs that fail.
TEST(Secrets, PasswordsNeverShown) {
    const struct {
        const char* name;
        const char* password;
        QByteArray zel;        ///< ZEL.INI content; empty for none
        QByteArray aliases;    ///< ALIASES.INI content; empty keeps the fixture's
        QStringList positional;
        int status;
    } cases[] = {
        {"the default password, a report written", "KDRWMO", {}, {}, {}, 0},
        {"the command line, a report written", "Ukazna!Geslo1", {}, {}, {"LB", "ANA", "Ukazna!Geslo1"}, 0},
        {"the command line, an unknown alias", "Ukazna!Geslo2", {}, {}, {"NIKJER", "ANA", "Ukazna!Geslo2"}, 1},
        {"ZEL.INI, a report written", "ZelGeslo42",
         "DATABASENAME " + scrambled("LB") + "\r\nUSERNAME     " + scrambled("ANA") + "\r\nPASSWORD     " +
             scrambled("ZelGeslo42") + "\r\n",
         {}, {}, 0},
        {"an ODBC connection string, no such driver", "OdbcGeslo77", {},
         "[ODBC1]\nDRIVER=ODBC\nDATABASE=DRIVER=NoSuchDriver;Database=x.db;UID=ana;PWD=OdbcGeslo77\n",
         {"ODBC1", "ANA", "OdbcGeslo77"}, 1},
        {"an ODBC connection string, a database that cannot be opened", "OdbcGeslo78", {},
         "[ODBC1]\nDRIVER=ODBC\nDATABASE=DRIVER=SQLite3;Database=/proc/ni/baze.db;PWD=OdbcGeslo78\n",
         {"ODBC1", "ANA", "OdbcGeslo78"}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramHome home;
        QStringList own{"ALIASES.INI"};
        if (!c.zel.isEmpty()) {
            home.write("ZEL.INI", c.zel);
            own.append("ZEL.INI");
        }
        if (!c.aliases.isEmpty()) home.write("ALIASES.INI", c.aliases);
        CapturedStderr err;
        const int status = runBatchIn(home.folder(), QStringList{"--from", "2024-05-01", "--to", "2024-05-31", "--out",
                                                                 home.output()} + c.positional);
        const QString said = err.finish();
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(whereSeen(QLatin1String(c.password), said, home.folder(), own), QString());

        // The same start-up through the engine: nothing the operator is told holds the password.
        RecordingOperator op;
        Engine engine(op, home.folder());
        CapturedStderr quiet;
        engine.startUp(c.positional, demoToday());
        if (c.status == 0) {
            ASSERT_TRUE(home.exec({"CREATE TRIGGER NAPAKA BEFORE INSERT ON TEMP_TEVRA BEGIN SELECT RAISE(ABORT, "
                                   "'poskusna napaka'); END"}).isEmpty());
            const RunResult r = engine.runReport(mayInput(home.output()), false);
            EXPECT_EQ(r.status, RunStatus::Failed);
            EXPECT_FALSE(r.message.contains(QLatin1String(c.password)));
        }
        EXPECT_FALSE(op.all().contains(QLatin1String(c.password))) << "a message holds the password";
        EXPECT_FALSE(quiet.finish().contains(QLatin1String(c.password))) << "standard error holds the password";
    }
}

} // namespace
