#include "collect/PolniTemp.h"

#include "aggregate/ReporterIdentity.h"
#include "aggregate/Rounding.h"
#include "aggregate/Unsectored.h"
#include "app/StepErrors.h"
#include "collect/HoldingsSelection.h"
#include "collect/HoldingsValuation.h"
#include "collect/PeriodFlows.h"
#include "collect/ReferenceData.h"
#include "store/Query.h"
#include "store/ReportNumber.h"
#include "store/WorkTableWriter.h"

#include <QDateTime>
#include <QHash>

QString FormCode(bool clientDomestic, bool issuerDomestic, bool marketDomestic) {
    if (clientDomestic == issuerDomestic && issuerDomestic == marketDomestic) return {};
    QString code;
    code += marketDomestic ? u'S' : u'T';
    code += issuerDomestic ? u'R' : u'N';
    code += clientDomestic ? u'R' : u'N';
    return code;
}

QString personGroup(const QString& sector) {
    for (const char* natural : {"S.14", "S.24", "S.15", "S.25"}) {
        if (sector.startsWith(QLatin1String(natural))) return QStringLiteral("F");
    }
    return QStringLiteral("P");
}

QString detailRowsDeleteStatement(qint32 idPor) {
    return QStringLiteral("DELETE FROM TEMP_TEVRA1 ") + QStringLiteral(" WHERE IDPOR=") + QString::number(idPor);
}

namespace {

/// One row of the holdings and turnover selection, as the transfer reads it.
struct SelectionRow {
    qint32 clientId = 0;
    qint32 securityId = 0;
    qint32 contractId = 0;
    QString status;       ///< SFSOS
    QString clientCountry;
    QString sector;       ///< SEKTORIZACIJA as stored
    QString issuerCountry;
    QString isin;
    QString marketCountry; ///< SFDRZTRG
    double closingQuantity = 0; ///< KONCNO
};

const QString S = QStringLiteral("S");

QString orDomestic(const QString& country) { return country.trimmed().isEmpty() ? S : country; }

/// The transfer of one run: the selection, its rows and the per-row look-ups and valuations.
class DetailTransfer {
public:
    explicit DetailTransfer(Context& ctx)
        : ctx_(ctx), s_(ctx.state), writer_(ctx.db, QStringLiteral("TEMP_TEVRA1")), holdings_(ctx, &last_),
          flows_(ctx, &last_) {}

    int run();

private:
    void progress(const QString& text) {
        ctx_.op.setProgressText(text);
        ctx_.op.processEvents();
    }
    void select();
    bool sectorCheckStops();
    void transfer(const SelectionRow& row);
    void writeRow(const SelectionRow& row, const QString& formCode);
    bool labelWithoutS(qint32 securityId);
    QString clientName(qint32 clientId);
    QString clientRegistration(qint32 clientId);

    Context& ctx_;
    RunState& s_;
    QString last_; ///< the statement built last, shown when the run fails
    store::WorkTableWriter writer_;
    HoldingsValuation holdings_;
    PeriodFlows flows_;
    QList<SelectionRow> rows_;
    int written_ = 0;
    QHash<qint32, bool> labels_;
    QHash<qint32, QString> names_;
    QHash<qint32, QString> registrations_;
};

int DetailTransfer::run() {
    showingStatementOnFailure(ctx_.op, [&] {
        // Rows a failed run left under this report number would be reported twice.
        store::Query remove(ctx_.db);
        last_ = detailRowsDeleteStatement(s_.IdPor);
        remove.setSql(last_);
        remove.exec();
        last_ = detailRowsStatement(s_.IdPor);
        writer_.open(last_);
    });
    try {
        select();
        s_.UnsectoredPersons.clear();
        if (s_.ClientId == QLatin1String("ZOZE") && sectorCheckStops()) return -1;

        store::BatchScope batch(ctx_.db);
        s_.ProgressCount = 0;
        for (const SelectionRow& row : std::as_const(rows_)) {
            ++s_.ProgressCount;
            transfer(row);
            progress(QStringLiteral("V temp  ") + QString::number(written_));
        }
    } catch (const std::exception& e) {
        const auto* sqlError = dynamic_cast<const store::SqlError*>(&e);
        const QString statement = sqlError ? sqlError->statement() : last_;
        ctx_.op.showMessage(statement);
        ctx_.op.showFailedStatement(statement);
        throw;
    }
    writer_.close();
    ctx_.op.processEvents();
    return written_;
}

void DetailTransfer::select() {
    progress(QStringLiteral("Stanje+promet .."));
    last_ = holdingsSelectionStatement(s_.SfdjvList, s_.EuroPeriod);
    ctx_.trace.write(QStringLiteral("_stanje.sql"), last_);
    store::Query Qdog(ctx_.db);
    Qdog.setSql(last_);
    Qdog.bindDate(QStringLiteral("DAN30"), s_.period.PriorClose);
    Qdog.bindDate(QStringLiteral("DANDO"), s_.period.PeriodTo);
    Qdog.open();
    progress(QStringLiteral("Polni temp "));
    rows_.clear();
    for (; !Qdog.eof(); Qdog.next()) {
        SelectionRow r;
        r.clientId = Qdog.integer(QStringLiteral("SFOSB"));
        r.securityId = Qdog.integer(QStringLiteral("SFVP"));
        r.contractId = Qdog.integer(QStringLiteral("IDPOG"));
        r.status = Qdog.text(QStringLiteral("SFSOS"));
        r.clientCountry = Qdog.text(QStringLiteral("DSTRANKE"));
        r.sector = Qdog.text(QStringLiteral("SEKTORIZACIJA"));
        r.issuerCountry = Qdog.text(QStringLiteral("DIZDAJATELJA"));
        r.isin = Qdog.text(QStringLiteral("ISIN"));
        r.marketCountry = Qdog.text(QStringLiteral("SFDRZTRG"));
        r.closingQuantity = Qdog.number(QStringLiteral("KONCNO"));
        rows_.append(r);
    }
    Qdog.close();
    s_.ProgressTotal = static_cast<int>(rows_.size());
}

bool DetailTransfer::sectorCheckStops() {
    for (const SelectionRow& row : std::as_const(rows_)) {
        if (!NormaliseSector(row.sector).trimmed().isEmpty()) continue;
        if (s_.UnsectoredPersons.contains(row.clientId)) continue;
        if (s_.UnsectoredPersons.size() >= kMaxUnsectoredPersons) continue;
        s_.UnsectoredPersons.append(row.clientId);
    }
    if (s_.UnsectoredPersons.isEmpty()) return false;
    return OsebeBrezSektorizacije1(ctx_) > 0;
}

bool DetailTransfer::labelWithoutS(qint32 securityId) {
    const auto it = labels_.constFind(securityId);
    if (it != labels_.cend()) return it.value();
    const bool result = SFVPBREZ_S(ctx_, securityId);
    labels_.insert(securityId, result);
    return result;
}

QString DetailTransfer::clientName(qint32 clientId) {
    auto it = names_.constFind(clientId);
    if (it == names_.cend()) it = names_.insert(clientId, VrniNazivOsb(ctx_, clientId));
    return it.value();
}

QString DetailTransfer::clientRegistration(qint32 clientId) {
    auto it = registrations_.constFind(clientId);
    if (it == registrations_.cend()) it = registrations_.insert(clientId, VrniMaticnoOsb(ctx_, clientId));
    return it.value();
}

void DetailTransfer::transfer(const SelectionRow& row) {
    const bool veruvi = s_.ClientId == QLatin1String("VERUVI");
    QString classificationMarket = orDomestic(row.marketCountry);
    if (veruvi) {
        classificationMarket = row.isin.trimmed().left(2).toUpper() == QLatin1String("SI") ? S : QStringLiteral("T");
        if (row.status == QLatin1String("V")) classificationMarket = S;
    }
    const QString code =
        FormCode(orDomestic(row.clientCountry) == S, row.issuerCountry == S, classificationMarket == S);
    if (code.isEmpty()) return;

    if (s_.period.PeriodFrom >= s_.EuroChangeoverDate && s_.ClientId != QLatin1String("ZOZE") &&
        !labelWithoutS(row.securityId))
        return;
    if (veruvi && (row.status == QLatin1String("V") || row.status == QLatin1String("S")) &&
        row.contractId != 50838)
        return;
    writeRow(row, code);
}

void DetailTransfer::writeRow(const SelectionRow& row, const QString& formCode) {
    try {
        ++written_;
        writer_.append();
        const QString sector = NormaliseSector(row.sector);
        const QString group = personGroup(sector);
        const QString clientCountry = orDomestic(row.clientCountry);
        writer_.set(QStringLiteral("CTRL"), written_);
        writer_.set(QStringLiteral("DATUM"), QDateTime::currentDateTime());
        writer_.set(QStringLiteral("IDPOR"), s_.IdPor);
        writer_.set(QStringLiteral("SFOSB"), row.clientId);
        writer_.set(QStringLiteral("SFVP"), row.securityId);
        writer_.set(QStringLiteral("SFSOS"), group);
        writer_.set(QStringLiteral("OBLIKA"), formCode);
        writer_.set(QStringLiteral("K11"), s_.period.PeriodCode);
        writer_.set(QStringLiteral("K12"), s_.ReporterRegNo);
        writer_.set(QStringLiteral("K13"), row.clientId == 2 ? QStringLiteral("1") : QStringLiteral("2"));
        writer_.set(QStringLiteral("K14"), formCode);
        writer_.set(QStringLiteral("K15"), clientCountry);
        writer_.set(QStringLiteral("K16"), group == QLatin1String("F") ? sector : NormaliseSector(clientName(row.clientId)));
        QString registration;
        if (clientCountry == S && group != QLatin1String("F")) {
            registration = clientRegistration(row.clientId);
            if (s_.ClientId == QLatin1String("ZOV")) registration = registration.trimmed().left(7);
        }
        writer_.set(QStringLiteral("K17"), registration);
        writer_.set(QStringLiteral("K21"), row.issuerCountry);
        writer_.set(QStringLiteral("K25"), row.isin);
        writer_.set(QStringLiteral("K311"), row.closingQuantity);
        writer_.set(QStringLiteral("K313"), orDomestic(row.marketCountry));
        writer_.set(QStringLiteral("SEKTORIZACIJA"), sector);

        const PositionKey position{row.clientId, row.securityId, row.contractId, row.isin};
        const QString n = QString::number(s_.ProgressCount);
        const QString t = QString::number(s_.ProgressTotal);
        const QString of = QStringLiteral(" / ") + t;
        HoldingValues holding;
        FlowValues flow;
        progress(QStringLiteral("3.1  ") + n + QStringLiteral("-/-") + t);
        holdings_.opening(position, holding);
        progress(QStringLiteral("3.2  ") + n + of);
        flows_.issuePurchases(position, flow);
        progress(QStringLiteral("3.3  ") + n + of);
        flows_.maturities(position, flow);
        progress(QStringLiteral("3.4  ") + n + of);
        flows_.purchases(position, flow);
        progress(QStringLiteral("3.5  ") + n + of);
        flows_.sales(position, flow);
        progress(QStringLiteral("3.7  ") + n + of);
        holdings_.closing(position, holding);

        writer_.set(QStringLiteral("K31"), holding.openingValue);
        writer_.set(QStringLiteral("K32"), flow.issuePurchases);
        writer_.set(QStringLiteral("K33"), flow.maturities);
        writer_.set(QStringLiteral("K34"), flow.purchases);
        writer_.set(QStringLiteral("K35"), flow.sales);
        writer_.set(QStringLiteral("K37"), holding.closingValue);
        writer_.set(QStringLiteral("K39"), flow.commission);
        writer_.set(QStringLiteral("K310"), holding.accruedInterest);
        writer_.set(QStringLiteral("ZACLOT"), holding.openingQuantity);
        writer_.post();
    } catch (const std::exception&) {
        writer_.cancel();
        ctx_.op.showMessage(QStringLiteral("Napaka pri dodajanju v tabelo TEMP_TEVRA"));
        throw;
    }
}

} // namespace

int PolniTemp(Context& ctx) {
    DetailTransfer transfer(ctx);
    return transfer.run();
}
