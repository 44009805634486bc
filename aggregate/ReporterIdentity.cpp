#include "aggregate/ReporterIdentity.h"

#include "app/StepErrors.h"
#include "store/Query.h"

namespace {
/// Letters a to z upper-cased; every other character as it is.
QString upperAsciiLetters(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - 32);
    }
    return out;
}
} // namespace

QString clientIdFor(const QString& value, const QString& mts) {
    const QString upper = upperAsciiLetters(value);
    auto has = [&](const char* s) { return upper.contains(QLatin1String(s)); };
    QString id;
    if (has("ZOZE")) id = QStringLiteral("ZOZE");
    if (has("DIREVE")) id = QStringLiteral("FB");
    if (has("ZEZEDUZAVA")) id = QStringLiteral("ZEZEDUZAVA");
    if (has("ZI ZUD")) id = QStringLiteral("MP");
    if (has("ZOVE VAVURAVI ZIDIZ")) id = QStringLiteral("VEDO");
    if (has("VERUVI")) id = QStringLiteral("VERUVI");
    if (mts == QLatin1String("5026024")) id = QStringLiteral("VERUVI");
    if (has("ZOV")) id = QStringLiteral("ZOV");
    if (has("ZIRORAZ")) id = QStringLiteral("ZOV");
    if (value.contains(QLatin1String("Ziroraz"))) id = QStringLiteral("ZOV");
    if (has("VEDAZU")) id = QStringLiteral("BK");
    if (mts == QLatin1String("5092221")) id = QStringLiteral("BK");
    if (has("ZOV")) id = QStringLiteral("ZOV");
    if (has("VEDO")) id = QStringLiteral("VEDO");
    if (has("BK")) id = QStringLiteral("BK");
    return id;
}

void PomoznaPolja(Context& ctx) {
    RunState& s = ctx.state;
    s.ReporterRegNo.clear();
    QString mts;
    store::Query query(ctx.db);
    try {
        query.setSql(QStringLiteral("SELECT NZV, MTS FROM OSB WHERE SFOSB=2"));
        query.open();
        if (!query.eof()) mts = query.text(QStringLiteral("MTS"));
        s.ReporterRegNo = QStringLiteral(" ") + mts;
    } catch (const store::SqlError&) {
        mts.clear();
    }

    const QString value = showingStatementOnFailure(ctx.op, [&] {
        query.setSql(QStringLiteral("SELECT vrednost FROM INISET WHERE Kljuc = 'RW_ClientId' "));
        query.open();
        return query.eof() ? QString() : query.text(QStringLiteral("VREDNOST"));
    });
    s.ClientId = clientIdFor(value, mts);
    ctx.op.stateChanged();

    // The country table holds every country of DRZ.
    s.CountryTable.clear();
    query.setSql(QStringLiteral("SELECT KRT, SFDRZ FROM DRZ "));
    query.open();
    while (!query.eof()) {
        s.CountryTable.append({query.text(QStringLiteral("SFDRZ")), query.text(QStringLiteral("KRT"))});
        query.next();
    }
}

QString NazivDrzave(const RunState& state, const QString& key) {
    const QString* abbreviation = state.CountryTable.abbreviation(key);
    return abbreviation ? *abbreviation : key;
}

QString VrniNazivOsb(Context& ctx, qint32 personId) {
    try {
        store::Query query(ctx.db);
        query.setSql(QStringLiteral("SELECT NZV, IME FROM OSB") + QStringLiteral(" WHERE SFOSB=") +
                     QString::number(personId));
        query.open();
        if (query.eof()) return QStringLiteral(" ");
        return query.text(QStringLiteral("NZV")).trimmed() + u' ' + query.text(QStringLiteral("IME")).trimmed();
    } catch (const store::SqlError&) {
        return {};
    }
}

QString VrniMaticnoOsb(Context& ctx, qint32 personId) {
    store::Query query(ctx.db);
    query.setSql(QStringLiteral("SELECT MTS FROM OSB") + QStringLiteral(" WHERE SFOSB=") + QString::number(personId));
    query.open();
    return query.eof() ? QString() : query.text(QStringLiteral("MTS")).trimmed();
}
