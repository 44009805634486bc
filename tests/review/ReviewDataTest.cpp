#include "review/ReviewData.h"
#include "store/Query.h"
#include "store/SqlError.h"
#include "tests/support/FixtureDb.h"

#include <gtest/gtest.h>

namespace {

class SilentOperator : public Operator {
public:
    void showMessage(const QString& text) override { messages.append(text); }
    bool askYesNo(const QString&) override { return false; }
    void setProgressText(const QString& text) override { progress = text; }
    void processEvents() override {}
    void requestTermination() override {}
    QStringList messages;
    QString progress;
};

/// Two detail rows of report 5 and one of report 4; holdings on the prior close, the changeover
/// day and the period end.
const char* kBackOffice = R"(
INSERT INTO DRZ (SFDRZ, KRT) VALUES ('S', 'SI');
INSERT INTO DRZ (SFDRZ, KRT) VALUES ('A', 'AT');
INSERT INTO OSB (SFOSB, NZV, IME, SEKTORIZACIJA) VALUES (10, 'Novak ', ' Ana', 'S.14');
INSERT INTO OSB (SFOSB, NZV, IME, SEKTORIZACIJA) VALUES (11, 'Podjetje d.o.o.', NULL, 'S.11001');
INSERT INTO SFVP (SFVP, KRT) VALUES (100, 'ABC_S');
INSERT INTO SFVP (SFVP, KRT) VALUES (101, '_S');
INSERT INTO POG (IDPOG, SFOSB, SFDJV) VALUES (1000, 10, 'L');
INSERT INTO POG (IDPOG, SFOSB, SFDJV) VALUES (1001, 11, 'W');
INSERT INTO KTC (SFKTC, SFVP, SFTRG, DAN) VALUES (1, 100, 1, '2024-01-01 00:00:00');
INSERT INTO KTC (SFKTC, SFVP, SFTRG, DAN) VALUES (2, 101, 1, '2024-01-01 00:00:00');
INSERT INTO VPSHST (DAN, IDPOG, SFVP, SFDJV, LOT0) VALUES ('2024-02-29 00:00:00', 1000, 100, 'L', 7);
INSERT INTO VPSHST (DAN, IDPOG, SFVP, SFDJV, LOT0) VALUES ('2024-03-01 00:00:00', 1000, 100, 'L', 8);
INSERT INTO VPSHST (DAN, IDPOG, SFVP, SFDJV, LOT0) VALUES ('2024-03-31 00:00:00', 1000, 100, 'L', 9);
INSERT INTO VPSHST (DAN, IDPOG, SFVP, SFDJV, LOT0) VALUES ('2024-03-31 00:00:00', 1001, 101, 'W', 3);
INSERT INTO TEMP_TEVRA1 (IDPOR, CTRL, OBLIKA, SFOSB, SFVP, K15, K31, K37) VALUES (5, 1, 'TRN', 10, 100, ' ', 0, 0);
INSERT INTO TEMP_TEVRA1 (IDPOR, CTRL, OBLIKA, SFOSB, SFVP, K15, K31, K37) VALUES (5, 2, 'TRN', 11, 101, 'A', 0, 0);
INSERT INTO TEMP_TEVRA1 (IDPOR, CTRL, OBLIKA, SFOSB, SFVP, K15, K31, K37) VALUES (5, 3, NULL, 11, 101, 'A', 0, 0);
INSERT INTO TEMP_TEVRA1 (IDPOR, CTRL, OBLIKA, SFOSB, SFVP, K15) VALUES (4, 1, 'TRN', 10, 100, 'A');
)";

class ReviewDataTest : public testing::Test {
protected:
    void open(const FixtureDb& fixture) {
        ASSERT_TRUE(fixture.ok()) << fixture.error().toStdString();
        store::AliasDefinition def;
        def.database = fixture.path();
        ASSERT_TRUE(db.open(QStringLiteral("LB"), def));
        state.ActivityCodes = {QStringLiteral("L")};
        state.EuroChangeoverDate = QDate(2024, 3, 1);
    }
    QList<QVariantList> rows(const QString& sql) {
        QList<QVariantList> out;
        store::Query q(db);
        q.setSql(sql);
        q.open();
        while (!q.eof()) {
            QVariantList r;
            for (const char* c : {"CTRL", "K16", "K26", "K15", "K32", "K38", "K310", "SEKTORIZACIJA"})
                r.append(q.hasField(QLatin1String(c)) ? q.value(QLatin1String(c)) : QVariant());
            out.append(r);
            q.next();
        }
        return out;
    }

    RunState state;
    store::Database db;
    TraceFiles trace;
    SilentOperator op;
    Context ctx{state, db, op, trace};
};

TEST_F(ReviewDataTest, EmptyTableGivesReportNumberZeroAndNoRows) {
    FixtureDb fixture;
    open(fixture);
    EXPECT_EQ(ReviewData(ctx).complete(QDate(2024, 3, 1), QDate(2024, 3, 31), {}), 0);
    EXPECT_TRUE(rows(ReviewData::displayStatement(0)).isEmpty());
}

TEST_F(ReviewDataTest, CompletesTheLastReportsRowsAndShowsOnlyThoseWithAmounts) {
    FixtureDb fixture = FixtureDb::withScript(QString::fromLatin1(kBackOffice));
    open(fixture);
    // Period from 15 March: the opening lot is read on the last day of February; box L ticked.
    EXPECT_EQ(ReviewData(ctx).complete(QDate(2024, 3, 15), QDate(2024, 3, 31), {true}), 5);
    EXPECT_EQ(op.progress, QStringLiteral("STANJE  2 / 2"));
    const auto detail = rows(QStringLiteral("SELECT * FROM TEMP_TEVRA1 WHERE IDPOR=5 ORDER BY CTRL"));
    ASSERT_EQ(detail.size(), 3);
    EXPECT_EQ(detail[0][1].toString(), QStringLiteral("Novak Ana"));
    EXPECT_EQ(detail[0][2].toString(), QStringLiteral("ABC")); // "_S" dropped
    EXPECT_EQ(detail[0][3].toString(), QStringLiteral("S"));   // blank country becomes S
    EXPECT_EQ(detail[0][4].toDouble(), 7.0);                   // K32: opening lot
    EXPECT_EQ(detail[0][5].toDouble(), 9.0);                   // K38: closing lot
    EXPECT_EQ(detail[0][6].toDouble(), 7.0);                   // K310: opening lot again
    EXPECT_EQ(detail[0][7].toString(), QStringLiteral("S.14"));
    EXPECT_EQ(detail[1][2].toString(), QStringLiteral("_S")); // a two-character code stays
    EXPECT_EQ(detail[1][5].toDouble(), 3.0);                  // activity W is always reported
    EXPECT_TRUE(detail[2][1].isNull());                       // rows without a form are left alone
    EXPECT_TRUE(rows(QStringLiteral("SELECT * FROM TEMP_TEVRA1 WHERE IDPOR=4"))[0][1].isNull());

    const auto shown = rows(ReviewData::displayStatement(5));
    ASSERT_EQ(shown.size(), 2); // both have a lot; the row without a form has none
}

TEST_F(ReviewDataTest, OnTheChangeoverDayTheOpeningLotIsThatDays) {
    FixtureDb fixture = FixtureDb::withScript(QString::fromLatin1(kBackOffice));
    open(fixture);
    ReviewData(ctx).complete(QDate(2024, 3, 1), QDate(2024, 3, 31), {true});
    const auto detail = rows(QStringLiteral("SELECT * FROM TEMP_TEVRA1 WHERE IDPOR=5 AND CTRL=1"));
    EXPECT_EQ(detail[0][4].toDouble(), 8.0);
}

TEST_F(ReviewDataTest, WithoutTickedBoxesOnlyActivityWCounts) {
    FixtureDb fixture = FixtureDb::withScript(QString::fromLatin1(kBackOffice));
    open(fixture);
    ReviewData(ctx).complete(QDate(2024, 3, 15), QDate(2024, 3, 31), {false});
    const auto detail = rows(QStringLiteral("SELECT * FROM TEMP_TEVRA1 WHERE IDPOR=5 ORDER BY CTRL"));
    EXPECT_EQ(detail[0][5].toDouble(), 0.0); // contract 1000 holds under L
    EXPECT_EQ(detail[1][5].toDouble(), 3.0); // contract 1001 under W
}

TEST_F(ReviewDataTest, AFailingStatementIsShownAndPassedOn) {
    FixtureDb fixture = FixtureDb::withScript(QString::fromLatin1(kBackOffice) + "DROP TABLE VPSHST;");
    open(fixture);
    EXPECT_THROW(ReviewData(ctx).complete(QDate(2024, 3, 15), QDate(2024, 3, 31), {true}), store::SqlError);
    ASSERT_FALSE(op.messages.isEmpty());
    EXPECT_TRUE(op.messages.last().contains(QLatin1String("FROM VPSHST Z"))) << op.messages.last().toStdString();
}

} // namespace
