#include "aggregate/Rounding.h"

#include <gtest/gtest.h>

namespace {

TEST(RoundToUnits, SmallAmountsBecomeOneAndHalvesGoToEven) {
    const struct {
        double in, out;
    } cases[] = {{0.04, 0}, {0.05, 1}, {-0.04, 0}, {-0.05, -1}, {-0.5, -1}, {1, 1}, {1.0000001, 1},
                 {1.5, 2}, {2.5, 2}, {3.5, 4}, {-2.5, -2}, {0, 0}, {123456.49, 123456}};
    for (const auto& c : cases) EXPECT_EQ(RoundToUnits(c.in), c.out) << c.in;
}

TEST(ScaleToThousands, BeforeTheChangeoverOnly) {
    const struct {
        double in, out;
    } cases[] = {{250, 1}, {1000, 1}, {1499, 1}, {1500, 2}, {2500, 2}, {-250, -1}, {-1000, -1},
                 {-2500, -2}, {0, 0}, {0.4, 1}, {-1000.5, -1}};
    for (const auto& c : cases) EXPECT_EQ(ScaleToThousands(false, c.in), c.out) << c.in;
    EXPECT_EQ(ScaleToThousands(true, 0.4), 0.4);
    EXPECT_EQ(ScaleToThousands(true, 2500), 2500);
}

TEST(NormaliseSector, Table) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {{"S.14", "S.14"},     {"S.1411", "S.14"}, {"S.12201", "S.122"}, {"S.94", "S.24"},
                 {"S.11001", "S.11"},  {"S.1312", "S.1312"}, {"S.131299", "S.1312"}, {"S.1321", "S.13"},
                 {"S.7", "S.7"},       {"Novak", "Novak"}, {"", ""},            {"S.2", "S.2"},
                 {"S.9", "S.2"},       {"S.", "S."},       {"S.22", "S.22"},     {"S.1299", "S.129"}};
    for (const auto& c : cases) {
        const QString once = NormaliseSector(QString::fromLatin1(c.in));
        EXPECT_EQ(once, QString::fromLatin1(c.out)) << c.in;
        EXPECT_EQ(NormaliseSector(once), once) << c.in;
    }
}

} // namespace
