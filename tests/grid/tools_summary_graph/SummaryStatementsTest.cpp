// Statements of the summary window: their text, and how their total rows sort when SQLite runs them.

#include "grid/SummaryStatements.h"

#include "../GridTestSupport.h"

#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

const QString T = QStringLiteral("\"/x/_TMP1\"");

SummaryGroupField text(const QString& name, bool marked = true) { return {name, FieldKind::String, 3, marked}; }

QString joined(const QStringList& lines) { return lines.join(u'\n'); }

/// Runs a statement and returns the first column of every row as text.
QStringList firstColumn(const QSqlDatabase& db, const QString& sql) {
    QSqlQuery query(db);
    EXPECT_TRUE(query.exec(sql)) << query.lastError().text().toStdString() << "\n" << sql.toStdString();
    QStringList values;
    while (query.next()) values.append(query.value(0).isNull() ? QStringLiteral("NULL") : query.value(0).toString());
    return values;
}

} // namespace

struct GroupedCase {
    const char* name;
    QList<SummaryGroupField> groups;
    QString expected;
};

class GroupedStatement : public ::testing::TestWithParam<GroupedCase> {};

TEST_P(GroupedStatement, BuildsOnePartPerMarkedLevel) {
    const QList<SummarySumField> sums{{QStringLiteral("X"), opSum}, {QStringLiteral("N"), opSum}};
    EXPECT_EQ(joined(groupedListingSql(GetParam().groups, sums, T)), GetParam().expected);
}

const QString Highest = QString::fromUcs4(U"\U0010FFFF\U0010FFFF\U0010FFFF", 3);

INSTANTIATE_TEST_SUITE_P(
    Levels, GroupedStatement,
    ::testing::Values(
        GroupedCase{"MarkedUnmarkedMarked",
                    {text("A"), text("B", false), text("C")},
                    QStringLiteral("SELECT '%1' AS A,'%1' AS B,'%1' AS C,SUM(X) AS X,SUM(N) AS N\n"
                                   "FROM %2\n"
                                   "UNION\n"
                                   "SELECT A,B,'%1' AS C,SUM(X) AS X,SUM(N) AS N\n"
                                   "FROM %2\n"
                                   "GROUP BY A,B\n"
                                   "UNION\n"
                                   "SELECT A,B,C,SUM(X) AS X,SUM(N) AS N\n"
                                   "FROM %2\n"
                                   "GROUP BY A,B,C\n"
                                   "ORDER BY A,B,C")
                        .arg(Highest, T)},
        GroupedCase{"FirstUnmarkedHasNoGrandTotal",
                    {text("A", false), text("B")},
                    QStringLiteral("SELECT A,'%1' AS B,SUM(X) AS X,SUM(N) AS N\n"
                                   "FROM %2\n"
                                   "GROUP BY A\n"
                                   "UNION\n"
                                   "SELECT A,B,SUM(X) AS X,SUM(N) AS N\n"
                                   "FROM %2\n"
                                   "GROUP BY A,B\n"
                                   "ORDER BY A,B")
                        .arg(Highest, T)},
        GroupedCase{"NoGroupsIsOneGrandTotal", {}, QStringLiteral("SELECT SUM(X) AS X,SUM(N) AS N\nFROM %1").arg(T)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SortedStatement, DetailRowsThenOneTotalRow) {
    const QList<SummarySumField> sums{{QStringLiteral("X"), opAvg}, {QStringLiteral("N"), opSum}};
    EXPECT_EQ(joined(sortedListingSql({{QStringLiteral("ID"), FieldKind::Integer, 0, true}}, sums, T)),
              QStringLiteral("SELECT ID,X,N FROM %1\n"
                             "UNION ALL\n"
                             "SELECT CAST(-32000 AS INTEGER) AS ID,AVG(X) AS X,SUM(N) AS N FROM %1\n"
                             "ORDER BY ID")
                  .arg(T));
    // Without group fields there is nothing to order by.
    EXPECT_EQ(sortedListingSql({}, sums, T).size(), 3);
}

TEST(TotalRowItem, OneValuePerKind) {
    const struct {
        FieldKind kind;
        QString item;
    } cases[] = {
        {FieldKind::SmallInt, QStringLiteral("CAST(-32000 AS INTEGER) AS F")},
        {FieldKind::Integer, QStringLiteral("CAST(-32000 AS INTEGER) AS F")},
        {FieldKind::Float, QStringLiteral("CAST(68719476736+0 AS NUMERIC) AS F")},
        {FieldKind::Currency, QStringLiteral("CAST(68719476736+0 AS NUMERIC) AS F")},
        {FieldKind::Date, QStringLiteral("'2999-03-10' AS F")},
        {FieldKind::DateTime, QStringLiteral("'2999-03-10 10:10:10' AS F")},
        {FieldKind::Time, QStringLiteral("NULL AS F")},
        {FieldKind::Boolean, QStringLiteral("NULL AS F")},
    };
    for (const auto& c : cases) EXPECT_EQ(totalRowItem({QStringLiteral("F"), c.kind, 0, true}), c.item);
    // A text field of unknown size still gets one character.
    EXPECT_EQ(totalRowItem({QStringLiteral("F"), FieldKind::String, 0, true}),
              u'\'' + QString::fromUcs4(U"\U0010FFFF", 1) + QStringLiteral("' AS F"));
}

TEST(TotalRowValue, RecognisedPerKindOnly) {
    EXPECT_TRUE(isTotalRowValue(FieldKind::String, Highest));
    EXPECT_FALSE(isTotalRowValue(FieldKind::String, QStringLiteral("žito")));
    EXPECT_FALSE(isTotalRowValue(FieldKind::String, QString()));
    EXPECT_TRUE(isTotalRowValue(FieldKind::Integer, -32000));
    EXPECT_FALSE(isTotalRowValue(FieldKind::Integer, 0));
    EXPECT_TRUE(isTotalRowValue(FieldKind::Float, 68719476736.0));
    EXPECT_TRUE(isTotalRowValue(FieldKind::Date, QStringLiteral("2999-03-10")));
    EXPECT_TRUE(isTotalRowValue(FieldKind::DateTime, QStringLiteral("2999-03-10 10:10:10")));
    EXPECT_FALSE(isTotalRowValue(FieldKind::Date, QStringLiteral("2024-03-10")));
    EXPECT_FALSE(isTotalRowValue(FieldKind::Time, QVariant()));
}

TEST(SummaryOperators, DefaultsByKindAndLabel) {
    const struct {
        FieldKind kind;
        QString label;
        int op;
    } cases[] = {
        {FieldKind::Float, QStringLiteral("Znesek"), opSum},
        {FieldKind::Float, QStringLiteral("cena enote"), opAvg},
        {FieldKind::Currency, QStringLiteral("Tečaj EUR"), opAvg},
        {FieldKind::Float, QStringLiteral("TECAJ"), opAvg},
        {FieldKind::Float, QStringLiteral("Temperatura"), opAvg},
        {FieldKind::Float, QStringLiteral("index cen"), opAvg},
        {FieldKind::Date, QStringLiteral("Datum"), opMax},
        {FieldKind::DateTime, QStringLiteral("Vnos"), opMax},
        {FieldKind::Integer, QStringLiteral("Cena"), opNone},
        {FieldKind::String, QStringLiteral("Partner"), opNone},
    };
    for (const auto& c : cases) EXPECT_EQ(defaultOperator(c.kind, c.label), c.op) << c.label.toStdString();
}

TEST(SummaryOperators, FourClicksComeBackToSum) {
    QStringList seen;
    int op = opSum;
    for (int click = 0; click < 4; ++click) {
        op = nextOperator(op);
        seen.append(operatorName(op));
    }
    EXPECT_EQ(seen, (QStringList{"AVG", "MIN", "MAX", "SUM"}));
}

// The statements run on the local engine: total rows sort first for integers and last for texts
// (also after č, š, ž) and dates.
class TotalRowOrder : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec(QStringLiteral("CREATE TABLE L (ID INTEGER, NAME VARCHAR(10), D DATE, T TIME, X FLOAT, N INTEGER)"));
        db.exec(QStringLiteral("INSERT INTO L VALUES (1, 'žaba', '2024-01-31', '10:00:00', 1.5, 1), "
                               "(2, 'čebela', '2023-12-01', '11:00:00', 2.5, 1), (-5, 'šola', '2024-02-29', '12:00:00', 3, 1)"));
    }
    TestDatabase db;
    const QList<SummarySumField> sums{{QStringLiteral("X"), opSum}, {QStringLiteral("N"), opSum}};
};

TEST_F(TotalRowOrder, FirstForIntegersLastForTextsAndDates) {
    EXPECT_EQ(firstColumn(db.db(), joined(sortedListingSql({{"ID", FieldKind::Integer, 0, true}}, sums, "L"))),
              (QStringList{"-32000", "-5", "1", "2"}));
    const QStringList names =
        firstColumn(db.db(), joined(sortedListingSql({{"NAME", FieldKind::String, 10, true}}, sums, "L")));
    ASSERT_EQ(names.size(), 4);
    EXPECT_EQ(names.mid(0, 3), (QStringList{"čebela", "šola", "žaba"}));
    EXPECT_TRUE(isTotalRowValue(FieldKind::String, names[3]));
    EXPECT_EQ(firstColumn(db.db(), joined(sortedListingSql({{"D", FieldKind::Date, 0, true}}, sums, "L"))),
              (QStringList{"2023-12-01", "2024-01-31", "2024-02-29", "2999-03-10"}));
}

TEST_F(TotalRowOrder, GroupedSumsPerLevel) {
    QSqlQuery query(db.db());
    const QString sql = joined(groupedListingSql({{"NAME", FieldKind::String, 10, true}}, sums, "L"));
    ASSERT_TRUE(query.exec(sql)) << query.lastError().text().toStdString();
    QStringList rows;
    while (query.next()) rows.append(query.value(1).toString() + u'/' + query.value(2).toString());
    EXPECT_EQ(rows, (QStringList{"2.5/1", "3/1", "1.5/1", "7/3"}));
}

TEST_F(TotalRowOrder, KindsWithoutTotalValueStillMakeValidStatements) {
    const QList<SummaryGroupField> groups{{"T", FieldKind::Time, 0, true}};
    EXPECT_EQ(firstColumn(db.db(), joined(sortedListingSql(groups, sums, "L"))),
              (QStringList{"NULL", "10:00:00", "11:00:00", "12:00:00"}));
    EXPECT_EQ(firstColumn(db.db(), joined(groupedListingSql(groups, sums, "L"))).size(), 4);
}
