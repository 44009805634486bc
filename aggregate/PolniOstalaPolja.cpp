#include "aggregate/CompletionStatements.h"
#include "aggregate/GroupingStatements.h"
#include "aggregate/IncomeFields.h"
#include "aggregate/ReportGroups.h"
#include "aggregate/ReportSteps.h"
#include "aggregate/ReporterIdentity.h"
#include "aggregate/Rounding.h"
#include "collect/ReferenceData.h"
#include "store/Query.h"
#include "store/WorkTableWriter.h"

#include <cmath>
#include <vector>

namespace {

/// What completion reads of a report row before writing any field.
struct VisitedRow {
    qint32 idPor = 0;
    qint32 ctrl = 0;
    IncomeRowKeys keys;
    QString k14;
    QString k21;
    double k31 = 0, k32 = 0, k33 = 0, k34 = 0, k35 = 0, k37 = 0;
};

/// Issuer and security values of one security; empty texts and zeros when it is unknown.
struct IssuerValues {
    QString name;
    QString registrationNumber;
    QString sector;
    QString mark;
    QString type;
    double issuedQuantity = 0;
    QString nominalCurrency;
    double nominalValue = 0;
};

/// The nominal value as field 2.10. reports it: whole, halves to even, at least 1.
double nominalValueField(double nominal) {
    const double whole = std::nearbyint(nominal);
    return whole < 1 ? 1 : whole;
}

/// Field 2.3.: the issuer's registration number for a home issuer in a form held at home.
QString issuerRegistrationField(const RunState& s, const QString& k21Written, const QString& k14,
                                const QString& registrationNumber) {
    const bool homeIssuer = NazivDrzave(s, k21Written).left(3) == QLatin1String("SVN");
    const bool foreignForm = k14 == QLatin1String("TNR") || k14 == QLatin1String("SNR") || k14 == QLatin1String("SNN");
    return homeIssuer && !foreignForm ? registrationNumber : QString();
}

std::vector<VisitedRow> readRows(Context& ctx) {
    std::vector<VisitedRow> rows;
    store::Query q(ctx.db);
    q.setSql(grouping::reportRows(ctx.state.IdPor));
    for (q.open(); !q.eof(); q.next()) {
        VisitedRow r;
        r.idPor = q.integer(QStringLiteral("IDPOR"));
        r.ctrl = q.integer(QStringLiteral("CTRL"));
        r.keys.sfvp = q.integer(QStringLiteral("SFVP"));
        r.keys.sfosb = q.integer(QStringLiteral("SFOSB"));
        r.keys.sektorizacija = q.text(QStringLiteral("SEKTORIZACIJA"));
        r.keys.sectorGroup = isSectorGroupSector(r.keys.sektorizacija);
        r.keys.oblika = q.text(QStringLiteral("OBLIKA"));
        r.keys.k15 = q.text(QStringLiteral("K15"));
        r.keys.k16 = q.text(QStringLiteral("K16"));
        r.keys.k313 = q.text(QStringLiteral("K313"));
        r.keys.k25 = q.text(QStringLiteral("K25"));
        r.k14 = q.text(QStringLiteral("K14"));
        r.k21 = q.text(QStringLiteral("K21"));
        r.k31 = q.number(QStringLiteral("K31"));
        r.k32 = q.number(QStringLiteral("K32"));
        r.k33 = q.number(QStringLiteral("K33"));
        r.k34 = q.number(QStringLiteral("K34"));
        r.k35 = q.number(QStringLiteral("K35"));
        r.k37 = q.number(QStringLiteral("K37"));
        rows.push_back(std::move(r));
    }
    q.close();
    return rows;
}

IssuerValues readIssuer(Context& ctx, store::Query& q, qint32 sfvp) {
    const QString statement = completion::issuerStatement();
    IssuerValues v;
    try {
        q.setSql(statement);
        q.bindInt(QStringLiteral("SFVP"), sfvp);
        q.open();
        if (!q.eof()) {
            const bool zoze = ctx.state.ClientId == QLatin1String("ZOZE");
            const bool vedo = ctx.state.ClientId == QLatin1String("VEDO");
            v.name = q.text(QStringLiteral("NZV"));
            v.registrationNumber = q.text(QStringLiteral("MTS"));
            v.sector = q.text(QStringLiteral("SEKTOR_IZDAJATELJA")).left(7);
            const QString mark = q.text(QStringLiteral("OZNAKA_PAPIRJA"));
            v.mark = zoze ? mark : BREZ_S(mark);
            v.type = q.text(QStringLiteral("VRSTA_PAPIRJA")).left(vedo ? 6 : 2);
            v.issuedQuantity = q.number(QStringLiteral("IZDANIH_LOTOV"));
            v.nominalCurrency = q.text(QStringLiteral("VALUTA_NOMINALE"));
            v.nominalValue = q.number(QStringLiteral("NOMINALNA_VREDNOST"));
        }
        q.close();
    } catch (const std::exception&) {
        ctx.op.showMessage(QStringLiteral("Napaka pri branju SFVP!") + QChar(13) + statement);
        throw;
    }
    return v;
}

} // namespace

void PolniOstalaPolja(Context& ctx) {
    const RunState& s = ctx.state;
    Operator& op = ctx.op;
    auto progress = [&](const QString& text) {
        op.setProgressText(text);
        op.processEvents();
    };
    progress(QStringLiteral("Ostala polja .."));

    store::BatchScope batch(ctx.db);
    IncomeFields incomeFields(ctx);
    try {
        const std::vector<VisitedRow> rows = readRows(ctx);
        const QString total = QString::number(rows.size());
        store::WorkTableWriter target(ctx.db, QStringLiteral("TEMP_TEVRA"));
        target.open(grouping::reportRows(s.IdPor));
        store::Query issuerQuery(ctx.db);
        int completed = 0;
        for (const VisitedRow& row : rows) {
            const QString counts = QString::number(completed) + QStringLiteral(" / ") + total;
            const IssuerValues issuer = readIssuer(ctx, issuerQuery, row.keys.sfvp);
            progress(QStringLiteral("3.8  ") + counts);
            const double income = incomeFields.income(row.keys);
            progress(QStringLiteral("3.12  ") + counts);
            const double mark = incomeFields.directInvestmentMark(row.keys);
            progress(QStringLiteral("3.14  ") + counts);
            progress(QStringLiteral("1.8  ") + counts);

            target.edit({{QStringLiteral("IDPOR"), row.idPor}, {QStringLiteral("CTRL"), row.ctrl}});
            target.set(QStringLiteral("K15"), NazivDrzave(s, row.keys.k15));
            const QString k21 = NazivDrzave(s, row.k21);
            target.set(QStringLiteral("K21"), k21);
            target.set(QStringLiteral("K22"), issuer.name);
            target.set(QStringLiteral("K23"), issuerRegistrationField(s, k21, row.k14, issuer.registrationNumber));
            target.set(QStringLiteral("K24"), NormaliseSector(issuer.sector));
            target.set(QStringLiteral("K26"), issuer.mark);
            target.set(QStringLiteral("K27"), issuer.type);
            target.set(QStringLiteral("K28"), issuer.issuedQuantity);
            target.set(QStringLiteral("K29"), issuer.nominalCurrency);
            target.set(QStringLiteral("K210"), nominalValueField(issuer.nominalValue));
            target.set(QStringLiteral("K314"), issuer.nominalCurrency);
            target.set(QStringLiteral("K38"), ScaleToThousands(s.EuroPeriod, income));
            target.set(QStringLiteral("K312"), mark);
            target.set(QStringLiteral("K18"), NormaliseSector(row.keys.sektorizacija));
            const long double balance = static_cast<long double>(row.k37) - row.k31 - row.k32 + row.k33 - row.k34 + row.k35;
            target.set(QStringLiteral("K36"), static_cast<double>(balance));
            const QString head = row.keys.sektorizacija.trimmed().left(4);
            if (isSectorGroupSector(head) && head != QLatin1String("S.13"))
                target.set(QStringLiteral("K16"), NormaliseSector(row.keys.sektorizacija));
            target.post();

            ++completed;
            progress(QStringLiteral("Polja: ") + QString::number(completed) + QStringLiteral(" / ") + total);
        }
    } catch (const std::exception&) {
        op.showMessage(QStringLiteral("Napaka pri azuriranju ostalih polj!") + QChar(13) + incomeFields.lastStatement());
        throw;
    }
}
