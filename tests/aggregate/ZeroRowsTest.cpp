#include "ReportHarness.h"
#include "aggregate/ReportSteps.h"

namespace {

/// Report rows of report 2 (the run) and the same rows under report 1 (an earlier report), and
/// what the zero-row step leaves of them.
TEST(BrisiNicelne, DeletesAllZeroRowsAndLiftsZeroValuesOfTheRunOnly) {
    const struct {
        int ctrl;
        double k31, k34, k35, k37, k311, k38, zaclot;
        bool kept;
        double k31After, k37After;
    } cases[] = {
        {1, 0, 0, 0, 0, 0, 5, 0, false, 0, 0},      // only 3.8. set: deleted
        {2, 0, 0.0001, 0, 0, 0, 0, 0, true, 0, 0},  // exact comparison keeps it
        {3, 0, 3, 0, 0, 0, 0, 2, true, 1, 0},       // opening value lifted by the quantity
        {4, 0, 0, 0, 0, 0, 0, 2, false, 0, 0},      // deleted before it could be lifted
        {5, 0, 0, 1, 0, 0.4, 0, 0, true, 0, 1},     // closing value lifted
        {6, 7, 0, 0, 0, 0, 0, 0, true, 7, 0},
    };
    ReportHarness h;
    for (int idPor : {1, 2}) {
        for (const auto& c : cases) {
            QSqlQuery q(h.db.connection());
            q.prepare(QStringLiteral("INSERT INTO TEMP_TEVRA (IDPOR, CTRL, K31, K34, K35, K37, K311, K38, ZACLOT) "
                                     "VALUES (:IDPOR, :CTRL, :K31, :K34, :K35, :K37, :K311, :K38, :ZACLOT)"));
            for (const auto& [name, value] : std::initializer_list<std::pair<const char*, QVariant>>{
                     {":IDPOR", idPor}, {":CTRL", c.ctrl}, {":K31", c.k31}, {":K34", c.k34}, {":K35", c.k35},
                     {":K37", c.k37}, {":K311", c.k311}, {":K38", c.k38}, {":ZACLOT", c.zaclot}})
                q.bindValue(QLatin1String(name), value);
            ASSERT_TRUE(q.exec());
        }
    }
    h.state.IdPor = 2;
    BrisiNicelne(h.ctx);
    const auto run = h.reportRows(2);
    const auto earlier = h.reportRows(1);
    EXPECT_EQ(earlier.size(), std::size(cases));
    for (const auto& c : cases) {
        const auto it = std::find_if(run.begin(), run.end(), [&](const QVariantMap& r) { return r["CTRL"] == c.ctrl; });
        ASSERT_EQ(it != run.end(), c.kept) << c.ctrl;
        if (it == run.end()) continue;
        EXPECT_EQ((*it)["K31"].toDouble(), c.k31After) << c.ctrl;
        EXPECT_EQ((*it)["K37"].toDouble(), c.k37After) << c.ctrl;
    }
    for (int i = 0; i < earlier.size(); ++i) {
        EXPECT_EQ(earlier[i]["K31"].toDouble(), cases[i].k31);
        EXPECT_EQ(earlier[i]["K37"].toDouble(), cases[i].k37);
    }
}

TEST(BrisiNicelne, AFailingStatementIsShownAndStopsTheStep) {
    ReportHarness h;
    h.exec(QStringLiteral("ALTER TABLE TEMP_TEVRA RENAME COLUMN ZACLOT TO ZACLOT_OLD"));
    EXPECT_THROW(BrisiNicelne(h.ctx), store::SqlError);
    ASSERT_EQ(h.op.messages.size(), 1);
    EXPECT_TRUE(h.op.messages[0].startsWith(QStringLiteral("UPDATE TEMP_TEVRA SET K31=1 WHERE  K31=0 AND ZACLOT>0")));
}

} // namespace
