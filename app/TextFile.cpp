#include "app/TextFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>

QString decodeConfigText(const QByteArray& bytes) {
    QByteArray clean = bytes;
    clean.replace('\0', QByteArray());
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(clean);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
        return text;
    }
    QStringDecoder cp1250("windows-1250");
    if (cp1250.isValid()) return cp1250.decode(clean);
    return QString::fromLatin1(clean);
}

QStringList splitLines(const QString& text) {
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = text.split(lineEnd);
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

ReadResult readConfigFile(const QString& path, QString* text) {
    QFile file(path);
    if (!file.exists()) return ReadResult::Missing;
    if (!file.open(QIODevice::ReadOnly)) return ReadResult::Unreadable;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return ReadResult::Unreadable;
    *text = decodeConfigText(bytes);
    return ReadResult::Ok;
}

QByteArray toWindows1250(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    // Encode character by character so that an unmappable one becomes exactly one "?".
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() < 0x80) {
            out += char(text[i].unicode());
            continue;
        }
        const qsizetype len = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QStringView ch = QStringView(text).mid(i, len);
        QStringEncoder one("windows-1250");
        const QByteArray b = one.encode(ch);
        out += (one.hasError() || b.size() != 1) ? QByteArray("?") : b;
        i += len - 1;
    }
    return out;
}
