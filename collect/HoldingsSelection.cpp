#include "collect/HoldingsSelection.h"

#include "collect/SqlPieces.h"

QString holdingsSelectionStatement(const QString& sfdjvList, bool euroPeriod) {
    SqlPieces s;
    s << "SELECT" << "A.SfOsb," << "A.SfSos," << "A.DSTRANKE," << "A.SEKTORIZACIJA," << "A.SFVP," << "A.IDPOG,"
      << "A.ZACETNO," << "A.KONCNO," << "A.PROMET," << "A.ZALOGA," << "A.DIZDAJATELJA," << "A.ISIN,"
      << "K.SfDrzTrg";
    s << "FROM   (" << "SELECT X.SfOsb," << "X.SfSos," << "X.DSTRANKE," << "X.SEKTORIZACIJA," << "X.SFVP,"
      << "X.IDPOG," << "SUM(X.ZACETNO) AS ZACETNO," << "SUM(X.KONCNO) AS KONCNO," << "SUM(X.PROMET) AS PROMET,"
      << "SUM(X.ZALOGA) AS ZALOGA," << "X.DIZDAJATELJA," << "X.ISIN";
    s << "FROM" << "(";
    s << "SELECT  Z.SfOsb," << "Z.SfSos," << "Z.SFDRZ DSTRANKE," << "Z.SEKTORIZACIJA SEKTORIZACIJA,"
      << "Z.SFVP SFVP," << "Z.IDPOG IDPOG," << "Z.ZACETNO," << "Z.KONCNO," << "0 AS PROMET," << "0 AS ZALOGA,"
      << "OSBIZD.SFDRZ DIZDAJATELJA," << "S.ISIN ISIN";
    s << "FROM OSB OSBIZD,  SFVP S," << "(";
    s << "SELECT O.SfOsb," << "O.SfSos," << "O.SfDrz," << "O.SEKTORIZACIJA," << "W.SFVP," << "W.IDPOG,"
      << "SUM(W.ZACETNO) AS ZACETNO," << "SUM(W.KONCNO) AS KONCNO";
    s << "FROM" << "(";
    s << "SELECT VPSHST.IDPOG IDPOG," << "VPSHST.SFVP SFVP," << "VPSHST.LOT0 AS ZACETNO," << "0 AS KONCNO";
    s << "FROM VPSHST, POG  WHERE VPSHST.DAN = :DAN30 AND VPSHST.LOT0<>0" << "AND VPSHST.IDPOG=POG.IDPOG"
      << "AND VPSHST.SFDJV IN (" << sfdjvList << ")";
    // Both halves keep every holding row: with UNION, two rows of one contract and security under
    // two activity codes with equal quantities would collapse into one.
    s << "UNION ALL";
    s << "SELECT VPSHST.IDPOG IDPOG," << "VPSHST.SFVP SFVP," << "0 AS ZACETNO," << "VPSHST.LOT0 AS KONCNO";
    s << "FROM VPSHST, POG WHERE VPSHST.DAN = :DANDO  AND VPSHST.LOT0<>0" << "AND VPSHST.IDPOG=POG.IDPOG"
      << "AND VPSHST.SFDJV IN (" << sfdjvList << ")";
    s << ") W," << "POG P, OSB O" << "WHERE  W.IdPog = P.IdPog AND P.SfOsb = O.SfOsb"
      << "AND (P.porocanje_vrp is null or P.porocanje_vrp<>'D')"
      << "GROUP BY O.SfOsb, O.SfSos, O.SfDrz, O.SEKTORIZACIJA, W.SFVP, W.IDPOG";
    s << ") Z" << "WHERE  Z.SFVP=S.SFVP" << "AND S.SFOSBIZD=OSBIZD.SFOSB"
      << "AND (S.SFFIN IS NULL OR (S.SFFIN<>'E' AND S.SFFIN <>'G'))";
    s << "UNION";
    s << "SELECT Z.SfOsb," << "Z.SfSos," << "Z.SFDRZ DSTRANKE," << "Z.SEKTORIZACIJA SEKTORIZACIJA,"
      << "D.SFVP SFVP," << "D.IDPOG IDPOG," << "0 AS ZACETNO," << "0 AS KONCNO,";
    if (euroPeriod)
        s << "SUM(D.Lot*D.GlvVlt/CASE WHEN D.TCJVLT=0 THEN 1 ELSE D.TCJVLT END) AS PROMET,";
    else
        s << "SUM(D.Lot*(D.GlvVlt)*D.TcjVlt) AS PROMET,";
    s << "SUM(D.VP) AS ZALOGA," << "OSBIZD.SFDRZ DIZDAJATELJA," << "S.ISIN ISIN";
    s << "FROM DOG D," << "POG P," << "OSB Z," << "OSB OSBIZD," << "SFVP S";
    s << "WHERE D.Zpd >= :DAN30 AND D.Zpd <=  :DANDO" << "AND D.IdPog = P.IdPog AND P.SfOsb = Z.SfOsb"
      << "AND D.SFVP=S.SFVP" << "AND D.SFDJV IN (" << sfdjvList << ")";
    s << "AND S.SFOSBIZD=OSBIZD.SFOSB" << "AND (S.SFFIN IS NULL OR (S.SFFIN<>'E' AND S.SFFIN <>'G'))"
      << "AND NOT (D.SFDJV='L' AND D.SFPDG ='V')" << "AND (P.porocanje_vrp is null or P.porocanje_vrp<>'D')";
    s << "GROUP BY Z.SfOsb, Z.SfSos, Z.SFDRZ, Z.SEKTORIZACIJA, D.SFVP, OSBIZD.SFDRZ, S.ISIN , D.IDPOG";
    s << ") X"
      << "GROUP BY X.SfOsb, X.SfSos, X.DSTRANKE, X.SEKTORIZACIJA,  X.SFVP, X.DIZDAJATELJA, X.ISIN, X.IDPOG"
      << ") A,";
    s << "(" << "SELECT L.SFTRG," << "L.SFVP," << "T.SfDrzTrg" << "FROM TRG T," << "(" << "SELECT MAX(SFTRG) AS SFTRG,"
      << "SFVP FROM KTC" << "WHERE KTC.DAN <= :DANDO" << "AND (KTC.DANPRK IS NULL OR KTC.DANPRK>=:DAN30 )"
      << "GROUP BY KTC.SFVP" << ") L" << "WHERE  L.SfTrg = T.SfTrg" << ") K";
    s << "WHERE  A.SfVp = K.SfVp" << "AND K.SfDrzTrg IS NOT NULL";
    return s.text();
}
