#include "grid/UTempTbl.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QSqlError>
#include <QTemporaryDir>

#include <memory>

namespace {

int nameCounter = 0;
int connectionCounter = 0;

struct PrivateDir {
    std::unique_ptr<QTemporaryDir> temporary;
    QString path;
    bool set = false;
};

PrivateDir& privateDirState() {
    static PrivateDir dir;
    return dir;
}

std::function<void(const QString&)>& messageHandler() {
    static std::function<void(const QString&)> handler;
    return handler;
}

QString quoted(const QString& name) {
    QString text = name;
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

QString sqlType(const TempFieldDef& def) {
    switch (def.kind) {
    case FieldKind::String:
    case FieldKind::FixedChar:
    case FieldKind::WideString:
        return def.size > 0 ? QStringLiteral("VARCHAR(%1)").arg(def.size) : QStringLiteral("VARCHAR");
    case FieldKind::Memo:
        return QStringLiteral("TEXT");
    case FieldKind::SmallInt:
    case FieldKind::Integer:
    case FieldKind::LargeInt:
    case FieldKind::Boolean:
        return QStringLiteral("INTEGER");
    case FieldKind::Float:
    case FieldKind::Currency:
        return QStringLiteral("FLOAT");
    case FieldKind::Date:
        return QStringLiteral("DATE");
    case FieldKind::DateTime:
        return QStringLiteral("DATETIME");
    case FieldKind::Time:
        return QStringLiteral("TIME");
    case FieldKind::Blob:
        return QStringLiteral("BLOB");
    case FieldKind::Unknown:
        break;
    }
    return {};
}

} // namespace

TTempTable::TTempTable(QObject* parent) : QObject(parent) {}

TTempTable::~TTempTable() { close(); }

QString TTempTable::privateDir() {
    PrivateDir& dir = privateDirState();
    if (!dir.set) {
        dir.temporary = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/tevra-local-XXXXXX"));
        dir.path = dir.temporary->isValid() ? dir.temporary->path() : QString();
        dir.set = true;
    }
    return dir.path;
}

void TTempTable::setPrivateDir(const QString& path) {
    PrivateDir& dir = privateDirState();
    dir.temporary.reset();
    dir.path = path;
    dir.set = true;
}

int TTempTable::nextNameNumber() { return nameCounter; }

void TTempTable::setMessageHandler(std::function<void(const QString&)> handler) {
    messageHandler() = std::move(handler);
}

void TTempTable::report(const QString& message) const {
    if (messageHandler()) messageHandler()(message);
    else QMessageBox::warning(nullptr, QString(), message);
}

void TTempTable::addFieldDef(const QString& name, FieldKind kind, int size, bool required) {
    fieldDefs_.append(TempFieldDef{name, kind, size, required});
}

QString TTempTable::fileName() const { return tableName_.isEmpty() ? QString() : tableName_ + QStringLiteral(".db"); }

QString TTempTable::quotedTableName() const { return quoted(tableName_); }

QString TTempTable::createStatement() const {
    QStringList columns;
    for (const TempFieldDef& def : fieldDefs_) {
        QString column = quoted(def.name);
        const QString type = sqlType(def);
        if (!type.isEmpty()) column += u' ' + type;
        if (def.required) column += QStringLiteral(" NOT NULL");
        columns.append(column);
    }
    const QStringList keys = indexFieldNames_.split(u';', Qt::SkipEmptyParts);
    if (!keys.isEmpty()) {
        QStringList names;
        for (const QString& key : keys) names.append(quoted(key.trimmed()));
        columns.append(QStringLiteral("CONSTRAINT \"PK\" PRIMARY KEY (%1)").arg(names.join(u',')));
    }
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(quotedTableName(), columns.join(QStringLiteral(", ")));
}

void TTempTable::open() {
    if (open_) return;
    dataBaseName_.clear();
    const QString dir = privateDir();
    const QString name = QStringLiteral("_TMP") + QString::number(nameCounter++);
    tableName_ = dir.isEmpty() ? name : QDir::toNativeSeparators(dir + u'/' + name);

    connection_ = QStringLiteral("tevra_local_%1").arg(++connectionCounter);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    QFile::remove(fileName());
    db.setDatabaseName(fileName());
    if (!db.open()) {
        report(db.lastError().text());
    } else {
        QSqlQuery create(db);
        if (!create.exec(createStatement())) report(create.lastError().text());
    }
    open_ = true;
}

void TTempTable::close() {
    if (!open_) return;
    open_ = false;
    insert_ = QSqlQuery();
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
    connection_.clear();
    if (QFile::exists(fileName()) && !QFile::remove(fileName()))
        report(QStringLiteral("Cannot delete %1").arg(fileName()));
}

QSqlDatabase TTempTable::database() const {
    return open_ ? QSqlDatabase::database(connection_, false) : QSqlDatabase();
}

void TTempTable::appendRecord(const QVariantList& values) {
    if (!open_) throw GridDatasetError(QStringLiteral("The local table is not open"), tableName_);
    if (!insert_.isValid() && insert_.lastQuery().isEmpty()) {
        QStringList names;
        QStringList marks;
        for (const TempFieldDef& def : fieldDefs_) {
            names.append(quoted(def.name));
            marks.append(QStringLiteral("?"));
        }
        const QString text = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                 .arg(quotedTableName(), names.join(u','), marks.join(u','));
        insert_ = QSqlQuery(database());
        if (!insert_.prepare(text)) {
            const QString message = insert_.lastError().text();
            insert_ = QSqlQuery();
            throw GridDatasetError(message, text);
        }
    }
    for (int i = 0; i < fieldDefs_.size(); ++i) insert_.bindValue(i, i < values.size() ? values[i] : QVariant());
    if (!insert_.exec()) throw GridDatasetError(insert_.lastError().text(), insert_.lastQuery());
}

int TTempTable::recordCount() const {
    const QString text = QStringLiteral("SELECT COUNT(*) FROM ") + quotedTableName();
    QSqlQuery query(database());
    if (!query.exec(text) || !query.next()) throw GridDatasetError(query.lastError().text(), text);
    return query.value(0).toInt();
}
