#include "ReportHarness.h"
#include "aggregate/GroupingStatements.h"
#include "aggregate/ReportSteps.h"

#include <QFile>

namespace {

QString fileText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

/// Two clients with the same form, country, market country and security: whether their positions
/// become one report row (per sector) or two (per client) depends on the sector and on ClientId.
TEST(GrupirajTemp, SectorFamiliesAndClientIdDecideWhatIsOneRow) {
    const struct {
        const char* clientId;
        QVariant sector;
        int rows;
        QStringList k16; ///< in order of CTRL
    } cases[] = {
        {"VEDO", QStringLiteral("S.1311"), 1, {"Zupan d.o.o."}},
        {"ZOZE", QStringLiteral("S.1311"), 2, {"Adamič d.d.", "Zupan d.o.o."}},
        {"", QStringLiteral("S.13"), 2, {"Adamič d.d.", "Zupan d.o.o."}},
        {"FB", QStringLiteral("S.131"), 1, {"Zupan d.o.o."}},
        {"FB", QStringLiteral("S.11001"), 2, {"Adamič d.d.", "Zupan d.o.o."}},
        {"MP", QStringLiteral("S.1411"), 1, {"Zupan d.o.o."}},
        // Clients without a sector are reported per client, with the other clients.
        {"VEDO", QVariant(), 2, {"Adamič d.d.", "Zupan d.o.o."}},
        {"", QVariant(), 2, {"Adamič d.d.", "Zupan d.o.o."}},
    };
    for (const auto& c : cases) {
        ReportHarness h;
        h.state.ClientId = QString::fromUtf8(c.clientId);
        Detail a;
        a.sfosb = 201, a.sektor = c.sector, a.k16 = QStringLiteral("Adamič d.d."), a.k37 = 10;
        Detail b;
        b.sfosb = 202, b.sektor = c.sector, b.k16 = QStringLiteral("Zupan d.o.o."), b.k37 = 20;
        h.addDetails({a, b});
        GrupirajTemp(h.ctx);
        const auto rows = h.reportRows();
        const std::string label = std::string(c.clientId) + " " + c.sector.toString().toStdString();
        ASSERT_EQ(rows.size(), c.rows) << label;
        for (int i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i]["K16"].toString(), c.k16[i]) << label;
        double total = 0;
        for (const auto& r : rows) total += r["K37"].toDouble();
        EXPECT_EQ(total, 30) << label;
        EXPECT_TRUE(h.op.messages.isEmpty()) << label;
    }
}

TEST(GrupirajTemp, ScalesFlowsBeforeTheChangeoverAndSumsOrTakesTheHighestInterest) {
    const struct {
        bool euro;
        double k31a, k31b;
        double k31;
    } cases[] = {{false, 100, 150, 1}, {false, -100, -150, -1}, {false, 100, -100, 0},
                 {false, 2000, 500, 2}, {false, 2000, 1500, 4}, {true, 2000, 500, 2500}};
    for (const auto& c : cases) {
        for (const QVariant& sector : {QVariant(QStringLiteral("S.14")), QVariant(QStringLiteral("S.11001"))}) {
            ReportHarness h;
            h.state.EuroPeriod = c.euro;
            Detail a;
            a.sektor = sector, a.k31 = c.k31a, a.k32 = c.k31a, a.k310 = 700, a.k311 = 1500, a.zaclot = 2500;
            Detail b = a;
            b.k31 = c.k31b, b.k32 = c.k31b, b.k310 = 800;
            h.addDetails({a, b});
            GrupirajTemp(h.ctx);
            const auto rows = h.reportRows();
            ASSERT_EQ(rows.size(), 1);
            const bool sectorGroup = sector.toString() == QLatin1String("S.14");
            EXPECT_EQ(rows[0]["K31"].toDouble(), c.k31) << c.k31a << " " << c.k31b;
            EXPECT_EQ(rows[0]["K32"].toDouble(), c.k31) << c.k31a << " " << c.k31b;
            EXPECT_EQ(rows[0]["K310"].toDouble(), sectorGroup ? 1500 : 800);
            EXPECT_EQ(rows[0]["K311"].toDouble(), 3000);
            EXPECT_EQ(rows[0]["ZACLOT"].toDouble(), 5000);
        }
    }
}

TEST(GrupirajTemp, WritesTheGroupKeysCountryCodeAndNormalisedName) {
    ReportHarness h;
    Detail household;
    household.sfosb = 205, household.sektor = QStringLiteral("S.1411"), household.k15 = QStringLiteral("HR");
    household.k16 = QStringLiteral("S.1411"), household.oblika = QStringLiteral("TNR"), household.k37 = 5;
    Detail company;
    company.k15 = QStringLiteral("DE"), company.oblika = QStringLiteral("SNN"), company.k37 = 7;
    company.k313 = QStringLiteral("A");
    Detail noForm;
    noForm.oblika = QVariant(), noForm.k37 = 9;
    h.addDetails({household, company, noForm});
    GrupirajTemp(h.ctx);
    const auto rows = h.reportRows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0]["K16"].toString(), "S.14");
    EXPECT_EQ(rows[0]["SFDRZ"].toString(), "H");
    EXPECT_EQ(rows[0]["K15"].toString(), "HR");
    EXPECT_EQ(rows[0]["SEKTORIZACIJA"].toString(), "S.1411");
    EXPECT_EQ(rows[0]["OBLIKA"].toString(), "TNR");
    EXPECT_EQ(rows[0]["CTRL"].toInt(), 1);
    EXPECT_EQ(rows[1]["SFDRZ"].toString(), "D");
    EXPECT_EQ(rows[1]["K313"].toString(), "A");
    EXPECT_EQ(rows[1]["K14"].toString(), "SNN");
    EXPECT_EQ(rows[1]["K12"].toString(), " 1234567");
    EXPECT_EQ(rows[1]["SFOSB"].toInt(), 202);
    EXPECT_EQ(rows[1]["DATUM"].toString().left(19), "2024-03-31 10:00:00");
}

TEST(GrupirajTemp, RegroupingRebuildsOnlyItsOwnReport) {
    ReportHarness h;
    Detail earlier;
    earlier.idpor = 0, earlier.k37 = 3;
    Detail mine;
    mine.k37 = 4;
    h.addDetails({earlier});
    h.state.IdPor = 0;
    GrupirajTemp(h.ctx);
    h.addDetails({mine});
    h.state.IdPor = 1;
    GrupirajTemp(h.ctx);
    GrupirajTemp(h.ctx);
    ASSERT_EQ(h.reportRows(1).size(), 1);
    ASSERT_EQ(h.reportRows(0).size(), 1);
    EXPECT_EQ(h.reportRows(0)[0]["K37"].toDouble(), 3);
    EXPECT_EQ(fileText(h.state.ProgramFolder + "_grupira1.sql"),
              grouping::clientGroupRows(1, false) + QStringLiteral("\r\n"));
    EXPECT_EQ(h.op.progress, QStringList({"Grupiranje 'S.14, S.15' ", "Grupiranje ostalo", "Grupiranje 'S.14, S.15' ",
                                          "Grupiranje ostalo", "Grupiranje 'S.14, S.15' ", "Grupiranje ostalo"}));
}

TEST(GrupirajTemp, AClientRowThatCannotBeStoredIsLeftOutWithItsMessage) {
    ReportHarness h;
    h.exec(QStringLiteral("CREATE TRIGGER REFUSE BEFORE INSERT ON TEMP_TEVRA WHEN NEW.K25='BAD' "
                          "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    Detail household;
    household.sektor = QStringLiteral("S.14"), household.k37 = 1;
    Detail bad;
    bad.k25 = QStringLiteral("BAD"), bad.k37 = 2;
    Detail good;
    good.k25 = QStringLiteral("GOOD"), good.k37 = 3;
    h.addDetails({household, bad, good});
    GrupirajTemp(h.ctx);
    const auto rows = h.reportRows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1]["K25"].toString(), "GOOD");
    // The sector row is the first; the refused group is the second or third of the client pass.
    ASSERT_EQ(h.op.messages.size(), 1);
    EXPECT_TRUE(h.op.messages[0] == QStringLiteral("napaka pri insertiranju v temp_tevra!2\r") ||
                h.op.messages[0] == QStringLiteral("napaka pri insertiranju v temp_tevra!3\r"))
        << h.op.messages[0].toStdString();
}

TEST(GrupirajTemp, ASectorRowThatCannotBeStoredStopsTheStepWithItsStatement) {
    ReportHarness h;
    h.exec(QStringLiteral("CREATE TRIGGER REFUSE BEFORE INSERT ON TEMP_TEVRA WHEN NEW.K25='BAD' "
                          "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    Detail bad;
    bad.sektor = QStringLiteral("S.15"), bad.k25 = QStringLiteral("BAD"), bad.k37 = 2;
    h.addDetails({bad});
    EXPECT_THROW(GrupirajTemp(h.ctx), store::SqlError);
    const QString statement = grouping::sectorGroupRows(1, false);
    EXPECT_EQ(h.op.messages, QStringList{statement});
    EXPECT_EQ(h.op.failedStatements, QStringList{statement});
}

} // namespace
