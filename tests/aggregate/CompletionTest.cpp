#include "ReportHarness.h"
#include "aggregate/ReportSteps.h"

namespace {

/// Groups and completes the harness's detail rows; returns the report rows.
QList<QVariantMap> complete(ReportHarness& h) {
    GrupirajTemp(h.ctx);
    PolniOstalaPolja(h.ctx);
    return h.reportRows();
}

TEST(PolniOstalaPolja, IssuerAndSecurityFields) {
    const struct {
        const char* clientId;
        int sfvp;
        const char* form;
        const char* k21;
        const char* k22;
        const char* k23;
        const char* k24;
        const char* k26;
        const char* k27;
        double k28;
        const char* k29;
        double k210;
    } cases[] = {
        {"", 10, "SRN", "S", "Domači izdajatelj d.d.", "5000001", "S.11", "ABC", "ES", 1000, "978", 1},
        {"ZOZE", 10, "TRR", "S", "Domači izdajatelj d.d.", "5000001", "S.11", "ABC_S", "ES", 1000, "978", 1},
        {"VEDO", 10, "TNR", "S", "Domači izdajatelj d.d.", "", "S.11", "ABC", "ESVUFR", 1000, "978", 1},
        {"", 10, "SNR", "S", "Domači izdajatelj d.d.", "", "S.11", "ABC", "ES", 1000, "978", 1},
        {"", 10, "SNN", "S", "Domači izdajatelj d.d.", "", "S.11", "ABC", "ES", 1000, "978", 1},
        {"", 11, "SRN", "DE", "Fremde AG", "", "S.122", "FAG 5%", "DB", 3000000000.0, "840", 2},
        {"", 12, "TRR", "S", "Domači izdajatelj d.d.", "5000001", "S.11", "XYZ", "ES", 500, "XAU", 4},
        {"", 13, "TRR", "S", "", "", "", "", "", 0, "", 1},
    };
    for (const auto& c : cases) {
        ReportHarness h;
        h.state.ClientId = QString::fromLatin1(c.clientId);
        Detail d;
        d.sfvp = c.sfvp, d.oblika = QString::fromLatin1(c.form), d.k21 = QString::fromLatin1(c.k21), d.k37 = 1;
        h.addDetails({d});
        const auto rows = complete(h);
        ASSERT_EQ(rows.size(), 1);
        const auto& r = rows[0];
        const std::string label = std::string(c.clientId) + " " + std::to_string(c.sfvp) + " " + c.form;
        EXPECT_EQ(r["K22"].toString(), QString::fromUtf8(c.k22)) << label;
        EXPECT_EQ(r["K23"].toString(), QString::fromLatin1(c.k23)) << label;
        EXPECT_EQ(r["K24"].toString(), QString::fromLatin1(c.k24)) << label;
        EXPECT_EQ(r["K26"].toString(), QString::fromLatin1(c.k26)) << label;
        EXPECT_EQ(r["K27"].toString(), QString::fromLatin1(c.k27)) << label;
        EXPECT_EQ(r["K28"].toDouble(), c.k28) << label;
        EXPECT_EQ(r["K29"].toString(), QString::fromLatin1(c.k29)) << label;
        EXPECT_EQ(r["K314"].toString(), QString::fromLatin1(c.k29)) << label;
        EXPECT_EQ(r["K210"].toDouble(), c.k210) << label;
        EXPECT_EQ(r["K21"].toString(), QString::fromLatin1(c.k21[0] == 'S' ? "SVN" : "DEU")) << label;
    }
}

TEST(PolniOstalaPolja, SectorFieldsCountryAbbreviationsAndBalance) {
    ReportHarness h;
    Detail household;
    household.sfosb = 200, household.sektor = QStringLiteral("S.1411"), household.k16 = QStringLiteral("S.1411");
    household.k15 = QStringLiteral("A"), household.k37 = 1;
    Detail municipality;
    municipality.sfosb = 203, municipality.sektor = QStringLiteral("S.1311"), municipality.k16 = QStringLiteral("Občina");
    municipality.k31 = 10, municipality.k32 = 5, municipality.k33 = 3, municipality.k34 = 7, municipality.k35 = 2;
    municipality.k37 = 12;
    Detail unsectored;
    unsectored.sfosb = 204, unsectored.sektor = QVariant(), unsectored.k16 = QStringLiteral("Brez Sektorja");
    unsectored.k15 = QStringLiteral("XX"), unsectored.k37 = 1;
    h.addDetails({household, municipality, unsectored});
    const auto rows = complete(h);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0]["K16"].toString(), "S.14");
    EXPECT_EQ(rows[0]["K18"].toString(), "S.14");
    EXPECT_EQ(rows[0]["K15"].toString(), "AUT");
    EXPECT_EQ(rows[1]["K16"].toString(), QStringLiteral("Občina"));
    EXPECT_EQ(rows[1]["K18"].toString(), "S.1311");
    EXPECT_EQ(rows[1]["K36"].toDouble(), -5);
    EXPECT_EQ(rows[1]["K15"].toString(), "SVN");
    EXPECT_EQ(rows[2]["K16"].toString(), "Brez Sektorja");
    EXPECT_TRUE(rows[2]["K18"].isNull());
    EXPECT_EQ(rows[2]["K15"].toString(), "XX");
    EXPECT_EQ(h.op.progress.mid(0, 7),
              QStringList({"Grupiranje 'S.14, S.15' ", "Grupiranje ostalo", "Ostala polja ..", "3.8  0 / 3",
                           "3.12  0 / 3", "3.14  0 / 3", "1.8  0 / 3"}));
    EXPECT_EQ(h.op.progress.last(), "Polja: 3 / 3");
}

/// Deals of March 2024 (activity L, settled '=' unless told) for the income tests.
const char* const kDeals =
    "INSERT INTO DOG (IDDOG, IDPOG, SFVP, SFDJV, SFPDG, SFFIS, ZPD, LOT, TCJVLT, GOT, OBRVLT, SFGLVENT) VALUES "
    // client 202, security 10: 100 + 50.4, plus deals that do not count
    "(1, 1202, 10, 'L', '=', NULL, '2024-03-05 00:00:00', 10, 1, 100, 0, NULL),"
    "(2, 1202, 10, 'L', '@', 'F', '2024-03-31 00:00:00', 10, 1, 50.4, 0, NULL),"
    "(3, 1202, 10, 'L', '=', 'G', '2024-03-06 00:00:00', 10, 1, 1000, 0, NULL),"
    "(4, 1202, 10, 'L', 'X', NULL, '2024-03-06 00:00:00', 10, 1, 1000, 0, NULL),"
    "(5, 1202, 10, 'K', '=', NULL, '2024-03-06 00:00:00', 10, 1, 1000, 0, NULL),"
    "(6, 1202, 10, 'L', '=', NULL, '2024-04-01 00:00:00', 10, 1, 1000, 0, NULL),"
    // client 202, security 11: coupon in the euro era through the rate: 4 * 5 / 2 = 10
    "(7, 1202, 11, 'L', '=', NULL, '2024-03-10 00:00:00', 4, 2, 0, 5, '%'),"
    // client 203: 0.3 and 0.04
    "(8, 1203, 10, 'L', '=', NULL, '2024-03-10 00:00:00', 1, 1, 0.3, 0, NULL),"
    "(9, 1203, 11, 'L', '=', NULL, '2024-03-10 00:00:00', 1, 1, 0.04, 0, NULL),"
    // client 202, security 12: income 5, but gross dividends 100 * 2 = 200
    "(10, 1202, 12, 'L', '=', NULL, '2024-03-20 00:00:00', 100, 1, 5, 0, NULL),"
    // households S.1411 and S.14 abroad, a non-profit institution: each sector row its own clients
    "(11, 1200, 10, 'L', '=', NULL, '2024-03-10 00:00:00', 1, 1, 40, 0, NULL),"
    "(12, 1201, 10, 'L', '=', NULL, '2024-03-10 00:00:00', 1, 1, 60, 0, NULL),"
    "(13, 1205, 10, 'L', '=', NULL, '2024-03-10 00:00:00', 1, 1, 1000, 0, NULL)";

TEST(PolniOstalaPolja, IncomeOfTheRowsClientsOrSectorAndDividends) {
    const struct {
        bool euro;
        int sfosb;
        int sfvp;
        const char* sector;
        const char* country;
        double k38;
    } cases[] = {
        {true, 202, 10, "S.11001", "S", 150},  {false, 202, 10, "S.11001", "S", 1},
        {true, 202, 11, "S.11001", "S", 10},   {true, 203, 10, "S.11001", "S", 1},
        {true, 203, 11, "S.11001", "S", 0},    {true, 202, 12, "S.11001", "S", 200},
        {true, 200, 10, "S.1411", "S", 40},    {true, 201, 10, "S.15", "S", 60},
        {true, 205, 10, "S.14", "A", 1000},
    };
    for (const auto& c : cases) {
        ReportHarness h;
        h.exec(QString::fromLatin1(kDeals));
        h.exec(QStringLiteral("INSERT INTO KPN (SFVP, PRVDAN, ZDNDAN, OBROBRBRT, STRTUJ, OBROBR) VALUES "
                              "(12, '2024-03-05 00:00:00', '2024-03-20 00:00:00', 2, 0, 1.5)"));
        h.state.EuroPeriod = c.euro;
        // All clients' positions are in the run, so that a sector row could take what is not its own.
        QList<Detail> all;
        for (const auto& o : cases) {
            Detail d;
            d.sfosb = o.sfosb, d.sfvp = o.sfvp, d.sektor = QString::fromLatin1(o.sector);
            d.k15 = QString::fromLatin1(o.country), d.k37 = 1;
            d.k25 = QStringLiteral("SI00000000%1").arg(o.sfvp);
            d.k16 = d.sektor.toString().startsWith(QLatin1String("S.1")) && o.sfosb != 202 && o.sfosb != 203
                        ? d.sektor.toString()
                        : QString::number(o.sfosb);
            if (!all.isEmpty() && all.last().sfosb == d.sfosb && all.last().sfvp == d.sfvp) continue;
            all.append(d);
        }
        h.addDetails(all);
        const auto rows = complete(h);
        const std::string label = std::to_string(c.sfosb) + "/" + std::to_string(c.sfvp) + (c.euro ? " euro" : "");
        int found = 0;
        for (const auto& r : rows) {
            if (r["SFOSB"].toInt() != c.sfosb || r["SFVP"].toInt() != c.sfvp) continue;
            ++found;
            EXPECT_EQ(r["K38"].toDouble(), c.k38) << label;
        }
        EXPECT_EQ(found, 1) << label;
    }
}

TEST(PolniOstalaPolja, DirectInvestmentMark) {
    const struct {
        const char* clientId;
        int sfosb;
        const char* sector;
        const char* holdings; ///< VPSHST rows (IDPOG, SFVP, LOT) on 2024-03-31
        double k312;
    } cases[] = {
        {"", 202, "S.11001", "", 0},
        {"", 202, "S.11001", "(1202, 10, 100)", 1},
        {"", 202, "S.11001", "(1202, 10, 99)", 0},
        {"", 202, "S.11001", "(1202, 10, 100), (1202, 10, 200)", 0},
        {"", 202, "S.11001", "(1202, 10, 100), (1202, 10, 2)", 1},
        {"", 200, "S.1411", "(1200, 10, 500)", 0},
        {"", 206, "S.11001", "(1206, 10, 500)", 1},
        {"VERUVI", 206, "S.11001", "(1206, 10, 500)", 0},
        {"VERUVI", 206, "S.11001", "(50838, 10, 500)", 1},
        {"VERUVI", 204, "S.11001", "(1204, 10, 500)", 1},
    };
    for (const auto& c : cases) {
        ReportHarness h;
        h.state.ClientId = QString::fromLatin1(c.clientId);
        if (*c.holdings)
            h.exec(QStringLiteral("INSERT INTO VPSHST (DAN, IDPOG, SFVP, SFDJV, LOT) SELECT '2024-03-31 00:00:00', "
                                  "column1, column2, 'L', column3 FROM (VALUES ") +
                   QString::fromLatin1(c.holdings) + u')');
        Detail d;
        d.sfosb = c.sfosb, d.sektor = QString::fromLatin1(c.sector), d.k37 = 1;
        h.addDetails({d});
        const auto rows = complete(h);
        ASSERT_EQ(rows.size(), 1);
        EXPECT_EQ(rows[0]["K312"].toDouble(), c.k312) << c.clientId << " " << c.sfosb << " " << c.holdings;
    }
}

TEST(PolniOstalaPolja, FailingStatementsAreShownAndStopTheStep) {
    {
        ReportHarness h;
        h.addDetails({Detail{}});
        GrupirajTemp(h.ctx);
        h.exec(QStringLiteral("DROP TABLE VLT"));
        EXPECT_THROW(PolniOstalaPolja(h.ctx), store::SqlError);
        ASSERT_EQ(h.op.messages.size(), 2);
        EXPECT_TRUE(h.op.messages[0].startsWith(QStringLiteral("Napaka pri branju SFVP!\rSELECT O.MTS")));
        EXPECT_EQ(h.op.messages[1], QStringLiteral("Napaka pri azuriranju ostalih polj!\r"));
    }
    {
        ReportHarness h;
        h.addDetails({Detail{}});
        GrupirajTemp(h.ctx);
        h.exec(QStringLiteral("DROP TABLE KPN"));
        EXPECT_THROW(PolniOstalaPolja(h.ctx), store::SqlError);
        ASSERT_EQ(h.op.messages.size(), 2);
        EXPECT_TRUE(h.op.messages[0].startsWith(QStringLiteral("3.8b\r SELECT SUM(D.LOT * K.OBROBRBRT)")));
        EXPECT_EQ(h.op.messages[1], QStringLiteral("Napaka pri azuriranju ostalih polj!\r") + h.op.messages[0].mid(5));
        EXPECT_TRUE(h.reportRows()[0]["K22"].isNull()); // the row being completed is not posted
    }
}

} // namespace
