#pragma once

#include "app/Context.h"
#include "collect/HoldingsValuation.h"
#include "store/Query.h"

#include <QString>

/// What the flow statements depend on besides the position: taken from the run state once per run.
struct FlowOptions {
    QString clientId;
    QString sfdjvList;
    QString sfdogExclusionList; ///< PREKNJIZBE.CONF literals, or empty
    QString idpogExclusionList; ///< idpogi.INI contract ids, or empty
    bool euroPeriod = false;
    bool oracle = true; ///< false: the DB2 form of the maturities statement
};

/// Statement texts of the period flows.
namespace flows {
/// Issue purchases (IZDAJA): purchases settled in the period on markets whose SFTRZ is '1'.
QString issueStatement(const FlowOptions& o);
/// Maturities (DOSPETJE, for DB2 also TECAJ, and SFGLVENT).
QString maturityStatement(const FlowOptions& o);
/// Purchases and commission (NAKUP, PROVIZIJA, for ZOZE PROVIZIJA_PSL).
QString purchaseStatement(const FlowOptions& o);
/// Sales (PRODAJA).
QString saleStatement(const FlowOptions& o);
} // namespace flows

/// Movements of one position during the period, each rounded to whole units.
struct FlowValues {
    double issuePurchases = 0; ///< K32
    double maturities = 0;     ///< K33
    double purchases = 0;      ///< K34
    double commission = 0;     ///< K39
    double sales = 0;          ///< K35
};

/// A run's four flow steps, with their statements built once per run and kept prepared.
class PeriodFlows {
public:
    /// `lastStatement` receives the text of every statement just before it runs.
    PeriodFlows(Context& ctx, QString* lastStatement);

    void issuePurchases(const PositionKey& position, FlowValues& values);
    void maturities(const PositionKey& position, FlowValues& values);
    void purchases(const PositionKey& position, FlowValues& values);
    void sales(const PositionKey& position, FlowValues& values);

    static FlowOptions optionsFrom(const RunState& state);

private:
    template <typename Work>
    void step(const char* number, store::Query& query, const char* traceName, const QString& text,
              const PositionKey& position, Work&& work);

    Context& ctx_;
    QString* lastStatement_;
    FlowOptions options_;
    QString issueText_;
    QString maturityText_;
    QString purchaseText_;
    QString saleText_;
    store::Query qIssue_;
    store::Query qMaturity_;
    store::Query qPurchase_;
    store::Query qSale_;
};
