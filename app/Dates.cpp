#include "app/Dates.h"

#include <QRegularExpression>

int DaysInMonth(int year, int month) {
    switch (month) {
    case 1: case 3: case 5: case 7: case 8: case 10: case 12:
        return 31;
    case 4: case 6: case 9: case 11:
        return 30;
    case 2:
        return QDate::isLeapYear(year) ? 29 : 28;
    default:
        return 0;
    }
}

ProposedPeriod proposedPeriod(const QDate& today) {
    int year = today.year();
    int month = today.month() - 1;
    if (month == 0) {
        month = 12;
        --year;
    }
    return {QDate(year, month, 1), QDate(year, month, DaysInMonth(year, month))};
}

std::optional<QDate> parseShortDate(const QString& text) {
    static const QRegularExpression form(QStringLiteral(R"(^\s*(\d{1,2})\.(\d{1,2})\.(\d{4})\s*$)"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const QDate date(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    if (!date.isValid()) return std::nullopt;
    return date;
}

QString shortDateText(const QDate& date) { return date.toString(QStringLiteral("dd.MM.yyyy")); }
