#include "fuzz/Harnesses.h"

#include "app/ConfigFiles.h"
#include "app/DBgesloZEL.h"
#include "app/TextFile.h"
#include "collect/ReferenceData.h"
#include "grid/Ufwgrid.h"
#include "store/Aliases.h"
#include "store/SqlText.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

namespace {

const QString& folder() {
    static QTemporaryDir dir;
    static const QString path = dir.path() + u'/';
    return path;
}

void put(const QString& name, const QByteArray& bytes) {
    QFile f(folder() + name);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

} // namespace

void fuzzConfigFiles(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const char* name : {"TEVRA.INI", "idpogi.INI", "PREKNJIZBE.CONF", "ZEL.INI"}) put(QLatin1String(name), bytes);
    BeriIniDatoteko(folder());
    QList<ListFileProblem> problems;
    const QString idpog = BeriIdpogiIni(folder(), &problems);
    const QString sfdog = BeriSfdoge(folder(), &problems);
    // What reaches a statement is a list of whole numbers or of SQL literals, nothing else.
    for (const QString& v : idpog.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        v.toLongLong(&ok);
        if (!ok) __builtin_trap();
    }
    if (sfdog.contains(QLatin1String("--")) && !sfdog.contains(u'\'')) __builtin_trap();
    QString alias, user, password, env;
    ReadZelCredentials(folder(), alias, user, password, env);
    if (alias.size() > 100 || user.size() > 100 || password.size() > 100) __builtin_trap();
    QList<store::AliasFileProblem> aliasProblems;
    store::parseAliases(decodeConfigText(bytes), folder(), &aliasProblems);
}

void fuzzUnscramble(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = QString::fromLatin1(bytes);
    if (Unscramble(text).size() > 100) __builtin_trap();
    HexValue(text);
    Unscramble(QString::fromUtf8(bytes));
}

void fuzzSqlText(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QStringList names;
    const QString normalised = store::normalisePlaceholders(text, &names);
    if (normalised.size() != text.size()) __builtin_trap(); // only letter case changes
    store::rewriteOuterJoins(normalised);
    store::rewriteConcatenation(normalised);
}

void fuzzWinIni(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QString& text : {QString::fromUtf8(bytes), QString::fromLatin1(bytes)}) {
        const GridFontSettings s = GridFontSettings::parse(text);
        if (s.fontSize < 1 || s.fontSize > GridFontSettings::kMaxFontSize) __builtin_trap();
        if (s.titleFontSize < 1 || s.titleFontSize > GridFontSettings::kMaxFontSize) __builtin_trap();
        if (s.lineHeight < 1 || s.lineHeight > GridFontSettings::kMaxLineHeight) __builtin_trap();
        if (s.fontName.trimmed().isEmpty() || s.titleFontName.trimmed().isEmpty()) __builtin_trap();
    }
}
