#include "app/TextFile.h"

#include <QFile>
#include <QHash>
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

namespace {

/// The Windows-1250 byte of one character of the Basic Multilingual Plane, or '?' when it has none.
/// Encoders are found by name, which is slow: each character is encoded once per thread and kept.
char windows1250Byte(char16_t c) {
    thread_local QHash<char16_t, char> known;
    const auto it = known.constFind(c);
    if (it != known.cend()) return it.value();
    QStringEncoder one("windows-1250");
    const QByteArray b = one.encode(QStringView(&c, 1));
    const char byte = (one.hasError() || b.size() != 1) ? '?' : b[0];
    known.insert(c, byte);
    return byte;
}

} // namespace

QByteArray toWindows1250(const QString& text) {
    // At most one byte per character; filled through a pointer, cut to its length at the end.
    QByteArray out(text.size(), Qt::Uninitialized);
    char* p = out.data();
    // Character by character, so that an unmappable one becomes exactly one "?".
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            *p++ = char(c);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < text.size()) {
            // Outside the Basic Multilingual Plane: Windows-1250 has none of these.
            QStringEncoder one("windows-1250");
            const QByteArray b = one.encode(QStringView(text).mid(i, 2));
            *p++ = (one.hasError() || b.size() != 1) ? '?' : b[0];
            ++i;
            continue;
        }
        *p++ = windows1250Byte(c);
    }
    out.truncate(p - out.constData());
    return out;
}
