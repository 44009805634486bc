#include "FixtureDb.h"
#include "HoldingsSelection.h"

#include "demo/DemoBackOffice.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <gtest/gtest.h>

namespace {

using ColumnList = std::vector<std::pair<QString, QString>>;

ColumnList declaredColumns(QSqlDatabase& db, const QString& table) {
    ColumnList columns;
    QSqlQuery q(db);
    EXPECT_TRUE(q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table)));
    while (q.next())
        columns.emplace_back(q.value("name").toString(), q.value("type").toString());
    return columns;
}

/// The work-table columns in their defined order, with the SQLite declared types.
ColumnList expectedWorkTableColumns(bool withCountry) {
    ColumnList c = {{"DATUM", "DATE"},
                    {"IDPOR", "INTEGER"},
                    {"K11", "VARCHAR2(10)"},
                    {"K12", "VARCHAR2(15)"},
                    {"K13", "VARCHAR2(10)"},
                    {"K14", "VARCHAR2(3)"},
                    {"K15", "VARCHAR2(3)"},
                    {"K16", "VARCHAR2(90)"},
                    {"K17", "VARCHAR2(15)"},
                    {"K18", "VARCHAR2(7)"},
                    {"K21", "VARCHAR2(3)"},
                    {"K22", "VARCHAR2(90)"},
                    {"K23", "VARCHAR2(15)"},
                    {"K24", "VARCHAR2(7)"},
                    {"K25", "VARCHAR2(12)"},
                    {"K26", "VARCHAR2(60)"},
                    {"K27", "VARCHAR2(6)"},
                    {"K28", "FLOAT"},
                    {"K29", "VARCHAR2(10)"},
                    {"K210", "FLOAT"},
                    {"K31", "FLOAT"},
                    {"K32", "FLOAT"},
                    {"K33", "FLOAT"},
                    {"K34", "FLOAT"},
                    {"K35", "FLOAT"},
                    {"K36", "FLOAT"},
                    {"K37", "FLOAT"},
                    {"K38", "FLOAT"},
                    {"K39", "FLOAT"},
                    {"K310", "FLOAT"},
                    {"K311", "FLOAT"},
                    {"ZACLOT", "FLOAT"},
                    {"K312", "FLOAT"},
                    {"K313", "VARCHAR2(3)"},
                    {"K314", "VARCHAR2(10)"},
                    {"SFOSB", "INTEGER"},
                    {"SFVP", "INTEGER"},
                    {"IDPOG", "INTEGER"},
                    {"SFSOS", "VARCHAR2(1)"},
                    {"SFDRZ", "VARCHAR2(1)"},
                    {"SEKTORIZACIJA", "VARCHAR2(10)"},
                    {"OBLIKA", "VARCHAR2(10)"},
                    {"CTRL", "INTEGER"}};
    if (!withCountry)
        c.erase(std::find_if(c.begin(), c.end(), [](const auto& p) { return p.first == "SFDRZ"; }));
    return c;
}

TEST(DemoSchema, CreatesEveryBackOfficeTableAndBothWorkTables) {
    FixtureDb fixture;
    TestConnection c(fixture.path());
    const QStringList tables = c.db().tables();
    for (const char* name :
         {"DJV", "OSB", "EUROOBD", "SFVP", "VPSHST", "POG", "DOG", "KTC",    "TRG",         "VLN",
          "VLT", "FIN", "KPN",     "OBD",  "PSL",    "STO", "DRZ", "INISET", "TEMP_TEVRA1", "TEMP_TEVRA"})
        EXPECT_TRUE(tables.contains(name)) << name;
}

TEST(DemoSchema, WorkTablesHaveTheDefinedColumnsInOrder) {
    FixtureDb fixture;
    TestConnection c(fixture.path());
    EXPECT_EQ(declaredColumns(c.db(), "TEMP_TEVRA1"), expectedWorkTableColumns(false));
    EXPECT_EQ(declaredColumns(c.db(), "TEMP_TEVRA"), expectedWorkTableColumns(true));
}

TEST(DemoSchema, AmountsDivideAsRealNumbers) {
    // Amount columns must not keep whole values as integers: 7 * 1 / 2 is 3.5.
    FixtureDb fixture = FixtureDb::withScript(
        "INSERT INTO DOG (IDDOG, IDPOG, SFVP, LOT, GLVVLT, TCJVLT) VALUES (1, 1, 1, 7, 1, 2);"
        "INSERT INTO TEMP_TEVRA1 (IDPOR, K31, K37) VALUES (1, 7, 2);");
    TestConnection c(fixture.path());
    QSqlQuery q(c.db());
    ASSERT_TRUE(q.exec("SELECT D.LOT*D.GLVVLT/D.TCJVLT, T.K31/T.K37 FROM DOG D, TEMP_TEVRA1 T") && q.next());
    EXPECT_DOUBLE_EQ(q.value(0).toDouble(), 3.5);
    EXPECT_DOUBLE_EQ(q.value(1).toDouble(), 3.5);
}

/// Column name and declared type of every column of every CREATE TABLE in a script.
std::map<QString, ColumnList> scriptColumns(const QString& fileName) {
    QFile file(FixtureDb::sourceDir() + "/store/sql/" + fileName);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << fileName.toStdString();
    std::map<QString, ColumnList> tables;
    QString table;
    const QRegularExpression create(R"(^CREATE TABLE (\w+))");
    const QRegularExpression column(R"(^\s+(\w+)\s+([A-Z0-9()]+),?\s*$)");
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (const auto m = create.match(line); m.hasMatch())
            table = m.captured(1);
        else if (const auto m = column.match(line); m.hasMatch() && !table.isEmpty())
            tables[table].emplace_back(m.captured(1), m.captured(2));
    }
    return tables;
}

TEST(DemoSchema, InstallationScriptsMatchTheSqliteWorkTables) {
    const auto sqlite = scriptColumns("worktables_sqlite.sql");
    const auto oracle = scriptColumns("worktables_oracle.sql");
    const auto db2 = scriptColumns("worktables_db2.sql");
    ASSERT_EQ(sqlite.size(), 2u);
    for (const auto& [table, columns] : sqlite) {
        ASSERT_EQ(oracle.at(table).size(), columns.size()) << table.toStdString();
        ASSERT_EQ(db2.at(table).size(), columns.size()) << table.toStdString();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const auto& [name, type] = columns[i];
            EXPECT_EQ(oracle.at(table)[i].first, name);
            EXPECT_EQ(db2.at(table)[i].first, name);
            EXPECT_EQ(oracle.at(table)[i].second, type) << name.toStdString();
            QString db2Type = type;
            db2Type.replace("VARCHAR2(", "CHAR(");
            EXPECT_EQ(db2.at(table)[i].second, db2Type) << name.toStdString();
        }
    }
}

/// Statements of the report as it sends them (activity list 'W', euro period, client-id
/// variants where they name other columns). Preparing them checks that the schema has every
/// table and column they name.
const char* const kReportStatements[] = {
    // Reference data, reporter identity, look-ups.
    " SELECT SFDJV, MAX(NZV) NZV FROM DJV WHERE SFDJV IN  ('L', 'N', 'U', 'C', 'X')   GROUP BY SFDJV ",
    "SELECT * FROM EUROOBD WHERE OZNAKA = 'ES' ",
    "SELECT KRT FROM SFVP WHERE SFVP=101",
    "SELECT NZV, MTS FROM OSB WHERE SFOSB=2",
    "SELECT vrednost FROM INISET WHERE Kljuc = 'RW_ClientId' ",
    "SELECT KRT, SFDRZ FROM DRZ ",
    "SELECT NZV, IME FROM OSB WHERE SFOSB=5",
    "select sfosb, NZV||' '||IME ime from osb  where sfosb=5",
    // Holdings valuation: unsettled lots, rate, the opening statement of one client variant
    // and the common closing statement.
    "SELECT  SUM(DOG.VP) VP FROM DOG, POG WHERE DOG.SFVP=:SFVP AND DOG.IDPOG=POG.IDPOG AND POG.SFOSB=:SFOSB "
    "AND "
    "DOG.SFPDG IN ('P', 'N', 'A', 'a') AND DOG.DAN< :DATUMOD AND DOG.ZPD>= :DATUMOD",
    "SELECT v1.tcj  tecaj, v1.dan datum FROM vln v1, sfvp s2 WHERE v1.sfvlt = s2.sfvltnmn AND s2.sfvp = "
    ":SFVP AND "
    "v1.sfvln = '0' AND v1.dan = (SELECT MAX (v2.dan) FROM vln v2, sfvp s3 WHERE v2.sfvlt = s3.sfvltnmn AND "
    "s3.sfvp = "
    ":SFVP AND v2.dan <= :DATUMDO AND v2.sfvln = '0') order by v1.dan desc",
    "SELECT COALESCE (ROUND (SUM (CASE z.sfdjv WHEN 'L' THEN z.lot * z.glvvrd ELSE Z.LOT0*Z.GLV END ), 0), "
    "0) "
    "ZACETNO_stanje, COALESCE (ROUND (SUM (CASE z.sfdjv WHEN 'L' THEN z.lot * z.obrvrd ELSE Z.LOT*Z.OBR END "
    "), 0), 0) "
    "natecene_obresti, COALESCE (SUM (CASE z.sfdjv WHEN 'L' THEN z.lot ELSE Z.LOT0 END ), 0) lot0 , "
    "max(z.sfdjv) sfdjv "
    "FROM vpshst z, (SELECT sftrg, sfvp FROM ktc WHERE sfktc = (SELECT MAX (sfktc) FROM ktc WHERE (ktc.dan) "
    "<= :DAN30 "
    "AND ktc.sfvp = :SFVP)) k, pog p, sfvp s WHERE z.sfvp = :SFVP AND z.sfvp = k.sfvp AND z.sfvp = s.sfvp "
    "AND (z.dan) = "
    ":DAN30 AND z.idpog = p.idpog AND Z.IDPOG=:IDPOG AND p.sfosb = :SFOSB AND Z.SFDJV IN ( 'W' ) AND z.sfsvp "
    "= 'L' AND "
    "(s.zpdvp IS NULL OR s.zpdvp >= :DAN30) AND Z.SFVP=K.SFVP",
    "SELECT ROUND(SUM(Z.LOT0*Z.GLV), 2)  KONCNO_STANJE , ROUND(SUM( Z.LOT*Z.OBR), 0) NATECENE_OBRESTI , "
    "ROUND(SUM(Z.LOT0), 2)  LOT0 , 'X' sfdjv FROM VPSHST Z , (SELECT SFTRG, SFVP FROM KTC WHERE  "
    "SFKTC=(SELECT "
    "MAX(SFKTC) FROM KTC WHERE KTC.DAN <= :DATUMDO  AND KTC.SFVP= :SFVP)   ) K , POG P, SFVP SFVP , OSB O "
    "WHERE Z.DAN = "
    ":DATUMDO AND Z.SFVP=:SFVP AND Z.IDPOG=P.IDPOG AND Z.IDPOG=:IDPOG AND Z.SFDJV IN ( 'W' ) AND "
    "P.SFOSB=:SFOSB AND "
    "P.SFOSB=O.SFOSB AND Z.SFVP=K.SFVP AND Z.SFVP=SFVP.SFVP AND (O.SFSOS NOT IN ('V', 'S') OR Z.IDPOG IN "
    "(50838))",
    // Period flows: issue purchases, maturities, purchases with commission, order costs, sales.
    "SELECT  ROUND(SUM(D.LOT*D.GLVVLT/(CASE WHEN D.TcjVlt=0 THEN 1 ELSE D.TcjVlt END)),2) IZDAJA FROM DOG D, "
    " TRG T1 , "
    "POG P, OSB O , (SELECT SFTRG, SFVP FROM KTC WHERE  SFKTC=(SELECT MAX(SFKTC) FROM KTC WHERE KTC.DAN<= "
    ":DATUMDO  AND "
    "KTC.SFVP=:SFVP)   ) K WHERE D.SFVP=:SFVP AND D.IDPOG=P.IDPOG AND D.IDPOG=:IDPOG AND P.SFOSB=:SFOSB AND "
    "P.SFOSB=O.SFOSB AND D.SFTRG=T1.SFTRG AND D.ZPD>= :DATUMOD AND D.ZPD<= :DATUMDO AND D.SFDJV IN ( 'W' ) "
    "AND "
    "D.SFVP=K.SFVP AND (D.SFFIS IS NULL OR D.SFFIS<>'G') AND D.SFPDG IN ('A','N') AND T1.SFTRZ='1'",
    "SELECT ROUND(SUM(KPN.GLVOBR * Z.VP / (SELECT max(v1.tcj) FROM vln v1 WHERE v1.sfvln = '0' AND dan = "
    "(SELECT MAX "
    "(v2.dan) FROM vln v2 WHERE v2.dan <= kpn.zdndan AND v2.sfvln = '0' AND v1.sfvlt=v2.sfvlt) AND "
    "v1.sfvlt=sfvp.sfvltnmn) ), 0) DOSPETJE , MAX(SFVP.SFGLVENT) SFGLVENT FROM DOG Z , POG P, SFVP SFVP, OSB "
    "O , (SELECT "
    "ZDNDAN, SFVP, GLVOBR FROM KPN K1 WHERE K1.ZDNDAN=(SELECT MAX(K2.ZDNDAN) FROM KPN K2 WHERE K2.ZDNDAN<= "
    ":DATUMDO AND "
    "K2.ZDNDAN >= :DAN1 AND K1.SFVP=K2.SFVP)) KPN , (SELECT SFTRG, SFVP FROM KTC WHERE  SFKTC=(SELECT "
    "MAX(SFKTC) FROM "
    "KTC WHERE KTC.DAN<= :DATUMDO AND KTC.SFVP=:SFVP)   ) K WHERE Z.SFVP=:SFVP AND Z.IDPOG=P.IDPOG AND "
    "Z.IDPOG=:IDPOG "
    "AND P.SFOSB=:SFOSB AND P.SFOSB=O.SFOSB AND Z.SFDJV IN ( 'W' ) AND Z.SFVP=K.SFVP AND Z.SFVP=KPN.SFVP AND "
    "Z.SFVP=SFVP.SFVP AND Z.DAN<= :DATUMDO AND KPN.ZDNDAN>= :DAN1 AND KPN.ZDNDAN<= :DATUMDO AND "
    "Z.IDOBD=(SELECT "
    "MAX(IDOBD) FROM OBD) AND (Z.SFPDG IS NULL or Z.SFPDG<>'.')",
    "SELECT ROUND(SUM(D.VP*D.GLVVLT/CASE WHEN D.TCJVLT=0 THEN 1 ELSE D.TCJVLT END / CASE WHEN D.DAN< "
    ":DATUMOD  THEN "
    "D.TCJTVL ELSE 1 END   ), 2)  NAKUP , ROUND(SUM(D.LOT*D.GLVVLT/CASE WHEN D.TCJVLT=0 THEN 1 ELSE D.TCJVLT "
    "END * "
    "(CASE WHEN D.SFDJV='C' THEN D.PVZPRJ ELSE 0.0 END+CASE WHEN D.SFDJV='X' THEN D.PVZPRJ ELSE 0.0 "
    "END+D.PVZPLC)*0.01   "
    "/ CASE WHEN D.DAN< :DATUMOD  THEN CASE WHEN D.TCJTVL=0 THEN 1 ELSE D.TCJTVL END ELSE 1 END    ), 2) "
    "PROVIZIJA , "
    "ROUND(SUM(D.LOT*D.GLVVLT/CASE WHEN D.TCJVLT=0 THEN 1 ELSE D.TCJVLT END *D.PVZPLC*0.01), 2) "
    "PROVIZIJA_PLACANA , "
    "ROUND(SUM(PSL.PVZPRJDOD), 0) PROVIZIJAPSL FROM  DOG D, PSL PSL, TRG T1 , POG P, OSB O WHERE "
    "D.SFVP=:SFVP AND "
    "D.IDPOG=P.IDPOG AND D.IDPOG=:IDPOG AND P.SFOSB=:SFOSB AND P.SFOSB=O.SFOSB AND D.ZPD>= :DATUMOD AND "
    "D.SFDJV IN ( "
    "'W' ) AND D.SFPDG IN ('A','N', 'B') AND D.SFDOG NOT IN ('PK') AND D.IDPOG NOT IN (1) AND D.ZPD<= "
    ":DATUMDO AND "
    "D.SFTRG=T1.SFTRG AND (T1.SFTRZ IS NULL OR T1.SFTRZ<>'1') AND (D.SFFIS IS NULL OR D.SFFIS<>'G') AND "
    "D.IDPSL=PSL.IDPSL  AND (PSL.PTFVP IS NULL OR PSL.PTFVP<>'N' )",
    "select idpsl, sum(tcjvlt*vrd) vrd from sto group by idpsl",
    "SELECT ROUND(ABS(SUM(D.VP*D.GLVVLT/CASE WHEN D.TCJVLT=0 THEN 1 ELSE D.TCJVLT END / CASE WHEN D.DAN< "
    ":DATUMOD  THEN "
    "(CASE WHEN D.TCJTVL=0 THEN 1 ELSE D.TCJTVL END) ELSE 1 END )   ), 2)  PRODAJA FROM  DOG D, PSL PSL , "
    "POG P, OSB O "
    "WHERE D.SFVP=:SFVP AND D.IDPOG=P.IDPOG AND D.IDPOG=:IDPOG AND P.SFOSB=:SFOSB AND P.SFOSB=O.SFOSB AND "
    "D.ZPD >= "
    ":DATUMOD AND D.SFDJV IN ( 'W' ) AND D.SFPDG IN ('a','P', 'b', '{') AND D.ZPD <= :DATUMDO AND "
    "D.IDPSL=PSL.IDPSL  "
    "AND (PSL.PTFVP IS NULL OR PSL.PTFVP<>'N' ) AND (D.SFFIS IS NULL OR D.SFFIS<>'G')",
    // Completion: issuer and security, income, dividends, direct investment.
    "SELECT O.MTS     MTS , O.NZV       NZV , S.CFI       VRSTA_PAPIRJA , S.KRT       OZNAKA_PAPIRJA , "
    "S.LOTEMS    "
    "IZDANIH_LOTOV , V.ST        VALUTA_NOMINALE , S.GLVNMN    NOMINALNA_VREDNOST , O.SFSOS     "
    "SIFSIF_IZDAJATELJA , "
    "O.SEKTORIZACIJA   SEKTOR_IZDAJATELJA   FROM SFVP S, OSB O, VLT V   WHERE S.SFVP=:SFVP    AND "
    "S.SFOSBIZD=O.SFOSB "
    "   AND S.SFVLTNMN=V.SFVLT ",
    " SELECT  MAX(D.TCJVLT) TCJVLT, max(d.idpog) idpog, ROUND(SUM(case when d.sfglvent ='%' then (d.obrvlt * "
    "d.lot) else "
    "d.got end/CASE WHEN D.TCJVLT=0 THEN 1 ELSE D.TCJVLT END ), 2) DOHODEK  FROM DOG D  , POG P , OSB O  "
    "WHERE "
    "D.SFVP=:SFVP  AND D.IDPOG=P.IDPOG  AND D.SFDJV IN ( 'W' )   AND D.ZPD >= :DATUMOD  AND D.ZPD <= "
    ":DATUMDO  AND "
    "P.SFOSB=O.SFOSB  AND (O.SEKTORIZACIJA LIKE 'S.14%' OR O.SEKTORIZACIJA LIKE 'S.13%')   AND O.SFDRZ='S'  "
    "AND D.SFPDG "
    "IN ('=', '@')  AND (D.SFFIS IS NULL OR D.SFFIS<>'G') ",
    " SELECT SUM(D.LOT * K.OBROBRBRT) BRUTODIVIDENDE  , SUM(D.LOT * (K.OBROBRBRT - STRTUJ - OBROBR) ) DAVEK  "
    "FROM DOG D "
    " , POG P , (SELECT OBROBRBRT, STRTUJ, OBROBR,  SFVP FROM KPN WHERE SFVP= :SFVP AND PRVDAN>= :DATUMOD "
    "AND ZDNDAN <= "
    ":DATUMDO) K  WHERE D.SFVP=:SFVP  AND D.SFVP = K.SFVP  AND D.IDPOG=P.IDPOG  AND D.SFDJV IN ( 'W' )   AND "
    "D.ZPD >= "
    ":DATUMOD  AND D.ZPD <= :DATUMDO  AND P.SFOSB=:SFOSB  AND D.SFPDG IN ('=', '@')  AND (D.SFFIS IS NULL OR "
    "D.SFFIS<>'G') ",
    " SELECT COUNT(Z.IDPOG) AS NEPOSREDNE_NALOZBE  FROM VPSHST Z, SFVP S, FIN F , POG P, OSB O  WHERE  Z.DAN "
    "= :DATUMDO "
    " AND Z.IDPOG=P.IDPOG  AND Z.SFDJV IN ( 'W' )   AND P.SFOSB=:SFOSB  AND P.SFOSB=O.SFOSB  AND "
    "Z.SFVP=S.SFVP  AND "
    "S.SFFIN=F.SFFIN   AND Z.SFVP=:SFVP AND F.SFLST='L'   AND Z.LOT >= 0.1*S.LOTEMS ",
    // Review of the last report.
    " SELECT  O.NZV NAZIV_STRANKE , O.IME IME_STRANKE , O.SEKTORIZACIJA SEKTORIZACIJA   FROM OSB O WHERE "
    "O.SFOSB = "
    ":SFOSB ",
    " SELECT  Z.LOT0 LOT FROM VPSHST Z  , (SELECT SFTRG, SFVP FROM KTC WHERE  SFKTC=(SELECT MAX(SFKTC) FROM "
    "KTC WHERE "
    "KTC.DAN <= :DAN30  AND KTC.SFVP=:SFVP)   ) K    , POG P   WHERE Z.SFVP=:SFVP   AND Z.IDPOG=P.IDPOG   "
    "AND "
    "P.SFOSB=:SFOSB   AND Z.DAN = :DAN30   AND Z.SFDJV IN ( 'W' )   AND Z.SFVP=K.SFVP",
};

TEST(DemoSchema, EveryTableAndColumnTheReportNamesExists) {
    FixtureDb fixture;
    TestConnection c(fixture.path());
    for (const char* statement : kReportStatements) {
        QSqlQuery q(c.db());
        EXPECT_TRUE(q.prepare(statement)) << q.lastError().text().toStdString() << "\n" << statement;
    }
    QSqlQuery selection(c.db());
    EXPECT_TRUE(selection.prepare(holdingsSelection("'W'"))) << selection.lastError().text().toStdString();
}

} // namespace
