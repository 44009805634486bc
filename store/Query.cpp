#include "store/Query.h"

#include "store/SqlError.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlRecord>

namespace store {

struct Query::Prepared {
    QSqlQuery query;
    QStringList parameters;
    QStringList placeholders; ///< ":" + each parameter, as the driver is given them
    QString engineText;
    NameMap<int> columns;
    bool columnsKnown = false;
};

namespace {
constexpr int kMaxPrepared = 64;

class EngineTimer {
public:
    explicit EngineTimer(EngineStats& stats) : stats_(stats) { timer_.start(); }
    ~EngineTimer() { stats_.engineNanos += timer_.nsecsElapsed(); }

private:
    EngineStats& stats_;
    QElapsedTimer timer_;
};
} // namespace

QDateTime toDateTime(const QVariant& value) {
    if (value.isNull()) return {};
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value.toDateTime();
    case QMetaType::QDate:
        return value.toDate().startOfDay();
    default: {
        const QString s = value.toString().trimmed();
        QDateTime dt = QDateTime::fromString(s.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!dt.isValid()) dt = QDateTime::fromString(s.left(19), Qt::ISODate);
        if (!dt.isValid()) {
            const QDate d = QDate::fromString(s.left(10), QStringLiteral("yyyy-MM-dd"));
            if (d.isValid()) dt = d.startOfDay();
        }
        return dt;
    }
    }
}

QString storedDateText(const QDateTime& value) {
    if (!value.isValid()) return {};
    return storedDateText(value.date(), value.time());
}

QString storedDateText(const QDate& d, const QTime& t) {
    if (!d.isValid()) return {};
    if (d.year() < 0 || d.year() > 9999) return QDateTime(d, t).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    // Bound for every date parameter of every row: built digit by digit, not through the locale's formatter.
    char16_t text[19] = {u'0', u'0', u'0', u'0', u'-', u'0', u'0', u'-', u'0', u'0',
                         u' ', u'0', u'0', u':', u'0', u'0', u':', u'0', u'0'};
    auto put = [&](int end, int number) {
        for (int i = end; number != 0; --i, number /= 10) text[i] = char16_t(u'0' + number % 10);
    };
    put(3, d.year()), put(6, d.month()), put(9, d.day()), put(12, t.hour()), put(15, t.minute()), put(18, t.second());
    return QString(reinterpret_cast<const QChar*>(text), 19);
}

Query::Query(Database& db) : db_(db) {}

Query::~Query() { close(); }

void Query::setSql(const QString& statement) {
    close();
    if (statement != sql_) {
        sql_ = statement;
        current_ = nullptr;
    }
    values_.clear();
}

void Query::bindInt(const QString& name, qint32 value) { values_[upperName(name)] = value; }
void Query::bindDouble(const QString& name, double value) { values_[upperName(name)] = value; }
void Query::bindText(const QString& name, const QString& value) { values_[upperName(name)] = value; }

void Query::bindDateTime(const QString& name, const QDateTime& value) {
    if (db_.sqliteEngine()) values_[upperName(name)] = storedDateText(value);
    else values_[upperName(name)] = value;
}

void Query::bindDate(const QString& name, const QDate& value) {
    // On the embedded engines the day is text: no local-time conversion for every row.
    if (db_.sqliteEngine()) values_[upperName(name)] = storedDateText(value, QTime(0, 0));
    else bindDateTime(name, value.startOfDay());
}

void Query::bindValue(const QString& name, const QVariant& value) {
    if (value.typeId() == QMetaType::QDateTime) bindDateTime(name, value.toDateTime());
    else if (value.typeId() == QMetaType::QDate) bindDate(name, value.toDate());
    else values_[upperName(name)] = value;
}

Query::Prepared& Query::prepared() {
    if (!db_.reusePrepared()) {
        current_ = nullptr;
        cache_.clear();
    }
    if (current_) return *current_;
    auto it = cache_.find(sql_);
    if (it == cache_.end()) {
        if (cache_.size() >= kMaxPrepared) cache_.clear();
        auto p = std::make_shared<Prepared>();
        p->engineText = db_.engineText(sql_, &p->parameters);
        for (const QString& name : std::as_const(p->parameters)) p->placeholders.append(u':' + name);
        p->query = QSqlQuery(db_.connection());
        p->query.setForwardOnly(true);
        p->query.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
        bool ok;
        {
            EngineTimer timer(db_.stats());
            ok = p->query.prepare(p->engineText);
        }
        ++db_.stats().prepares;
        if (!ok) throw SqlError(sql_, p->query.lastError().text());
        it = cache_.insert(sql_, p);
    }
    current_ = it.value().get();
    return *current_;
}

void Query::execute(bool withRows) {
    close();
    if (!db_.isOpen()) throw SqlError(sql_, QStringLiteral("the database connection is not open"));
    Prepared& p = prepared();
    for (qsizetype i = 0; i < p.parameters.size(); ++i) {
        const auto it = values_.find(p.parameters[i]);
        if (it == values_.end())
            throw SqlError(sql_, QStringLiteral("parameter ") + p.parameters[i] + QStringLiteral(" has no value"));
        p.query.bindValue(p.placeholders[i], it->second);
    }
    ++db_.stats().executions;
    EngineTimer timer(db_.stats());
    if (!p.query.exec()) {
        const QString reason = p.query.lastError().text();
        p.query.finish();
        throw SqlError(sql_, reason);
    }
    if (!withRows) {
        p.query.finish();
        return;
    }
    open_ = true;
    eof_ = !p.query.next();
    if (eof_ && p.query.lastError().isValid()) {
        const QString reason = p.query.lastError().text();
        close();
        throw SqlError(sql_, reason);
    }
    if (!p.columnsKnown) {
        const QSqlRecord record = p.query.record();
        for (int i = 0; i < record.count(); ++i) p.columns.emplace(record.fieldName(i).toUpper(), i);
        p.columnsKnown = true;
    }
}

void Query::open() { execute(true); }

void Query::exec() { execute(false); }

void Query::close() {
    if (open_ && current_) current_->query.finish();
    open_ = false;
    eof_ = true;
}

void Query::next() {
    if (!open_ || eof_) return;
    EngineTimer timer(db_.stats());
    eof_ = !current_->query.next();
    if (eof_ && current_->query.lastError().isValid()) throw SqlError(sql_, current_->query.lastError().text());
}

int Query::rowCount() {
    Query count(db_);
    count.setSql(QStringLiteral("SELECT COUNT(*) N FROM (") + sql_ + QStringLiteral(") COUNTED"));
    count.values_ = values_;
    count.open();
    return count.integer(QStringLiteral("N"));
}

int Query::columnIndex(const QString& column) const {
    if (!open_ || eof_ || !current_) return -1;
    // Callers mostly name columns in upper case already: no new text for those.
    const NameMap<int>& columns = current_->columns;
    auto it = columns.find(column);
    if (it == columns.end()) it = columns.find(column.toUpper());
    return it == columns.end() ? -1 : it->second;
}

bool Query::hasField(const QString& column) const {
    return current_ && current_->columns.count(column.toUpper()) != 0;
}

QVariant Query::value(const QString& column) const {
    const int i = columnIndex(column);
    if (i < 0) {
        if (open_ && !eof_ && current_ && current_->columns.count(column.toUpper()) == 0)
            throw SqlError(sql_, QStringLiteral("no field ") + column);
        return {};
    }
    return current_->query.value(i);
}

bool Query::isNull(const QString& column) const { return value(column).isNull(); }

namespace {

QString variantText(const QVariant& v) {
    if (v.isNull()) return {};
    if (v.typeId() == QMetaType::Double) return QString::number(v.toDouble(), 'g', 15);
    return v.toString();
}

double variantNumber(const QVariant& v) {
    if (v.isNull()) return 0.0;
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok ? d : 0.0;
}

} // namespace

QString Query::text(const QString& column) const { return variantText(value(column)); }

qint32 Query::integer(const QString& column) const {
    const QVariant v = value(column);
    if (v.isNull()) return 0;
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        const double d = v.toString().trimmed().toDouble(&ok);
        return ok ? static_cast<qint32>(d) : 0;
    }
    return static_cast<qint32>(v.toLongLong());
}

qint64 Query::bigInteger(const QString& column) const {
    const QVariant v = value(column);
    if (v.isNull()) return 0;
    return v.toLongLong();
}

double Query::number(const QString& column) const { return variantNumber(value(column)); }

int Query::fieldIndex(const QString& column) const {
    const int i = columnIndex(column);
    if (i < 0) throw SqlError(sql_, QStringLiteral("no field ") + column);
    return i;
}

QString Query::textAt(int field) const {
    return open_ && !eof_ && current_ ? variantText(current_->query.value(field)) : QString();
}

double Query::numberAt(int field) const {
    return open_ && !eof_ && current_ ? variantNumber(current_->query.value(field)) : 0.0;
}

QDateTime Query::dateTime(const QString& column) const { return toDateTime(value(column)); }

} // namespace store
