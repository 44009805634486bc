#include "review/ReviewData.h"

#include "app/StepErrors.h"
#include "collect/ReferenceData.h"
#include "store/Query.h"
#include "store/ReportNumber.h"
#include "store/WorkTableWriter.h"

namespace {

QString clientStatement() {
    return QStringLiteral(" SELECT ") + QStringLiteral(" O.NZV NAZIV_STRANKE") + QStringLiteral(", O.IME IME_STRANKE") +
           QStringLiteral(", O.SEKTORIZACIJA SEKTORIZACIJA ") + QStringLiteral(" FROM OSB O") +
           QStringLiteral(" WHERE O.SFOSB = :SFOSB ");
}

QString securityStatement() { return QStringLiteral(" SELECT KRT FROM SFVP ") + QStringLiteral(" WHERE SFVP = :SFVP "); }

QString openingLotStatement(const QString& sfdjvList) {
    return QStringLiteral(" SELECT  Z.LOT0 LOT FROM VPSHST Z ") +
           QStringLiteral(", (SELECT SFTRG, SFVP FROM KTC WHERE  SFKTC=(SELECT MAX(SFKTC) FROM KTC WHERE KTC.DAN <= "
                          ":DAN30  AND KTC.SFVP=:SFVP)   ) K   ") +
           QStringLiteral(", POG P ") + QStringLiteral(" WHERE Z.SFVP=:SFVP ") + QStringLiteral(" AND Z.IDPOG=P.IDPOG ") +
           QStringLiteral(" AND P.SFOSB=:SFOSB ") + QStringLiteral(" AND Z.DAN = :DAN30 ") +
           QStringLiteral(" AND Z.SFDJV IN (") + sfdjvList + QStringLiteral(")  ") + QStringLiteral(" AND Z.SFVP=K.SFVP");
}

QString closingLotStatement(const QString& sfdjvList) {
    return QStringLiteral(" SELECT Z.LOT0 LOT  FROM VPSHST Z ") +
           QStringLiteral(", (SELECT SFTRG, SFVP FROM KTC WHERE  SFKTC=(SELECT MAX(SFKTC) FROM KTC WHERE KTC.DAN <= "
                          ":DATUMDO  AND KTC.SFVP=:SFVP)   ) K   ") +
           QStringLiteral(", POG P ") + QStringLiteral(" WHERE Z.SFVP=:SFVP ") + QStringLiteral(" AND Z.IDPOG=P.IDPOG ") +
           QStringLiteral(" AND P.SFOSB=:SFOSB ") + QStringLiteral(" AND Z.DAN = :DATUMDO ") +
           QStringLiteral(" AND Z.SFDJV IN (") + sfdjvList + QStringLiteral(")  ") + QStringLiteral(" AND Z.SFVP=K.SFVP ");
}

struct DetailKey {
    qint32 ctrl;
    qint32 sfvp;
    qint32 sfosb;
    QString k15;
};

} // namespace

QString ReviewData::displayStatement(qint32 reportNumber) {
    return QStringLiteral("SELECT   ") + QStringLiteral(" P.IDPOR ") + QStringLiteral(",P.DATUM ") +
           QStringLiteral(",P.K31 ZACETNO_STANJE") + QStringLiteral(",P.K32 IZDAJA") + QStringLiteral(",P.K34 NAKUP") +
           QStringLiteral(",P.K35 PRODAJA") + QStringLiteral(",P.K37 KONCNO_STANJE") +
           QStringLiteral(",P.K38 LOT_KONCNO_STANJE") + QStringLiteral(",P.K310 LOT_ZACETNO_STANJE") +
           QStringLiteral(",P.K39 PROVIZIJA") + QStringLiteral(",P.SFVP SFVP") + QStringLiteral(",P.SFSOS SFSOS") +
           QStringLiteral(", DRZ.KRT DRZAVA ") + QStringLiteral(",P.SFOSB SFOSB") + QStringLiteral(",P.K16 NAZIV_STRANKE") +
           QStringLiteral(",P.K14 K14") + QStringLiteral(",P.K15 K15") + QStringLiteral(",P.K26 KRTVP ") +
           QStringLiteral(",P.SEKTORIZACIJA SEKTORIZACIJA") + QStringLiteral(" FROM TEMP_TEVRA1 P, DRZ DRZ  ") +
           QStringLiteral(" WHERE IDPOR=") + QString::number(reportNumber) + QStringLiteral(" AND P.K15=DRZ.SFDRZ ") +
           QStringLiteral(" AND (P.K38<>0  OR P.K37<>0 OR P.K31<>0 OR P.K32<>0 or P.K35<>0 or P.K34<>0)  ");
}

qint32 ReviewData::complete(const QDate& from, const QDate& to, const QList<bool>& ticked) {
    RunState& s = ctx_.state;
    s.period = periodValues(from, to, s.EuroChangeoverDate);
    s.SfdjvList = buildSfdjvList(s.ActivityCodes, ticked);

    qint32 reportNumber = 1;
    store::Query query(ctx_.db);
    showingStatementOnFailure(ctx_.op, [&] {
        query.setSql(QStringLiteral("SELECT MAX(IDPOR) IDPOR FROM TEMP_TEVRA1"));
        query.open();
        if (!query.eof()) reportNumber = query.integer(QStringLiteral("IDPOR"));
    });
    ctx_.op.setBusy(true);
    ctx_.op.processEvents();

    const QString detailText = QStringLiteral("SELECT  * ") + QStringLiteral(" FROM TEMP_TEVRA1 ") +
                               QStringLiteral(" WHERE IDPOR=") + QString::number(reportNumber) +
                               QStringLiteral(" AND OBLIKA IS NOT NULL");
    // The rows are read first, then completed one by one, so that writing never disturbs the walk.
    QList<DetailKey> rows;
    store::WorkTableWriter detail(ctx_.db, QStringLiteral("TEMP_TEVRA1"));
    showingStatementOnFailure(ctx_.op, [&] {
        detail.open(detailText);
        query.setSql(detailText);
        query.open();
        while (!query.eof()) {
            rows.append({query.integer(QStringLiteral("CTRL")), query.integer(QStringLiteral("SFVP")),
                         query.integer(QStringLiteral("SFOSB")), query.text(QStringLiteral("K15"))});
            query.next();
        }
        query.close();
    });

    store::BatchScope batch(ctx_.db);
    store::Query client(ctx_.db), security(ctx_.db), opening(ctx_.db), closing(ctx_.db);
    const QString openingText = openingLotStatement(s.SfdjvList);
    const QString closingText = closingLotStatement(s.SfdjvList);
    const int n = rows.size();
    for (int i = 0; i < n; ++i) {
        const DetailKey& row = rows[i];
        ctx_.op.setProgressText(QStringLiteral("STANJE  ") + QString::number(i + 1) + QStringLiteral(" / ") +
                                QString::number(n));
        ctx_.op.processEvents();
        QString sector, name, firstName, code;
        double openingLot = 0, closingLot = 0;
        showingStatementOnFailure(ctx_.op, [&] {
            client.setSql(clientStatement());
            client.bindInt(QStringLiteral("SFOSB"), row.sfosb);
            client.open();
            if (!client.eof()) {
                sector = client.text(QStringLiteral("SEKTORIZACIJA"));
                name = client.text(QStringLiteral("NAZIV_STRANKE"));
                firstName = client.text(QStringLiteral("IME_STRANKE"));
            }
            client.close();
        });
        showingStatementOnFailure(ctx_.op, [&] {
            security.setSql(securityStatement());
            security.bindInt(QStringLiteral("SFVP"), row.sfvp);
            security.open();
            code = security.eof() ? QString() : BREZ_S(security.text(QStringLiteral("KRT")));
            security.close();
        });
        showingStatementOnFailure(ctx_.op, [&] {
            opening.setSql(openingText);
            opening.bindInt(QStringLiteral("SFOSB"), row.sfosb);
            opening.bindInt(QStringLiteral("SFVP"), row.sfvp);
            opening.bindDate(QStringLiteral("DAN30"), s.period.PriorClose);
            opening.open();
            openingLot = opening.eof() ? 0.0 : opening.number(QStringLiteral("LOT"));
            opening.close();
        });
        showingStatementOnFailure(ctx_.op, [&] {
            closing.setSql(closingText);
            closing.bindInt(QStringLiteral("SFOSB"), row.sfosb);
            closing.bindInt(QStringLiteral("SFVP"), row.sfvp);
            closing.bindDate(QStringLiteral("DATUMDO"), to);
            closing.open();
            closingLot = closing.eof() ? 0.0 : closing.number(QStringLiteral("LOT"));
            closing.close();
        });
        detail.edit({{QStringLiteral("IDPOR"), reportNumber},
                     {QStringLiteral("CTRL"), row.ctrl},
                     {QStringLiteral("SFVP"), row.sfvp},
                     {QStringLiteral("SFOSB"), row.sfosb}});
        detail.set(QStringLiteral("K32"), openingLot);
        detail.set(QStringLiteral("K38"), closingLot);
        detail.set(QStringLiteral("K310"), openingLot);
        detail.set(QStringLiteral("SEKTORIZACIJA"), sector);
        detail.set(QStringLiteral("K16"), name.trimmed() + u' ' + firstName.trimmed());
        detail.set(QStringLiteral("K26"), code.trimmed());
        if (row.k15.trimmed().isEmpty()) detail.set(QStringLiteral("K15"), QStringLiteral("S"));
        showingStatementOnFailure(ctx_.op, [&] { detail.post(); });
    }
    return reportNumber;
}
