#include "aggregate/CompletionStatements.h"

namespace completion {

namespace {

/// The pieces that follow each income and dividend statement's own WHERE pieces.
QString rowFilter(const IncomeFilter& f) {
    QString s;
    s += QStringLiteral(" AND D.IDPOG=P.IDPOG ");
    s += QStringLiteral(" AND D.SFDJV IN (") + f.sfdjvList + QStringLiteral(")  ");
    s += QStringLiteral(" AND D.ZPD >= :DATUMOD ");
    s += QStringLiteral(" AND D.ZPD <= :DATUMDO ");
    if (f.sectorGroup) {
        s += QStringLiteral(" AND P.SFOSB=O.SFOSB ");
        // The clients of the report row itself: those whose detail rows were grouped into it.
        s += QStringLiteral(" AND P.SFOSB IN (SELECT T.SFOSB FROM TEMP_TEVRA1 T WHERE T.IDPOR=") +
             QString::number(f.idPor) +
             QStringLiteral(" AND COALESCE(T.OBLIKA,'')=:OBLIKA AND COALESCE(T.SEKTORIZACIJA,'')=:SEKTOR"
                            " AND COALESCE(T.K15,'')=:K15 AND COALESCE(T.K313,'')=:K313 AND COALESCE(T.K25,'')=:K25");
        if (f.keyHasClientName) s += QStringLiteral(" AND COALESCE(T.K16,'')=:K16");
        s += QStringLiteral(")");
    } else {
        s += QStringLiteral(" AND P.SFOSB=:SFOSB ");
    }
    s += QStringLiteral(" AND D.SFPDG IN ('=', '@') ");
    s += QStringLiteral(" AND (D.SFFIS IS NULL OR D.SFFIS<>'G') ");
    if (f.sectorGroup && f.veruvi)
        s += QStringLiteral(" AND (O.SFSOS IS NULL OR O.SFSOS NOT IN ('V', 'S') OR D.IDPOG IN (50838)) ");
    return s;
}

} // namespace

QString issuerStatement() {
    QString s;
    s += QStringLiteral("SELECT O.MTS     MTS ");
    s += QStringLiteral(", O.NZV       NZV ");
    s += QStringLiteral(", S.CFI       VRSTA_PAPIRJA");
    s += QStringLiteral(", S.KRT       OZNAKA_PAPIRJA");
    s += QStringLiteral(", S.LOTEMS    IZDANIH_LOTOV");
    s += QStringLiteral(", V.ST        VALUTA_NOMINALE");
    s += QStringLiteral(", S.GLVNMN    NOMINALNA_VREDNOST");
    s += QStringLiteral(", O.SFSOS     SIFSIF_IZDAJATELJA");
    s += QStringLiteral(", O.SEKTORIZACIJA   SEKTOR_IZDAJATELJA ");
    s += QStringLiteral(" FROM SFVP S, OSB O, VLT V ");
    s += QStringLiteral(" WHERE S.SFVP=:SFVP ");
    s += QStringLiteral("   AND S.SFOSBIZD=O.SFOSB ");
    s += QStringLiteral("   AND S.SFVLTNMN=V.SFVLT ");
    return s;
}

QString incomeStatement(const IncomeFilter& filter, bool euroPeriod) {
    QString s = euroPeriod
                    ? QStringLiteral(" SELECT  MAX(D.TCJVLT) TCJVLT, max(d.idpog) idpog, ROUND(SUM(case when "
                                     "d.sfglvent ='%' then (d.obrvlt * d.lot) else d.got end/CASE WHEN D.TCJVLT=0 "
                                     "THEN 1 ELSE D.TCJVLT END ), 2) DOHODEK ")
                    : QStringLiteral(" SELECT  MAX(D.TCJVLT) TCJVLT, max(d.idpog) idpog, ROUND(SUM(D.GOT*D.TCJVLT), "
                                     "2) DOHODEK ");
    s += QStringLiteral(" FROM DOG D  ");
    s += QStringLiteral(", POG P ");
    if (filter.sectorGroup) s += QStringLiteral(", OSB O ");
    s += QStringLiteral(" WHERE D.SFVP=:SFVP ");
    s += rowFilter(filter);
    return s;
}

QString dividendStatement(const IncomeFilter& filter) {
    QString s;
    s += QStringLiteral(" SELECT SUM(D.LOT * K.OBROBRBRT) BRUTODIVIDENDE  ");
    s += QStringLiteral(", SUM(D.LOT * (K.OBROBRBRT - STRTUJ - OBROBR) ) DAVEK ");
    s += QStringLiteral(" FROM DOG D  ");
    s += QStringLiteral(", POG P ");
    s += QStringLiteral(", (SELECT OBROBRBRT, STRTUJ, OBROBR,  SFVP FROM KPN WHERE SFVP= :SFVP AND PRVDAN>= :DATUMOD "
                        "AND ZDNDAN <= :DATUMDO) K ");
    if (filter.sectorGroup) s += QStringLiteral(", OSB O ");
    s += QStringLiteral(" WHERE D.SFVP=:SFVP ");
    s += QStringLiteral(" AND D.SFVP = K.SFVP ");
    s += rowFilter(filter);
    return s;
}

QString directInvestmentStatement(const QString& sfdjvList, bool veruvi) {
    QString s;
    s += QStringLiteral(" SELECT COUNT(Z.IDPOG) AS NEPOSREDNE_NALOZBE ");
    s += QStringLiteral(" FROM VPSHST Z, SFVP S, FIN F ");
    s += QStringLiteral(", POG P, OSB O ");
    s += QStringLiteral(" WHERE ");
    s += QStringLiteral(" Z.DAN = :DATUMDO ");
    s += QStringLiteral(" AND Z.IDPOG=P.IDPOG ");
    s += QStringLiteral(" AND Z.SFDJV IN (") + sfdjvList + QStringLiteral(")  ");
    s += QStringLiteral(" AND P.SFOSB=:SFOSB ");
    s += QStringLiteral(" AND P.SFOSB=O.SFOSB ");
    s += QStringLiteral(" AND Z.SFVP=S.SFVP ");
    s += QStringLiteral(" AND S.SFFIN=F.SFFIN  ");
    s += QStringLiteral(" AND Z.SFVP=:SFVP");
    s += QStringLiteral(" AND F.SFLST='L'  ");
    s += QStringLiteral(" AND Z.LOT >= 0.1*S.LOTEMS ");
    if (veruvi) s += QStringLiteral(" AND (O.SFSOS IS NULL OR O.SFSOS NOT IN ('V', 'S') OR Z.IDPOG IN (50838)) ");
    return s;
}

} // namespace completion
