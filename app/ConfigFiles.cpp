#include "app/ConfigFiles.h"

#include "app/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

QString programFolder(const QString& programFilePath) {
    QString folder = qEnvironmentVariable("TEVRA_HOME");
    if (folder.isEmpty()) folder = QFileInfo(programFilePath).absolutePath();
    else folder = QDir(folder).absolutePath();
    if (!folder.endsWith(u'/') && !folder.endsWith(u'\\')) folder += u'/';
    return folder;
}

std::optional<QString> BeriIniDatoteko(const QString& folder) {
    QString text;
    if (readConfigFile(folder + QStringLiteral("TEVRA.INI"), &text) != ReadResult::Ok) return std::nullopt;
    const QStringList lines = splitLines(text);
    if (lines.isEmpty()) return std::nullopt;
    return lines.first();
}

bool PisiIniDatoteko(const QString& folder, const QString& outputPath) {
    QSaveFile file(folder + QStringLiteral("TEVRA.INI"));
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(toWindows1250(outputPath + QStringLiteral("\r\n")));
    return file.commit();
}

QString listFileProblemMessage(const ListFileProblem& problem) {
    return QStringLiteral("Neveljavna vrstica %1 v datoteki %2: %3")
        .arg(problem.line)
        .arg(problem.file, problem.text.left(80));
}

QString BeriIdpogiIni(const QString& folder, QList<ListFileProblem>* problems) {
    static const QRegularExpression wholeNumber(QStringLiteral(R"(^[+-]?\d{1,18}$)"));
    QString text;
    if (readConfigFile(folder + QStringLiteral("idpogi.INI"), &text) != ReadResult::Ok) return {};
    QStringList values;
    const QStringList lines = splitLines(text);
    for (int i = 0; i < lines.size(); ++i) {
        const QString value = lines[i].trimmed();
        if (value.isEmpty()) continue;
        if (!wholeNumber.match(value).hasMatch()) {
            if (problems) problems->append({QStringLiteral("idpogi.INI"), i + 1, value});
            continue;
        }
        values.append(value);
    }
    return values.join(u',');
}

namespace {
std::optional<qint64> parseInteger(const QString& text, qint64 min, qint64 max, int maxDigits) {
    static const QRegularExpression form(QStringLiteral(R"(^\s*([+-]?)(\d+)$)"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch()) return std::nullopt;
    QString digits = m.captured(2);
    while (digits.size() > 1 && digits.startsWith(u'0')) digits.remove(0, 1);
    if (digits.size() > maxDigits) return std::nullopt;
    bool ok = false;
    qint64 v = digits.toLongLong(&ok);
    if (!ok) return std::nullopt;
    if (m.captured(1) == QLatin1String("-")) v = -v;
    if (v < min || v > max) return std::nullopt;
    return v;
}
} // namespace

qint32 TextToIntOrZero(const QString& text) {
    return static_cast<qint32>(parseInteger(text, INT32_MIN, INT32_MAX, 10).value_or(0));
}

qint64 TextToInt64OrZero(const QString& text) {
    return parseInteger(text, -999999999999999LL, 999999999999999LL, 15).value_or(0);
}
