#include "workbook/ReportOutput.h"

#include "app/StepErrors.h"

struct ReportOutput::Impl {};

ReportOutput::ReportOutput(Context& ctx) : ctx_(ctx), impl_(std::make_unique<Impl>()) {}
ReportOutput::~ReportOutput() = default;

void ReportOutput::GlavaExcel() { throw StepNotBuilt(QStringLiteral("GlavaExcel (glava delovnega zvezka)")); }
void ReportOutput::PrepisVExcel() { throw StepNotBuilt(QStringLiteral("PrepisVExcel (vrstice poročila)")); }
void ReportOutput::OdpriExcel(bool) { throw StepNotBuilt(QStringLiteral("OdpriExcel (shranjevanje)")); }
void ReportOutput::closeTraceFile() {}
