#include "collect/PeriodFlows.h"

#include "aggregate/Rounding.h"
#include "collect/MissingRate.h"
#include "collect/SqlPieces.h"
#include "store/SqlError.h"

#include <cmath>

namespace flows {
namespace {

bool isZoze(const FlowOptions& o) { return o.clientId == QLatin1String("ZOZE"); }
bool isVeruvi(const FlowOptions& o) { return o.clientId == QLatin1String("VERUVI"); }

/// Clients with status V or S count only under contract 50838; a client without a status counts.
QString veruviPiece(const char* alias) {
    return QStringLiteral("AND (O.SFSOS IS NULL OR O.SFSOS NOT IN ('V', 'S') OR %1.IDPOG IN (50838))")
        .arg(QLatin1String(alias));
}

void addExclusions(SqlPieces& s, const FlowOptions& o) {
    if (!o.sfdogExclusionList.trimmed().isEmpty())
        s << "AND D.SFDOG NOT IN (" << o.sfdogExclusionList << ")";
    if (!o.idpogExclusionList.trimmed().isEmpty())
        s << "AND D.IDPOG NOT IN (" << o.idpogExclusionList << ")";
}

} // namespace

QString issueStatement(const FlowOptions& o) {
    SqlPieces s;
    if (o.euroPeriod)
        s << "SELECT  ROUND(SUM(D.LOT*D.GLVVLT/(CASE WHEN D.TcjVlt=0 THEN 1 ELSE D.TcjVlt END)),2) IZDAJA";
    else
        s << "SELECT  ROUND(SUM(D.LOT*D.GLVVLT*D.TCJVLT), 2) IZDAJA";
    s << "FROM DOG D,  TRG T1" << ", POG P, OSB O"
      << ", (SELECT SFTRG, SFVP FROM KTC WHERE  SFKTC=(SELECT MAX(SFKTC) FROM KTC WHERE KTC.DAN<= :DATUMDO  AND "
         "KTC.SFVP=:SFVP)   ) K"
      << "WHERE D.SFVP=:SFVP" << "AND D.IDPOG=P.IDPOG" << "AND D.IDPOG=:IDPOG" << "AND P.SFOSB=:SFOSB"
      << "AND P.SFOSB=O.SFOSB" << "AND D.SFTRG=T1.SFTRG" << "AND D.ZPD>= :DATUMOD" << "AND D.ZPD<= :DATUMDO"
      << "AND D.SFDJV IN (" << o.sfdjvList << ")" << "AND D.SFVP=K.SFVP" << "AND (D.SFFIS IS NULL OR D.SFFIS<>'G')"
      << "AND D.SFPDG IN ('A','N')" << "AND T1.SFTRZ='1'";
    if (isVeruvi(o)) s << veruviPiece("D");
    return s.text();
}

QString maturityStatement(const FlowOptions& o) {
    SqlPieces s;
    if (o.oracle) {
        s << "SELECT ROUND(SUM(KPN.GLVOBR * Z.VP /" << "(SELECT max(v1.tcj) FROM vln v1" << "WHERE v1.sfvln = '0'"
          << "AND dan = (SELECT MAX (v2.dan) FROM vln v2" << "WHERE v2.dan <= kpn.zdndan AND v2.sfvln = '0'"
          << "AND v1.sfvlt=v2.sfvlt)" << "AND v1.sfvlt=sfvp.sfvltnmn)" << "), 0) DOSPETJE";
    } else {
        s << "SELECT ROUND(SUM(KPN.GLVOBR * Z.VP), 0) DOSPETJE" << ",            (SELECT max(v1.tcj) FROM vln v1"
          << "WHERE v1.sfvln = '0'" << "AND dan = (SELECT MAX (v2.dan) FROM vln v2"
          << "WHERE v2.dan <= max(kpn.zdndan) AND v2.sfvln = '0'" << "AND v1.sfvlt=v2.sfvlt)"
          << "AND v1.sfvlt=max(sfvp.sfvltnmn))" << "TECAJ";
    }
    s << ", MAX(SFVP.SFGLVENT) SFGLVENT" << "FROM DOG Z" << ", POG P, SFVP SFVP, OSB O"
      << ", (SELECT ZDNDAN, SFVP, GLVOBR FROM KPN K1 WHERE K1.ZDNDAN=(SELECT MAX(K2.ZDNDAN) FROM KPN K2 WHERE "
         "K2.ZDNDAN<= :DATUMDO AND K2.ZDNDAN >= :DAN1 AND K1.SFVP=K2.SFVP)) KPN"
      << ", (SELECT SFTRG, SFVP FROM KTC WHERE  SFKTC=(SELECT MAX(SFKTC) FROM KTC WHERE KTC.DAN<= :DATUMDO AND "
         "KTC.SFVP=:SFVP)   ) K"
      << "WHERE Z.SFVP=:SFVP" << "AND Z.IDPOG=P.IDPOG" << "AND Z.IDPOG=:IDPOG" << "AND P.SFOSB=:SFOSB"
      << "AND P.SFOSB=O.SFOSB" << "AND Z.SFDJV IN (" << o.sfdjvList << ")" << "AND Z.SFVP=K.SFVP"
      << "AND Z.SFVP=KPN.SFVP" << "AND Z.SFVP=SFVP.SFVP" << "AND Z.DAN<= :DATUMDO" << "AND KPN.ZDNDAN>= :DAN1"
      << "AND KPN.ZDNDAN<= :DATUMDO" << "AND Z.IDOBD=(SELECT MAX(IDOBD) FROM OBD)"
      << "AND (Z.SFPDG IS NULL or Z.SFPDG<>'.')";
    if (isVeruvi(o)) s << veruviPiece("Z");
    return s.text();
}

QString purchaseStatement(const FlowOptions& o) {
    SqlPieces s;
    s << "SELECT";
    if (o.euroPeriod) {
        s << "ROUND(SUM(D.VP*D.GLVVLT/CASE WHEN D.TCJVLT=0 THEN 1 ELSE D.TCJVLT END / CASE WHEN D.DAN< :DATUMOD  "
             "THEN D.TCJTVL ELSE 1 END   ), 2)  NAKUP";
        if (!isZoze(o)) {
            s << ", ROUND(SUM(D.LOT*D.GLVVLT/CASE WHEN D.TCJVLT=0 THEN 1 ELSE D.TCJVLT END *"
              << "(CASE WHEN D.SFDJV='C' THEN D.PVZPRJ ELSE 0.0 END+CASE WHEN D.SFDJV='X' THEN D.PVZPRJ ELSE 0.0 "
                 "END+D.PVZPLC)*0.01   / CASE WHEN D.DAN< :DATUMOD  THEN CASE WHEN D.TCJTVL=0 THEN 1 ELSE D.TCJTVL "
                 "END ELSE 1 END    ), 2) PROVIZIJA"
              << ", ROUND(SUM(D.LOT*D.GLVVLT/CASE WHEN D.TCJVLT=0 THEN 1 ELSE D.TCJVLT END *D.PVZPLC*0.01), 2) "
                 "PROVIZIJA_PLACANA";
        } else {
            s << ", ROUND(SUM(D.LOT*D.GLVVLT/CASE WHEN D.TCJVLT=0 THEN 1 ELSE D.TCJVLT END *"
              << "(CASE WHEN D.SFDJV='C' THEN D.PVZPRJ ELSE 0.0 END+CASE WHEN D.SFDJV='X' THEN D.PVZPRJ ELSE 0.0 "
                 "END+D.PVZPLC)*0.01   / CASE WHEN D.DAN< :DATUMOD  THEN D.TCJTVL ELSE 1 END  ), 2)   PROVIZIJA"
              << ", ROUND(SUM(D.LOT*D.GLVVLT/CASE WHEN D.TCJVLT=0 THEN 1 ELSE D.TCJVLT END *D.PVZPLC*0.01), 2) "
                 "PROVIZIJA_PLACANA"
              << ", SUM(STO.VRD) PROVIZIJA_PSL";
        }
    } else {
        s << "ROUND(SUM(D.VP*D.GLVVLT*D.TCJVLT), 0)  NAKUP"
          << ", ROUND(SUM(D.LOT*D.GLVVLT*D.TCJVLT*(CASE WHEN D.SFDJV='C' THEN D.PVZPRJ ELSE 0.0 END+ CASE WHEN "
             "D.SFDJV='X' THEN D.PVZPRJ ELSE 0.0 END+D.PVZPLC)*0.01), 2) PROVIZIJA"
          << ", ROUND(SUM(D.LOT*D.GLVVLT*D.TCJVLT*D.PVZPLC*0.01), 0) PROVIZIJA_PLACANA";
    }
    s << ", ROUND(SUM(PSL.PVZPRJDOD), 0) PROVIZIJAPSL" << "FROM  DOG D, PSL PSL, TRG T1" << ", POG P, OSB O";
    if (isZoze(o)) s << ", (select idpsl, sum(tcjvlt*vrd) vrd from sto group by idpsl) STO";
    s << "WHERE D.SFVP=:SFVP" << "AND D.IDPOG=P.IDPOG" << "AND D.IDPOG=:IDPOG" << "AND P.SFOSB=:SFOSB"
      << "AND P.SFOSB=O.SFOSB" << "AND D.ZPD>= :DATUMOD" << "AND D.SFDJV IN (" << o.sfdjvList << ")"
      << "AND D.SFPDG IN ('A','N', 'B')";
    addExclusions(s, o);
    s << "AND D.ZPD<= :DATUMDO" << "AND D.SFTRG=T1.SFTRG" << "AND (T1.SFTRZ IS NULL OR T1.SFTRZ<>'1')"
      << "AND (D.SFFIS IS NULL OR D.SFFIS<>'G')"
      << "AND D.IDPSL=PSL.IDPSL  AND (PSL.PTFVP IS NULL OR PSL.PTFVP<>'N' )";
    if (isZoze(o)) s << "AND PSL.IDPSL=STO.IDPSL(+)";
    if (isVeruvi(o)) s << veruviPiece("D");
    return s.text();
}

QString saleStatement(const FlowOptions& o) {
    SqlPieces s;
    s << "SELECT";
    if (o.euroPeriod)
        s << "ROUND(ABS(SUM(D.VP*D.GLVVLT/CASE WHEN D.TCJVLT=0 THEN 1 ELSE D.TCJVLT END / CASE WHEN D.DAN< :DATUMOD  "
             "THEN (CASE WHEN D.TCJTVL=0 THEN 1 ELSE D.TCJTVL END) ELSE 1 END )   ), 2)  PRODAJA";
    else
        s << "ROUND(ABS(SUM(D.VP*(D.GLVVLT)*D.TCJVLT)), 2)  PRODAJA";
    s << "FROM  DOG D, PSL PSL" << ", POG P, OSB O" << "WHERE D.SFVP=:SFVP" << "AND D.IDPOG=P.IDPOG"
      << "AND D.IDPOG=:IDPOG" << "AND P.SFOSB=:SFOSB" << "AND P.SFOSB=O.SFOSB" << "AND D.ZPD >= :DATUMOD"
      << "AND D.SFDJV IN (" << o.sfdjvList << ")" << "AND D.SFPDG IN ('a','P', 'b', '{')";
    addExclusions(s, o);
    s << "AND D.ZPD <= :DATUMDO" << "AND D.IDPSL=PSL.IDPSL  AND (PSL.PTFVP IS NULL OR PSL.PTFVP<>'N' )"
      << "AND (D.SFFIS IS NULL OR D.SFFIS<>'G')";
    if (isVeruvi(o)) s << veruviPiece("D");
    return s.text();
}

} // namespace flows

FlowOptions PeriodFlows::optionsFrom(const RunState& state) {
    FlowOptions o;
    o.clientId = state.ClientId;
    o.sfdjvList = state.SfdjvList;
    o.sfdogExclusionList = state.SfdogExclusionList;
    o.idpogExclusionList = state.IdpogExclusionList;
    o.euroPeriod = state.EuroPeriod;
    o.oracle = state.DbOracle;
    return o;
}

PeriodFlows::PeriodFlows(Context& ctx, QString* lastStatement)
    : ctx_(ctx), lastStatement_(lastStatement), options_(optionsFrom(ctx.state)), qIssue_(ctx.db),
      qMaturity_(ctx.db), qPurchase_(ctx.db), qSale_(ctx.db) {
    issueText_ = flows::issueStatement(options_);
    maturityText_ = flows::maturityStatement(options_);
    purchaseText_ = flows::purchaseStatement(options_);
    saleText_ = flows::saleStatement(options_);
}

template <typename Work>
void PeriodFlows::step(const char* number, store::Query& query, const char* traceName, const QString& text,
                       const PositionKey& position, Work&& work) {
    const RunState& s = ctx_.state;
    *lastStatement_ = text;
    try {
        query.setSql(text);
        ctx_.trace.write(QLatin1String(traceName), text);
        query.bindInt(QStringLiteral("SFOSB"), position.clientId);
        query.bindInt(QStringLiteral("SFVP"), position.securityId);
        query.bindInt(QStringLiteral("IDPOG"), position.contractId);
        query.bindDate(QStringLiteral("DATUMOD"), s.period.PeriodFrom);
        query.bindDate(QStringLiteral("DATUMDO"), s.period.PeriodTo);
        query.bindDate(QStringLiteral("DAN1"), s.period.MonthStart);
        query.open();
        work();
        query.close();
    } catch (const store::SqlError&) {
        ctx_.op.showMessage(QLatin1String(number) + QChar(13) + text);
        throw;
    }
}

void PeriodFlows::issuePurchases(const PositionKey& position, FlowValues& values) {
    step("3.2", qIssue_, "_32.sql", issueText_, position,
         [&] { values.issuePurchases = RoundToUnits(qIssue_.number(QStringLiteral("IZDAJA"))); });
}

void PeriodFlows::maturities(const PositionKey& position, FlowValues& values) {
    double amount = 0;
    double rate = 0;
    QString principalUnit;
    step("3.3", qMaturity_, "_33.sql", maturityText_, position, [&] {
        amount = RoundToUnits(qMaturity_.number(QStringLiteral("DOSPETJE")));
        if (!options_.oracle) rate = qMaturity_.number(QStringLiteral("TECAJ"));
        principalUnit = qMaturity_.text(QStringLiteral("SFGLVENT")).trimmed();
    });
    // Only securities whose principal is stated in percent have maturities.
    if (principalUnit != QLatin1String("%") || amount == 0) {
        values.maturities = 0;
        return;
    }
    if (!options_.oracle) {
        if (rate == 0 || !std::isfinite(rate)) {
            const RunState& s = ctx_.state;
            throw MissingRate(QStringLiteral("zapadlih glavnic"), position.securityId, position.isin,
                              s.period.PeriodFrom, s.period.PeriodTo);
        }
        amount = RoundToUnits(amount / rate);
    }
    values.maturities = amount;
}

void PeriodFlows::purchases(const PositionKey& position, FlowValues& values) {
    step("3.4", qPurchase_, "_34.sql", purchaseText_, position, [&] {
        values.purchases = RoundToUnits(qPurchase_.number(QStringLiteral("NAKUP")));
        double commission = RoundToUnits(qPurchase_.number(QStringLiteral("PROVIZIJA")));
        if (options_.clientId == QLatin1String("ZOZE") && options_.euroPeriod)
            commission += RoundToUnits(qPurchase_.number(QStringLiteral("PROVIZIJA_PSL")));
        values.commission = commission;
    });
}

void PeriodFlows::sales(const PositionKey& position, FlowValues& values) {
    step("3.5", qSale_, "_35.sql", saleText_, position,
         [&] { values.sales = RoundToUnits(std::fabs(qSale_.number(QStringLiteral("PRODAJA")))); });
}
