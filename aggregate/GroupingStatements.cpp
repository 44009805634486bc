#include "aggregate/GroupingStatements.h"

namespace grouping {

namespace {
QString k16Piece(bool withoutClientName) {
    return withoutClientName ? QStringLiteral(",MAX(K16) K16 ") : QStringLiteral(",K16 K16 ");
}
} // namespace

QString deleteReportRows(qint32 idPor) {
    return QStringLiteral("DELETE FROM TEMP_TEVRA ") + QStringLiteral(" WHERE IDPOR=") + QString::number(idPor);
}

QString reportRows(qint32 idPor) {
    return QStringLiteral("SELECT * FROM TEMP_TEVRA ") + QStringLiteral(" WHERE IDPOR=") + QString::number(idPor);
}

QString sectorGroupRows(qint32 idPor, bool withoutClientName) {
    QString s;
    s += QStringLiteral("SELECT  MAX(DATUM) DATUM ");
    s += QStringLiteral(", MAX(CTRL) CTRL");
    s += QStringLiteral(",MAX(IDPOR) IDPOR");
    s += QStringLiteral(",MAX(SFOSB) SFOSB");
    s += QStringLiteral(",MAX(SFVP) SFVP");
    s += QStringLiteral(",MAX(SFSOS) SFSOS");
    s += QStringLiteral(",K15 K15 ");
    s += QStringLiteral(",MAX(K11) K11 ");
    s += QStringLiteral(",MAX(K12) K12 ");
    s += QStringLiteral(",MAX(K13) K13 ");
    s += QStringLiteral(",MAX(K14) K14 ");
    s += k16Piece(withoutClientName);
    s += QStringLiteral(",MAX(K17) K17");
    s += QStringLiteral(",MAX(K21) K21");
    s += QStringLiteral(",K25 K25");
    s += QStringLiteral(",SUM(K31) K31");
    s += QStringLiteral(",SUM(K32) K32");
    s += QStringLiteral(",SUM(K33) K33");
    s += QStringLiteral(",SUM(K34) K34");
    s += QStringLiteral(",SUM(K35) K35");
    s += QStringLiteral(",SUM(K37) K37 ");
    s += QStringLiteral(",SUM(K39) K39 ");
    s += QStringLiteral(",SUM(K310) K310 ");
    s += QStringLiteral(",SUM(K311) K311 ");
    s += QStringLiteral(",SUM(ZACLOT) ZACLOT ");
    s += QStringLiteral(",K313 K313 ");
    s += QStringLiteral(",SEKTORIZACIJA SEKTORIZACIJA ");
    s += QStringLiteral(",OBLIKA OBLIKA");
    s += QStringLiteral(" FROM TEMP_TEVRA1 ");
    s += QStringLiteral(" WHERE IDPOR=") + QString::number(idPor);
    s += QStringLiteral(" AND (SEKTORIZACIJA LIKE 'S.14%' OR SEKTORIZACIJA LIKE 'S.15%' OR SEKTORIZACIJA LIKE "
                        "'S.24%' OR SEKTORIZACIJA LIKE 'S.25%' OR SEKTORIZACIJA LIKE 'S.94%' OR SEKTORIZACIJA "
                        "LIKE 'S.13%')  ");
    s += QStringLiteral(" AND OBLIKA IS NOT NULL");
    s += withoutClientName ? QStringLiteral(" GROUP BY  OBLIKA, SEKTORIZACIJA, K15, K313, K25 ")
                           : QStringLiteral(" GROUP BY  OBLIKA, SEKTORIZACIJA, K15, K16, K313, K25  ");
    return s;
}

QString clientGroupRows(qint32 idPor, bool withoutClientName) {
    QString s;
    s += QStringLiteral("SELECT  MAX(DATUM) DATUM ");
    s += QStringLiteral(", MAX(CTRL) CTRL ");
    s += QStringLiteral(",MAX(IDPOR) IDPOR ");
    s += QStringLiteral(",SFOSB SFOSB ");
    s += QStringLiteral(",MAX(SFVP) SFVP");
    s += QStringLiteral(",MAX(SFSOS) SFSOS ");
    s += QStringLiteral(",K15 K15 ");
    s += QStringLiteral(",MAX(K11) K11 ");
    s += QStringLiteral(",MAX(K12) K12 ");
    s += QStringLiteral(",MAX(K13) K13 ");
    s += QStringLiteral(",MAX(K14) K14 ");
    s += k16Piece(withoutClientName);
    s += QStringLiteral(",MAX(K17) K17 ");
    s += QStringLiteral(",MAX(K21) K21 ");
    s += QStringLiteral(",K25 K25 ");
    s += QStringLiteral(",SUM(K31) K31 ");
    s += QStringLiteral(",SUM(K32) K32 ");
    s += QStringLiteral(",SUM(K33) K33 ");
    s += QStringLiteral(",SUM(K34) K34 ");
    s += QStringLiteral(",SUM(K35) K35 ");
    s += QStringLiteral(",SUM(K37) K37 ");
    s += QStringLiteral(",SUM(K39) K39 ");
    s += QStringLiteral(",MAX(K310) K310 ");
    s += QStringLiteral(",SUM(K311) K311 ");
    s += QStringLiteral(",SUM(ZACLOT) ZACLOT ");
    s += QStringLiteral(",K313 K313 ");
    s += QStringLiteral(",MAX(SEKTORIZACIJA) SEKTORIZACIJA ");
    s += QStringLiteral(",OBLIKA OBLIKA ");
    s += QStringLiteral(" FROM TEMP_TEVRA1 ");
    s += QStringLiteral(" WHERE IDPOR=") + QString::number(idPor);
    // Detail rows of clients without a sector belong here too: NOT (...) alone is not true for a NULL sector.
    s += QStringLiteral(" AND (SEKTORIZACIJA IS NULL OR NOT (SEKTORIZACIJA LIKE 'S.14%' OR SEKTORIZACIJA LIKE "
                        "'S.15%' OR SEKTORIZACIJA LIKE 'S.24%' OR SEKTORIZACIJA LIKE 'S.25%' OR SEKTORIZACIJA "
                        "LIKE 'S.94%'  OR SEKTORIZACIJA LIKE 'S.13%'))  ");
    s += QStringLiteral(" AND OBLIKA IS NOT NULL ");
    s += withoutClientName ? QStringLiteral(" GROUP BY   SFOSB, OBLIKA,  K15, K313, K25 ")
                           : QStringLiteral(" GROUP BY  SFOSB, OBLIKA,  K15, K16, K313, K25  ");
    return s;
}

} // namespace grouping
