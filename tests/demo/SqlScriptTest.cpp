#include "FixtureDb.h"

#include "demo/DemoBackOffice.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char* name;
    const char* script;
    std::vector<const char*> statements;
};

class SplitSqlStatements : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitSqlStatements, SplitsOnlyOnSemicolonsOutsideLiteralsAndComments) {
    const SplitCase& c = GetParam();
    QStringList expected;
    for (const char* s : c.statements)
        expected << QString::fromUtf8(s);
    EXPECT_EQ(demo::splitSqlStatements(QString::fromUtf8(c.script)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitSqlStatements,
    testing::Values(
        SplitCase{"Plain", "SELECT 1; SELECT 2;", {"SELECT 1", "SELECT 2"}},
        SplitCase{"LastWithoutSemicolon", "SELECT 1;\nSELECT 2\n", {"SELECT 1", "SELECT 2"}},
        SplitCase{"EmptyStatementsSkipped", " ; ;SELECT 1;;\n;", {"SELECT 1"}},
        SplitCase{"SemicolonInLiteral",
                  "INSERT INTO T VALUES ('a;b');SELECT 2",
                  {"INSERT INTO T VALUES ('a;b')", "SELECT 2"}},
        SplitCase{
            "DoubledQuoteInLiteral", "SELECT 'it''s; here';SELECT 2", {"SELECT 'it''s; here'", "SELECT 2"}},
        SplitCase{
            "SemicolonInQuotedName", "SELECT 1 AS \"a;b\";SELECT 2", {"SELECT 1 AS \"a;b\"", "SELECT 2"}},
        SplitCase{"LineComment",
                  "-- first; with 'quote\nSELECT 1; -- trailing; note\nSELECT 2",
                  {"SELECT 1", "SELECT 2"}},
        SplitCase{"DashesInLiteralAreNoComment", "SELECT '--;x';SELECT 2", {"SELECT '--;x'", "SELECT 2"}},
        SplitCase{"BlockComment", "SELECT /* a; 'b */ 1;/* only a comment; */", {"SELECT   1"}},
        SplitCase{"CommentOnlyScript", "-- nothing here;\n/* nor; here */\n", {}}),
    [](const testing::TestParamInfo<SplitCase>& info) { return info.param.name; });

TEST(RunSqlScript, RunsEveryStatementAndKeepsLiteralsWhole) {
    FixtureDb fixture;
    ASSERT_TRUE(fixture.runScript("CREATE TABLE T (A VARCHAR2(20));\n"
                                  "-- a comment; with a quote '\n"
                                  "INSERT INTO T VALUES ('x;y');\n"
                                  "INSERT INTO T VALUES ('it''s');"));
    TestConnection c(fixture.path());
    QSqlQuery q(c.db());
    ASSERT_TRUE(q.exec("SELECT A FROM T ORDER BY A"));
    QStringList values;
    while (q.next())
        values << q.value(0).toString();
    EXPECT_EQ(values, QStringList({"it's", "x;y"}));
}

TEST(RunSqlScript, FailingStatementIsNamedAndNothingOfTheScriptStays) {
    FixtureDb fixture;
    TestConnection c(fixture.path());
    QString error;
    EXPECT_FALSE(demo::runSqlScript(c.db(),
                                    "CREATE TABLE KEPT_NOT (A INTEGER);\n"
                                    "INSERT INTO KEPT_NOT VALUES (1);\n"
                                    "INSERT INTO NO_SUCH_TABLE VALUES (2);\n"
                                    "INSERT INTO KEPT_NOT VALUES (3);",
                                    &error));
    EXPECT_TRUE(error.contains("statement 3 of 4")) << error.toStdString();
    EXPECT_TRUE(error.contains("INSERT INTO NO_SUCH_TABLE VALUES (2)")) << error.toStdString();
    EXPECT_FALSE(c.db().tables().contains("KEPT_NOT"));
}

TEST(RunSqlScript, JoinsTheCallersTransaction) {
    FixtureDb fixture;
    TestConnection c(fixture.path());
    ASSERT_TRUE(c.db().transaction());
    QString error;
    ASSERT_TRUE(demo::runSqlScript(c.db(), "INSERT INTO DJV (SFDJV, NZV) VALUES ('W', 'x');", &error))
        << error.toStdString();
    ASSERT_TRUE(c.db().rollback());
    QSqlQuery q(c.db());
    ASSERT_TRUE(q.exec("SELECT COUNT(*) FROM DJV") && q.next());
    EXPECT_EQ(q.value(0).toInt(), 0);
}

TEST(RunSqlScript, ClosedDatabaseIsAnError) {
    QSqlDatabase closed;
    QString error;
    EXPECT_FALSE(demo::runSqlScript(closed, "SELECT 1", &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
