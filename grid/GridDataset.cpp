#include "grid/GridDataset.h"

#include "grid/GridDatasetModel.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QRegularExpression>
#include <QSqlRecord>

#include <algorithm>
#include <cmath>

namespace {

constexpr int CursorIdleMs = 2000;
constexpr int MaxSampledWidth = 60;

FieldKind kindOf(const QSqlField& field) {
    switch (field.metaType().id()) {
    case QMetaType::QString:
    case QMetaType::QChar:
        return FieldKind::String;
    case QMetaType::Short:
    case QMetaType::UShort:
        return FieldKind::SmallInt;
    case QMetaType::Int:
    case QMetaType::UInt:
        return FieldKind::Integer;
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return FieldKind::LargeInt;
    case QMetaType::Double:
    case QMetaType::Float:
        return FieldKind::Float;
    case QMetaType::QDate:
        return FieldKind::Date;
    case QMetaType::QDateTime:
        return FieldKind::DateTime;
    case QMetaType::QTime:
        return FieldKind::Time;
    case QMetaType::Bool:
        return FieldKind::Boolean;
    case QMetaType::QByteArray:
        return FieldKind::Blob;
    default:
        return FieldKind::Unknown;
    }
}

bool isIdentifierChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// Upper-cases every ":name" placeholder outside quoted literals and quoted identifiers.
QString normalisePlaceholders(const QString& sql, QStringList* names) {
    QString out;
    out.reserve(sql.size());
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
            out += c;
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quote = c;
            out += c;
            continue;
        }
        const bool starts = c == u':' && i + 1 < sql.size() && (sql[i + 1].isLetter() || sql[i + 1] == u'_') &&
                            (i == 0 || sql[i - 1] != u':');
        if (!starts) {
            out += c;
            continue;
        }
        qsizetype end = i + 1;
        while (end < sql.size() && isIdentifierChar(sql[end])) ++end;
        const QString name = sql.mid(i + 1, end - i - 1).toUpper();
        if (names && !names->contains(name)) names->append(name);
        out += u':';
        out += name;
        i = end - 1;
    }
    return out;
}

QString stripTrailingSemicolons(QString sql) {
    sql = sql.trimmed();
    while (sql.endsWith(u';')) sql = sql.chopped(1).trimmed();
    return sql;
}

} // namespace

bool isTextKind(FieldKind kind) {
    return kind == FieldKind::String || kind == FieldKind::Memo || kind == FieldKind::FixedChar ||
           kind == FieldKind::WideString;
}

bool isNumericKind(FieldKind kind) {
    return kind == FieldKind::SmallInt || kind == FieldKind::Integer || kind == FieldKind::LargeInt ||
           kind == FieldKind::Float || kind == FieldKind::Currency;
}

QString formatNumber(double value, const QString& format) {
    if (!std::isfinite(value)) return QString::number(value);
    const QString section = format.section(u';', 0, 0);
    if (section.isEmpty()) {
        QString text = QString::number(value, 'g', 15);
        return text == QLatin1String("-0") ? QStringLiteral("0") : text;
    }
    const qsizetype point = section.indexOf(u'.');
    const QString intPart = point < 0 ? section : section.left(point);
    const QString fracPart = point < 0 ? QString() : section.mid(point + 1);
    const int maxDecimals = int(fracPart.count(u'0') + fracPart.count(u'#'));
    int minDecimals = 0;
    for (QChar c : fracPart) {
        if (c == u'0') ++minDecimals;
        else if (c != u'#') break;
    }
    const bool grouping = intPart.contains(u',');
    const int minIntDigits = int(intPart.count(u'0'));

    QString digits = QString::number(std::fabs(value), 'f', maxDecimals);
    QString whole = digits;
    QString frac;
    if (const qsizetype p = digits.indexOf(u'.'); p >= 0) {
        whole = digits.left(p);
        frac = digits.mid(p + 1);
    }
    while (frac.size() > minDecimals && frac.endsWith(u'0')) frac.chop(1);
    if (whole == QLatin1String("0") && minIntDigits == 0) whole.clear();
    while (whole.size() < minIntDigits) whole.prepend(u'0');
    if (grouping) {
        for (qsizetype i = whole.size() - 3; i > 0; i -= 3) whole.insert(i, u',');
    }
    QString text = whole;
    if (!frac.isEmpty()) text += u'.' + frac;
    if (text.isEmpty()) text = QStringLiteral("0");
    const bool zero = !text.contains(QRegularExpression(QStringLiteral("[1-9]")));
    if (value < 0 && !zero) text.prepend(u'-');
    return text;
}

GridDatasetError::GridDatasetError(const QString& message, const QString& sql)
    : std::runtime_error(message.toStdString()), sql_(sql) {}

// ---------------------------------------------------------------------------------------------
// GridField

void GridField::changed() {
    if (dataset_) dataset_->fieldChanged();
}

void GridField::setDisplayLabel(const QString& label) {
    if (displayLabel_ == label) return;
    displayLabel_ = label;
    changed();
}

void GridField::setDisplayWidth(int width) {
    width = std::max(width, 0);
    if (displayWidth_ == width) return;
    displayWidth_ = width;
    changed();
}

void GridField::setVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    changed();
}

int GridField::index() const { return dataset_ ? dataset_->positionOf(this) : 0; }

void GridField::setIndex(int position) {
    if (dataset_) dataset_->fieldMoved(this, position);
}

void GridField::setDisplayFormat(const QString& format) {
    if (displayFormat_ == format) return;
    displayFormat_ = format;
    changed();
}

void GridField::setAlignment(Qt::Alignment alignment) {
    if (alignment_ == alignment) return;
    alignment_ = alignment;
    changed();
}

void GridField::setOnGetText(GetTextHandler handler) {
    onGetText_ = std::move(handler);
    changed();
}

QString GridField::displayText(const QVariant& value) const {
    if (onGetText_) return onGetText_(*this, value);
    return defaultText(value);
}

QString GridField::defaultText(const QVariant& value) const {
    if (!value.isValid() || value.isNull()) return {};
    switch (kind_) {
    case FieldKind::Float:
    case FieldKind::Currency: {
        bool ok = false;
        const double d = value.toDouble(&ok);
        return ok ? formatNumber(d, displayFormat_) : value.toString();
    }
    case FieldKind::SmallInt:
    case FieldKind::Integer:
    case FieldKind::LargeInt:
        if (!displayFormat_.isEmpty()) {
            bool ok = false;
            const double d = value.toDouble(&ok);
            if (ok) return formatNumber(d, displayFormat_);
        }
        return value.toString();
    case FieldKind::Date:
        if (value.metaType().id() == QMetaType::QDate || value.metaType().id() == QMetaType::QDateTime)
            return value.toDate().toString(QStringLiteral("dd.MM.yyyy"));
        return value.toString();
    case FieldKind::DateTime:
        if (value.metaType().id() == QMetaType::QDateTime)
            return value.toDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
        if (value.metaType().id() == QMetaType::QDate)
            return value.toDate().toString(QStringLiteral("dd.MM.yyyy"));
        return value.toString();
    case FieldKind::Boolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case FieldKind::Blob:
        return QStringLiteral("(BLOB)");
    default:
        break;
    }
    if (value.metaType().id() == QMetaType::Double) return formatNumber(value.toDouble(), displayFormat_);
    return value.toString();
}

// ---------------------------------------------------------------------------------------------
// GridDataset

GridDataset::GridDataset(const QSqlDatabase& db, const QString& sql, const QVariantMap& params, QObject* parent)
    : QObject(parent), db_(db) {
    cursorIdle_.setSingleShot(true);
    cursorIdle_.setInterval(CursorIdleMs);
    connect(&cursorIdle_, &QTimer::timeout, this, [this] { releaseCursor(); });
    model_ = new GridDatasetModel(this);
    setSql(sql, params);
}

std::unique_ptr<GridDataset> GridDataset::forTable(const QSqlDatabase& db, const QString& table, QObject* parent) {
    const QString quoted = db.driver() ? db.driver()->escapeIdentifier(table, QSqlDriver::TableName) : table;
    auto dataset = std::make_unique<GridDataset>(db, QStringLiteral("SELECT * FROM ") + quoted, QVariantMap{}, parent);
    dataset->table_ = table;
    return dataset;
}

void GridDataset::setIndexFieldNames(const QString& names) {
    if (!isTable()) throw GridDatasetError(QStringLiteral("Only a table can be ordered by index fields"), sql_);
    QSqlDriver* driver = db_.driver();
    const auto quote = [driver](const QString& name, QSqlDriver::IdentifierType type) {
        return driver ? driver->escapeIdentifier(name, type) : name;
    };
    QStringList terms;
    for (const QString& name : names.split(u';', Qt::SkipEmptyParts))
        terms.append(quote(name.trimmed(), QSqlDriver::FieldName));
    QString text = QStringLiteral("SELECT * FROM ") + quote(table_, QSqlDriver::TableName);
    if (!terms.isEmpty()) text += QStringLiteral(" ORDER BY ") + terms.join(QStringLiteral(", "));
    const bool reopen = open_;
    setSql(text);
    indexFieldNames_ = terms.isEmpty() ? QString() : names;
    if (reopen) open();
}

GridDataset::~GridDataset() {
    releaseCursor();
    // The model is a child and goes with us; it must not see a half-destroyed dataset.
    disconnect(this, nullptr, model_, nullptr);
}

void GridDataset::setSql(const QString& sql, const QVariantMap& params) {
    close();
    sql_ = sql;
    indexFieldNames_.clear();
    params_.clear();
    for (auto it = params.cbegin(); it != params.cend(); ++it) {
        QString name = it.key().toUpper();
        if (name.startsWith(u':')) name.remove(0, 1);
        params_.insert(name, it.value());
    }
    preparedSql_ = stripTrailingSemicolons(normalisePlaceholders(sql, nullptr));
    limitOffset_ = db_.driverName() == QLatin1String("QSQLITE");
}

QSqlQuery GridDataset::prepare(const QString& text) const {
    QStringList names;
    normalisePlaceholders(text, &names);
    QSqlQuery query(db_);
    query.setForwardOnly(true);
    if (!query.prepare(text)) throw GridDatasetError(query.lastError().text(), text);
    for (const QString& name : names) {
        const auto it = params_.constFind(name);
        if (it == params_.cend())
            throw GridDatasetError(QStringLiteral("Parameter :%1 has no value").arg(name), text);
        query.bindValue(u':' + name, it.value());
    }
    return query;
}

void GridDataset::positionCursor(int row) const {
    if (cursor_.isActive() && cursorRow_ == row) return;
    releaseCursor();
    const bool wrap = row > 0 && limitOffset_;
    const QString text =
        wrap ? QStringLiteral("SELECT * FROM (%1) LIMIT -1 OFFSET %2").arg(preparedSql_).arg(row) : preparedSql_;
    QSqlQuery query = prepare(text);
    if (!query.exec()) throw GridDatasetError(query.lastError().text(), text);
    cursor_ = std::move(query);
    cursorRow_ = wrap ? row : 0;
    while (cursorRow_ < row && cursor_.next()) ++cursorRow_;
}

void GridDataset::releaseCursor() const {
    if (cursor_.isActive()) cursor_.finish();
    cursor_ = QSqlQuery();
    cursorRow_ = -1;
}

const GridDataset::Chunk& GridDataset::loadChunk(int chunk) const {
    const int start = chunk * ChunkSize;
    positionCursor(start);
    Chunk loaded;
    loaded.rows.reserve(ChunkSize);
    const int columns = cursor_.record().count();
    bool atEnd = false;
    while (int(loaded.rows.size()) < ChunkSize) {
        if (!cursor_.next()) {
            atEnd = true;
            break;
        }
        QVector<QVariant> values(columns);
        for (int c = 0; c < columns; ++c) values[c] = cursor_.value(c);
        loaded.rows.push_back(std::move(values));
        ++cursorRow_;
    }
    ++chunkLoads_;
    if (atEnd) releaseCursor();
    else cursorIdle_.start();

    while (cache_.size() >= std::max(cacheLimit_, 2)) {
        auto oldest = cache_.begin();
        for (auto it = cache_.begin(); it != cache_.end(); ++it)
            if (it->lastUse < oldest->lastUse) oldest = it;
        cache_.erase(oldest);
    }
    loaded.lastUse = ++useClock_;
    return *cache_.insert(chunk, std::move(loaded));
}

const QVector<QVariant>& GridDataset::rowAt(int row) const {
    static const QVector<QVariant> none;
    if (!open_ || row < 0 || row >= count_) return none;
    const int chunk = row / ChunkSize;
    auto it = cache_.find(chunk);
    const Chunk& c = it != cache_.end() ? *it : loadChunk(chunk);
    const_cast<Chunk&>(c).lastUse = ++useClock_;
    const size_t offset = size_t(row % ChunkSize);
    return offset < c.rows.size() ? c.rows[offset] : none;
}

const QVector<QVariant>* GridDataset::cachedRow(int row) const {
    if (!open_ || row < 0 || row >= count_) return nullptr;
    const int chunk = row / ChunkSize;
    auto it = cache_.find(chunk);
    if (it != cache_.end()) {
        it->lastUse = ++useClock_;
        const size_t offset = size_t(row % ChunkSize);
        return offset < it->rows.size() ? &it->rows[offset] : nullptr;
    }
    queued_.insert(chunk);
    if (!queueScheduled_) {
        queueScheduled_ = true;
        auto* self = const_cast<GridDataset*>(this);
        QTimer::singleShot(0, self, [self, generation = generation_] { self->processQueued(generation); });
    }
    return nullptr;
}

void GridDataset::processQueued(quint64 generation) {
    if (generation != generation_) return; // a load asked for before the data was re-read
    queueScheduled_ = false;
    QList<int> chunks = queued_.values();
    queued_.clear();
    std::sort(chunks.begin(), chunks.end());
    for (int chunk : chunks) {
        if (!open_ || cache_.contains(chunk)) continue;
        const int first = chunk * ChunkSize;
        const int last = std::min(first + ChunkSize, count_) - 1;
        if (visibleLast_ >= 0 && (last < visibleFirst_ || first > visibleLast_)) continue; // scrolled away
        try {
            loadChunk(chunk);
        } catch (const GridDatasetError& e) {
            qWarning("Grid rows %d-%d could not be read: %s", first, last, e.what());
            return;
        }
        Q_EMIT rowsLoaded(first, last);
    }
}

void GridDataset::setVisibleRows(int firstRow, int lastRow) {
    visibleFirst_ = firstRow;
    visibleLast_ = lastRow;
}

int GridDataset::cachedRowCount() const {
    int rows = 0;
    for (const Chunk& c : cache_) rows += int(c.rows.size());
    return rows;
}

void GridDataset::setCacheLimit(int chunks) { cacheLimit_ = std::max(chunks, 2); }

void GridDataset::buildFields(const QSqlRecord& record) {
    bool same = int(fields_.size()) == record.count();
    if (same) {
        for (const auto& f : fields_)
            if (record.fieldName(f->sourceColumn_).compare(f->name_, Qt::CaseInsensitive) != 0) same = false;
    }
    if (same) return;
    fields_.clear();
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField sqlField = record.field(i);
        auto field = std::make_unique<GridField>();
        field->dataset_ = this;
        field->name_ = sqlField.name();
        field->kind_ = kindOf(sqlField);
        field->size_ = isTextKind(field->kind_) ? std::max(0, sqlField.length()) : 0;
        field->required_ = sqlField.requiredStatus() == QSqlField::Required;
        field->displayLabel_ = sqlField.name();
        field->displayWidth_ = -1; // sampled after the first chunk
        field->alignment_ = isNumericKind(field->kind_) ? Qt::AlignRight : Qt::AlignLeft;
        field->sourceColumn_ = i;
        fields_.push_back(std::move(field));
    }
}

void GridDataset::sampleWidths() {
    const auto it = cache_.constFind(0);
    for (const auto& f : fields_) {
        if (f->displayWidth_ >= 0) continue;
        int width = int(f->displayLabel_.size());
        if (f->size_ > 0) width = std::max(width, std::min(f->size_, MaxSampledWidth));
        if (isNumericKind(f->kind_)) width = std::max(width, 6);
        if (it != cache_.cend()) {
            for (const auto& row : it->rows)
                width = std::max(width, int(f->defaultText(row.value(f->sourceColumn_)).size()));
        }
        f->displayWidth_ = std::clamp(width, 1, MaxSampledWidth);
    }
}

void GridDataset::open() {
    if (open_) return;
    ++generation_;
    queued_.clear();
    queueScheduled_ = false;
    cache_.clear();
    positionCursor(0);
    buildFields(cursor_.record());
    open_ = true;
    count_ = ChunkSize; // provisional, so that the first chunk can be read
    try {
        const Chunk& first = loadChunk(0);
        count_ = int(first.rows.size());
        if (count_ == ChunkSize) {
            const QString text = QStringLiteral("SELECT COUNT(*) FROM (%1) T_COUNT").arg(preparedSql_);
            QSqlQuery query = prepare(text);
            if (!query.exec() || !query.next()) throw GridDatasetError(query.lastError().text(), text);
            count_ = query.value(0).toInt();
        }
    } catch (...) {
        open_ = false;
        count_ = 0;
        cache_.clear();
        releaseCursor();
        throw;
    }
    sampleWidths();
    current_ = count_ > 0 ? 0 : -1;
    bof_ = true;
    eof_ = count_ == 0;
    Q_EMIT dataReset();
    if (!controlsDisabled()) Q_EMIT currentChanged(current_);
}

void GridDataset::close() {
    if (!open_) return;
    releaseCursor();
    ++generation_;
    queued_.clear();
    queueScheduled_ = false;
    cache_.clear();
    open_ = false;
    count_ = 0;
    current_ = -1;
    eof_ = bof_ = true;
    Q_EMIT dataReset();
}

void GridDataset::refresh() {
    close();
    open();
}

GridField* GridDataset::field(int position) const {
    return position >= 0 && position < fieldCount() ? fields_[size_t(position)].get() : nullptr;
}

GridField* GridDataset::findField(const QString& name) const {
    const QString wanted = name.trimmed();
    for (const auto& f : fields_)
        if (f->name_.compare(wanted, Qt::CaseInsensitive) == 0) return f.get();
    return nullptr;
}

GridField& GridDataset::fieldByName(const QString& name) const {
    if (GridField* f = findField(name)) return *f;
    throw GridDatasetError(QStringLiteral("Field '%1' not found").arg(name), sql_);
}

QList<GridField*> GridDataset::fields() const {
    QList<GridField*> list;
    for (const auto& f : fields_) list.append(f.get());
    return list;
}

QList<GridField*> GridDataset::visibleFields() const {
    QList<GridField*> list;
    for (const auto& f : fields_)
        if (f->visible_) list.append(f.get());
    return list;
}

int GridDataset::positionOf(const GridField* field) const {
    for (size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].get() == field) return int(i);
    return -1;
}

void GridDataset::fieldMoved(GridField* field, int position) {
    const int from = positionOf(field);
    if (from < 0) return;
    const int to = std::clamp(position, 0, fieldCount() - 1);
    if (from == to) return;
    auto owned = std::move(fields_[size_t(from)]);
    fields_.erase(fields_.begin() + from);
    fields_.insert(fields_.begin() + to, std::move(owned));
    fieldChanged();
}

void GridDataset::fieldChanged() {
    if (controlsDisabled()) {
        fieldsDirty_ = true;
        return;
    }
    Q_EMIT fieldsChanged();
}

void GridDataset::moveTo(int row) {
    if (current_ == row) return;
    current_ = row;
    if (!controlsDisabled()) Q_EMIT currentChanged(row);
}

void GridDataset::first() {
    if (count_ == 0) {
        eof_ = bof_ = true;
        return;
    }
    moveTo(0);
    bof_ = true;
    eof_ = false;
}

void GridDataset::next() {
    if (count_ == 0 || current_ >= count_ - 1) {
        eof_ = true;
        return;
    }
    moveTo(current_ + 1);
    bof_ = eof_ = false;
}

void GridDataset::prior() {
    if (count_ == 0 || current_ <= 0) {
        bof_ = true;
        return;
    }
    moveTo(current_ - 1);
    bof_ = eof_ = false;
}

void GridDataset::last() {
    if (count_ == 0) {
        eof_ = bof_ = true;
        return;
    }
    moveTo(count_ - 1);
    eof_ = true;
    bof_ = false;
}

void GridDataset::setRecNo(int row) {
    if (count_ == 0) return;
    moveTo(std::clamp(row, 0, count_ - 1));
    bof_ = eof_ = false;
}

QVariant GridDataset::value(const GridField& field) const { return valueAt(current_, field); }

QVariant GridDataset::valueAt(int row, const GridField& field) const {
    const QVector<QVariant>& values = rowAt(row);
    return field.sourceColumn_ < values.size() ? values[field.sourceColumn_] : QVariant();
}

void GridDataset::disableControls() {
    if (disableCount_++ == 0) Q_EMIT controlsDisabling();
}

void GridDataset::enableControls() {
    if (disableCount_ == 0 || --disableCount_ > 0) return;
    if (fieldsDirty_) {
        fieldsDirty_ = false;
        Q_EMIT fieldsChanged();
    }
    Q_EMIT controlsEnabled();
}
