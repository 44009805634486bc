#include "ReliabilitySupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using namespace reliability;

namespace {

QStringList mayOptions(const QString& output) {
    return {"--from", "2024-05-01", "--to", "2024-05-31", "--out", output};
}

/// A batch report written first, so that a failing run has a previous workbook and TEVRA.TXT to keep.
class OutputFaults : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(runBatchIn(home.folder(), mayOptions(home.output())), 0);
        workbook = fileBytes(home.output());
        trace = fileBytes(home.traceFile());
        ASSERT_TRUE(workbook.startsWith("PK"));
        ASSERT_FALSE(trace.isEmpty());
    }

    /// Runs the batch mode into `output`; expects exit status 1, a message on standard error holding
    /// `message`, and the previous files untouched.
    void expectFailure(const QString& output, const QString& message, const QString& previousWorkbook) {
        CapturedStderr err;
        const int status = runBatchIn(home.folder(), mayOptions(output));
        const QString said = err.finish();
        EXPECT_EQ(status, 1) << said.toStdString();
        EXPECT_TRUE(said.contains(message)) << said.toStdString();
        EXPECT_EQ(fileBytes(previousWorkbook), workbook);
        EXPECT_EQ(fileBytes(home.traceFile()), trace);
        EXPECT_EQ(leftovers(QFileInfo(previousWorkbook).absolutePath()), QStringList());
        EXPECT_EQ(leftovers(home.folder()), QStringList());
    }

    void expectSuccess(const QString& output) {
        CapturedStderr err;
        EXPECT_EQ(runBatchIn(home.folder(), mayOptions(output)), 0) << err.finish().toStdString();
    }

    ProgramHome home;
    QByteArray workbook, trace;
};

TEST_F(OutputFaults, OutputFolderMissingOrNotAFolder) {
    home.write(QStringLiteral("navadna.txt"), "a regular file, not a folder");
    const struct {
        QString output;
    } cases[] = {{home.folder() + "ni_mape/porocilo.xlsx"}, {home.folder() + "navadna.txt/porocilo.xlsx"},
                 {QStringLiteral("/proc/tevra/porocilo.xlsx")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output.toStdString());
        expectFailure(c.output, "Delovnega zvezka ni mogoče ustvariti: " + c.output, home.output());
    }
    expectSuccess(home.output());
}

TEST_F(OutputFaults, OutputFolderReadOnly) {
    Immutable readOnly(home.folder() + "out");
    if (!readOnly.ok()) GTEST_SKIP() << "chattr +i is not available here: a read-only folder cannot be made";
    expectFailure(home.output(), "Delovnega zvezka ni mogoče ustvariti: " + home.output(), home.output());
    readOnly.release();
    expectSuccess(home.output());
}

TEST_F(OutputFaults, WorkbookLockedByAnotherProgram) {
    Immutable locked(home.output());
    if (!locked.ok()) GTEST_SKIP() << "chattr +i is not available here: the workbook cannot be locked";
    expectFailure(home.output(), "Delovnega zvezka ni bilo mogoče shraniti v " + home.output(), home.output());
    locked.release();
    expectSuccess(home.output());
}

TEST_F(OutputFaults, OutputFolderFull) {
    const QString mount = home.folder() + "polna";
    ASSERT_TRUE(QDir().mkpath(mount));
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", mount}) != 0)
        GTEST_SKIP() << "a small file system cannot be mounted here: a full folder cannot be made";
    struct Unmount {
        QString path;
        ~Unmount() { QProcess::execute("umount", {path}); }
    } unmount{mount};
    const QString output = mount + "/porocilo.xlsx";
    QFile previous(output);
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write(workbook);
    previous.close();
    QFile filler(mount + "/polnilo");
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();
    expectFailure(output, "Delovnega zvezka ni bilo mogoče shraniti v " + output, output);
    QFile::remove(mount + "/polnilo");
    expectSuccess(output);
}

TEST_F(OutputFaults, ProgramFolderNotWritable) {
    // The statement trace file cannot be put in place (a folder holds its name).
    ASSERT_TRUE(QFile::remove(home.folder() + "_stanje.sql"));
    ASSERT_TRUE(QDir().mkpath(home.folder() + "_stanje.sql/x"));
    expectFailure(home.output(), "_stanje.sql", home.output());
    ASSERT_TRUE(QDir(home.folder() + "_stanje.sql").removeRecursively());

    Immutable readOnly(home.folder());
    if (!readOnly.ok()) GTEST_SKIP() << "chattr +i is not available here: a read-only folder cannot be made";
    expectFailure(home.output(), "Ne morem pisati datoteke " + home.folder(), home.output());
    readOnly.release();
    expectSuccess(home.output());
}

} // namespace
