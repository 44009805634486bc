#include "app/TForm1.h"
#include "demo/DemoBackOffice.h"

#include <QApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

/// The main window starting up on the offscreen platform over a small back office.
TEST(MainWindow, StartUpShowsWhatTheDatabaseHolds) {
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fixture"));
        db.setDatabaseName(folder + "bo.db");
        ASSERT_TRUE(db.open());
        QString error;
        ASSERT_TRUE(demo::createSchema(db, &error)) << error.toStdString();
        ASSERT_TRUE(demo::runSqlScript(db, QStringLiteral(
            "INSERT INTO DJV (SFDJV, NZV) VALUES ('L', 'Lastni posli');"
            "INSERT INTO DJV (SFDJV, NZV) VALUES ('X', 'Skrbniški posli');"
            "INSERT INTO OSB (SFOSB, NZV, MTS) VALUES (2, 'Demo banka d.d.', '1234567');"
            "INSERT INTO INISET (KLJUC, VREDNOST) VALUES ('RW_ClientId', 'zoze banka');"
            "INSERT INTO TEMP_TEVRA (IDPOR) VALUES (41);"), &error)) << error.toStdString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fixture"));
    QFile aliases(folder + "ALIASES.INI");
    ASSERT_TRUE(aliases.open(QIODevice::WriteOnly));
    aliases.write("[LB]\nDRIVER=SQLITE\nDATABASE=bo.db\n");
    aliases.close();
    QFile ini(folder + "TEVRA.INI");
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("/srv/porocila/tevra.xlsx\r\n");
    ini.close();

    TForm1 form(folder, {QStringLiteral("LB"), QStringLiteral("ANA")});
    form.setToday(QDate(2025, 1, 15));
    form.show();
    QApplication::processEvents();
    form.AppActivate();

    EXPECT_EQ(form.windowTitle(), QStringLiteral("TEVRA - Demo banka d.d."));
    EXPECT_EQ(form.eDatumOd->text(), QStringLiteral("01.12.2024"));
    EXPECT_EQ(form.eDatumDo->text(), QStringLiteral("31.12.2024"));
    EXPECT_EQ(form.eIzhod->text(), QStringLiteral("/srv/porocila/tevra.xlsx"));
    EXPECT_EQ(form.cbD[0]->text(), QStringLiteral("L - Lastni posli"));
    EXPECT_TRUE(form.cbD[0]->isChecked());
    EXPECT_EQ(form.cbD[1]->text(), QStringLiteral("X - Skrbniški posli"));
    EXPECT_TRUE(form.cbD[1]->isVisible());
    EXPECT_FALSE(form.cbD[2]->isVisible());
    EXPECT_EQ(form.lblDB->text(), QStringLiteral("ORACLE"));
    EXPECT_EQ(form.lblUser->text(), QStringLiteral("LB/ANA"));
    EXPECT_EQ(form.lblFirma->text(), QStringLiteral("ZOZE"));
    EXPECT_EQ(form.lblidpor->text(), QStringLiteral("42"));
    EXPECT_FALSE(form.lblOpozorilo->isVisible());

    const QString shot = qEnvironmentVariable("TEVRA_SCREENSHOT");
    if (!shot.isEmpty()) form.grab().save(shot);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
