#include "workbook/ReportRow.h"

#include "aggregate/ReporterIdentity.h"
#include "aggregate/Rounding.h"
#include "app/ConfigFiles.h"
#include "store/Query.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

/// The columns a report row is read from, in the order ReportRowReader keeps their positions.
const std::array<QString, 33>& reportRowColumns() {
    using namespace Qt::Literals::StringLiterals;
    static const std::array<QString, 33> columns = {
        u"K11"_s,  u"K12"_s,  u"K13"_s,  u"K14"_s,  u"K15"_s,  u"K16"_s,  u"K17"_s,  u"K18"_s,  u"K21"_s,
        u"K22"_s,  u"K23"_s,  u"K24"_s,  u"K25"_s,  u"K26"_s,  u"K27"_s,  u"K28"_s,  u"K29"_s,  u"K210"_s,
        u"K31"_s,  u"K32"_s,  u"K33"_s,  u"K34"_s,  u"K35"_s,  u"K36"_s,  u"K37"_s,  u"K38"_s,  u"K39"_s,
        u"K310"_s, u"K311"_s, u"K312"_s, u"K313"_s, u"K314"_s, u"ZACLOT"_s};
    return columns;
}

} // namespace

ReportRowReader::ReportRowReader(const store::Query& query) : query_(query) {
    for (size_t i = 0; i < field_.size(); ++i) field_[i] = query.fieldIndex(reportRowColumns()[i]);
}

ReportRow ReportRowReader::read() const {
    int i = 0;
    auto t = [&] { return query_.textAt(field_[i++]); };
    auto n = [&] { return query_.numberAt(field_[i++]); };
    ReportRow r;
    // In the order of reportRowColumns().
    r.k11 = t(), r.k12 = t(), r.k13 = t(), r.k14 = t(), r.k15 = t(), r.k16 = t(), r.k17 = t(), r.k18 = t();
    r.k21 = t(), r.k22 = t(), r.k23 = t(), r.k24 = t(), r.k25 = t(), r.k26 = t(), r.k27 = t();
    r.k28 = n();
    r.k29 = t();
    r.k210 = n();
    r.k31 = n(), r.k32 = n(), r.k33 = n(), r.k34 = n(), r.k35 = n(), r.k36 = n(), r.k37 = n(), r.k38 = n();
    r.k39 = n(), r.k310 = n(), r.k311 = n(), r.k312 = n();
    r.k313 = t(), r.k314 = t();
    r.zaclot = n();
    return r;
}

ReportRow readReportRow(const store::Query& q) { return ReportRowReader(q).read(); }

const std::array<QString, kReportColumns>& columnLabels() {
    static const std::array<QString, kReportColumns> labels = {
        QStringLiteral("1.1."), QStringLiteral("1.2."), QStringLiteral("1.3."),  QStringLiteral("1.4."),
        QStringLiteral("1.5."), QStringLiteral("1.6."), QStringLiteral("1.7."),  QStringLiteral("1.8."),
        QStringLiteral("2.1."), QStringLiteral("2.2."), QStringLiteral("2.3."),  QStringLiteral("2.4."),
        QStringLiteral("2.5."), QStringLiteral("2.6."), QStringLiteral("2.7."),  QStringLiteral("2.8."),
        QStringLiteral("2.9."), QStringLiteral("2.10."), QStringLiteral("3.1."), QStringLiteral("3.2."),
        QStringLiteral("3.3."), QStringLiteral("3.4."), QStringLiteral("3.5."),  QStringLiteral("3.6."),
        QStringLiteral("3.7."), QStringLiteral("3.8."), QStringLiteral("3.9."),  QStringLiteral("3.10."),
        QStringLiteral("3.11."), QStringLiteral("3.12."), QStringLiteral("3.13."), QStringLiteral("3.14.")};
    return labels;
}

QString generalNumberText(double value, const QString& decimalPoint) {
    if (value == 0) return QStringLiteral("0");
    // A whole number of up to 15 digits is its integer in the general format: no formatting of a double.
    if (value == std::trunc(value) && std::fabs(value) < 1e15) return QString::number(static_cast<qint64>(value));
    QString s = QString::number(value, 'g', 15);
    const qsizetype e = s.indexOf(u'e');
    if (e >= 0) {
        // 1e+20 reads 1E20, 1.5e-07 reads 1,5E-7 (the exponent without sign or leading zeros when positive).
        QString mantissa = s.left(e);
        int exponent = s.mid(e + 1).toInt();
        s = mantissa + u'E' + QString::number(exponent);
    }
    s.replace(u'.', decimalPoint);
    return s;
}

namespace {

SheetCell textCell(const QString& text) { return {SheetCell::Kind::Text, text, 0, false}; }
SheetCell numberCell(double v) { return {SheetCell::Kind::Number, {}, v, false}; }

SheetCell codeCell(const QString& code) {
    bool digits = !code.isEmpty();
    for (QChar c : code) digits = digits && c >= u'0' && c <= u'9';
    if (digits) return {SheetCell::Kind::Number, {}, code.toDouble(), true};
    return {SheetCell::Kind::Text, code, 0, true};
}

/// printf's "%-w.ws": cut to `width` characters and padded with blanks to it.
QString fixed(const QString& text, int width) {
    return text.size() == width ? text : text.left(width).leftJustified(width, u' ');
}

/// printf's "%15.15lld": at least 15 digits, zeros in front, a minus sign before them.
QString zeroPadded15(long long v) {
    char16_t buffer[32];
    int i = 32;
    unsigned long long magnitude = v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    do {
        buffer[--i] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    while (i > 32 - 15) buffer[--i] = u'0';
    if (v < 0) buffer[--i] = u'-';
    return QString(reinterpret_cast<const QChar*>(buffer + i), 32 - i);
}

/// printf's "%15.0f". A whole amount (the usual case) is written as its integer, which gives the
/// same text without the general floating-point formatting.
QString amount(double v) {
    if (v == std::trunc(v) && std::fabs(v) < 1e14 && !(v == 0 && std::signbit(v))) {
        // Right-aligned in 15 positions: digits from the right, then the sign, blanks before.
        char16_t buffer[15];
        std::fill(std::begin(buffer), std::end(buffer), u' ');
        unsigned long long magnitude = static_cast<unsigned long long>(std::fabs(v));
        int i = 15;
        do {
            buffer[--i] = static_cast<char16_t>(u'0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (v < 0) buffer[--i] = u'-';
        return QString(reinterpret_cast<const QChar*>(buffer), 15);
    }
    return QString::asprintf("%15.0f", v);
}

/// A text as the fixed-width line can hold it: one character per position, so control characters
/// (CR, LF, TAB, NUL, ...) become blanks and a character outside the 16-bit range becomes "?".
QString lineText(const QString& text) {
    const auto fits = [](QChar c) { return c.unicode() >= 0x20 && c.unicode() != 0x7F && !c.isSurrogate(); };
    if (std::all_of(text.cbegin(), text.cend(), fits)) return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += u'?';
            ++i;
        } else if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.isSurrogate()) {
            out += c.unicode() < 0x20 || c.unicode() == 0x7F ? u' ' : u'?';
        } else {
            out += c;
        }
    }
    return out;
}

/// The row with every text made fit for the fixed-width line.
ReportRow lineTexts(const ReportRow& r) {
    ReportRow c = r;
    for (QString* t : {&c.k11, &c.k12, &c.k13, &c.k14, &c.k15, &c.k16, &c.k17, &c.k18, &c.k21, &c.k22, &c.k23,
                       &c.k24, &c.k25, &c.k26, &c.k27, &c.k29, &c.k313, &c.k314})
        *t = lineText(*t);
    return c;
}

} // namespace

std::array<SheetCell, kReportColumns> worksheetCells(const ReportRow& r, const RunState& s, const QString& dp) {
    const QString k12 = s.ClientId == QLatin1String("ZOV") ? r.k12.trimmed().left(7) : r.k12;
    return {textCell(r.k11),
            textCell(k12),
            textCell(r.k13),
            textCell(r.k14),
            textCell(NazivDrzave(s, r.k15)),
            textCell(NormaliseSector(r.k16)),
            textCell(r.k17),
            textCell(NormaliseSector(r.k18)),
            textCell(NazivDrzave(s, r.k21)),
            textCell(r.k22),
            textCell(r.k23),
            textCell(NormaliseSector(r.k24)),
            textCell(r.k25),
            textCell(r.k26),
            textCell(r.k27),
            textCell(generalNumberText(r.k28, dp)),
            codeCell(r.k29),
            numberCell(r.k210),
            numberCell(r.k31),
            numberCell(r.k32),
            numberCell(r.k33),
            numberCell(r.k34),
            numberCell(r.k35),
            numberCell(r.k36),
            numberCell(r.k37),
            numberCell(r.k38),
            numberCell(r.k39),
            numberCell(r.k310),
            numberCell(r.k311),
            textCell(generalNumberText(r.k312, dp)),
            textCell(NazivDrzave(s, r.k313)),
            codeCell(r.k314)};
}

QString traceLine(const ReportRow& row, const RunState& s, const QString& dp) {
    const ReportRow r = lineTexts(row);
    QString line;
    line.reserve(512);
    line += r.k11;
    line += r.k12;
    line += r.k13.left(1);
    line += r.k14.left(3);
    line += lineText(NazivDrzave(s, r.k15)).left(3);
    line += fixed(NormaliseSector(r.k16.left(60)), 60);
    line += fixed(r.k17.left(7), 7);
    line += fixed(NormaliseSector(r.k18.left(5)), 5);
    line += fixed(lineText(NazivDrzave(s, r.k21)).left(3), 3);
    line += fixed(r.k22.left(60), 60);
    line += fixed(r.k23.left(7), 7);
    line += fixed(NormaliseSector(r.k24.left(5)), 5);
    line += fixed(r.k25.left(12), 12);
    line += fixed(r.k26.left(60), 60);
    line += fixed(r.k27.left(8), 8);
    // Issued quantities of 2^31 and more are common: converted through a 64-bit integer.
    line += zeroPadded15(static_cast<long long>(TextToInt64OrZero(generalNumberText(r.k28, dp))));
    line += fixed(r.k29.left(3), 3);
    for (double v : {r.k210, r.k31, r.k32, r.k33, r.k34, r.k35, r.k37, r.k38, r.k39, r.k310, r.k311, r.k312})
        line += amount(v);
    line += fixed(lineText(NazivDrzave(s, r.k313)).left(3), 3);
    line += fixed(r.k314.left(3), 3);
    line += generalNumberText(r.zaclot, dp);
    return line;
}
