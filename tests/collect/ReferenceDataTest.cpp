#include "CollectFixture.h"

#include "aggregate/ReporterIdentity.h"
#include "collect/ReferenceData.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(ClientIdTest, FifteenTestsInTheirOrder) {
    struct Case {
        const char* value;
        const char* mts;
        const char* clientId;
    };
    const Case cases[] = {
        {"zoze banka", "", "ZOZE"},
        {"DIREVE banka", "", "FB"},
        {"zezeduzava banka", "", "ZEZEDUZAVA"},
        {"zi zud", "", "MP"},
        {"zove vavuravi zidiz", "", "ZOV"}, // test 5 holds, but "ZOVE" also satisfies the later test 13
        {"veruvi", "", "VERUVI"},
        {"", "5026024", "VERUVI"},
        {"zov d.d.", "", "ZOV"},
        {"ziroraz", "", "ZOV"},
        {"Ziroraz banka", "", "ZOV"},
        {"\u017eiroraz", "", ""}, // ž is not upper-cased, so neither test 9 nor 10 holds
        {"banka vedazu", "", "BK"},
        {"", "5092221", "BK"},
        {"vedo d.d.", "", "VEDO"},
        {"bk", "", "BK"},
        {"nova kbm", "", ""},
        {"veruvi bk", "", "BK"},
        {"zoze", "5026024", "VERUVI"},
        {"", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(clientIdFor(QString::fromUtf8(c.value), QLatin1String(c.mts)), QLatin1String(c.clientId))
            << c.value << " / " << c.mts;
}

class ReferenceDataTest : public testing::Test {
protected:
    CollectFixture f;
};

TEST_F(ReferenceDataTest, ActivityCodesForNoneThreeAndFiveCodes) {
    struct Case {
        const char* rows;
        QStringList codes;
    };
    const Case cases[] = {
        {"('W', 'Skrbniški')", {}},
        {"('L', 'Lastni  '), ('U', ' Upravljanje'), ('X', 'Posredovanje'), ('W', 'Skrbniški')", {"L", "U", "X"}},
        {"('L', 'a'), ('N', 'b'), ('U', 'c'), ('C', 'd'), ('X', 'e')", {"C", "L", "N", "U", "X"}},
    };
    for (const Case& c : cases) {
        f.exec(QStringLiteral("DELETE FROM DJV"));
        f.exec(QStringLiteral("INSERT INTO DJV (SFDJV, NZV) VALUES ") + QLatin1String(c.rows));
        BeriDejavnosti(f.ctx);
        EXPECT_EQ(f.state.ActivityCodes, c.codes);
        EXPECT_EQ(f.state.ActivityNames.size(), c.codes.size());
        EXPECT_EQ(f.state.InstitutionName, "Banka");
        const QList<bool> allTicked(5, true);
        QString expected = QStringLiteral(" 'W' ");
        for (const QString& code : c.codes) expected += QStringLiteral(", '") + code + QStringLiteral("' ");
        EXPECT_EQ(buildSfdjvList(f.state.ActivityCodes, allTicked), expected);
    }
    EXPECT_EQ(f.state.ActivityNames.value(0), "d") << "names follow their codes";
}

TEST_F(ReferenceDataTest, ActivityNamesAreTrimmed) {
    f.exec(QStringLiteral("INSERT INTO DJV (SFDJV, NZV) VALUES ('U', '  Upravljanje  ')"));
    BeriDejavnosti(f.ctx);
    EXPECT_EQ(f.state.ActivityNames, QStringList{QStringLiteral("Upravljanje")});
}

TEST_F(ReferenceDataTest, EuroChangeoverWithAndWithoutRow) {
    EXPECT_TRUE(Euroobd(f.ctx, QDate(2007, 1, 1))) << "the changeover day itself";
    EXPECT_FALSE(Euroobd(f.ctx, QDate(2006, 12, 31)));
    EXPECT_EQ(f.state.EuroChangeoverDate, QDate(2007, 1, 1));
    f.exec(QStringLiteral("DELETE FROM EUROOBD"));
    EXPECT_TRUE(Euroobd(f.ctx, QDate(1990, 1, 1))) << "without a row every date is in the euro period";
}

TEST_F(ReferenceDataTest, SecurityLabelsEndingInS) {
    f.exec(QStringLiteral("INSERT INTO SFVP (SFVP, KRT) VALUES (31, 'ABC_S'), (32, 'X_S'), (33, '_S'), (34, 'ABC')"));
    struct Case {
        int security;
        bool withoutS;
        const char* label;
        const char* stripped;
    };
    const Case cases[] = {{31, false, "ABC_S", "ABC"}, {32, false, "X_S", "X"}, {33, true, "_S", "_S"},
                          {34, true, "ABC", "ABC"},    {99, true, "", ""}};
    for (const Case& c : cases) {
        EXPECT_EQ(SFVPBREZ_S(f.ctx, c.security), c.withoutS) << c.security;
        EXPECT_EQ(BREZ_S(QLatin1String(c.label)), QLatin1String(c.stripped)) << c.label;
    }
}

TEST_F(ReferenceDataTest, DocumentTypeListTakesTrimmedLiteralsAndReportsOtherLines) {
    QFile file(f.folder() + QStringLiteral("PREKNJIZBE.CONF"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("  'A'  \r\n\r\n'B'\r\n12\r\n'C') OR (1=1\r\n");
    file.close();
    QList<ListFileProblem> problems;
    EXPECT_EQ(BeriSfdoge(f.folder(), &problems), "'A','B',12");
    ASSERT_EQ(problems.size(), 1);
    EXPECT_EQ(problems.first().line, 5);
    EXPECT_EQ(BeriSfdoge(f.folder() + QStringLiteral("none/"), nullptr), "");
}

TEST_F(ReferenceDataTest, ReporterIdentityAndCountryTable) {
    f.exec(QStringLiteral("INSERT INTO INISET (KLJUC, VREDNOST) VALUES ('RW_ClientId', 'zoze banka')"));
    QStringList countries;
    for (int i = 0; i < 320; ++i) countries.append(QStringLiteral("('C%1', 'K%1')").arg(i));
    f.exec(QStringLiteral("INSERT INTO DRZ (SFDRZ, KRT) VALUES ") + countries.join(u','));
    PomoznaPolja(f.ctx);
    EXPECT_EQ(f.state.ReporterRegNo, " 5000001");
    EXPECT_EQ(f.state.ClientId, "ZOZE");
    EXPECT_EQ(f.state.CountryTable.size(), 322) << "no cut at 300";
    EXPECT_EQ(NazivDrzave(f.state, QStringLiteral("C310")), "K310");
    EXPECT_EQ(NazivDrzave(f.state, QStringLiteral("XX")), "XX");
}

} // namespace
