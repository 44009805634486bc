#include "FixtureDb.h"
#include "HoldingsSelection.h"

#include "demo/DemoBackOffice.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

namespace {

// The data is built around 10 March 2025: the proposed period is February 2025, the euro
// changeover is 1 September 2024.
const QDate kToday(2025, 3, 10);
const QString kPriorClose = "2025-01-31 00:00:00";
const QString kPeriodStart = "2025-02-01 00:00:00";
const QString kPeriodEnd = "2025-02-28 00:00:00";

demo::GeneratorOptions options(quint32 seed = 1, int scale = 1) {
    demo::GeneratorOptions o;
    o.seed = seed;
    o.scale = scale;
    o.today = kToday;
    return o;
}

const char* const kBackOfficeTables[] = {"DJV", "DRZ", "OSB",  "EUROOBD", "VLT", "VLN",
                                         "FIN", "TRG", "SFVP", "KTC",     "POG", "OBD",
                                         "PSL", "STO", "DOG",  "VPSHST",  "KPN", "INISET"};

QByteArray contentDigest(QSqlDatabase& db) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const char* table : kBackOfficeTables) {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        EXPECT_TRUE(q.exec(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table)));
        hash.addData(QByteArray(table));
        while (q.next())
            for (int i = 0; i < q.record().count(); ++i)
                hash.addData((q.value(i).toString() + QLatin1Char('|')).toUtf8());
    }
    return hash.result();
}

QVariant scalar(QSqlDatabase& db, const QString& sql, const QVariantMap& bind = {}) {
    QSqlQuery q(db);
    EXPECT_TRUE(q.prepare(sql)) << q.lastError().text().toStdString() << "\n" << sql.toStdString();
    for (auto it = bind.begin(); it != bind.end(); ++it)
        q.bindValue(it.key(), it.value());
    EXPECT_TRUE(q.exec()) << q.lastError().text().toStdString() << "\n" << sql.toStdString();
    return q.next() ? q.value(0) : QVariant();
}

int count(QSqlDatabase& db, const QString& sql, const QVariantMap& bind = {}) {
    return scalar(db, sql, bind).toInt();
}

TEST(DemoGenerator, SameSeedGivesTheSameDataAnotherSeedOtherData) {
    FixtureDb first, second, other;
    ASSERT_TRUE(first.generateDemoData(options(7)));
    ASSERT_TRUE(second.generateDemoData(options(7)));
    ASSERT_TRUE(other.generateDemoData(options(8)));
    TestConnection a(first.path()), b(second.path()), c(other.path());
    const QByteArray digest = contentDigest(a.db());
    EXPECT_EQ(contentDigest(b.db()), digest);
    EXPECT_NE(contentDigest(c.db()), digest);
}

TEST(DemoGenerator, ScaleMultipliesClientsAndContractsButNotSecuritiesOrMonths) {
    FixtureDb small, large;
    demo::GeneratorStats one, three;
    ASSERT_TRUE(small.generateDemoData(options(1, 1), &one));
    ASSERT_TRUE(large.generateDemoData(options(1, 3), &three));
    EXPECT_EQ(three.securities, one.securities);
    EXPECT_GT(three.persons, 2 * one.persons);
    EXPECT_GT(three.contracts, 2 * one.contracts);
    EXPECT_GT(three.holdings, 2 * one.holdings);
    EXPECT_GT(three.trades, 2 * one.trades);
    TestConnection a(small.path()), b(large.path());
    const QString days = "SELECT COUNT(DISTINCT DAN) || MIN(DAN) || MAX(DAN) FROM VPSHST";
    EXPECT_EQ(scalar(a.db(), days), scalar(b.db(), days));
    EXPECT_EQ(count(a.db(), "SELECT COUNT(*) FROM OSB"), one.persons);
    EXPECT_EQ(count(b.db(), "SELECT COUNT(*) FROM VPSHST"), three.holdings);
}

TEST(DemoGenerator, RejectsBadOptionsAndLeavesTheTablesEmpty) {
    FixtureDb fixture;
    TestConnection c(fixture.path());
    QString error;
    demo::GeneratorOptions bad = options();
    bad.scale = 0;
    EXPECT_FALSE(demo::generate(c.db(), bad, nullptr, &error));
    EXPECT_TRUE(error.contains("scale")) << error.toStdString();
    bad = options();
    bad.today = QDate();
    EXPECT_FALSE(demo::generate(c.db(), bad, nullptr, &error));
    EXPECT_EQ(count(c.db(), "SELECT COUNT(*) FROM OSB"), 0);
}

TEST(DemoGenerator, FailureHalfWayRollsEverythingBack) {
    FixtureDb fixture;
    ASSERT_TRUE(fixture.generateDemoData(options()));
    TestConnection c(fixture.path());
    const QByteArray before = contentDigest(c.db());
    QString error;
    // A second run collides with the keys of the first one part of the way through.
    EXPECT_FALSE(demo::generate(c.db(), options(2), nullptr, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(contentDigest(c.db()), before);
}

/// One generated database shared by the tests of what the report finds in it.
class DemoData : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_fixture = new FixtureDb;
        s_fixture->generateDemoData(options());
    }
    static void TearDownTestSuite() {
        delete s_fixture;
        s_fixture = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(s_fixture->ok()) << s_fixture->error().toStdString();
        m_connection = std::make_unique<TestConnection>(s_fixture->path());
    }
    QSqlDatabase& db() { return m_connection->db(); }

    /// The FormCode of every selection row of the proposed period, by activity.
    struct SelectionRow {
        int client;
        QString sector;
        bool sectorNull;
        QString form;
        int contract;
    };
    std::vector<SelectionRow> selection(const QString& activities) {
        QSqlQuery q(db());
        EXPECT_TRUE(q.prepare(holdingsSelection(activities)));
        q.bindValue(":DAN30", kPriorClose);
        q.bindValue(":DANDO", kPeriodEnd);
        EXPECT_TRUE(q.exec()) << q.lastError().text().toStdString();
        std::vector<SelectionRow> rows;
        auto home = [](const QString& country) { return country.trimmed().isEmpty() || country == "S"; };
        while (q.next()) {
            const bool client = home(q.value("DSTRANKE").toString());
            const bool issuer = q.value("DIZDAJATELJA").toString() == "S";
            const bool market = home(q.value("SFDRZTRG").toString());
            const QString form = QString(market ? 'S' : 'T') + (issuer ? 'R' : 'N') + (client ? 'R' : 'N');
            rows.push_back({q.value("SFOSB").toInt(), q.value("SEKTORIZACIJA").toString(),
                            q.value("SEKTORIZACIJA").isNull(), form, q.value("IDPOG").toInt()});
        }
        return rows;
    }

    static FixtureDb* s_fixture;
    std::unique_ptr<TestConnection> m_connection;
};

FixtureDb* DemoData::s_fixture = nullptr;

TEST_F(DemoData, HoldingsOnEveryMonthEndAndOnTheChangeoverDay) {
    const QDate changeover = demo::euroChangeoverFor(kToday);
    EXPECT_EQ(changeover, QDate(2024, 9, 1));
    EXPECT_EQ(scalar(db(), "SELECT DANOD FROM EUROOBD WHERE OZNAKA = 'ES' ").toString(),
              "2024-09-01 00:00:00");
    std::vector<QDate> days = {changeover, changeover.addDays(-1)};
    for (QDate m(2023, 11, 1); m <= QDate(2025, 4, 1); m = m.addMonths(1))
        days.push_back(QDate(m.year(), m.month(), m.daysInMonth()));
    for (const QDate& day : days)
        EXPECT_GT(count(db(), "SELECT COUNT(*) FROM VPSHST WHERE DAN = :DAN AND LOT0 <> 0",
                        {{":DAN", day.toString("yyyy-MM-dd 00:00:00")}}),
                  0)
            << day.toString(Qt::ISODate).toStdString();
}

TEST_F(DemoData, ProposedPeriodHasEveryFormAndTheExcludedOnes) {
    std::set<QString> forms;
    for (const SelectionRow& row : selection("'W', 'L', 'N', 'U', 'C', 'X'"))
        forms.insert(row.form);
    EXPECT_EQ(forms, (std::set<QString>{"TNR", "TRN", "TRR", "SRN", "SNR", "SNN", "SRR", "TNN"}));
}

TEST_F(DemoData, ProposedPeriodHasEveryActivityClientsWithoutSectorAndTheInstitution) {
    const auto rows = selection("'W', 'L', 'N', 'U', 'C', 'X'");
    std::set<QString> activities;
    bool nullSector = false, blankSector = false, institution = false;
    for (const SelectionRow& row : rows) {
        activities.insert(
            scalar(db(), "SELECT SFDJV FROM POG WHERE IDPOG = :ID", {{":ID", row.contract}}).toString());
        nullSector |= row.sectorNull;
        blankSector |= !row.sectorNull && row.sector.trimmed().isEmpty();
        institution |= row.client == 2;
    }
    EXPECT_EQ(activities, (std::set<QString>{"W", "L", "N", "U", "C", "X"}));
    EXPECT_TRUE(nullSector);
    EXPECT_TRUE(blankSector);
    EXPECT_TRUE(institution);
    // 'W' is always in the list: the selection still finds rows without any other activity.
    EXPECT_FALSE(selection("'W'").empty());
}

TEST_F(DemoData, SectorFamiliesOfTheGroupingOccur) {
    for (const char* family :
         {"S.11", "S.11001", "S.12%", "S.13", "S.131%", "S.14%", "S.15%", "S.2%", "S.94%"})
        EXPECT_GT(
            count(db(),
                  "SELECT COUNT(*) FROM OSB O, POG P, VPSHST Z WHERE O.SFOSB = P.SFOSB AND P.IDPOG = Z.IDPOG "
                  "AND Z.DAN = :DAN AND O.SEKTORIZACIJA LIKE :FAMILY",
                  {{":DAN", kPeriodEnd}, {":FAMILY", family}}),
            0)
            << family;
}

TEST_F(DemoData, ProposedPeriodHasEveryKindOfMovement) {
    const QString settled = "SELECT COUNT(*) FROM DOG D, TRG T WHERE D.SFTRG = T.SFTRG AND D.ZPD >= :FROM "
                            "AND D.ZPD <= :TO AND D.SFPDG = :KIND";
    QVariantMap period = {{":FROM", kPeriodStart}, {":TO", kPeriodEnd}};
    for (const char* kind : {"N", "B", "P", "b", "{"}) {
        period[":KIND"] = kind;
        EXPECT_GT(count(db(), settled, period), 0) << kind;
    }
    period.remove(":KIND");
    EXPECT_GT(count(db(), settled + " AND T.SFTRZ = '1'",
                    {{":FROM", kPeriodStart}, {":TO", kPeriodEnd}, {":KIND", "A"}}),
              0)
        << "issue purchases";
    EXPECT_GT(count(db(),
                    "SELECT COUNT(*) FROM DOG D, TRG T WHERE D.SFTRG = T.SFTRG AND T.SFTRZ IS NULL "
                    "AND D.ZPD >= :FROM AND D.ZPD <= :TO AND D.SFPDG IN ('A', 'N', 'B')",
                    period),
              0)
        << "purchases on a market without a kind";
    for (const char* income : {"=", "@"})
        EXPECT_GT(count(db(), "SELECT COUNT(*) FROM DOG WHERE ZPD >= :FROM AND ZPD <= :TO AND SFPDG = :KIND",
                        {{":FROM", kPeriodStart}, {":TO", kPeriodEnd}, {":KIND", income}}),
                  0)
            << income;
    EXPECT_GT(count(db(),
                    "SELECT COUNT(*) FROM KPN WHERE PRVDAN >= :FROM AND ZDNDAN <= :TO AND OBROBRBRT > 0",
                    period),
              0)
        << "dividends";
    EXPECT_GT(count(db(),
                    "SELECT COUNT(*) FROM KPN K, SFVP S WHERE K.SFVP = S.SFVP AND S.SFGLVENT = '%' "
                    "AND K.GLVOBR > 0 AND K.ZDNDAN >= :FROM AND K.ZDNDAN <= :TO",
                    period),
              0)
        << "repayments";
    EXPECT_GT(count(db(), "SELECT COUNT(*) FROM DOG D, PSL L WHERE D.IDPSL = L.IDPSL AND L.PTFVP = 'N'"), 0);
    EXPECT_GT(
        count(db(),
              "SELECT COUNT(*) FROM DOG D, STO S WHERE D.IDPSL = S.IDPSL AND D.ZPD >= :FROM AND D.ZPD <= :TO",
              period),
        0);
}

TEST_F(DemoData, TradesStraddleTheChangeover) {
    EXPECT_GT(count(db(), "SELECT COUNT(*) FROM DOG WHERE DAN < '2024-09-01' AND ZPD >= '2024-09-01' "
                          "AND SFPDG IN ('P', 'N', 'A', 'a')"),
              0);
    EXPECT_GT(
        count(db(),
              "SELECT COUNT(*) FROM DOG WHERE DAN < '2024-09-01' AND ZPD >= '2024-09-01' AND TCJTVL <> 1"),
        0);
}

TEST_F(DemoData, DirectInvestmentsWithOneAndWithTwoQualifyingRecords) {
    const QString perClient =
        "SELECT COUNT(*) FROM (SELECT P.SFOSB, Z.SFVP, COUNT(*) N FROM VPSHST Z, SFVP S, FIN F, POG P "
        "WHERE Z.DAN = :DAN AND Z.IDPOG = P.IDPOG AND Z.SFVP = S.SFVP AND S.SFFIN = F.SFFIN AND F.SFLST = "
        "'L' "
        "AND Z.LOT >= 0.1 * S.LOTEMS GROUP BY P.SFOSB, Z.SFVP) WHERE N = :N";
    EXPECT_GT(count(db(), perClient, {{":DAN", kPeriodEnd}, {":N", 1}}), 0);
    EXPECT_GT(count(db(), perClient, {{":DAN", kPeriodEnd}, {":N", 2}}), 0);
}

TEST_F(DemoData, ReferenceDataTheStartUpReads) {
    EXPECT_EQ(count(db(), "SELECT COUNT(*) FROM DJV WHERE SFDJV IN ('L', 'N', 'U', 'C', 'X')"), 5);
    EXPECT_EQ(scalar(db(), "SELECT NZV FROM OSB WHERE SFOSB=2").toString(), "Demo banka d.d.");
    EXPECT_FALSE(scalar(db(), "SELECT MTS FROM OSB WHERE SFOSB=2").toString().isEmpty());
    EXPECT_EQ(scalar(db(), "SELECT vrednost FROM INISET WHERE Kljuc = 'RW_ClientId' ").toString(),
              options().clientId);
    EXPECT_EQ(scalar(db(), "SELECT KRT FROM DRZ WHERE SFDRZ = 'S'").toString(), "SVN");
    // Every currency has a middle rate on the last working day of the period and a numeric code.
    EXPECT_EQ(count(db(), "SELECT COUNT(*) FROM VLT V WHERE LENGTH(V.ST) = 3 AND EXISTS (SELECT 1 FROM VLN R "
                          "WHERE R.SFVLT = V.SFVLT AND R.SFVLN = '0' AND R.DAN = '2025-02-28 00:00:00')"),
              count(db(), "SELECT COUNT(*) FROM VLT"));
}

TEST_F(DemoData, LabelsEndingInUnderscoreSAreHeldBeforeAndAfterTheChangeover) {
    const QString held =
        "SELECT COUNT(*) FROM VPSHST Z, SFVP S WHERE Z.SFVP = S.SFVP AND S.KRT LIKE '%\\_S' ESCAPE '\\' "
        "AND Z.DAN = :DAN";
    EXPECT_GT(count(db(), held, {{":DAN", "2024-06-30 00:00:00"}}), 0);
    EXPECT_GT(count(db(), held, {{":DAN", kPeriodEnd}}), 0);
}

TEST_F(DemoData, CasesTheReportLeavesOutArePresent) {
    const QVariantMap day = {{":DAN", kPeriodEnd}};
    EXPECT_GT(count(db(),
                    "SELECT COUNT(*) FROM VPSHST Z, SFVP S WHERE Z.SFVP = S.SFVP AND S.SFFIN IN ('E', 'G') "
                    "AND Z.DAN = :DAN",
                    day),
              0);
    EXPECT_GT(count(db(),
                    "SELECT COUNT(*) FROM VPSHST Z, POG P WHERE Z.IDPOG = P.IDPOG AND P.POROCANJE_VRP = 'D' "
                    "AND Z.DAN = :DAN",
                    day),
              0);
    EXPECT_GT(count(db(),
                    "SELECT COUNT(*) FROM VPSHST Z, POG P WHERE Z.IDPOG = P.IDPOG AND P.SFDJV = 'K' "
                    "AND Z.DAN = :DAN",
                    day),
              0);
    EXPECT_GT(count(db(),
                    "SELECT COUNT(*) FROM VPSHST Z WHERE Z.DAN = :DAN AND NOT EXISTS "
                    "(SELECT 1 FROM KTC K WHERE K.SFVP = Z.SFVP)",
                    day),
              0);
    EXPECT_GT(count(db(),
                    "SELECT COUNT(*) FROM VPSHST Z, KTC K, TRG T WHERE Z.SFVP = K.SFVP AND K.SFTRG = T.SFTRG "
                    "AND T.SFDRZTRG IS NULL AND Z.DAN = :DAN",
                    day),
              0);
    EXPECT_GT(count(db(), "SELECT COUNT(*) FROM DOG WHERE SFDJV = 'L' AND SFPDG = 'V'"), 0);
}

TEST(DemoFile, WritesACompleteDatabase) {
    QTemporaryDir dir;
    const QString path = dir.filePath("demo.db");
    demo::GeneratorStats stats;
    QString error;
    ASSERT_TRUE(demo::createDemoFile(path, options(), &stats, &error)) << error.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"demo.db"}));
    TestConnection c(path);
    EXPECT_EQ(count(c.db(), "SELECT COUNT(*) FROM VPSHST"), stats.holdings);
    EXPECT_EQ(count(c.db(), "SELECT COUNT(*) FROM TEMP_TEVRA1"), 0);
    EXPECT_TRUE(QFile::permissions(path) & QFileDevice::ReadOther);
}

TEST(DemoFile, FailedRunLeavesTheEarlierFileAndNoLeftovers) {
    QTemporaryDir dir;
    const QString path = dir.filePath("demo.db");
    {
        QFile earlier(path);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier contents");
    }
    demo::GeneratorOptions bad = options();
    bad.scale = 0; // fails after the schema was written to the temporary file
    QString error;
    EXPECT_FALSE(demo::createDemoFile(path, bad, nullptr, &error));
    EXPECT_FALSE(error.isEmpty());
    QFile earlier(path);
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), QByteArray("earlier contents"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"demo.db"}));
}

TEST(DemoFile, MissingFolderIsReported) {
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(demo::createDemoFile(dir.filePath("no/such/folder/demo.db"), options(), nullptr, &error));
    EXPECT_TRUE(error.contains("does not exist")) << error.toStdString();
}

} // namespace
