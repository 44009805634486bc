#include "collect/HoldingsValuation.h"

#include "aggregate/Rounding.h"
#include "app/StepErrors.h"
#include "collect/MissingRate.h"
#include "collect/SqlPieces.h"

#include <cmath>

namespace holdings {
namespace {

const char* const kVeruviPiece = "AND (O.SFSOS IS NULL OR O.SFSOS NOT IN ('V', 'S') OR Z.IDPOG IN (50838))";

void addBkOrZovHead(SqlPieces& s, const QString& clientId, const char* valueName) {
    const bool bk = clientId == QLatin1String("BK");
    const QString lot = bk ? QStringLiteral("z.lot") : QStringLiteral("z.lot0");
    s << QStringLiteral("SELECT COALESCE (ROUND (SUM (CASE z.sfdjv WHEN 'L' THEN %1 * z.glvvrd ELSE Z.LOT0*Z.GLV END "
                        "), 0), 0) %2,")
             .arg(lot, QLatin1String(valueName))
      << QStringLiteral("COALESCE (ROUND (SUM (CASE z.sfdjv WHEN 'L' THEN %1 * z.obrvrd ELSE Z.LOT*Z.OBR END ), 0), "
                        "0) natecene_obresti,")
             .arg(lot)
      << QStringLiteral("COALESCE (SUM (CASE z.sfdjv WHEN 'L' THEN %1 ELSE Z.LOT0 END ), 0) lot0").arg(lot);
}

void addBkOrZovTail(SqlPieces& s, const QString& sfdjvList, const char* day, const char* idpog) {
    const QString d = QLatin1String(day);
    s << ", max(z.sfdjv) sfdjv" << "FROM vpshst z," << "(SELECT sftrg, sfvp" << "FROM ktc"
      << "WHERE sfktc = (SELECT MAX (sfktc)" << "FROM ktc"
      << QStringLiteral("WHERE (ktc.dan) <= :%1 AND ktc.sfvp = :SFVP)) k,").arg(d) << "pog p," << "sfvp s"
      << "WHERE z.sfvp = :SFVP" << "AND z.sfvp = k.sfvp" << "AND z.sfvp = s.sfvp"
      << QStringLiteral("AND (z.dan) = :%1").arg(d) << "AND z.idpog = p.idpog" << idpog << "AND p.sfosb = :SFOSB"
      << "AND Z.SFDJV IN (" << sfdjvList << ")" << "AND z.sfsvp = 'L'"
      << QStringLiteral("AND (s.zpdvp IS NULL OR s.zpdvp >= :%1)").arg(d);
}

bool hasOwnVariant(const QString& clientId) {
    return clientId == QLatin1String("BK") || clientId == QLatin1String("ZOV");
}

} // namespace

QString unsettledStatement() {
    SqlPieces s;
    s << "SELECT  SUM(DOG.VP) VP FROM DOG, POG" << "WHERE DOG.SFVP=:SFVP" << "AND DOG.IDPOG=POG.IDPOG"
      << "AND POG.SFOSB=:SFOSB" << "AND DOG.SFPDG IN ('P', 'N', 'A', 'a')" << "AND DOG.DAN< :DATUMOD"
      << "AND DOG.ZPD>= :DATUMOD";
    return s.text();
}

QString rateStatement() {
    SqlPieces s;
    s << "SELECT v1.tcj  tecaj, v1.dan datum" << "FROM vln v1, sfvp s2" << "WHERE v1.sfvlt = s2.sfvltnmn"
      << "AND s2.sfvp = :SFVP" << "AND v1.sfvln = '0'" << "AND v1.dan =" << "(SELECT MAX (v2.dan)"
      << "FROM vln v2, sfvp s3" << "WHERE v2.sfvlt = s3.sfvltnmn" << "AND s3.sfvp = :SFVP" << "AND v2.dan <= :DATUMDO"
      << "AND v2.sfvln = '0')" << "order by v1.dan desc";
    return s.text();
}

QString openingStatement(const QString& clientId, const QString& sfdjvList, const QString& unsettledLotsText) {
    SqlPieces s;
    if (hasOwnVariant(clientId)) {
        addBkOrZovHead(s, clientId, "ZACETNO_stanje");
        addBkOrZovTail(s, sfdjvList, "DAN30", "AND Z.IDPOG=:IDPOG");
    } else {
        s << "SELECT  ROUND(SUM((Z.LOT0-(" << unsettledLotsText << ") )*Z.GLV), 2)  ZACETNO_STANJE"
          << ", ROUND(SUM(Z.LOT0), 2)  LOT0" << ", max(z.sfdjv) sfdjv" << "FROM VPSHST Z"
          << ", (SELECT SFTRG, SFVP FROM KTC WHERE  SFKTC=(SELECT MAX(SFKTC) FROM KTC WHERE KTC.DAN<= :DAN30  AND "
             "KTC.SFVP=:SFVP)   ) K"
          << ", POG P, OSB O" << "WHERE Z.DAN= :DAN30" << "AND Z.SFVP=:SFVP" << "AND Z.IDPOG=P.IDPOG"
          << "AND Z.IDPOG=:IDPOG" << "AND P.SFOSB=:SFOSB" << "AND P.SFOSB=O.SFOSB" << "AND Z.SFDJV IN (" << sfdjvList
          << ")";
        if (clientId == QLatin1String("VERUVI")) s << kVeruviPiece;
    }
    s << "AND Z.SFVP=K.SFVP";
    return s.text();
}

QString closingStatement(const QString& clientId, const QString& sfdjvList) {
    SqlPieces s;
    if (hasOwnVariant(clientId)) {
        addBkOrZovHead(s, clientId, "koncno_stanje");
        addBkOrZovTail(s, sfdjvList, "DATUMDO", "AND z.idpog = :idpog");
        return s.text();
    }
    s << "SELECT ROUND(SUM(Z.LOT0*Z.GLV), 2)  KONCNO_STANJE" << ", ROUND(SUM( Z.LOT*Z.OBR), 0) NATECENE_OBRESTI"
      << ", ROUND(SUM(Z.LOT0), 2)  LOT0" << ", 'X' sfdjv" << "FROM VPSHST Z"
      << ", (SELECT SFTRG, SFVP FROM KTC WHERE  SFKTC=(SELECT MAX(SFKTC) FROM KTC WHERE KTC.DAN <= :DATUMDO  AND "
         "KTC.SFVP= :SFVP)   ) K"
      << ", POG P, SFVP SFVP , OSB O" << "WHERE Z.DAN = :DATUMDO" << "AND Z.SFVP=:SFVP" << "AND Z.IDPOG=P.IDPOG"
      << "AND Z.IDPOG=:IDPOG" << "AND Z.SFDJV IN (" << sfdjvList << ")" << "AND P.SFOSB=:SFOSB"
      << "AND P.SFOSB=O.SFOSB" << "AND Z.SFVP=K.SFVP" << "AND Z.SFVP=SFVP.SFVP";
    if (clientId == QLatin1String("VERUVI")) s << kVeruviPiece;
    return s.text();
}

QString quantityText(double quantity) {
    // Fixed notation: a large quantity must never reach the statement in exponent form.
    return QString::number(quantity, 'f', 0).replace(u',', u'.');
}

} // namespace holdings

HoldingsValuation::HoldingsValuation(Context& ctx, QString* lastStatement)
    : ctx_(ctx), lastStatement_(lastStatement), qUnsettled_(ctx.db), qRate_(ctx.db), qOpening_(ctx.db),
      qClosing_(ctx.db) {
    const RunState& s = ctx.state;
    changeoverDay_ = s.EuroChangeoverDate.isValid() && s.EuroChangeoverDate == s.period.PeriodFrom;
    unsettledText_ = holdings::unsettledStatement();
    rateText_ = holdings::rateStatement();
    closingText_ = holdings::closingStatement(s.ClientId, s.SfdjvList);
}

void HoldingsValuation::prepare(store::Query& query, const QString& traceName, const QString& text) {
    *lastStatement_ = text;
    query.setSql(text);
    ctx_.trace.write(traceName, text);
}

double HoldingsValuation::divideByRate(double amount, const PositionKey& position) const {
    if (amount == 0) return 0;
    if (securityRate_ == 0 || !std::isfinite(securityRate_)) {
        const RunState& s = ctx_.state;
        throw MissingRate(QStringLiteral("vrednosti stanja"), position.securityId, position.isin,
                          s.period.PeriodFrom, s.period.PeriodTo);
    }
    return RoundToUnits(amount / securityRate_);
}

void HoldingsValuation::opening(const PositionKey& position, HoldingValues& values) {
    const RunState& s = ctx_.state;
    double unsettledLots = 0;
    if (changeoverDay_) {
        showingStatementOnFailure(ctx_.op, [&] {
            prepare(qUnsettled_, QStringLiteral("_31dog.sql"), unsettledText_);
            qUnsettled_.bindInt(QStringLiteral("SFVP"), position.securityId);
            qUnsettled_.bindInt(QStringLiteral("SFOSB"), position.clientId);
            qUnsettled_.bindDate(QStringLiteral("DATUMOD"), s.period.PeriodFrom);
            qUnsettled_.open();
            unsettledLots = std::nearbyint(qUnsettled_.number(QStringLiteral("VP")));
            qUnsettled_.close();
        });
    }

    prepare(qRate_, QStringLiteral("_tecaj.sql"), rateText_);
    qRate_.bindInt(QStringLiteral("SFVP"), position.securityId);
    qRate_.bindDate(QStringLiteral("DATUMDO"), s.period.PeriodTo);
    qRate_.open();
    securityRate_ = qRate_.eof() ? 0 : qRate_.number(QStringLiteral("TECAJ"));
    qRate_.close();

    const QString lotsText = holdings::quantityText(unsettledLots);
    if (openingText_.isEmpty() || lotsText != openingLotsText_) {
        openingLotsText_ = lotsText;
        openingText_ = holdings::openingStatement(s.ClientId, s.SfdjvList, lotsText);
    }
    QString sfdjv;
    showingStatementOnFailure(ctx_.op, [&] {
        prepare(qOpening_, QStringLiteral("_31.sql"), openingText_);
        qOpening_.bindInt(QStringLiteral("SFOSB"), position.clientId);
        qOpening_.bindInt(QStringLiteral("SFVP"), position.securityId);
        qOpening_.bindDate(QStringLiteral("DAN30"), s.period.PriorClose);
        qOpening_.bindInt(QStringLiteral("IDPOG"), position.contractId);
        qOpening_.open();
        values.openingValue = RoundToUnits(qOpening_.number(QStringLiteral("ZACETNO_STANJE")));
        values.openingQuantity = RoundToUnits(qOpening_.number(QStringLiteral("LOT0")));
        sfdjv = qOpening_.text(QStringLiteral("SFDJV"));
        qOpening_.close();
    });
    if (s.ClientId == QLatin1String("BK") && sfdjv != QLatin1String("L"))
        values.openingValue = divideByRate(values.openingValue, position);
}

void HoldingsValuation::closing(const PositionKey& position, HoldingValues& values) {
    const RunState& s = ctx_.state;
    values.accruedInterest = 0;
    prepare(qClosing_, QStringLiteral("_37.sql"), closingText_);
    qClosing_.bindInt(QStringLiteral("SFOSB"), position.clientId);
    qClosing_.bindInt(QStringLiteral("SFVP"), position.securityId);
    qClosing_.bindInt(QStringLiteral("IDPOG"), position.contractId);
    qClosing_.bindDate(QStringLiteral("DATUMDO"), s.period.PeriodTo);
    qClosing_.open();
    values.closingValue = RoundToUnits(qClosing_.number(QStringLiteral("KONCNO_STANJE")));
    values.accruedInterest = RoundToUnits(qClosing_.number(QStringLiteral("NATECENE_OBRESTI")));
    const QString sfdjv = qClosing_.text(QStringLiteral("SFDJV"));
    qClosing_.close();
    if (s.ClientId == QLatin1String("BK") && sfdjv != QLatin1String("L")) {
        values.closingValue = divideByRate(values.closingValue, position);
        values.accruedInterest = divideByRate(values.accruedInterest, position);
    }
}
