#include "app/DBgesloZEL.h"

#include "app/TextFile.h"

#include <QFile>
#include <QStringDecoder>

qint32 HexValue(const QString& text) {
    const QString upper = text.toUpper();
    quint32 weight = 1;
    quint32 value = 0;
    for (qsizetype i = upper.size() - 1; i >= 0; --i) {
        const char16_t c = upper[i].unicode();
        if (c >= u'1' && c <= u'9') value += quint32(c - u'0') * weight;
        else if (c >= u'A' && c <= u'F') value += quint32(c - u'A' + 10) * weight;
        weight *= 16;
    }
    return static_cast<qint32>(value);
}

QString Unscramble(const QString& text) {
    static const char key[] = "qok";
    QByteArray bytes;
    bytes.reserve(text.size() / 2 + 1);
    int k = 0;
    for (qsizetype i = 0; i < text.size(); i += 2) {
        QString pair = text.mid(i, 2);
        if (pair.size() == 1) pair += QChar(0);
        const quint32 v = static_cast<quint32>(HexValue(pair));
        bytes.append(static_cast<char>((static_cast<quint32>(key[k]) ^ v) & 0xFF));
        k = (k + 1) % 3;
    }
    if (bytes.size() <= 20) return {};
    QStringDecoder cp1250("windows-1250");
    const QByteArray kept = bytes.mid(20, 100);
    return cp1250.isValid() ? cp1250.decode(kept) : QString::fromLatin1(kept);
}

QString ParentFolder(const QString& path) {
    QString rest = path;
    if (rest.endsWith(u'\\') || rest.endsWith(u'/')) rest.chop(1);
    const qsizetype last = std::max(rest.lastIndexOf(u'\\'), rest.lastIndexOf(u'/'));
    if (last < 0) return path;
    return rest.left(last + 1);
}

namespace {
/// The trimmed text of columns [from, to] (counted from 1) of a line.
QString columns(const QString& line, int from, int count) { return line.mid(from - 1, count).trimmed(); }
} // namespace

void ReadZelCredentials(const QString& programFolder, QString& alias, QString& user, QString& password,
                        QString& environment) {
    const QString name = QStringLiteral("ZEL.INI");
    QString path = programFolder + name;
    if (!QFile::exists(path)) {
        const QString parent = ParentFolder(programFolder);
        path = parent + name;
        if (!QFile::exists(path)) path = ParentFolder(parent) + name;
    }
    QString text;
    if (readConfigFile(path, &text) != ReadResult::Ok) return;

    struct Key {
        const char* key;
        int keyColumns;
        int valueColumn;
        QString* value;
    };
    QString database, userName, pass, env;
    const Key keys[] = {{"DATABASENAME", 12, 14, &database},
                        {"USERNAME", 8, 10, &userName},
                        {"PASSWORD", 8, 10, &pass},
                        {"TEST/PRODUKCIJA", 15, 17, &env}};
    for (const QString& line : splitLines(text)) {
        for (const Key& k : keys) {
            if (columns(line, 1, k.keyColumns).toUpper() == QLatin1String(k.key))
                *k.value = columns(line, k.valueColumn, 100);
        }
    }
    alias = Unscramble(database);
    user = Unscramble(userName);
    password = Unscramble(pass);
    environment = env;
}
