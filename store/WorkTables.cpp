#include "store/WorkTables.h"

#include "store/Query.h"
#include "store/SqlError.h"

void KreirajTabelo(store::Database& db) {
    store::Query query(db);
    for (const char* table : {"TEMP_TEVRA ", "TEMP_TEVRA1 "}) {
        try {
            query.setSql(QStringLiteral("ALTER TABLE ") + QLatin1String(table) + QStringLiteral(" ADD (ZACLOT FLOAT )"));
            query.exec();
        } catch (const store::SqlError&) {
            // The column exists already, or the engine has another syntax for it: nothing to do.
        }
    }
    query.close();
}
