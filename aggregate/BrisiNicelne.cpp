#include "aggregate/ReportSteps.h"
#include "aggregate/ZeroRowStatements.h"
#include "app/StepErrors.h"
#include "store/Query.h"

void BrisiNicelne(Context& ctx) {
    const qint32 idPor = ctx.state.IdPor;
    store::Query query(ctx.db);
    for (const QString& statement :
         {zerorows::deleteZeroRows(idPor), zerorows::liftClosingValue(idPor), zerorows::liftOpeningValue(idPor)}) {
        showingStatementOnFailure(ctx.op, [&] {
            query.setSql(statement);
            query.exec();
        });
    }
}
