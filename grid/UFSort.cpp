#include "grid/UFSort.h"

#include "grid/GridDataset.h"
#include "grid/GridToolBar.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSqlDriver>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QVBoxLayout>

namespace {

const QString SortChoicePrefix = QStringLiteral("SortInfoItem:");

QPointer<TfSort>& theSort() {
    static QPointer<TfSort> dialog;
    return dialog;
}

void freeSort() {
    delete theSort().data();
}

QStringList splitFieldList(const QString& fields) {
    QStringList names;
    for (const QString& name : fields.split(u';', Qt::SkipEmptyParts))
        names.append(name.trimmed());
    return names;
}

/// The sort dialog's line for an index: each field's display label ("*" labels show the field's
/// name after the star), or the name itself for a field the table lacks.
QString indexLine(const GridDataset& table, const QStringList& names) {
    QStringList parts;
    for (const QString& name : names) {
        const GridField* field = table.findField(name);
        if (!field)
            parts.append(name);
        else if (field->displayLabel() == QLatin1String("*"))
            parts.append(u'*' + field->name());
        else
            parts.append(field->displayLabel());
    }
    return parts.join(QStringLiteral(", "));
}

bool sameFields(const QStringList& a, const QStringList& b) {
    if (a.size() != b.size()) return false;
    for (int i = 0; i < a.size(); ++i)
        if (a[i].compare(b[i], Qt::CaseInsensitive) != 0) return false;
    return true;
}

} // namespace

GridInternalError::GridInternalError(const QString& message, const QString& unit)
    : std::runtime_error(message.toStdString()), unit_(unit) {}

QList<TableIndexDef> tableIndexDefs(const GridDataset& table) {
    QList<TableIndexDef> defs;
    const QSqlDatabase db = table.database();
    if (db.driverName() != QLatin1String("QSQLITE")) {
        const QSqlIndex primary = db.primaryIndex(table.tableName());
        QStringList names;
        for (int i = 0; i < primary.count(); ++i)
            names.append(primary.fieldName(i));
        if (!names.isEmpty()) defs.append({primary.name(), names.join(u';')});
        return defs;
    }
    QSqlQuery list(db);
    list.prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = :T "
                                "ORDER BY rowid"));
    list.bindValue(QStringLiteral(":T"), table.tableName());
    if (!list.exec()) return defs;
    while (list.next()) {
        const QString name = list.value(0).toString();
        QSqlQuery info(db);
        if (!info.exec(QStringLiteral("PRAGMA index_info(%1)")
                           .arg(db.driver()->escapeIdentifier(name, QSqlDriver::TableName))))
            continue;
        QStringList fields;
        bool expression = false;
        while (info.next()) {
            if (info.value(2).isNull())
                expression = true; // an index on an expression has no field
            else
                fields.append(info.value(2).toString());
        }
        if (!expression && !fields.isEmpty()) defs.append({name, fields.join(u';')});
    }
    return defs;
}

TfSort& TfSort::instance() {
    if (!theSort()) {
        theSort() = new TfSort();
        qAddPostRoutine(freeSort);
    }
    return *theSort();
}

TfSort::TfSort(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("fSort"));
    setWindowTitle(QStringLiteral("Sort"));
    setFixedSize(537, 161);

    lbInx = new QListWidget(this);
    lbInx->setObjectName(QStringLiteral("lbInx"));
    QFont listFont(QStringLiteral("Arial CE"), 8);
    listFont.setItalic(true);
    lbInx->setFont(listFont);
    lbInx->setFixedSize(534, 129);

    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(lbInx);
    layout->addLayout(buttons);

    connect(lbInx, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        try {
            lbInxClick(lbInx->row(item));
        } catch (const std::exception& error) {
            GridToolBar::reportError(error);
        }
    });
}

void TfSort::fill(GridDataset* dataSource, TSortInfo* sortInfo, SortChoicePicked picked) {
    table_ = dataSource && dataSource->isTable() ? dataSource : nullptr;
    sortInfo_ = sortInfo;
    picked_ = std::move(picked);

    lbInx->clear();
    lbInx->setCurrentRow(-1);
    inxFields.clear();

    if (table_ && table_->isOpen()) {
        const QStringList current = splitFieldList(table_->indexFieldNames());
        int selected = -1;
        for (const TableIndexDef& def : tableIndexDefs(*table_)) {
            const QStringList names = splitFieldList(def.fields);
            lbInx->addItem(indexLine(*table_, names));
            inxFields.append(def.fields);
            if (selected < 0 && !current.isEmpty() && sameFields(names, current))
                selected = lbInx->count() - 1;
        }
        if (selected >= 0) lbInx->setCurrentRow(selected);
    }
    if (sortInfo_) {
        for (int i = 0; i < sortInfo_->count(); ++i) {
            const TSortInfoItem& item = sortInfo_->items[size_t(i)];
            lbInx->addItem(item.DisplayText);
            if (table_)
                inxFields.append(item.indexFieldNames());
            else if (picked_)
                inxFields.append(SortChoicePrefix + QString::number(i));
            else
                inxFields.append(QString());
        }
    }
}

bool TfSort::run(GridDataset* dataSource, TSortInfo* sortInfo, SortChoicePicked picked) {
    fill(dataSource, sortInfo, std::move(picked));
    const bool ok = exec() == QDialog::Accepted;
    table_ = nullptr;
    sortInfo_ = nullptr;
    picked_ = nullptr;
    return ok;
}

void TfSort::lbInxClick(int row) {
    if (row < 0 || row >= inxFields.size()) return;
    const QString& key = inxFields[row];
    if (table_) {
        table_->setIndexFieldNames(key);
        return;
    }
    if (!sortInfo_ || !picked_) return;
    bool number = false;
    const int position =
        key.startsWith(SortChoicePrefix) ? key.mid(SortChoicePrefix.size()).toInt(&number) : -1;
    if (!number || position < 0 || position >= sortInfo_->count())
        throw GridInternalError(QStringLiteral("TfSort.lbInxClick: napačna vsebina elementa v inxFields."),
                                QStringLiteral("UFSort"));
    picked_(&sortInfo_->items[size_t(position)]);
}
