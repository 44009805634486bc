#include "ReliabilitySupport.h"

#include "grid/Ufwgrid.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace reliability;

namespace {

/// The scrambled form of a credential as ZEL.INI stores it (twenty characters of padding first).
QByteArray scramble(const QString& text) {
    static const char key[] = "qok";
    const QByteArray plain = QByteArray(20, 'x') + text.toLatin1();
    QByteArray out;
    for (int i = 0; i < plain.size(); ++i)
        out += QByteArray::number(static_cast<uchar>(plain[i]) ^ static_cast<uchar>(key[i % 3]), 16)
                   .rightJustified(2, '0')
                   .toUpper();
    return out;
}

/// Kinds of damage, each applied to the usable content of a file (given with "\n" line ends).
enum class Damage { Empty, BinaryGarbage, InvalidUtf8, TenMegabyteLine, CrOnly, NoFinalLineEnd };

const struct {
    Damage damage;
    const char* name;
} kDamages[] = {{Damage::Empty, "empty"},
                {Damage::BinaryGarbage, "binary garbage"},
                {Damage::InvalidUtf8, "invalid UTF-8"},
                {Damage::TenMegabyteLine, "one line of 10 MB"},
                {Damage::CrOnly, "CR-only line ends"},
                {Damage::NoFinalLineEnd, "no final line end"}};

QByteArray damaged(const QByteArray& usable, Damage damage) {
    switch (damage) {
    case Damage::Empty:
        return {};
    case Damage::BinaryGarbage: {
        QByteArray bytes;
        quint32 x = 12345;
        for (int i = 0; i < 4096; ++i) {
            x = x * 1103515245u + 12345u;
            bytes += char(x >> 24);
        }
        return bytes;
    }
    case Damage::InvalidUtf8:
        return QByteArray("\xC3\x28\xFF\xFE\xED\xA0\x80\n") + usable + QByteArray("\xF0\x9F\x98\n");
    case Damage::TenMegabyteLine:
        return QByteArray(10 * 1024 * 1024, 'A') + '\n' + usable;
    case Damage::CrOnly: {
        QByteArray bytes = usable;
        return bytes.replace('\n', '\r');
    }
    case Damage::NoFinalLineEnd:
        return usable.endsWith('\n') ? usable.chopped(1) : usable;
    }
    return usable;
}

/// Messages about unusable lines must name the file and the line.
void expectLineMessages(const QStringList& messages, const QString& file) {
    static const QRegularExpression form(QStringLiteral("^Neveljavna vrstica [1-9][0-9]* v datoteki ([^:]+): "));
    for (const QString& m : messages) {
        const auto match = form.match(m);
        EXPECT_TRUE(match.hasMatch()) << m.left(200).toStdString();
        EXPECT_EQ(match.captured(1), file);
        EXPECT_LT(m.size(), 300); // a line of 10 MB is not repeated in full
    }
}

/// Every text file the program reads, damaged in every way: start-up never crashes, what is
/// optional stays optional, usable lines still count, and unusable lines are named.
TEST(BadInput, EveryConfigurationFileDamagedInEveryWay) {
    const struct {
        const char* file;
        QByteArray usable;
        std::function<void(const Engine&, const StartUpResult&)> usableSeen;
    } files[] = {
        {"TEVRA.INI", "/srv/porocila/maj.xlsx\nsecond line\n",
         [](const Engine&, const StartUpResult& r) { EXPECT_EQ(r.outputPath.value_or("-"), "/srv/porocila/maj.xlsx"); }},
        {"idpogi.INI", "12\n-7\n",
         [](const Engine& e, const StartUpResult&) { EXPECT_EQ(e.state().IdpogExclusionList, "12,-7"); }},
        {"PREKNJIZBE.CONF", "'PR'\n5\n",
         [](const Engine& e, const StartUpResult&) { EXPECT_EQ(e.state().SfdogExclusionList, "'PR',5"); }},
        {"ZEL.INI", "DATABASENAME " + scramble("LB") + "\nUSERNAME " + scramble("ANA") + "\n",
         [](const Engine& e, const StartUpResult&) { EXPECT_EQ(e.state().DbUser, "ANA"); }},
        {"ALIASES.INI", "[LB]\nDRIVER=SQLITE\nDATABASE=db/bo.db\n",
         [](const Engine& e, const StartUpResult&) {
             EXPECT_TRUE(e.state().InstitutionName.contains(QLatin1String("Demo"))) << e.state().InstitutionName.toStdString();
         }},
    };
    int tried = 0;
    for (const auto& f : files) {
        for (const auto& d : kDamages) {
            SCOPED_TRACE(std::string(f.file) + ": " + d.name);
            ProgramHome home;
            // Without a usable alias file, the alias LB falls back to the demo back office.
            ASSERT_TRUE(QDir().mkpath(home.folder() + "demo"));
            ASSERT_TRUE(QFile::copy(home.database(), home.folder() + "demo/backoffice.db"));
            home.write(QLatin1String(f.file), damaged(f.usable, d.damage));
            RecordingOperator op;
            Engine engine(op, home.folder());
            // ZEL.INI without a usable alias line empties the alias: the command line names it.
            const QStringList arguments = QLatin1String(f.file) == QLatin1String("ZEL.INI") &&
                                                  (d.damage == Damage::Empty || d.damage == Damage::BinaryGarbage)
                                              ? QStringList{"LB"}
                                              : QStringList{};
            const StartUpResult r = engine.startUp(arguments, demoToday());
            ++tried;
            EXPECT_TRUE(r.connected && r.completed) << op.all().left(400).toStdString();
            if (d.damage == Damage::CrOnly || d.damage == Damage::NoFinalLineEnd || d.damage == Damage::InvalidUtf8 ||
                d.damage == Damage::TenMegabyteLine) {
                if (!(d.damage == Damage::InvalidUtf8 || d.damage == Damage::TenMegabyteLine) ||
                    QLatin1String(f.file) != QLatin1String("TEVRA.INI"))
                    f.usableSeen(engine, r);
            }
            expectLineMessages(op.messages, QLatin1String(f.file));
            const bool listFile = QLatin1String(f.file) == QLatin1String("idpogi.INI") ||
                                  QLatin1String(f.file) == QLatin1String("PREKNJIZBE.CONF") ||
                                  QLatin1String(f.file) == QLatin1String("ALIASES.INI");
            const bool unusableLines = d.damage == Damage::BinaryGarbage || d.damage == Damage::InvalidUtf8 ||
                                       d.damage == Damage::TenMegabyteLine;
            if (listFile && unusableLines) {
                EXPECT_FALSE(op.messages.isEmpty());
            }
            if (!listFile || !unusableLines) {
                EXPECT_EQ(op.messages, QStringList());
            }
            // A damaged list file stops the run with the first unusable line; the others let it run.
            if (listFile && unusableLines && QLatin1String(f.file) != QLatin1String("ALIASES.INI")) {
                op.clear();
                EXPECT_EQ(engine.runReport(mayInput(home.output()), false).status, RunStatus::InputRejected);
                expectLineMessages(op.messages, QLatin1String(f.file));
            }
        }
    }
    EXPECT_EQ(tried, 30);
}

TEST(BadInput, WinIniDamagedInEveryWay) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("WIN.INI"));
    for (const auto& d : kDamages) {
        SCOPED_TRACE(d.name);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(damaged("[Fonts]\nFontSize=30\n[ZEL]\nFontSize=12\nLineHeight=22\n", d.damage));
        f.close();
        const GridFontSettings s = GridFontSettings::read(path);
        const bool usable = d.damage == Damage::CrOnly || d.damage == Damage::NoFinalLineEnd ||
                            d.damage == Damage::InvalidUtf8 || d.damage == Damage::TenMegabyteLine;
        EXPECT_EQ(s.fontSize, usable ? 12 : 8);
        EXPECT_EQ(s.lineHeight, usable ? 22 : 18);
        EXPECT_EQ(s.fontName, QStringLiteral("Arial CE"));
    }
}

/// Dates as typed in DATUM OD and DATUM DO: invalid ones are named, edge years run to "no data".
TEST(BadInput, DatesTypedInTheWindow) {
    ProgramHome home;
    RecordingOperator op;
    Engine engine(op, home.folder());
    ASSERT_TRUE(engine.startUp({}, demoToday()).completed);
    const struct {
        const char* from;
        const char* to;
        RunStatus status;
        const char* message; ///< the operator's one message; null for none checked
    } cases[] = {
        {"", "31.05.2024", RunStatus::InputRejected, "Neveljavni datum!"},
        {"01.05.2024", "", RunStatus::InputRejected, "Neveljavni datum!"},
        {"31.02.2024", "31.05.2024", RunStatus::InputRejected, "'31.02.2024' ni veljaven datum"},
        {"29.02.2023", "31.03.2023", RunStatus::InputRejected, "'29.02.2023' ni veljaven datum"},
        {"01.05.2024", "00.06.2024", RunStatus::InputRejected, "'00.06.2024' ni veljaven datum"},
        {"1.5.24", "31.05.2024", RunStatus::InputRejected, "'1.5.24' ni veljaven datum"},
        {"01-05-2024", "31.05.2024", RunStatus::InputRejected, "'01-05-2024' ni veljaven datum"},
        {"01.05.2024'; DROP TABLE OSB; --", "31.05.2024", RunStatus::InputRejected,
         "'01.05.2024'; DROP TABLE OSB; --' ni veljaven datum"},
        {"31.05.2024", "01.05.2024", RunStatus::InputRejected, "Datum OD mora biti manjši od datuma DO!"},
        {"01.01.1900", "31.01.1900", RunStatus::NoData, nullptr},
        {"01.12.9999", "31.12.9999", RunStatus::NoData, nullptr},
        {"01.01.1900", "31.12.9999", RunStatus::Written, nullptr},
        {"29.02.2024", "31.05.2024", RunStatus::Written, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " .. " + c.to);
        op.clear();
        const RunResult r =
            engine.runReport({QString::fromUtf8(c.from), QString::fromUtf8(c.to), home.output(), {true, true}}, false);
        EXPECT_EQ(r.status, c.status) << op.all().toStdString() << r.message.toStdString();
        if (c.message) {
            EXPECT_EQ(op.messages, QStringList{QString::fromUtf8(c.message)});
        }
    }
    EXPECT_TRUE(home.exec({"SELECT COUNT(*) FROM OSB"}).isEmpty());
}

TEST(BadInput, BatchOptionsMissingOrMalformed) {
    ProgramHome home;
    const QString out = home.output();
    const struct {
        QStringList args;
        int status;
    } cases[] = {
        {{"--from", "2024-05-01", "--to", "2024-05-31", "--out"}, 2},
        {{"--from", "2024-05-01", "--to"}, 2},
        {{"--from", "", "--to", "2024-05-31", "--out", out}, 2},
        {{"--from", "2024-5-1", "--to", "2024-05-31", "--out", out}, 2},
        {{"--from", "01.05.2024", "--to", "2024-05-31", "--out", out}, 2},
        {{"--from", "2023-02-29", "--to", "2023-03-31", "--out", out}, 2},
        {{"--from", "2024-05-01", "--to", "2024-05-31", "--out", out, "--unsectored"}, 2},
        {{"--from", "2024-05-01", "--to", "2024-05-31", "--out", out, "--activities", "L'--"}, 2},
        {{"--from", "2024-05-01", "--to", "2024-05-31", "--out", out, "LB", "U", "P", "X"}, 2},
        {{"--from", "1900-01-01", "--to", "1900-01-31", "--out", out}, 3},
        {{"--from", "9999-12-01", "--to", "9999-12-31", "--out", out}, 3},
        {{"--from", "2024-05-01", "--to", "2024-05-31", "--out", out, "--activities", ""}, 0},
    };
    for (const auto& c : cases) {
        CapturedStderr err;
        const int status = runBatchIn(home.folder(), c.args);
        const QString said = err.finish();
        EXPECT_EQ(status, c.status) << c.args.join(u' ').toStdString() << "\n" << said.toStdString();
        if (c.status == 2) {
            EXPECT_FALSE(said.isEmpty()) << c.args.join(u' ').toStdString();
        }
    }
}

} // namespace
