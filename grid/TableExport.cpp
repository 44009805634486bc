#include "grid/TableExport.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTime>

#include <shapefil.h>
extern "C" {
#include <paradox.h>
}

#include <cstring>
#include <vector>

namespace {

constexpr int MaxDbfText = 254;
constexpr int MaxParadoxText = 255;
constexpr int DbfFieldName = 10;
constexpr int ParadoxFieldName = 25;

bool isNull(const QVariant& value) { return !value.isValid() || value.isNull(); }

QDate dateOf(const QVariant& value) {
    if (value.metaType().id() == QMetaType::QDate) return value.toDate();
    if (value.metaType().id() == QMetaType::QDateTime) return value.toDateTime().date();
    const QString text = value.toString();
    QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    if (!date.isValid()) date = QDate::fromString(text.left(10), QStringLiteral("dd.MM.yyyy"));
    return date;
}

QDateTime dateTimeOf(const QVariant& value) {
    if (value.metaType().id() == QMetaType::QDateTime) return value.toDateTime();
    if (value.metaType().id() == QMetaType::QDate) return value.toDate().startOfDay();
    const QString text = value.toString();
    QDateTime dt = QDateTime::fromString(text.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid()) dt = QDateTime::fromString(text.left(19), Qt::ISODate);
    if (!dt.isValid()) dt = dateOf(value).startOfDay();
    return dt;
}

QTime timeOf(const QVariant& value) {
    if (value.metaType().id() == QMetaType::QTime) return value.toTime();
    if (value.metaType().id() == QMetaType::QDateTime) return value.toDateTime().time();
    return QTime::fromString(value.toString().left(8), QStringLiteral("HH:mm:ss"));
}

/// Text of a value as a text column stores it.
QString textOf(const QVariant& value, FieldKind kind) {
    switch (kind) {
    case FieldKind::Date:
        return dateOf(value).toString(QStringLiteral("dd.MM.yyyy"));
    case FieldKind::DateTime:
        return dateTimeOf(value).toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    case FieldKind::Time:
        return timeOf(value).toString(QStringLiteral("HH:mm:ss"));
    case FieldKind::Boolean:
        return value.toBool() ? QStringLiteral("T") : QStringLiteral("F");
    default:
        return value.toString();
    }
}

int textSize(const ExportField& field, int limit) {
    return std::clamp(field.size > 0 ? field.size : limit, 1, limit);
}

/// Unique column names no longer than `limit` bytes.
std::vector<QByteArray> columnNames(const QList<ExportField>& fields, int limit) {
    std::vector<QByteArray> names;
    QSet<QByteArray> used;
    for (const ExportField& f : fields) {
        QByteArray name = exportWindows1250(f.name).left(limit);
        if (name.isEmpty()) name = "F";
        for (int n = 1; used.contains(name.toUpper()); ++n) {
            const QByteArray suffix = '_' + QByteArray::number(n);
            name = exportWindows1250(f.name).left(limit - suffix.size()) + suffix;
        }
        used.insert(name.toUpper());
        names.push_back(name);
    }
    return names;
}

class DbfWriter : public TableWriter {
public:
    ~DbfWriter() override { close(); }

    void create(const QString& fileName, const QList<ExportField>& fields) override {
        close();
        fields_ = fields;
        QFile::remove(fileName);
        dbf_ = DBFCreateEx(QFile::encodeName(fileName).constData(), "LDID/200");
        if (!dbf_) throw TableExportError(QStringLiteral("Cannot create %1").arg(fileName));
        const std::vector<QByteArray> names = columnNames(fields, DbfFieldName);
        for (int i = 0; i < fields.size(); ++i) {
            const ExportField& f = fields[i];
            DBFFieldType type = FTString;
            int width = 0;
            int decimals = 0;
            switch (f.kind) {
            case FieldKind::SmallInt:
                type = FTInteger, width = 6;
                break;
            case FieldKind::Integer:
                type = FTInteger, width = 11;
                break;
            case FieldKind::LargeInt:
                type = FTDouble, width = 19;
                break;
            case FieldKind::Float:
            case FieldKind::Currency:
                type = FTDouble, width = 20, decimals = f.decimals;
                break;
            case FieldKind::Date:
                type = FTDate, width = 8;
                break;
            case FieldKind::Boolean:
                type = FTLogical, width = 1;
                break;
            case FieldKind::DateTime:
                width = 19;
                break;
            case FieldKind::Time:
                width = 8;
                break;
            default:
                width = textSize(f, MaxDbfText);
                break;
            }
            if (DBFAddField(dbf_, names[size_t(i)].constData(), type, width, decimals) < 0)
                throw TableExportError(QStringLiteral("Cannot add the field %1 to %2").arg(f.name, fileName));
        }
        fileName_ = fileName;
    }

    void append(const QVariantList& values) override {
        const int row = DBFGetRecordCount(dbf_);
        for (int i = 0; i < fields_.size(); ++i) {
            const ExportField& f = fields_[i];
            const QVariant value = values.value(i);
            int ok = 0;
            if (isNull(value)) {
                ok = DBFWriteNULLAttribute(dbf_, row, i);
            } else {
                switch (f.kind) {
                case FieldKind::SmallInt:
                case FieldKind::Integer:
                    ok = DBFWriteIntegerAttribute(dbf_, row, i, value.toInt());
                    break;
                case FieldKind::LargeInt:
                case FieldKind::Float:
                case FieldKind::Currency:
                    ok = DBFWriteDoubleAttribute(dbf_, row, i, value.toDouble());
                    break;
                case FieldKind::Date: {
                    const QDate d = dateOf(value);
                    ok = d.isValid() ? DBFWriteIntegerAttribute(dbf_, row, i, d.year() * 10000 + d.month() * 100 + d.day())
                                     : DBFWriteNULLAttribute(dbf_, row, i);
                    break;
                }
                case FieldKind::Boolean:
                    ok = DBFWriteLogicalAttribute(dbf_, row, i, value.toBool() ? 'T' : 'F');
                    break;
                case FieldKind::DateTime:
                    ok = writeText(row, i, dateTimeOf(value).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
                    break;
                default:
                    ok = writeText(row, i, textOf(value, f.kind));
                    break;
                }
            }
            if (!ok)
                throw TableExportError(QStringLiteral("The value %1 does not fit the field %2 of %3")
                                           .arg(value.toString(), f.name, fileName_));
        }
    }

    void close() override {
        if (dbf_) DBFClose(dbf_);
        dbf_ = nullptr;
    }

private:
    int writeText(int row, int column, const QString& text) {
        const QByteArray bytes = exportWindows1250(text).left(fieldWidth(column));
        return DBFWriteStringAttribute(dbf_, row, column, bytes.constData());
    }
    int fieldWidth(int column) const {
        int width = 0;
        DBFGetFieldInfo(dbf_, column, nullptr, &width, nullptr);
        return width;
    }

    DBFHandle dbf_ = nullptr;
    QList<ExportField> fields_;
    QString fileName_;
};

struct ParadoxColumn {
    char type = pxfAlpha;
    int length = 0;
    int offset = 0;
};

class ParadoxWriter : public TableWriter {
public:
    ~ParadoxWriter() override { close(); }

    void create(const QString& fileName, const QList<ExportField>& fields) override {
        close();
        fields_ = fields;
        static const bool booted = [] {
            PX_boot();
            return true;
        }();
        (void)booted;
        QFile::remove(fileName);
        px_ = PX_new();
        if (!px_) throw TableExportError(QStringLiteral("Cannot create %1").arg(fileName));
        const std::vector<QByteArray> names = columnNames(fields, ParadoxFieldName);
        auto* defs = static_cast<pxfield_t*>(
            px_->malloc(px_, sizeof(pxfield_t) * size_t(std::max<qsizetype>(fields.size(), 1)), "export fields"));
        columns_.clear();
        int offset = 0;
        for (int i = 0; i < fields.size(); ++i) {
            ParadoxColumn c;
            switch (fields[i].kind) {
            case FieldKind::SmallInt:
                c = {pxfShort, 2};
                break;
            case FieldKind::Integer:
                c = {pxfLong, 4};
                break;
            case FieldKind::LargeInt:
            case FieldKind::Float:
                c = {pxfNumber, 8};
                break;
            case FieldKind::Currency:
                c = {pxfCurrency, 8};
                break;
            case FieldKind::Date:
                c = {pxfDate, 4};
                break;
            case FieldKind::DateTime:
                c = {pxfTimestamp, 8};
                break;
            case FieldKind::Time:
                c = {pxfTime, 4};
                break;
            case FieldKind::Boolean:
                c = {pxfLogical, 1};
                break;
            default:
                c = {pxfAlpha, textSize(fields[i], MaxParadoxText)};
                break;
            }
            c.offset = offset;
            offset += c.length;
            columns_.push_back(c);
            defs[i].px_fname = PX_strdup(px_, names[size_t(i)].constData());
            defs[i].px_ftype = c.type;
            defs[i].px_flen = c.length;
            defs[i].px_fdc = 0;
        }
        recordSize_ = offset;
        if (PX_create_file(px_, defs, int(fields.size()), QFile::encodeName(fileName).constData(),
                           pxfFileTypNonIndexDB) < 0) {
            PX_delete(px_);
            px_ = nullptr;
            throw TableExportError(QStringLiteral("Cannot create %1").arg(fileName));
        }
        // Texts are written as Windows-1250 bytes; the header names that code page.
        PX_set_value(px_, "codepage", 1250);
        PX_set_tablename(px_, QFileInfo(fileName).completeBaseName().toLatin1().constData());
        fileName_ = fileName;
    }

    void append(const QVariantList& values) override {
        std::vector<char> record(size_t(std::max(recordSize_, 1)), 0);
        for (int i = 0; i < fields_.size(); ++i) {
            const QVariant value = values.value(i);
            if (isNull(value)) continue; // a Paradox null is all zero bytes
            const ParadoxColumn& c = columns_[size_t(i)];
            char* data = record.data() + c.offset;
            switch (c.type) {
            case pxfShort:
                PX_put_data_short(px_, data, c.length, short(value.toInt()));
                break;
            case pxfLong:
                PX_put_data_long(px_, data, c.length, value.toInt());
                break;
            case pxfNumber:
            case pxfCurrency:
                PX_put_data_double(px_, data, c.length, value.toDouble());
                break;
            case pxfDate: {
                const QDate d = dateOf(value);
                if (d.isValid()) PX_put_data_long(px_, data, c.length, int(daysSinceEpoch(d)));
                break;
            }
            case pxfTimestamp: {
                const QDateTime dt = dateTimeOf(value);
                if (dt.isValid())
                    PX_put_data_double(px_, data, c.length,
                                       double(daysSinceEpoch(dt.date())) * 86400000.0 +
                                           double(dt.time().msecsSinceStartOfDay()));
                break;
            }
            case pxfTime: {
                const QTime t = timeOf(value);
                if (t.isValid()) PX_put_data_long(px_, data, c.length, t.msecsSinceStartOfDay());
                break;
            }
            case pxfLogical:
                PX_put_data_byte(px_, data, c.length, value.toBool() ? 1 : 0);
                break;
            default: {
                // Alpha fields hold the code page's bytes padded with zeros; the library's own
                // recoding would drop Windows-1250 text, so the bytes are placed directly.
                const QByteArray bytes = exportWindows1250(value.toString()).left(c.length);
                std::memcpy(data, bytes.constData(), size_t(bytes.size()));
                break;
            }
            }
        }
        if (PX_put_record(px_, record.data()) < 0)
            throw TableExportError(QStringLiteral("Cannot write a row of %1").arg(fileName_));
    }

    void close() override {
        if (!px_) return;
        PX_close(px_);
        PX_delete(px_);
        px_ = nullptr;
    }

    /// Days since 1 January of year 1, that day counting as 1.
    static qint64 daysSinceEpoch(const QDate& date) { return date.toJulianDay() - QDate(1, 1, 1).toJulianDay() + 1; }

private:
    pxdoc_t* px_ = nullptr;
    QList<ExportField> fields_;
    std::vector<ParadoxColumn> columns_;
    int recordSize_ = 0;
    QString fileName_;
};

QString schemaType(FieldKind kind) {
    switch (kind) {
    case FieldKind::SmallInt:
        return QStringLiteral("SHORT");
    case FieldKind::Integer:
    case FieldKind::LargeInt:
        return QStringLiteral("LONGINT");
    case FieldKind::Float:
        return QStringLiteral("FLOAT");
    case FieldKind::Currency:
        return QStringLiteral("CURRENCY");
    case FieldKind::Date:
        return QStringLiteral("DATE");
    case FieldKind::DateTime:
        return QStringLiteral("TIMESTAMP");
    case FieldKind::Time:
        return QStringLiteral("TIME");
    case FieldKind::Boolean:
        return QStringLiteral("BOOL");
    default:
        return QStringLiteral("CHAR");
    }
}

class FixedTextWriter : public TableWriter {
public:
    ~FixedTextWriter() override { close(); }

    void create(const QString& fileName, const QList<ExportField>& fields) override {
        close();
        fields_ = fields;
        // The schema first: it names the table, the code page and each column's place in a line.
        QSaveFile schema(schemaFileName(fileName));
        if (!schema.open(QIODevice::WriteOnly))
            throw TableExportError(QStringLiteral("Cannot create %1").arg(schema.fileName()));
        QByteArray text = '[' + exportWindows1250(QFileInfo(fileName).completeBaseName()) + "]\r\n";
        text += "FILETYPE = FIXED\r\nCHARSET = WINDOWS-1250\r\nDATEFORMAT = DD.MM.YYYY\r\n";
        const std::vector<QByteArray> names = columnNames(fields, ParadoxFieldName);
        int offset = 0;
        for (int i = 0; i < fields.size(); ++i) {
            const int width = fixedTextWidth(fields[i]);
            const int decimals = isNumericKind(fields[i].kind) ? fields[i].decimals : 0;
            text += QStringLiteral("Field%1 = %2,%3,%4,%5,%6\r\n")
                        .arg(i + 1)
                        .arg(fromWindows1250(names[size_t(i)]), schemaType(fields[i].kind))
                        .arg(width, 2, 10, QChar(u'0'))
                        .arg(decimals, 2, 10, QChar(u'0'))
                        .arg(offset, 2, 10, QChar(u'0'))
                        .toLatin1();
            offset += width;
        }
        schema.write(text);
        if (!schema.commit()) throw TableExportError(QStringLiteral("Cannot write %1").arg(schema.fileName()));

        file_.setFileName(fileName);
        if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw TableExportError(QStringLiteral("Cannot create %1").arg(fileName));
        fileName_ = fileName;
    }

    void append(const QVariantList& values) override {
        QByteArray line;
        for (int i = 0; i < fields_.size(); ++i) {
            const ExportField& f = fields_[i];
            const int width = fixedTextWidth(f);
            const QVariant value = values.value(i);
            QByteArray cell;
            if (!isNull(value)) {
                if (f.kind == FieldKind::Float || f.kind == FieldKind::Currency)
                    cell = QByteArray::number(value.toDouble(), 'f', f.decimals);
                else if (isNumericKind(f.kind))
                    cell = QByteArray::number(value.toLongLong());
                else
                    cell = exportWindows1250(textOf(value, f.kind));
            }
            if (cell.size() > width) {
                if (isNumericKind(f.kind))
                    throw TableExportError(QStringLiteral("The value %1 does not fit the field %2 of %3")
                                               .arg(value.toString(), f.name, fileName_));
                cell.truncate(width);
            }
            line += isNumericKind(f.kind) ? cell.rightJustified(width, ' ') : cell.leftJustified(width, ' ');
        }
        line += "\r\n";
        if (file_.write(line) != line.size())
            throw TableExportError(QStringLiteral("Cannot write %1: %2").arg(fileName_, file_.errorString()));
    }

    void close() override {
        if (file_.isOpen()) file_.close();
    }

private:
    QFile file_;
    QList<ExportField> fields_;
    QString fileName_;
};

} // namespace

TableExportError::TableExportError(const QString& message) : std::runtime_error(message.toStdString()) {}

std::unique_ptr<TableWriter> makeTableWriter(ExportFormat format) {
    switch (format) {
    case ExportFormat::DBase:
        return std::make_unique<DbfWriter>();
    case ExportFormat::Paradox:
        return std::make_unique<ParadoxWriter>();
    case ExportFormat::FixedText:
        break;
    }
    return std::make_unique<FixedTextWriter>();
}

QString schemaFileName(const QString& textFileName) {
    const QFileInfo info(textFileName);
    return info.path() + u'/' + info.completeBaseName() + QStringLiteral(".sch");
}

QByteArray exportWindows1250(const QString& text) {
    QStringEncoder encoder("windows-1250", QStringConverter::Flag::ConvertInvalidToNull);
    QByteArray bytes = encoder.encode(text);
    bytes.replace('\0', '?');
    return bytes;
}

QString fromWindows1250(const QByteArray& bytes) {
    QStringDecoder decoder("windows-1250");
    return decoder.decode(bytes);
}

int fixedTextWidth(const ExportField& field) {
    switch (field.kind) {
    case FieldKind::SmallInt:
        return 6;
    case FieldKind::Integer:
        return 11;
    case FieldKind::LargeInt:
        return 20;
    case FieldKind::Float:
    case FieldKind::Currency:
        return 20;
    case FieldKind::Date:
        return 10;
    case FieldKind::DateTime:
        return 19;
    case FieldKind::Time:
        return 8;
    case FieldKind::Boolean:
        return 1;
    default:
        return textSize(field, MaxDbfText);
    }
}
