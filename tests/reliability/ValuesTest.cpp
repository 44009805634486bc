#include "ReliabilitySupport.h"

#include "FixtureDb.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace reliability;

namespace {

const QString kPython = QStringLiteral("/usr/bin/python3");

/// Names, ISINs and security marks full of what breaks statements, cells and fixed-width lines:
/// quotes, semicolons, comment dashes, CR/LF, TAB, NUL and characters Windows-1250 lacks.
const QStringList kHostileValues = {
    "UPDATE OSB SET NZV = 'O''Brien; DROP TABLE OSB; -- ' || char(13, 10) || 'd.o.o.' || char(9) || 'x' || "
    "char(0) || 'y € Ω 中 ' || char(128512) || ' Ž' || SFOSB WHERE SFOSB <> 2",
    "UPDATE SFVP SET KRT = 'K''R;--' || char(10) || char(128512) || SFVP",
    "UPDATE SFVP SET ISIN = 'S''' || char(9) || ';--' || char(0) || SFVP",
};

/// Offsets of the fixed-width trace line: the name fields (1.6. and 2.2.) and the twelve amounts.
constexpr int kClientNameAt = 21;
constexpr int kIssuerNameAt = 96;
constexpr int kAmountsAt = 266;

TEST(Values, HostileTextsFlowThroughWithoutBreakingStatementsCellsOrLines) {
    ProgramHome home;
    ASSERT_EQ(home.exec(kHostileValues), QString());
    RecordingOperator op;
    Engine engine(op, home.folder());
    ASSERT_TRUE(engine.startUp({}, demoToday()).completed) << op.all().toStdString();
    const RunResult r = engine.runReport(mayInput(home.output()), false);
    ASSERT_EQ(r.status, RunStatus::Written) << op.all().toStdString() << r.message.toStdString();
    EXPECT_EQ(home.exec({"SELECT COUNT(*) FROM OSB", "SELECT COUNT(*) FROM SFVP"}), QString());

    // The trace file: one CR LF line per report row, fields where they belong.
    const QByteArray trace = fileBytes(home.traceFile());
    ASSERT_TRUE(trace.endsWith("\r\n"));
    QList<QByteArray> lines = trace.split('\n');
    lines.removeLast(); // after the last line end
    const int reportRows = home.workRows({engine.state().IdPor}).filter(QRegularExpression("^TEMP_TEVRA\\|")).size();
    EXPECT_EQ(lines.size(), reportRows);
    int hostileNames = 0;
    for (QByteArray line : lines) {
        ASSERT_TRUE(line.endsWith('\r'));
        line.chop(1);
        EXPECT_FALSE(line.contains('\r'));
        EXPECT_FALSE(line.contains('\0'));
        EXPECT_FALSE(line.contains('\t'));
        for (int i = 0; i < 12; ++i) {
            const QByteArray amount = line.mid(kAmountsAt + 15 * i, 15).trimmed();
            EXPECT_TRUE(QRegularExpression("^-?\\d+$").match(QString::fromLatin1(amount)).hasMatch())
                << "amount " << i << " of: " << line.toStdString();
        }
        // CR, LF, TAB and NUL each become one blank
        for (int at : {kClientNameAt, kIssuerNameAt}) {
            if (line.mid(at, 60).startsWith("O'Brien; DROP TABLE OSB; --   d.o.o. x y ")) ++hostileNames;
        }
    }
    EXPECT_GT(hostileNames, 0);

    // The workbook reads back in a spreadsheet reader with the texts as they were.
    if (QProcess::execute(kPython, {"-c", "import openpyxl"}) != 0)
        GTEST_SKIP() << "/usr/bin/python3 has no openpyxl (install python3-openpyxl)";
    QProcess reader;
    reader.start(kPython, {FixtureDb::sourceDir() + "/tests/reliability/read_cells.py", home.output()});
    ASSERT_TRUE(reader.waitForFinished(60000));
    ASSERT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    int names = 0, marks = 0, isins = 0, rowsSeen = 0;
    for (const QString& line : QString::fromUtf8(reader.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(u'\t');
        ASSERT_EQ(f.size(), 3) << line.toStdString();
        const QJsonDocument doc = QJsonDocument::fromJson("[" + f[2].toUtf8() + "]");
        const QString value = doc.array().at(0).toVariant().toString();
        if (f[1] == QLatin1String("1") && f[0].toInt() > 1) ++rowsSeen;
        // The reader shows CR in the spreadsheet's own escape (_x000D_); a NUL is kept as a blank,
        // so nothing after it is lost.
        static const QRegularExpression name(QStringLiteral(
            "^O'Brien; DROP TABLE OSB; -- (\r|_x000D_)\nd\\.o\\.o\\.\tx y € Ω 中 \U0001F600 Ž\\d+$"));
        if ((f[1] == QLatin1String("6") || f[1] == QLatin1String("10")) && name.match(value).hasMatch()) ++names;
        if (f[1] == QLatin1String("14") && QRegularExpression("^K'R;--\n\U0001F600\\d+$").match(value).hasMatch())
            ++marks;
        if (f[1] == QLatin1String("13") && QRegularExpression("^S'\t;-- \\d+$").match(value).hasMatch()) ++isins;
    }
    EXPECT_EQ(rowsSeen, reportRows);
    EXPECT_GT(names, 0);
    EXPECT_GT(marks, 0);
    EXPECT_GT(isins, 0);
}

} // namespace
