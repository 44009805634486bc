#include "CollectFixture.h"

#include "collect/MissingRate.h"
#include "collect/PolniTemp.h"
#include "store/SqlError.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

double num(const QVariantMap& row, const char* column) { return row.value(QLatin1String(column)).toDouble(); }
QString txt(const QVariantMap& row, const char* column) { return row.value(QLatin1String(column)).toString(); }

TEST(FormCodeTest, EveryCombinationOfTheThreeCountryTests) {
    struct Case {
        bool client, issuer, market;
        const char* code;
    };
    const Case cases[] = {{true, false, false, "TNR"}, {false, true, false, "TRN"}, {true, true, false, "TRR"},
                          {false, true, true, "SRN"},  {true, false, true, "SNR"},  {false, false, true, "SNN"},
                          {true, true, true, ""},      {false, false, false, ""}};
    for (const Case& c : cases)
        EXPECT_EQ(FormCode(c.client, c.issuer, c.market), QLatin1String(c.code))
            << c.client << c.issuer << c.market;
}

TEST(FormCodeTest, PersonGroupFromTheNormalisedSector) {
    for (const char* natural : {"S.14", "S.1411", "S.24", "S.15", "S.25"}) EXPECT_EQ(personGroup(QLatin1String(natural)), "F") << natural;
    for (const char* legal : {"S.11", "S.122", "S.13", "", "Novak"}) EXPECT_EQ(personGroup(QLatin1String(legal)), "P") << legal;
}

class PolniTempTest : public testing::Test {
protected:
    CollectFixture f;
};

TEST_F(PolniTempTest, ClassifiesEveryPositionAndLeavesOutDomesticAndForeignOnes) {
    f.load(QStringLiteral("formcode"));
    const int written = PolniTemp(f.ctx);

    struct Case {
        int client, security;
        const char* code; // empty: no detail row
    };
    const Case cases[] = {{100, 10, ""},    {100, 11, "TNR"}, {100, 12, "TRR"}, {100, 13, "SNR"},
                          {102, 10, "SRN"}, {102, 11, ""},    {102, 12, "TRN"}, {102, 13, "SNN"},
                          {2, 11, "TNR"},   {101, 11, "TNR"}};
    int expected = 0;
    for (const Case& c : cases) {
        const QVariantMap row = f.detailRow(c.client, c.security);
        EXPECT_EQ(txt(row, "OBLIKA"), QLatin1String(c.code)) << c.client << "/" << c.security;
        if (*c.code) {
            ++expected;
            EXPECT_EQ(txt(row, "K14"), QLatin1String(c.code));
        }
    }
    EXPECT_EQ(written, expected);
    // CTRL numbers the written rows without gaps, in selection order.
    const QList<QVariantMap> rows = f.detailRows();
    ASSERT_EQ(rows.size(), expected);
    for (int i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].value(QStringLiteral("CTRL")).toInt(), i + 1);
    // The contract kept out of the report (POROCANJE_VRP 'D') adds nothing to client 100's security 11.
    EXPECT_EQ(num(f.detailRow(100, 11), "K311"), 2);
}

TEST_F(PolniTempTest, IdentifyingColumnsPerPersonGroup) {
    f.load(QStringLiteral("formcode"));
    PolniTemp(f.ctx);

    const QVariantMap legal = f.detailRow(100, 11);
    EXPECT_EQ(txt(legal, "K11"), "202403");
    EXPECT_EQ(txt(legal, "K12"), " 5000001");
    EXPECT_EQ(txt(legal, "K13"), "2");
    EXPECT_EQ(txt(legal, "K15"), "S");
    EXPECT_EQ(txt(legal, "K16"), "Podjetje d.o.o.");
    EXPECT_EQ(txt(legal, "K17"), "1234567890");
    EXPECT_EQ(txt(legal, "K21"), "DE");
    EXPECT_EQ(txt(legal, "K25"), "DE0000000011");
    EXPECT_EQ(txt(legal, "K313"), "DE");
    EXPECT_EQ(txt(legal, "SFSOS"), "P");
    EXPECT_EQ(txt(legal, "SEKTORIZACIJA"), "S.11");
    EXPECT_EQ(legal.value(QStringLiteral("IDPOR")).toInt(), 1);
    EXPECT_FALSE(legal.value(QStringLiteral("DATUM")).isNull());
    EXPECT_TRUE(legal.value(QStringLiteral("IDPOG")).isNull());

    const QVariantMap natural = f.detailRow(101, 11);
    EXPECT_EQ(txt(natural, "SFSOS"), "F");
    EXPECT_EQ(txt(natural, "K16"), "S.14");
    EXPECT_EQ(txt(natural, "K17"), "");

    EXPECT_EQ(txt(f.detailRow(2, 11), "K13"), "1");
    const QVariantMap foreign = f.detailRow(102, 12);
    EXPECT_EQ(txt(foreign, "K15"), "DE");
    EXPECT_EQ(txt(foreign, "K17"), "") << "registration numbers only for home clients";
}

TEST_F(PolniTempTest, ZovCutsTheRegistrationNumberToSevenCharacters) {
    f.load(QStringLiteral("formcode"));
    f.state.ClientId = QStringLiteral("ZOV");
    PolniTemp(f.ctx);
    EXPECT_EQ(txt(f.detailRow(100, 11), "K17"), "1234567");
}

TEST_F(PolniTempTest, EmptyMarketCountryIsHomeButEmptyIssuerCountryIsNot) {
    f.load(QStringLiteral("empty_countries"));
    PolniTemp(f.ctx);
    const QVariantMap emptyMarket = f.detailRow(102, 20); // home issuer, market without country
    EXPECT_EQ(txt(emptyMarket, "OBLIKA"), "SRN");
    EXPECT_EQ(txt(emptyMarket, "K313"), "S");
    const QVariantMap emptyIssuer = f.detailRow(100, 21); // home client, home market
    EXPECT_EQ(txt(emptyIssuer, "OBLIKA"), "SNR");
    EXPECT_EQ(txt(emptyIssuer, "K21"), "");
}

TEST_F(PolniTempTest, HoldingRowsUnderTwoActivitiesWithEqualQuantitiesBothCount) {
    f.load(QStringLiteral("two_activities"));
    f.state.SfdjvList = QStringLiteral(" 'W' , 'U' ");
    PolniTemp(f.ctx);
    const QVariantMap row = f.detailRow(100, 13);
    EXPECT_EQ(num(row, "K311"), 10);
    EXPECT_EQ(num(row, "K37"), 20);
}

TEST_F(PolniTempTest, SecuritiesLabelledSAreLeftOutFromTheChangeoverOnExceptForZoze) {
    f.load(QStringLiteral("labels"));
    struct Case {
        const char* clientId;
        QDate changeover;
        bool written;
    };
    const Case cases[] = {{"", QDate(2007, 1, 1), false},
                          {"ZOZE", QDate(2007, 1, 1), true},
                          {"", QDate(2025, 1, 1), true},
                          {"", QDate(2024, 3, 1), false}};
    qint32 idPor = 0;
    for (const Case& c : cases) {
        f.state.IdPor = ++idPor;
        f.state.ClientId = QLatin1String(c.clientId);
        f.state.EuroChangeoverDate = c.changeover;
        PolniTemp(f.ctx);
        EXPECT_EQ(f.detailRow(100, 17, idPor).isEmpty(), !c.written) << c.clientId << " " << c.changeover.toString().toStdString();
    }
}

TEST_F(PolniTempTest, ValuationPerVariant) {
    f.load(QStringLiteral("valuation"));
    struct Case {
        const char* clientId;
        int client, security;
        double k31, zaclot, k37, k310;
    };
    const Case cases[] = {
        // common: LOT0 x GLV, interest LOT x OBR
        {"", 100, 11, 125, 10, 300, 10},
        {"", 2, 11, 40, 4, 40, 5},
        {"", 100, 12, 0, 0, 30, 0},
        // BK: activity L at LOT x GLVVRD undivided; others divided by the USD rate 1.25; only SFSVP 'L'
        {"BK", 100, 11, 100, 10, 240, 8},
        {"BK", 2, 11, 100, 5, 100, 10},
        {"BK", 100, 12, 0, 0, 0, 0},
        // ZOV: activity L at LOT0 x GLVVRD; only SFSVP 'L'
        {"ZOV", 100, 11, 125, 10, 300, 10},
        {"ZOV", 2, 11, 80, 4, 80, 8},
        {"ZOV", 100, 12, 0, 0, 0, 0},
    };
    qint32 idPor = 0;
    QString lastVariant = QStringLiteral("?");
    for (const Case& c : cases) {
        if (lastVariant != QLatin1String(c.clientId)) {
            lastVariant = QLatin1String(c.clientId);
            f.state.IdPor = ++idPor;
            f.state.ClientId = lastVariant;
            PolniTemp(f.ctx);
        }
        const QVariantMap row = f.detailRow(c.client, c.security, idPor);
        ASSERT_FALSE(row.isEmpty()) << c.clientId << " " << c.client << "/" << c.security;
        EXPECT_EQ(num(row, "K31"), c.k31) << c.clientId << " " << c.client << "/" << c.security;
        EXPECT_EQ(num(row, "ZACLOT"), c.zaclot) << c.clientId << " " << c.client << "/" << c.security;
        EXPECT_EQ(num(row, "K37"), c.k37) << c.clientId << " " << c.client << "/" << c.security;
        EXPECT_EQ(num(row, "K310"), c.k310) << c.clientId << " " << c.client << "/" << c.security;
    }
}

TEST_F(PolniTempTest, BkStopsOnAHoldingInACurrencyWithoutRateButValuesEmptyHoldingsAtZero) {
    f.load(QStringLiteral("valuation"));
    f.state.ClientId = QStringLiteral("BK");
    f.exec(QStringLiteral("UPDATE SFVP SET SFVLTNMN='GBP' WHERE SFVP=11"));
    EXPECT_THROW(PolniTemp(f.ctx), MissingRate);
    EXPECT_TRUE(f.op.messages.contains(QStringLiteral("Napaka pri dodajanju v tabelo TEMP_TEVRA")));
    ASSERT_FALSE(f.op.failedStatements.isEmpty());
    EXPECT_TRUE(f.op.failedStatements.last().contains(QLatin1String("koncno_stanje")) ||
                f.op.failedStatements.last().contains(QLatin1String("ZACETNO_stanje")));
    // A security without a rate whose holding values are 0 (rows not of SFSVP 'L') is written with 0.
    f.exec(QStringLiteral("UPDATE SFVP SET SFVLTNMN='USD' WHERE SFVP=11"));
    f.exec(QStringLiteral("UPDATE SFVP SET SFVLTNMN='GBP' WHERE SFVP=12"));
    f.state.IdPor = 2;
    EXPECT_GT(PolniTemp(f.ctx), 0);
    EXPECT_EQ(num(f.detailRow(100, 12, 2), "K37"), 0);
}

TEST_F(PolniTempTest, UnsettledQuantityIsSubtractedOnlyWhenThePeriodBeginsOnTheChangeoverDay) {
    f.load(QStringLiteral("changeover"));
    f.state.EuroChangeoverDate = QDate(2024, 3, 1);
    f.setPeriod(QDate(2024, 3, 1), QDate(2024, 3, 31));
    ASSERT_EQ(f.state.period.PriorClose, QDate(2024, 3, 1));
    PolniTemp(f.ctx);
    QVariantMap row = f.detailRow(100, 11);
    EXPECT_EQ(num(row, "K31"), 70) << "(10 - 3) x 10";
    EXPECT_EQ(num(row, "ZACLOT"), 10);
    EXPECT_TRUE(QFile::exists(f.folder() + QStringLiteral("_31dog.sql")));

    // The same holding one day into the euro period: nothing is subtracted.
    CollectFixture g;
    g.load(QStringLiteral("changeover"));
    g.exec(QStringLiteral("UPDATE VPSHST SET DAN='2024-02-29 00:00:00'"));
    g.state.EuroChangeoverDate = QDate(2024, 2, 1);
    g.setPeriod(QDate(2024, 3, 1), QDate(2024, 3, 31));
    PolniTemp(g.ctx);
    EXPECT_EQ(num(g.detailRow(100, 11), "K31"), 100);
    EXPECT_FALSE(QFile::exists(g.folder() + QStringLiteral("_31dog.sql")));
}

TEST_F(PolniTempTest, FlowsWithTheirExclusions) {
    f.load(QStringLiteral("flows"));
    struct Case {
        const char* name;
        const char* clientId;
        bool euroPeriod;
        const char* sfdog;
        const char* idpog;
        double k32, k34, k35, k39;
    };
    const Case cases[] = {
        // issue purchase 10 x 100 on the primary market; purchases 5 x 20 / 2 + 3 x 10 + 4 x 10 / TCJTVL 2;
        // the order marked 'N' and the April settlement are not counted; commission 50 x 1% = 0.5 -> 1
        {"euro period", "", true, "", "", 1000, 100, 70, 1},
        {"document type excluded", "", true, "'PRE'", "", 1000, 70, 70, 1},
        {"contract excluded", "", true, "", "1000", 1000, 0, 0, 0},
        // before the euro period amounts are multiplied by TCJVLT: 5 x 20 x 2 + 30 + 40; commission 200 x 1%
        {"before the euro period", "", false, "", "", 1000, 270, 70, 2},
        // ZOZE adds the order costs (3 x 2) to the commission; trades on orders without costs still count
        {"ZOZE", "ZOZE", true, "", "", 1000, 100, 70, 7},
        {"VERUVI", "VERUVI", true, "", "", 1000, 100, 70, 1},
    };
    qint32 idPor = 0;
    for (const Case& c : cases) {
        f.state.IdPor = ++idPor;
        f.state.ClientId = QLatin1String(c.clientId);
        f.state.EuroPeriod = c.euroPeriod;
        f.state.SfdogExclusionList = QLatin1String(c.sfdog);
        f.state.IdpogExclusionList = QLatin1String(c.idpog);
        PolniTemp(f.ctx);
        const QVariantMap row = f.detailRow(100, 11, idPor);
        ASSERT_FALSE(row.isEmpty()) << c.name;
        EXPECT_EQ(num(row, "K32"), c.k32) << c.name;
        EXPECT_EQ(num(row, "K34"), c.k34) << c.name;
        EXPECT_EQ(num(row, "K35"), c.k35) << c.name;
        EXPECT_EQ(num(row, "K39"), c.k39) << c.name;
        EXPECT_EQ(num(row, "K33"), 0) << c.name;
    }
}

TEST_F(PolniTempTest, MaturitiesInTheWindowFromMonthStartOnlyForPercentSecurities) {
    f.load(QStringLiteral("maturity"));
    // The repayment on 5 March lies before PeriodFrom but in its month.
    f.setPeriod(QDate(2024, 3, 10), QDate(2024, 3, 31));
    for (const bool oracle : {true, false}) {
        f.state.DbOracle = oracle;
        f.state.IdPor = oracle ? 1 : 2;
        f.exec(QStringLiteral("UPDATE SFVP SET SFGLVENT='K' WHERE SFVP=16")); // the rate-less one checked below
        PolniTemp(f.ctx);
        EXPECT_EQ(num(f.detailRow(100, 14, f.state.IdPor), "K33"), 42) << "0.5 x 100 / 1.2, oracle " << oracle;
        EXPECT_EQ(num(f.detailRow(100, 15, f.state.IdPor), "K33"), 0) << "not in percent, oracle " << oracle;
        EXPECT_EQ(num(f.detailRow(100, 16, f.state.IdPor), "K33"), 0);
    }
    // A repayment outside the window (after PeriodTo) does not count.
    f.setPeriod(QDate(2024, 3, 1), QDate(2024, 3, 4));
    f.state.IdPor = 3;
    PolniTemp(f.ctx);
    EXPECT_EQ(num(f.detailRow(100, 14, 3), "K33"), 0);
}

TEST_F(PolniTempTest, Db2MaturityWithoutARateStopsTheRun) {
    f.load(QStringLiteral("maturity"));
    f.state.DbOracle = false;
    try {
        PolniTemp(f.ctx);
        FAIL() << "the run went on";
    } catch (const MissingRate& e) {
        const QString message = QString::fromStdString(e.what());
        EXPECT_TRUE(message.contains(QLatin1String("16"))) << e.what();
        EXPECT_TRUE(message.contains(QLatin1String("01.03.2024 - 31.03.2024"))) << e.what();
    }
    EXPECT_TRUE(f.op.failedStatements.last().contains(QLatin1String("TECAJ")));
}

TEST_F(PolniTempTest, VeruviClassifiesByIsinAndStatusAndValuesClientsWithoutStatus) {
    f.load(QStringLiteral("veruvi"));
    f.state.ClientId = QStringLiteral("VERUVI");
    PolniTemp(f.ctx);
    QList<QVariantMap> rows = f.detailRows();
    auto find = [&](int client, int quantity) {
        for (const QVariantMap& r : rows)
            if (r.value(QStringLiteral("SFOSB")).toInt() == client && num(r, "K311") == quantity) return r;
        return QVariantMap();
    };
    const QVariantMap status50838 = find(103, 2);
    EXPECT_EQ(txt(status50838, "OBLIKA"), "SNR") << "status V counts as home market";
    EXPECT_EQ(txt(status50838, "K313"), "DE");
    EXPECT_EQ(num(status50838, "K37"), 20);
    EXPECT_TRUE(find(103, 3).isEmpty()) << "status V outside contract 50838";
    EXPECT_TRUE(find(104, 4).isEmpty()) << "status S outside contract 50838";
    const QVariantMap noStatus = find(105, 5);
    EXPECT_EQ(txt(noStatus, "OBLIKA"), "TNR");
    EXPECT_EQ(num(noStatus, "K37"), 50) << "a client without a status is valued";
    EXPECT_TRUE(f.detailRow(100, 12).isEmpty()) << "an ISIN beginning with si is domestic";
}

TEST_F(PolniTempTest, ZozeAsksAboutClientsWithoutSectorBeforeWritingAnything) {
    f.load(QStringLiteral("unsectored"));
    f.state.ClientId = QStringLiteral("ZOZE");
    f.op.answers = {false, false};
    EXPECT_EQ(PolniTemp(f.ctx), -1);
    EXPECT_EQ(f.state.UnsectoredPersons, (QList<qint32>{106, 107}));
    EXPECT_TRUE(f.detailRows().isEmpty());
    EXPECT_FALSE(f.op.terminationRequested);

    f.op.answers = {true};
    EXPECT_EQ(PolniTemp(f.ctx), 4);
    EXPECT_EQ(f.detailRows().size(), 4);

    f.state.ClientId.clear();
    f.op.questions.clear();
    PolniTemp(f.ctx);
    EXPECT_TRUE(f.op.questions.isEmpty()) << "only ZOZE asks";
    EXPECT_TRUE(f.state.UnsectoredPersons.isEmpty());
}

TEST_F(PolniTempTest, ARunReplacesRowsLeftUnderItsNumberAndANewNumberStartsCtrlAgain) {
    f.load(QStringLiteral("formcode"));
    f.exec(QStringLiteral("INSERT INTO TEMP_TEVRA1 (IDPOR, CTRL, SFOSB, SFVP) VALUES (1, 1, 100, 11), (1, 2, 999, 99)"));
    const int first = PolniTemp(f.ctx);
    EXPECT_EQ(f.detailRows(1).size(), first);
    EXPECT_TRUE(f.detailRow(999, 99).isEmpty());

    f.exec(QStringLiteral("INSERT INTO TEMP_TEVRA (IDPOR) VALUES (1)"));
    f.state.IdPor = 2;
    EXPECT_EQ(PolniTemp(f.ctx), first);
    EXPECT_EQ(f.detailRows(1).size(), first) << "the earlier report stays";
    const QList<QVariantMap> second = f.detailRows(2);
    ASSERT_EQ(second.size(), first);
    EXPECT_EQ(second.first().value(QStringLiteral("CTRL")).toInt(), 1);
    EXPECT_EQ(second.last().value(QStringLiteral("CTRL")).toInt(), first);
}

TEST_F(PolniTempTest, ProgressTextsAndTraceFiles) {
    f.load(QStringLiteral("labels"));
    f.state.EuroChangeoverDate = QDate(2025, 1, 1);
    ASSERT_EQ(PolniTemp(f.ctx), 1);
    const QStringList expected = {QStringLiteral("Stanje+promet .."), QStringLiteral("Polni temp "),
                                  QStringLiteral("3.1  1-/-1"),       QStringLiteral("3.2  1 / 1"),
                                  QStringLiteral("3.3  1 / 1"),       QStringLiteral("3.4  1 / 1"),
                                  QStringLiteral("3.5  1 / 1"),       QStringLiteral("3.7  1 / 1"),
                                  QStringLiteral("V temp  1")};
    EXPECT_EQ(f.op.progress, expected);
    EXPECT_EQ(f.state.ProgressTotal, 1);
    for (const char* name : {"_stanje.sql", "_tecaj.sql", "_31.sql", "_32.sql", "_33.sql", "_34.sql", "_35.sql", "_37.sql"}) {
        QFile file(f.folder() + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        const QByteArray content = file.readAll();
        EXPECT_TRUE(content.startsWith("SELECT")) << name;
        EXPECT_TRUE(content.endsWith("\r\n")) << name;
        EXPECT_EQ(content.count('\n'), 1) << name;
    }
    QFile selection(f.folder() + QStringLiteral("_stanje.sql"));
    ASSERT_TRUE(selection.open(QIODevice::ReadOnly));
    EXPECT_TRUE(selection.readAll().contains("UNION ALL"));
}

TEST_F(PolniTempTest, AnEmptySelectionWritesNothing) {
    EXPECT_EQ(PolniTemp(f.ctx), 0);
    EXPECT_EQ(f.state.ProgressTotal, 0);
}

TEST_F(PolniTempTest, AFailingSelectionShowsItsStatementAndPutsItIntoTheMemo) {
    f.exec(QStringLiteral("DROP TABLE KTC"));
    EXPECT_THROW(PolniTemp(f.ctx), store::SqlError);
    ASSERT_EQ(f.op.failedStatements.size(), 1);
    EXPECT_TRUE(f.op.failedStatements.first().startsWith(QLatin1String("SELECT A.SfOsb,")));
    EXPECT_TRUE(f.op.messages.contains(f.op.failedStatements.first()));
    EXPECT_FALSE(f.op.messages.contains(QStringLiteral("Napaka pri dodajanju v tabelo TEMP_TEVRA")));
}

TEST_F(PolniTempTest, AFailingFlowStatementNamesItsStepAndKeepsEarlierRows) {
    f.load(QStringLiteral("formcode"));
    f.exec(QStringLiteral("DROP TABLE PSL"));
    EXPECT_THROW(PolniTemp(f.ctx), store::SqlError);
    ASSERT_GE(f.op.messages.size(), 3);
    EXPECT_TRUE(f.op.messages[0].startsWith(QStringLiteral("3.4") + QChar(13) + QStringLiteral("SELECT")));
    EXPECT_EQ(f.op.messages[1], "Napaka pri dodajanju v tabelo TEMP_TEVRA");
    EXPECT_EQ(f.op.failedStatements.size(), 1);
    EXPECT_TRUE(f.detailRows().isEmpty()) << "the row being filled is not posted";
}

} // namespace
