#pragma once

#include <QDate>
#include <QString>
#include <stdexcept>

/// A non-zero amount that has to be converted with a rate of 0 or no rate at all: the run stops
/// rather than write an infinite or undefined amount.
class MissingRate : public std::runtime_error {
public:
    MissingRate(const QString& what, qint32 securityId, const QString& isin, const QDate& from, const QDate& to)
        : std::runtime_error(message(what, securityId, isin, from, to).toStdString()) {}

    static QString message(const QString& what, qint32 securityId, const QString& isin, const QDate& from,
                           const QDate& to) {
        return QStringLiteral("Tečaj valute vrednostnega papirja %1 (ISIN %2) za obdobje %3 - %4 je 0 ali ga ni: "
                              "%5 ni mogoče preračunati. Vnesite tečaj in ponovite obdelavo.")
            .arg(securityId)
            .arg(isin.trimmed().isEmpty() ? QStringLiteral("-") : isin.trimmed(),
                 from.toString(QStringLiteral("dd.MM.yyyy")), to.toString(QStringLiteral("dd.MM.yyyy")), what);
    }
};
