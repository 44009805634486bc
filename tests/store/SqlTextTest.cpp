#include "store/SqlText.h"

#include <gtest/gtest.h>

namespace {

TEST(Placeholders, AreUpperCasedOutsideLiteralsAndCollectedOnce) {
    QStringList names;
    const QString out = store::normalisePlaceholders(
        QStringLiteral("SELECT ':x' A FROM T WHERE a=:idpog AND b=:IDPOG AND c=:Dan30 AND d='it''s :no'"), &names);
    EXPECT_EQ(out, QStringLiteral("SELECT ':x' A FROM T WHERE a=:IDPOG AND b=:IDPOG AND c=:DAN30 AND d='it''s :no'"));
    EXPECT_EQ(names, (QStringList{QStringLiteral("IDPOG"), QStringLiteral("DAN30")}));
}

TEST(Placeholders, IgnoreTimeLiteralsAndDoubleColons) {
    QStringList names;
    store::normalisePlaceholders(QStringLiteral("SELECT '10:20:30', x::int FROM T"), &names);
    EXPECT_TRUE(names.isEmpty());
}

TEST(OuterJoinRewrite, MovesTheOptionalItemIntoALeftJoin) {
    const QString in = QStringLiteral(
        "SELECT SUM(STO.VRD) V FROM  DOG D, PSL PSL, TRG T1, POG P, OSB O, "
        "(select idpsl, sum(tcjvlt*vrd) vrd from sto group by idpsl) STO WHERE D.SFVP=:SFVP "
        "AND D.IDPSL=PSL.IDPSL AND PSL.IDPSL=STO.IDPSL(+) AND D.X=1");
    const QString out = store::rewriteOuterJoins(in);
    EXPECT_FALSE(out.contains(QLatin1String("(+)")));
    EXPECT_TRUE(out.contains(QLatin1String(
        "DOG D, PSL PSL, TRG T1, POG P, OSB O LEFT JOIN (select idpsl, sum(tcjvlt*vrd) vrd from sto group by idpsl) "
        "STO ON PSL.IDPSL=STO.IDPSL WHERE")))
        << out.toStdString();
    EXPECT_TRUE(out.contains(QLatin1String("AND 1=1 AND D.X=1"))) << out.toStdString();
}

TEST(OuterJoinRewrite, LeavesOtherStatementsAlone) {
    const QStringList statements = {
        QStringLiteral("SELECT 1 FROM A, B WHERE A.X=B.X"),
        QStringLiteral("SELECT '(+)' FROM A"),
        QStringLiteral("SELECT 1 FROM A WHERE A.X=Z.X(+)"), // no item Z: not a shape we can rewrite
    };
    for (const QString& s : statements) EXPECT_EQ(store::rewriteOuterJoins(s), s);
}

TEST(ConcatenationRewrite, ColumnOperandsReadNullAsEmptyText) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"select sfosb, NZV||' '||IME ime from osb ", "select sfosb, COALESCE(NZV,'')||' '||COALESCE(IME,'') ime from osb "},
        {"SELECT O.NZV || O.IME X FROM OSB O", "SELECT COALESCE(O.NZV,'') || COALESCE(O.IME,'') X FROM OSB O"},
        {"SELECT 'a||b' FROM T", "SELECT 'a||b' FROM T"},
        {"SELECT UPPER(A)||B FROM T", "SELECT UPPER(A)||COALESCE(B,'') FROM T"},
        {"SELECT A FROM T WHERE B=1", "SELECT A FROM T WHERE B=1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(store::rewriteConcatenation(QString::fromLatin1(c.in)), QString::fromLatin1(c.out)) << c.in;
}

} // namespace
