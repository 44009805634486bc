#include "store/Aliases.h"

#include <gtest/gtest.h>

namespace {

TEST(Aliases, SectionsKeysAndRelativePaths) {
    QList<store::AliasFileProblem> problems;
    const auto aliases = store::parseAliases(QStringLiteral("; comment\r\n[Prod]\r\nDRIVER=odbc\r\nDATABASE=BACKOFFICE\r\n"
                                                            "DRIVER NAME = DB2/NT\r\n[local]\nDRIVER=SQLITE\nDATABASE=data/x.db\n"
                                                            "[broken]\nDRIVER=ORACLE\nDATABASE=y\ngarbage line\n"),
                                             QStringLiteral("/opt/tevra/"), &problems);
    ASSERT_EQ(aliases.size(), 2);
    const auto prod = store::resolveAlias(aliases, QStringLiteral("PROD"), {});
    ASSERT_TRUE(prod);
    EXPECT_EQ(prod->kind, store::AliasDefinition::Kind::Odbc);
    EXPECT_EQ(prod->database, QStringLiteral("BACKOFFICE"));
    EXPECT_EQ(prod->driverName, QStringLiteral("DB2/NT"));
    const auto local = store::resolveAlias(aliases, QStringLiteral("Local"), {});
    ASSERT_TRUE(local);
    EXPECT_EQ(local->database, QStringLiteral("/opt/tevra/data/x.db"));
    ASSERT_EQ(problems.size(), 2);
    EXPECT_EQ(problems[0].line, 12); // garbage line
}

TEST(Aliases, LbFallsBackToTheDemoDatabaseOthersAreUnknown) {
    const QHash<QString, store::AliasDefinition> none;
    const auto lb = store::resolveAlias(none, QStringLiteral("lb"), QStringLiteral("/demo.db"));
    ASSERT_TRUE(lb);
    EXPECT_EQ(lb->database, QStringLiteral("/demo.db"));
    EXPECT_FALSE(store::resolveAlias(none, QStringLiteral("OTHER"), QStringLiteral("/demo.db")));
    EXPECT_FALSE(store::resolveAlias(none, QString(), QStringLiteral("/demo.db")));
}

TEST(Aliases, GarbageNeverCrashes) {
    QByteArray junk;
    for (int i = 0; i < 4096; ++i) junk.append(char((i * 7919) % 256));
    QList<store::AliasFileProblem> problems;
    store::parseAliases(QString::fromLatin1(junk), QStringLiteral("/x/"), &problems);
    store::parseAliases(QStringLiteral("[") + QString(100000, u'a'), QStringLiteral("/x/"), &problems);
    SUCCEED();
}

} // namespace
