#include "collect/ReferenceData.h"

#include "app/StepErrors.h"
#include "app/TextFile.h"
#include "store/Query.h"

#include <QRegularExpression>

void BeriDejavnosti(Context& ctx) {
    RunState& s = ctx.state;
    s.ActivityCodes.clear();
    s.ActivityNames.clear();
    store::Query Qvln(ctx.db);
    Qvln.setSql(QStringLiteral(" SELECT SFDJV, MAX(NZV) NZV FROM DJV WHERE SFDJV IN ") +
                QStringLiteral(" ('L', 'N', 'U', 'C', 'X')  ") + QStringLiteral(" GROUP BY SFDJV "));
    Qvln.open();
    while (!Qvln.eof()) {
        if (s.ActivityCodes.size() < 9) {
            s.ActivityCodes.append(Qvln.text(QStringLiteral("SFDJV")).trimmed());
            s.ActivityNames.append(Qvln.text(QStringLiteral("NZV")).trimmed());
        }
        Qvln.next();
    }
    Qvln.setSql(QStringLiteral(" SELECT NZV FROM OSB WHERE SFOSB=2 "));
    Qvln.open();
    s.InstitutionName = Qvln.eof() ? QString() : Qvln.text(QStringLiteral("NZV")).trimmed();
    ctx.op.stateChanged();
}

QString BeriSfdoge(const QString& folder, QList<ListFileProblem>* problems) {
    static const QRegularExpression literal(
        QStringLiteral(R"(^(?:[+-]?\d+(?:\.\d+)?|'(?:[^']|'')*')$)"));
    QString text;
    if (readConfigFile(folder + QStringLiteral("PREKNJIZBE.CONF"), &text) != ReadResult::Ok) return {};
    QStringList values;
    const QStringList lines = splitLines(text);
    for (int i = 0; i < lines.size(); ++i) {
        const QString value = lines[i].trimmed();
        if (value.isEmpty()) continue;
        if (!literal.match(value).hasMatch()) {
            if (problems) problems->append({QStringLiteral("PREKNJIZBE.CONF"), i + 1, value});
            continue;
        }
        values.append(value);
    }
    return values.join(u',');
}

bool Euroobd(Context& ctx, const QDate& date) {
    RunState& s = ctx.state;
    showingStatementOnFailure(ctx.op, [&] {
        store::Query Qeuroobd(ctx.db);
        Qeuroobd.setSql(QStringLiteral("SELECT * FROM EUROOBD WHERE OZNAKA = 'ES' "));
        Qeuroobd.open();
        // Without a row the changeover lies at the zero date: every date counts as euro period.
        s.EuroChangeoverDate = Qeuroobd.eof() ? QDate(1899, 12, 30) : Qeuroobd.dateTime(QStringLiteral("DANOD")).date();
        if (!s.EuroChangeoverDate.isValid()) s.EuroChangeoverDate = QDate(1899, 12, 30);
    });
    s.EuroPeriod = date >= s.EuroChangeoverDate;
    return s.EuroPeriod;
}

bool SFVPBREZ_S(Context& ctx, qint32 securityId) {
    return showingStatementOnFailure(ctx.op, [&] {
        store::Query Qsfvp1(ctx.db);
        Qsfvp1.setSql(QStringLiteral("SELECT KRT FROM SFVP WHERE SFVP=") + QString::number(securityId));
        Qsfvp1.open();
        const QString label = Qsfvp1.eof() ? QString() : Qsfvp1.text(QStringLiteral("KRT"));
        return !(label.size() >= 3 && label.endsWith(QLatin1String("_S")));
    });
}

QString BREZ_S(const QString& label) {
    if (label.size() > 2 && label.endsWith(QLatin1String("_S"))) return label.left(label.size() - 2);
    return label;
}

QString buildSfdjvList(const QStringList& activityCodes, const QList<bool>& ticked) {
    QString list = QStringLiteral(" 'W' ");
    for (int i = 0; i < 5 && i < ticked.size(); ++i) {
        if (ticked[i] && i < activityCodes.size())
            list += QStringLiteral(", '") + activityCodes[i] + QStringLiteral("' ");
    }
    return list;
}
