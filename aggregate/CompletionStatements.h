#pragma once

#include <QString>

/// Statements of the completion step: the issuer look-up, the income and dividend statements
/// of field 3.8. and the direct-investment statement of field 3.12. Built here, from their
/// pieces, and nowhere else.
namespace completion {

/// The issuer and security data of a security (parameter SFVP).
QString issuerStatement();

/// What selects the deals a report row's income is made of.
struct IncomeFilter {
    bool sectorGroup = false;     ///< the row stands for a sector: the clients of its keys, not one client
    QString sfdjvList;            ///< activity codes as an SQL list
    qint32 idPor = 0;             ///< report number whose detail rows name the sector's clients
    bool keyHasClientName = true; ///< K16 is a grouping key of the run
    bool veruvi = false;          ///< ClientId "VERUVI": V and S persons left out except contract 50838
};

/// Income of a row: parameters SFVP, DATUMOD, DATUMDO and, in the client group, SFOSB; in the
/// sector group OBLIKA, SEKTOR, K15, K313, K25 (and K16 when it is a key) as the row's group keys.
QString incomeStatement(const IncomeFilter& filter, bool euroPeriod);
/// Gross dividends of a row; the same parameters as the income statement.
QString dividendStatement(const IncomeFilter& filter);
/// Number of qualifying holding records of a client in a security at the end of the period
/// (parameters SFVP, SFOSB, DATUMDO).
QString directInvestmentStatement(const QString& sfdjvList, bool veruvi);

} // namespace completion
