#include "app/Dates.h"
#include "store/ReportNumber.h"

#include <gtest/gtest.h>

namespace {

TEST(DaysInMonth, MonthsAndLeapYears) {
    const struct {
        int year, month, days;
    } cases[] = {{2024, 1, 31}, {2024, 2, 29}, {2023, 2, 28}, {2100, 2, 28}, {2000, 2, 29},
                 {2024, 4, 30}, {2024, 9, 30}, {2024, 12, 31}, {1900, 2, 28}};
    for (const auto& c : cases) EXPECT_EQ(DaysInMonth(c.year, c.month), c.days) << c.year << "-" << c.month;
}

TEST(ProposedPeriod, IsThePreviousWholeMonth) {
    const struct {
        QDate today, from, to;
    } cases[] = {{QDate(2025, 1, 15), QDate(2024, 12, 1), QDate(2024, 12, 31)},
                 {QDate(2024, 3, 1), QDate(2024, 2, 1), QDate(2024, 2, 29)},
                 {QDate(2023, 3, 31), QDate(2023, 2, 1), QDate(2023, 2, 28)},
                 {QDate(2100, 3, 10), QDate(2100, 2, 1), QDate(2100, 2, 28)}};
    for (const auto& c : cases) {
        const ProposedPeriod p = proposedPeriod(c.today);
        EXPECT_EQ(p.from, c.from) << c.today.toString().toStdString();
        EXPECT_EQ(p.to, c.to) << c.today.toString().toStdString();
    }
}

TEST(ShortDates, OperatorTextToDate) {
    const struct {
        const char* text;
        QDate date;
    } cases[] = {{"01.03.2024", QDate(2024, 3, 1)}, {" 1.3.2024 ", QDate(2024, 3, 1)}, {"29.02.2024", QDate(2024, 2, 29)},
                 {"29.02.2023", QDate()},           {"", QDate()},                  {"31.04.2024", QDate()},
                 {"01.01.1900", QDate(1900, 1, 1)}, {"31.12.9999", QDate(9999, 12, 31)}, {"2024-03-01", QDate()},
                 {"1.1.24", QDate()},               {"00.01.2024", QDate()}};
    for (const auto& c : cases) {
        const auto parsed = parseShortDate(QString::fromLatin1(c.text));
        EXPECT_EQ(parsed.value_or(QDate()), c.date) << c.text;
    }
}

TEST(PeriodValues, FollowTheFirstMonth) {
    const QDate changeover(2024, 7, 1);
    const struct {
        QDate from, to;
        const char* code;
        QDate monthStart, monthEnd, priorClose;
    } cases[] = {
        {QDate(2024, 3, 15), QDate(2024, 5, 20), "202403", QDate(2024, 3, 1), QDate(2024, 3, 31), QDate(2024, 2, 29)},
        {QDate(2025, 1, 1), QDate(2025, 1, 31), "202501", QDate(2025, 1, 1), QDate(2025, 1, 31), QDate(2024, 12, 31)},
        {changeover, QDate(2024, 7, 31), "202407", QDate(2024, 7, 1), QDate(2024, 7, 31), changeover},
        {QDate(999, 12, 5), QDate(999, 12, 6), "099912", QDate(999, 12, 1), QDate(999, 12, 31), QDate(999, 11, 30)},
    };
    for (const auto& c : cases) {
        const PeriodValues p = periodValues(c.from, c.to, changeover);
        EXPECT_EQ(p.PeriodCode, QString::fromLatin1(c.code));
        EXPECT_EQ(p.MonthStart, c.monthStart);
        EXPECT_EQ(p.MonthEnd, c.monthEnd);
        EXPECT_EQ(p.PriorClose, c.priorClose) << c.code;
        EXPECT_EQ(p.PeriodTo, c.to);
    }
    // Until the changeover date is known it matches no date.
    EXPECT_EQ(periodValues(changeover, changeover, QDate()).PriorClose, QDate(2024, 6, 30));
}

} // namespace
