#include "store/WorkTableWriter.h"

#include "store/SqlError.h"

#include <QRegularExpression>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace store {

int declaredTextWidth(const QString& declaredType) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*(N?VARCHAR2?|N?CHAR|CHARACTER|TEXT)\s*\(\s*(\d+)\s*(BYTE|CHAR)?\s*\)\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = pattern.match(declaredType);
    return m.hasMatch() ? m.captured(2).toInt() : 0;
}

WorkTableWriter::WorkTableWriter(Database& db, QString table) : db_(db), table_(std::move(table)), statement_(db) {}

void WorkTableWriter::open(const QString& selectStatement) {
    close();
    Query probe(db_);
    probe.setSql(selectStatement);
    probe.open();
    probe.close();
    columns_.clear();
    const QSqlRecord record = db_.connection().record(table_);
    columnIndex_.clear();
    for (int i = 0; i < record.count(); ++i) {
        columns_.append(record.fieldName(i).toUpper());
        columnIndex_.emplace(columns_.last(), i);
    }
    setValues_ = QList<QVariant>(columns_.size());
    isSet_ = QList<bool>(columns_.size(), false);
    if (columns_.isEmpty()) throw SqlError(selectStatement, QStringLiteral("table ") + table_ + QStringLiteral(" has no columns"));
    learnWidths();
    open_ = true;
}

void WorkTableWriter::learnWidths() {
    widths_ = QList<int>(columns_.size(), 0);
    if (db_.sqliteEngine()) {
        QSqlQuery info(db_.connection());
        if (info.exec(QStringLiteral("PRAGMA table_info(") + table_ + u')')) {
            while (info.next()) {
                const int w = declaredTextWidth(info.value(2).toString());
                const int i = columnIndex(info.value(1).toString());
                if (w > 0 && i >= 0) widths_[i] = w;
            }
        }
        return;
    }
    const QSqlRecord record = db_.connection().record(table_);
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField f = record.field(i);
        const int c = columnIndex(f.name());
        if (f.metaType().id() == QMetaType::QString && f.length() > 0 && c >= 0) widths_[c] = f.length();
    }
}

int WorkTableWriter::columnIndex(const QString& column) const {
    const auto it = columnIndex_.find(upperName(column));
    return it == columnIndex_.end() ? -1 : it->second;
}

int WorkTableWriter::width(const QString& column) const {
    const int i = columnIndex(column);
    return i < 0 ? 0 : widths_[i];
}

void WorkTableWriter::close() {
    cancel();
    open_ = false;
}

void WorkTableWriter::append() {
    if (!open_) throw SqlError(table_, QStringLiteral("the result on ") + table_ + QStringLiteral(" is not open"));
    cancel();
    mode_ = Mode::Append;
}

void WorkTableWriter::edit(const QList<QPair<QString, QVariant>>& key) {
    if (!open_) throw SqlError(table_, QStringLiteral("the result on ") + table_ + QStringLiteral(" is not open"));
    cancel();
    key_ = key;
    mode_ = Mode::Edit;
}

void WorkTableWriter::set(const QString& column, const QVariant& value) {
    const int i = columnIndex(column);
    if (i < 0) throw SqlError(table_, QStringLiteral("no field ") + column + QStringLiteral(" in ") + table_);
    QVariant v = value;
    if (v.typeId() == QMetaType::QString) {
        QString s = v.toString();
        const int w = widths_[i];
        if (w > 0 && s.size() > w) s.truncate(w);
        v = s.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(s);
    } else if (v.typeId() == QMetaType::QDate && db_.sqliteEngine()) {
        v = QVariant(storedDateText(v.toDate(), QTime(0, 0)));
    } else if (v.typeId() == QMetaType::QDateTime || v.typeId() == QMetaType::QDate) {
        const QDateTime dt = v.typeId() == QMetaType::QDate ? v.toDate().startOfDay() : v.toDateTime();
        v = db_.sqliteEngine() ? QVariant(storedDateText(dt)) : QVariant(dt);
    }
    if (!isSet_[i]) setColumns_.append(i);
    isSet_[i] = true;
    setValues_[i] = std::move(v);
}

void WorkTableWriter::post() {
    if (mode_ == Mode::None) return;
    QStringList keyColumns;
    for (const auto& k : std::as_const(key_)) keyColumns.append(k.first.toUpper());
    if (mode_ == Mode::Edit && setColumns_.isEmpty()) {
        cancel();
        return;
    }
    if (mode_ != lastMode_ || setColumns_ != lastColumns_ || keyColumns != lastKeyColumns_) {
        lastText_ = statementText(keyColumns);
        lastMode_ = mode_;
        lastColumns_ = setColumns_;
        lastKeyColumns_ = keyColumns;
    }
    statement_.setSql(lastText_);
    for (const int c : std::as_const(setColumns_)) statement_.bindValue(columns_[c], setValues_[c]);
    for (const auto& k : std::as_const(key_)) statement_.bindValue(QStringLiteral("KEY_") + k.first, k.second);
    cancel();
    statement_.exec();
}

QString WorkTableWriter::statementText(const QStringList& keyColumns) const {
    QString text;
    if (mode_ == Mode::Append) {
        QStringList names;
        QStringList params;
        for (const int c : std::as_const(setColumns_)) {
            names.append(columns_[c]);
            params.append(u':' + columns_[c]);
        }
        text = QStringLiteral("INSERT INTO ") + table_ + QStringLiteral(" (") + names.join(u',') +
               QStringLiteral(") VALUES (") + params.join(u',') + u')';
    } else {
        QStringList assignments;
        for (const int c : std::as_const(setColumns_)) assignments.append(columns_[c] + QStringLiteral("=:") + columns_[c]);
        QStringList conditions;
        for (const QString& k : keyColumns) conditions.append(k + QStringLiteral("=:KEY_") + k);
        text = QStringLiteral("UPDATE ") + table_ + QStringLiteral(" SET ") + assignments.join(u',') +
               QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    }
    return text;
}

void WorkTableWriter::cancel() {
    mode_ = Mode::None;
    key_.clear();
    for (const int c : std::as_const(setColumns_)) {
        isSet_[c] = false;
        setValues_[c] = QVariant();
    }
    setColumns_.clear();
}

} // namespace store
