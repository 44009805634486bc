#include "aggregate/ReportSteps.h"

#include "app/StepErrors.h"

void GrupirajTemp(Context&) { throw StepNotBuilt(QStringLiteral("GrupirajTemp (združevanje v vrstice poročila)")); }
void PolniOstalaPolja(Context&) { throw StepNotBuilt(QStringLiteral("PolniOstalaPolja (ostala polja)")); }
void BrisiNicelne(Context&) { throw StepNotBuilt(QStringLiteral("BrisiNicelne (ničelne vrstice)")); }
