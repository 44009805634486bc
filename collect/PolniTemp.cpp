#include "collect/PolniTemp.h"

#include "app/StepErrors.h"

int PolniTemp(Context&) { throw StepNotBuilt(QStringLiteral("PolniTemp (zbiranje podrobnih vrstic)")); }
