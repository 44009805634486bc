#pragma once

#include <QDate>
#include <QString>
#include <optional>

/// Number of days of a month of the Gregorian calendar.
int DaysInMonth(int year, int month);

/// The period proposed at start-up: the whole month before the month of `today`.
struct ProposedPeriod {
    QDate from;
    QDate to;
};
ProposedPeriod proposedPeriod(const QDate& today);

/// A date as the operator types it, in the short date form dd.mm.yyyy (one-digit day and month
/// accepted). Nothing for an empty text or an invalid date.
std::optional<QDate> parseShortDate(const QString& text);
/// The short date text of a date (dd.mm.yyyy).
QString shortDateText(const QDate& date);
