#include "GridTestSupport.h"

#include "grid/UTempTbl.h"
#include "grid/uProgres.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(TfProgress, CancelBeforeTheFirstStepAbortsAtThatStep) {
    TfProgress& progress = TfProgress::instance();
    progress.start(QStringLiteral("Export"), 10);
    EXPECT_TRUE(progress.isVisible());
    EXPECT_EQ(progress.windowTitle(), QStringLiteral("fProgress"));
    progress.cancelButton()->click();
    EXPECT_THROW(progress.step(), TAbortOperation);
    EXPECT_EQ(progress.position(), 0);

    progress.start(QStringLiteral("Export"), 10); // a new start forgets the old cancel
    EXPECT_NO_THROW(progress.step());
    EXPECT_NO_THROW(progress.step());
    EXPECT_EQ(progress.position(), 2);
    progress.reject(); // Escape
    EXPECT_THROW(progress.step(), TAbortOperation);
    progress.finish();
    EXPECT_FALSE(progress.isVisible());
}

TEST(TTempTable, EachOpenMakesAFreshNumberedTableThatCloseDeletes) {
    QTemporaryDir dir;
    TTempTable::setPrivateDir(dir.path());
    TTempTable table;
    table.addFieldDef(QStringLiteral("N"), FieldKind::Integer);
    table.addFieldDef(QStringLiteral("NAME"), FieldKind::String, 10, true);
    table.setIndexFieldNames(QStringLiteral("N"));

    const int first = TTempTable::nextNameNumber();
    table.open();
    EXPECT_EQ(table.tableName(), QDir::toNativeSeparators(dir.path() + QStringLiteral("/_TMP%1").arg(first)));
    EXPECT_TRUE(table.dataBaseName().isEmpty());
    const QString firstFile = table.fileName();
    EXPECT_TRUE(QFile::exists(firstFile));
    table.appendRecord({1, QStringLiteral("ena")});
    EXPECT_THROW(table.appendRecord({1, QStringLiteral("dup")}), GridDatasetError) << "primary index PK";
    EXPECT_THROW(table.appendRecord({2, QVariant()}), GridDatasetError) << "required field";
    {
        QSqlQuery query(table.database());
        ASSERT_TRUE(query.exec(QStringLiteral("SELECT NAME FROM ") + table.quotedTableName()));
        ASSERT_TRUE(query.next());
        EXPECT_EQ(query.value(0).toString(), QStringLiteral("ena"));
    }
    table.close();
    EXPECT_FALSE(QFile::exists(firstFile));

    table.open();
    EXPECT_TRUE(table.tableName().endsWith(QStringLiteral("_TMP%1").arg(first + 1)));
    EXPECT_EQ(table.recordCount(), 0);
    table.close();
}

TEST(TTempTable, TheFirstTwoTablesOfAProcessAreTmp0AndTmp1) {
    if (TTempTable::nextNameNumber() != 0) GTEST_SKIP() << "another test of this process opened a table first";
    QTemporaryDir dir;
    TTempTable::setPrivateDir(dir.path());
    TTempTable a;
    TTempTable b;
    a.addFieldDef(QStringLiteral("N"), FieldKind::Integer);
    b.addFieldDef(QStringLiteral("N"), FieldKind::Integer);
    a.open();
    b.open();
    EXPECT_TRUE(a.tableName().endsWith(QStringLiteral("_TMP0")));
    EXPECT_TRUE(b.tableName().endsWith(QStringLiteral("_TMP1")));
}

TEST(TTempTable, ACreateFailureIsShownAndTheOpenGoesOn) {
    TTempTable::setPrivateDir(QStringLiteral("/nonexistent-folder-for-tevra-tests"));
    QStringList shown;
    TTempTable::setMessageHandler([&](const QString& message) { shown.append(message); });
    TTempTable table;
    table.addFieldDef(QStringLiteral("N"), FieldKind::Integer);
    table.open();
    table.close();
    TTempTable::setMessageHandler(nullptr);
    TTempTable::setPrivateDir(QDir::tempPath());
    EXPECT_EQ(shown.size(), 1);
}
