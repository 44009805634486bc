#include "app/Engine.h"

#include "aggregate/ReportSteps.h"
#include "aggregate/ReporterIdentity.h"
#include "app/ConfigFiles.h"
#include "app/DBgesloZEL.h"
#include "app/Dates.h"
#include "app/StepErrors.h"
#include "app/TextFile.h"
#include "collect/PolniTemp.h"
#include "collect/ReferenceData.h"
#include "store/Aliases.h"
#include "store/ReportNumber.h"
#include "store/WorkTables.h"
#include "workbook/ReportOutput.h"

QString busyMessage() { return QStringLiteral("Obdelava že poteka. Počakajte, da se konča."); }

Engine::Engine(Operator& op, QString programFolder)
    : op_(op), trace_(programFolder), ctx_{state_, db_, op_, trace_} {
    state_.ProgramFolder = std::move(programFolder);
    db_.setLoginCallback([this](store::LoginParams& params) {
        params.userName = state_.DbUser;
        params.password = state_.DbPassword;
    });
}

Engine::~Engine() = default;

bool Engine::enterBusy() {
    if (busy_) return false;
    busy_ = true;
    return true;
}

StartUpResult Engine::startUp(const QStringList& arguments, const QDate& today) {
    StartUpResult result;
    if (!state_.firstActivation) return result;
    state_.firstActivation = false;
    op_.setBusy(true);
    op_.processEvents();

    const QString folder = state_.ProgramFolder;
    result.outputPath = BeriIniDatoteko(folder);
    listProblems_.clear();
    state_.SfdogExclusionList = BeriSfdoge(folder, &listProblems_);
    state_.IdpogExclusionList = BeriIdpogiIni(folder, &listProblems_);
    for (const ListFileProblem& p : std::as_const(listProblems_)) op_.showMessage(listFileProblemMessage(p));

    const ProposedPeriod period = proposedPeriod(today);
    result.dateFrom = period.from;
    result.dateTo = period.to;

    state_.DbAlias = QStringLiteral("LB");
    state_.DbUser = QStringLiteral("BEJIWG");
    state_.DbPassword = QStringLiteral("KDRWMO");
    QString environment;
    ReadZelCredentials(folder, state_.DbAlias, state_.DbUser, state_.DbPassword, environment);
    if (arguments.size() > 0) state_.DbAlias = arguments[0];
    if (arguments.size() > 1) state_.DbUser = arguments[1];
    if (arguments.size() > 2) state_.DbPassword = arguments[2];

    QString aliasText;
    QList<store::AliasFileProblem> aliasProblems;
    QHash<QString, store::AliasDefinition> aliases;
    if (readConfigFile(folder + QStringLiteral("ALIASES.INI"), &aliasText) == ReadResult::Ok)
        aliases = store::parseAliases(aliasText, folder, &aliasProblems);
    for (const store::AliasFileProblem& p : std::as_const(aliasProblems))
        op_.showMessage(QStringLiteral("Neveljavna vrstica %1 v datoteki ALIASES.INI: %2").arg(p.line).arg(p.what));
    const auto definition =
        store::resolveAlias(aliases, state_.DbAlias, folder + QStringLiteral("demo/backoffice.db"));
    if (!definition || !db_.open(state_.DbAlias, *definition)) {
        op_.showMessage(QStringLiteral("Prijava v bazo z aliasom ") + state_.DbAlias + QStringLiteral(" ni uspela!"));
        op_.requestTermination();
        return result;
    }
    result.connected = true;
    aliasDefinition_ = definition;

    try {
        state_.DbOracle = !db_.driverName().toUpper().contains(QLatin1String("DB2"));
        op_.stateChanged();
        op_.processEvents();
        BeriDejavnosti(ctx_);
        op_.processEvents();
        Euroobd(ctx_, today);
        KreirajTabelo(db_);
        PomoznaPolja(ctx_);
        op_.processEvents();
        VrniNovIdPor(ctx_);
        result.completed = true;
    } catch (const store::SqlError& e) {
        op_.showMessage(e.reason());
        return result;
    } catch (const std::exception& e) {
        op_.showMessage(QString::fromStdString(e.what()));
        return result;
    }
    op_.setBusy(false);
    op_.stateChanged();
    return result;
}

RunResult Engine::runReport(const RunInput& input, bool showWorkbook) {
    if (!enterBusy()) {
        op_.showMessage(busyMessage());
        return {RunStatus::Refused, busyMessage()};
    }
    RunResult result;
    try {
        result = run(input, showWorkbook);
    } catch (const store::SqlError& e) {
        result = {RunStatus::Failed, e.reason() + QStringLiteral("\n") + e.statement()};
    } catch (const StepNotBuilt& e) {
        result = {RunStatus::Failed, QString::fromStdString(e.what())};
    } catch (const std::exception& e) {
        result = {RunStatus::Failed, QString::fromStdString(e.what())};
    }
    leaveBusy();
    return result;
}

RunResult Engine::run(const RunInput& input, bool showWorkbook) {
    auto reject = [&](const QString& message) {
        op_.showMessage(message);
        return RunResult{RunStatus::InputRejected, message};
    };
    if (input.dateFromText.trimmed().isEmpty()) return reject(QStringLiteral("Neveljavni datum!"));
    if (input.dateToText.trimmed().isEmpty()) return reject(QStringLiteral("Neveljavni datum!"));
    op_.setProgressText(QStringLiteral("0"));
    op_.processEvents();
    state_.SfdjvList = buildSfdjvList(state_.ActivityCodes, input.ticked);
    if (input.outputPath.trimmed().isEmpty()) return reject(QStringLiteral("Izberi izhodno datoteko!"));
    const auto from = parseShortDate(input.dateFromText);
    if (!from) return reject(QStringLiteral("'") + input.dateFromText.trimmed() + QStringLiteral("' ni veljaven datum"));
    const auto to = parseShortDate(input.dateToText);
    if (!to) return reject(QStringLiteral("'") + input.dateToText.trimmed() + QStringLiteral("' ni veljaven datum"));
    if (*to < *from) return reject(QStringLiteral("Datum OD mora biti manjši od datuma DO!"));
    if (!listProblems_.isEmpty()) return reject(listFileProblemMessage(listProblems_.first()));
    if (!ensureConnected()) return reject(QStringLiteral("Prijava v bazo z aliasom ") + state_.DbAlias + QStringLiteral(" ni uspela!"));

    DolociIdPor(ctx_, *from, *to);
    const int rows = PolniTemp(ctx_);
    if (rows < 0) return {RunStatus::StoppedAtUnsectored, {}};
    if (rows == 0) {
        const QString message = QStringLiteral("Za obdobje ") + input.dateFromText + QStringLiteral(" - ") +
                                input.dateToText + QChar(13) + QStringLiteral(" ni podatkov!");
        op_.showMessage(message);
        return {RunStatus::NoData, message};
    }
    GrupirajTemp(ctx_);
    PolniOstalaPolja(ctx_);
    BrisiNicelne(ctx_);

    state_.OutputFileName = input.outputPath;
    state_.SheetRow = 1;
    state_.ProgressTotal = 0;
    ReportOutput output(ctx_);
    output.GlavaExcel();
    output.PrepisVExcel();
    output.OdpriExcel(showWorkbook);
    output.closeTraceFile();
    return {RunStatus::Written, {}};
}

bool Engine::ensureConnected() {
    if (!db_.isOpen() && aliasDefinition_) db_.open(state_.DbAlias, *aliasDefinition_);
    return db_.isOpen();
}

void Engine::leaveDateFrom(const QString& dateFromText) {
    const auto date = parseShortDate(dateFromText);
    if (!date || !db_.isOpen()) return;
    try {
        Euroobd(ctx_, *date);
    } catch (const std::exception& e) {
        op_.showMessage(QString::fromStdString(e.what()));
    }
}

void Engine::exit(const QString& outputPath) { PisiIniDatoteko(state_.ProgramFolder, outputPath); }
