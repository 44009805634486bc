#include "CollectFixture.h"

#include "aggregate/Unsectored.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

class UnsectoredTest : public testing::Test {
protected:
    void SetUp() override {
        f.exec(QStringLiteral("INSERT INTO OSB (SFOSB, NZV, IME, SFDRZ) VALUES (123, 'Novak', 'Ana', 'S'), "
                              "(124, 'Kovač', 'Žiga', 'S')"));
    }
    QByteArray listFile() {
        QFile file(f.folder() + QStringLiteral("OsbBrezSektorja.txt"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    CollectFixture f;
};

TEST_F(UnsectoredTest, OneClientListedInFileAndQuestion) {
    f.state.UnsectoredPersons = {123};
    f.op.answers = {true};
    EXPECT_EQ(OsebeBrezSektorizacije1(f.ctx), 0);
    EXPECT_EQ(listFile(), QByteArray("   SFOSB \r\n----------------\r\n     123   Novak Ana\r\n"));
    const QChar cr(13);
    ASSERT_EQ(f.op.questions.size(), 1);
    EXPECT_EQ(f.op.questions.first(), QStringLiteral("   SFOSB ") + cr + QStringLiteral("---------------") + cr +
                                          QStringLiteral("     123   Novak Ana") + cr + QStringLiteral(" ") + cr +
                                          QStringLiteral(" Ali vseeno nadaljujem?") + cr + QStringLiteral(" ") + cr);
    EXPECT_FALSE(f.op.busy) << "the banner is hidden again";
}

TEST_F(UnsectoredTest, QuestionListsTenClientsAndTheFileAll) {
    struct Case {
        int clients;
        int listed;
        bool ellipsis;
    };
    for (const Case c : {Case{10, 10, false}, Case{11, 10, true}, Case{12, 10, true}}) {
        RecordingOperator op;
        Context ctx{f.state, f.db, op, f.trace};
        f.state.UnsectoredPersons.clear();
        for (int i = 0; i < c.clients; ++i) f.state.UnsectoredPersons.append(i == 0 ? 124 : 9000 + i);
        op.answers = {true};
        OsebeBrezSektorizacije1(ctx);
        const QString question = op.questions.value(0);
        static const QRegularExpression clientLine(QStringLiteral("^ *\\d+   "), QRegularExpression::MultilineOption);
        QString lines = question;
        lines.replace(QChar(13), u'\n');
        EXPECT_EQ(lines.count(clientLine), c.listed) << c.clients;
        EXPECT_EQ(question.contains(QStringLiteral(" ...")), c.ellipsis) << c.clients;
        EXPECT_EQ(listFile().count("\r\n"), c.clients + 2) << c.clients;
    }
    EXPECT_TRUE(listFile().contains("     124   Kova\xe8 \x8eiga\r\n")) << "Windows-1250";
}

TEST_F(UnsectoredTest, AnswersDecideTheResult) {
    struct Case {
        QList<bool> answers;
        int result;
        bool terminate;
        int questions;
    };
    for (const Case& c : {Case{{true}, 0, false, 1}, Case{{false, false}, 1, false, 2}, Case{{false, true}, 2, true, 2}}) {
        RecordingOperator op;
        Context ctx{f.state, f.db, op, f.trace};
        f.state.UnsectoredPersons = {123};
        op.answers = c.answers;
        EXPECT_EQ(OsebeBrezSektorizacije1(ctx), c.result);
        EXPECT_EQ(op.terminationRequested, c.terminate);
        EXPECT_EQ(op.questions.size(), c.questions);
        if (c.questions == 2) {
            EXPECT_EQ(op.questions[1], QStringLiteral("Celotni seznam oseb brez sektorizacije je v datoteki ") + QChar(13) +
                                           f.folder() + QStringLiteral("OsbBrezSektorja.txt") + QChar(13) + QChar(13) +
                                           QStringLiteral("Izhod iz programa?"));
        }
    }
}

TEST_F(UnsectoredTest, AFileThatCannotBeWrittenStopsBeforeTheQuestion) {
    f.state.UnsectoredPersons = {123};
    f.state.ProgramFolder = f.folder() + QStringLiteral("missing/");
    EXPECT_THROW(OsebeBrezSektorizacije1(f.ctx), std::runtime_error);
    EXPECT_TRUE(f.op.questions.isEmpty());
}

TEST_F(UnsectoredTest, AClientWhoseNameCannotBeReadIsListedWithoutName) {
    f.state.UnsectoredPersons = {777};
    f.op.answers = {true};
    OsebeBrezSektorizacije1(f.ctx);
    EXPECT_TRUE(listFile().endsWith("     777   \r\n"));
}

} // namespace
