#pragma once

#include "app/Context.h"
#include "store/Query.h"

#include <QString>
#include <functional>

/// Statement texts of the holdings valuation. `clientId` picks the variant ("BK", "ZOV", any other).
namespace holdings {
/// Net quantity of the client's trades in a security concluded before PeriodFrom and settled from it on.
QString unsettledStatement();
/// Rate of the security's nominal currency (rate list '0') on the latest rate day up to PeriodTo.
QString rateStatement();
/// Value and quantity held at PriorClose; `unsettledLotsText` is subtracted from every holding row's
/// quantity in the common variant.
QString openingStatement(const QString& clientId, const QString& sfdjvList, const QString& unsettledLotsText);
/// Value held at PeriodTo and the accrued interest on it.
QString closingStatement(const QString& clientId, const QString& sfdjvList);
/// The decimal text of a whole quantity as it goes into the opening statement ("0", "-12", ...).
QString quantityText(double quantity);
} // namespace holdings

/// Values of one position's holdings, each rounded to whole units.
struct HoldingValues {
    double openingValue = 0;    ///< K31
    double openingQuantity = 0; ///< ZACLOT
    double closingValue = 0;    ///< K37
    double accruedInterest = 0; ///< K310
};

/// The position being valued: its ids, and the ISIN to name it in messages.
struct PositionKey {
    qint32 clientId = 0;
    qint32 securityId = 0;
    qint32 contractId = 0;
    QString isin;
};

/// A run's opening and closing holdings valuation. Keeps its prepared statements for the whole run;
/// statement texts are built once per run (the opening one again only when the unsettled quantity
/// it carries changes).
class HoldingsValuation {
public:
    /// `lastStatement` receives the text of every statement just before it runs.
    HoldingsValuation(Context& ctx, QString* lastStatement);

    /// Opening step (K31, ZACLOT): the unsettled quantity on the changeover day, the rate, the opening holding.
    void opening(const PositionKey& position, HoldingValues& values);
    /// Closing step (K37, K310).
    void closing(const PositionKey& position, HoldingValues& values);

private:
    double divideByRate(double amount, const PositionKey& position) const;
    void prepare(store::Query& query, const QString& traceName, const QString& text);

    Context& ctx_;
    QString* lastStatement_;
    bool changeoverDay_;
    QString rateText_;
    QString unsettledText_;
    QString closingText_;
    QString openingText_;
    QString openingLotsText_;
    double securityRate_ = 0;
    store::Query qUnsettled_;
    store::Query qRate_;
    store::Query qOpening_;
    store::Query qClosing_;
};
