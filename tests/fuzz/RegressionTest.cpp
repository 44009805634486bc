#include "fuzz/Harnesses.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

/// Replays every input kept under fuzz/regressions/<family>/ through its harness.
void replay(const char* family, void (*harness)(const uint8_t*, size_t)) {
    QString source = qEnvironmentVariable("TEVRA_SOURCE_DIR");
    if (source.isEmpty()) source = QStringLiteral(TEVRA_SOURCE_TREE);
    const QDir dir(source + QStringLiteral("/fuzz/regressions/") +
                   QLatin1String(family));
    ASSERT_TRUE(dir.exists()) << dir.path().toStdString();
    int replayed = 0;
    for (const QString& name : dir.entryList(QDir::Files)) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        harness(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()));
        ++replayed;
    }
    EXPECT_GT(replayed, 0);
}

TEST(FuzzRegressions, ConfigFiles) { replay("config", fuzzConfigFiles); }
TEST(FuzzRegressions, Unscramble) { replay("unscramble", fuzzUnscramble); }
TEST(FuzzRegressions, SqlText) { replay("sqltext", fuzzSqlText); }
TEST(FuzzRegressions, WinIni) { replay("winini", fuzzWinIni); }

} // namespace
