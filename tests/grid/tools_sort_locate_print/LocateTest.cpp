// The locate dialog: matching rules, masks, find first and find next.

#include "GridTestSupport.h"

#include "grid/GridDataset.h"
#include "grid/Uflocate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

TEST(LocateMatching, ExactAndPrefixRules) {
    struct Case {
        const char* text;
        const char* value;
        bool exact;
        bool matches;
    };
    const Case cases[] = {
        {"ABC", "ab", false, true},                                      // a to z fold
        {"XABC", "ab", false, false},                                    // only at the beginning
        {"abc", "AB", false, true},     {"Čebula", "čeb", false, false}, // č is not folded to Č
        {"čebula", "čEB", false, true}, {"AB", "ab", true, false},       // exact keeps case
        {"ab", "ab", true, true},       {"abc", "ab", true, false},      {"", "", false, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(locateMatches(QString::fromUtf8(c.text), QString::fromUtf8(c.value), c.exact), c.matches)
            << c.text << " / " << c.value << " exact " << c.exact;
}

TEST(LocateMatching, EditMasksInTheLineEditsNotation) {
    EXPECT_EQ(inputMaskOf(QString()), QString());
    EXPECT_EQ(inputMaskOf(QStringLiteral("00.00.0000;1;_")), QStringLiteral("99.99.9999;_"));
    EXPECT_EQ(inputMaskOf(QStringLiteral("!>LL-999;0; ")), QStringLiteral(">AA-000; "));
    EXPECT_EQ(inputMaskOf(QStringLiteral("\\AaC;1")), QStringLiteral("\\AnX;_"));
}

class LocateTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec(QStringLiteral("CREATE TABLE L (ID INTEGER, NAME VARCHAR(20), DATUM VARCHAR(10))"));
        db.exec(
            QStringLiteral("INSERT INTO L VALUES (1, 'XABC', '01.02.2024'), (2, 'ABC', '05.03.2024'), "
                           "(3, 'Čebula', '05.03.2024'), (4, 'abd', '07.03.2024'), (5, 'AB', '09.03.2024')"));
        ds = std::make_unique<GridDataset>(db.db(), QStringLiteral("SELECT * FROM L"));
        ds->open();
        ds->fieldByName(QStringLiteral("NAME")).setDisplayLabel(QStringLiteral("Naziv"));
        dialog.prepare(nullptr);
        dialog.prepare(ds.get());
    }

    void choose(int field, const QString& value, bool exact = false) {
        dialog.cbFields->setCurrentIndex(field);
        dialog.cbFieldsChange();
        dialog.meValue->setText(value);
        dialog.cbExact->setChecked(exact);
    }

    int currentId() const { return ds->value(QStringLiteral("ID")).toInt(); }

    TestDatabase db;
    std::unique_ptr<GridDataset> ds;
    TfLocate& dialog = TfLocate::instance();
};

TEST_F(LocateTest, FindFirstAndNextUntilTheEnd) {
    EXPECT_EQ(dialog.cbFields->count(), 3);
    EXPECT_EQ(dialog.cbFields->itemText(1), QStringLiteral("Naziv"));
    EXPECT_EQ(dialog.cbFields->currentIndex(), -1);

    choose(1, QStringLiteral("ab"));
    EXPECT_FALSE(dialog.btnFindFirst->isEnabled());
    EXPECT_EQ(dialog.find(true), QString());
    EXPECT_EQ(currentId(), 2);
    EXPECT_EQ(dialog.find(false), QString());
    EXPECT_EQ(currentId(), 4);
    EXPECT_EQ(dialog.find(false), QString());
    EXPECT_EQ(currentId(), 5);

    EXPECT_EQ(dialog.find(false), QStringLiteral("Ne najdem \"ab...\""));
    EXPECT_TRUE(ds->eof());
    EXPECT_EQ(dialog.find(false), QStringLiteral("Ne najdem \"ab...\""));
    EXPECT_TRUE(ds->eof());
    EXPECT_FALSE(ds->controlsDisabled());

    EXPECT_EQ(dialog.find(true), QString()); // from the top again
    EXPECT_EQ(currentId(), 2);
}

TEST_F(LocateTest, ExactAndCaseOfLettersBeyondZ) {
    choose(1, QStringLiteral("ab"), true);
    EXPECT_EQ(dialog.find(true), QStringLiteral("Ne najdem \"ab\""));

    choose(1, QStringLiteral("AB"), true);
    EXPECT_EQ(dialog.find(true), QString());
    EXPECT_EQ(currentId(), 5);

    choose(1, QStringLiteral("čeb"));
    EXPECT_EQ(dialog.find(true), QStringLiteral("Ne najdem \"čeb...\""));
    choose(1, QStringLiteral("Čeb"));
    EXPECT_EQ(dialog.find(true), QString());
    EXPECT_EQ(currentId(), 3);
}

TEST_F(LocateTest, MaskedValuesMustBeComplete) {
    ds->fieldByName(QStringLiteral("DATUM")).setEditMask(QStringLiteral("00.00.0000;1;_"));
    choose(2, QString());
    dialog.meValue->setText(QStringLiteral("05032024"));
    EXPECT_EQ(dialog.meValue->text(), QStringLiteral("05.03.2024"));
    EXPECT_EQ(dialog.find(true), QString());
    EXPECT_EQ(currentId(), 2);

    ds->setRecNo(0);
    dialog.meValue->setText(QStringLiteral("0503"));
    EXPECT_THROW(dialog.find(true), LocateMaskError);
    EXPECT_EQ(currentId(), 1); // nothing was searched
}

TEST_F(LocateTest, ReopeningKeepsTheChoiceOnlyForTheSameDataset) {
    choose(1, QStringLiteral("ab"));
    dialog.prepare(ds.get());
    EXPECT_EQ(dialog.cbFields->currentIndex(), 1);
    EXPECT_EQ(dialog.meValue->text(), QStringLiteral("ab"));

    GridDataset other(db.db(), QStringLiteral("SELECT NAME FROM L"));
    other.open();
    dialog.prepare(&other);
    EXPECT_EQ(dialog.cbFields->count(), 1);
    EXPECT_EQ(dialog.cbFields->currentIndex(), -1);
    EXPECT_TRUE(dialog.meValue->isHidden());
    EXPECT_EQ(dialog.find(true), QString()); // no field chosen: nothing to search
}
