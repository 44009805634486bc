#include "app/ConfigFiles.h"
#include "app/DBgesloZEL.h"
#include "app/TextFile.h"
#include "collect/ReferenceData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

/// The scrambled form of a credential: 20 filler characters, then the text, XOR-ed with "qok".
QString scramble(const QByteArray& plain) {
    const QByteArray text = QByteArray(20, 'x') + plain;
    QString out;
    for (int i = 0; i < text.size(); ++i)
        out += QStringLiteral("%1").arg(quint8(text[i]) ^ quint8("qok"[i % 3]), 2, 16, QLatin1Char('0')).toUpper();
    return out;
}

class ConfigFiles : public testing::Test {
protected:
    QString folder() const { return dir.path() + u'/'; }
    QTemporaryDir dir;
};

TEST_F(ConfigFiles, SettingsFileFirstLineInOneLineOut) {
    EXPECT_FALSE(BeriIniDatoteko(folder()));
    writeFile(folder() + "TEVRA.INI", "  C:\\izhod\\tevra.xlsx\r\nsecond\r\nthird\r\n");
    EXPECT_EQ(BeriIniDatoteko(folder()).value_or(QString()), QStringLiteral("  C:\\izhod\\tevra.xlsx"));
    ASSERT_TRUE(PisiIniDatoteko(folder(), QStringLiteral("/tmp/poročilo.xlsx")));
    EXPECT_EQ(readFile(folder() + "TEVRA.INI"), QByteArray("/tmp/poro\xe8ilo.xlsx\r\n")); // Windows-1250
    EXPECT_EQ(BeriIniDatoteko(folder()).value_or(QString()), QStringLiteral("/tmp/poročilo.xlsx"));
    writeFile(folder() + "TEVRA.INI", "");
    EXPECT_FALSE(BeriIniDatoteko(folder()));
}

TEST_F(ConfigFiles, ContractExclusionsAcceptWholeNumbersOnly) {
    QList<ListFileProblem> problems;
    EXPECT_EQ(BeriIdpogiIni(folder(), &problems), QString());
    writeFile(folder() + "idpogi.INI", "  12  \r\n\r\n34\r\n");
    EXPECT_EQ(BeriIdpogiIni(folder(), &problems), QStringLiteral("12,34"));
    writeFile(folder() + "idpogi.INI", "   \n\n");
    EXPECT_EQ(BeriIdpogiIni(folder(), &problems), QString());
    EXPECT_TRUE(problems.isEmpty());
    writeFile(folder() + "idpogi.INI", "101\n1) OR (1=1\n205");
    EXPECT_EQ(BeriIdpogiIni(folder(), &problems), QStringLiteral("101,205"));
    ASSERT_EQ(problems.size(), 1);
    EXPECT_EQ(problems[0].line, 2);
    EXPECT_EQ(listFileProblemMessage(problems[0]),
              QStringLiteral("Neveljavna vrstica 2 v datoteki idpogi.INI: 1) OR (1=1"));
}

TEST_F(ConfigFiles, DocumentTypeExclusionsAcceptOneLiteralPerLine) {
    QList<ListFileProblem> problems;
    writeFile(folder() + "PREKNJIZBE.CONF", "  'A'  \r\n\r\n'B'\r\n7\r\n'it''s'");
    EXPECT_EQ(BeriSfdoge(folder(), &problems), QStringLiteral("'A','B',7,'it''s'"));
    EXPECT_TRUE(problems.isEmpty());
    writeFile(folder() + "PREKNJIZBE.CONF", "'A') OR ('1'='1\n'unclosed\nB\n'x';DROP TABLE DOG");
    EXPECT_EQ(BeriSfdoge(folder(), &problems), QString());
    EXPECT_EQ(problems.size(), 4);
}

TEST_F(ConfigFiles, TextIsUtf8OrWindows1250AndAnyLineEndCounts) {
    EXPECT_EQ(decodeConfigText("\xc4\x8d"), QStringLiteral("č"));
    EXPECT_EQ(decodeConfigText("\xe8"), QStringLiteral("č"));
    EXPECT_EQ(splitLines(QStringLiteral("a\rb\r\nc\nd")), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(toWindows1250(QStringLiteral("Šuštar Ž€ 日")), QByteArray("\x8au\x9atar \x8e\x80 ?"));
}

TEST(TextToInt, OnlyWholeNumbersThatFit) {
    const struct {
        const char* text;
        qint64 as32, as64;
    } cases[] = {{"12", 12, 12},
                 {"", 0, 0},
                 {"1,5", 0, 0},
                 {"1.5", 0, 0},
                 {" 7", 7, 7},
                 {"-2147483648", -2147483647 - 1, -2147483648LL},
                 {"2147483648", 0, 2147483648LL},
                 {"999999999999999", 0, 999999999999999LL},
                 {"1000000000000000", 0, 0},
                 {"12abc", 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(TextToIntOrZero(QString::fromLatin1(c.text)), c.as32) << c.text;
        EXPECT_EQ(TextToInt64OrZero(QString::fromLatin1(c.text)), c.as64) << c.text;
    }
}

TEST(Credentials, HexValueAndUnscramble) {
    EXPECT_EQ(HexValue(QStringLiteral("0A")), 10);
    EXPECT_EQ(HexValue(QStringLiteral("a0")), 160);
    EXPECT_EQ(HexValue(QStringLiteral("G1")), 1);
    EXPECT_EQ(HexValue(QStringLiteral("ff")), 255);
    EXPECT_EQ(Unscramble(QString(40, u'7')), QString());
    EXPECT_EQ(Unscramble(QString(42, u'7')).size(), 1);
    EXPECT_EQ(Unscramble(scramble("BEJIWG")), QStringLiteral("BEJIWG"));
    EXPECT_EQ(Unscramble(scramble(QByteArray(150, 'a'))), QString(100, u'a'));
    Unscramble(QStringLiteral("zz#\x01")); // malformed text unscrambles to whatever it gives, never fails
}

TEST(Credentials, ParentFolder) {
    EXPECT_EQ(ParentFolder(QStringLiteral("C:\\APL\\PROG\\")), QStringLiteral("C:\\APL\\"));
    EXPECT_EQ(ParentFolder(QStringLiteral("C:\\APL\\")), QStringLiteral("C:\\"));
    EXPECT_EQ(ParentFolder(QStringLiteral("/opt/tevra/bin/")), QStringLiteral("/opt/tevra/"));
    EXPECT_EQ(ParentFolder(QStringLiteral("nothing")), QStringLiteral("nothing"));
}

TEST_F(ConfigFiles, CredentialsFileIsFoundAboveAndReplacesAllValues) {
    const QString program = folder() + "APL/PROG/";
    QDir().mkpath(program);
    QString alias = "LB", user = "BEJIWG", password = "KDRWMO", env;
    ReadZelCredentials(program, alias, user, password, env);
    EXPECT_EQ(alias, QStringLiteral("LB")); // no file anywhere: the defaults stay

    writeFile(folder() + "APL/ZEL.INI", ("USERNAME " + scramble("ANA") + "\r\n").toLatin1());
    ReadZelCredentials(program, alias, user, password, env);
    EXPECT_EQ(user, QStringLiteral("ANA"));
    EXPECT_EQ(alias, QString()); // a missing key replaces the value with an empty one
    EXPECT_EQ(password, QString());

    writeFile(program + "ZEL.INI", ("DATABASENAME " + scramble("PROD") + "\nusername " + scramble("X") + "\nUSERNAME " +
                                    scramble("EVA") + "\nPASSWORD =" + scramble("s") + "\nTEST/PRODUKCIJA PRODUKCIJA\n")
                                       .toLatin1());
    ReadZelCredentials(program, alias, user, password, env);
    EXPECT_EQ(alias, QStringLiteral("PROD"));
    EXPECT_EQ(user, QStringLiteral("EVA")); // the last line of a key counts
    EXPECT_EQ(password, Unscramble(QStringLiteral("=") + scramble("s")));
    EXPECT_EQ(env, QStringLiteral("PRODUKCIJA"));
}

} // namespace
