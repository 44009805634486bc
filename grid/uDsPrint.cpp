#include "grid/uDsPrint.h"

#include "grid/GridToolBar.h"
#include "grid/Ufwgrid.h"
#include "grid/uProgres.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDate>
#include <QDateTime>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {

TfDataSetPrint* theWindow = nullptr;

constexpr int MarkedRole = Qt::UserRole + 1;
const QString CountField = QStringLiteral("N");
const QString UnmarkedPrefix = QStringLiteral("××");

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

/// Disables a dataset's controls for the lifetime of the object.
class ControlsOff {
public:
    explicit ControlsOff(GridDataset& dataset) : dataset_(dataset) { dataset_.disableControls(); }
    ~ControlsOff() { dataset_.enableControls(); }
    ControlsOff(const ControlsOff&) = delete;
    ControlsOff& operator=(const ControlsOff&) = delete;

private:
    GridDataset& dataset_;
};

/// Hides the progress window however a walk ends.
class ProgressShown {
public:
    ProgressShown(const QString& title, int maximum) { TfProgress::instance().start(title, maximum); }
    ~ProgressShown() { TfProgress::instance().finish(); }
    ProgressShown(const ProgressShown&) = delete;
    ProgressShown& operator=(const ProgressShown&) = delete;
};

bool isGroupKind(FieldKind kind) {
    switch (kind) {
    case FieldKind::String:
    case FieldKind::FixedChar:
    case FieldKind::WideString:
    case FieldKind::SmallInt:
    case FieldKind::Integer:
    case FieldKind::LargeInt:
    case FieldKind::Date:
    case FieldKind::DateTime:
        return true;
    default:
        return false;
    }
}

bool isFloatKind(FieldKind kind) { return kind == FieldKind::Float || kind == FieldKind::Currency; }

/// Dates are kept in the local table as sortable text ("yyyy-MM-dd", "yyyy-MM-dd HH:mm:ss").
QVariant localValue(FieldKind kind, const QVariant& value) {
    if (!value.isValid() || value.isNull()) return value;
    if (kind == FieldKind::Date && (value.metaType().id() == QMetaType::QDate ||
                                    value.metaType().id() == QMetaType::QDateTime))
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    if (kind == FieldKind::DateTime && value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (kind == FieldKind::DateTime && value.metaType().id() == QMetaType::QDate)
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
    return value;
}

/// Text of a local value in a result: numbers by the local field's format, dates as the grid shows them.
QString resultText(FieldKind kind, const QString& format, const GridField& field, const QVariant& value) {
    if (!value.isValid() || value.isNull()) return {};
    if (isFloatKind(kind)) return formatNumber(value.toDouble(), format);
    if (kind == FieldKind::Date || kind == FieldKind::DateTime) {
        const QString text = value.toString();
        const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
        if (date.isValid()) {
            QString shown = date.toString(QStringLiteral("dd.MM.yyyy"));
            if (kind == FieldKind::DateTime && text.size() >= 19) shown += text.mid(10, 9);
            return shown;
        }
    }
    return field.defaultText(value);
}

int formatDecimals(const QString& format) {
    const qsizetype point = format.indexOf(u'.');
    if (point < 0) return 0;
    int digits = 0;
    for (qsizetype i = point + 1; i < format.size() && (format[i] == u'0' || format[i] == u'#'); ++i) ++digits;
    return digits;
}

/// Paints the group columns of the grouped listing in the caption colours.
class GroupColumnDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QPalette& pal = QApplication::palette();
        option->backgroundBrush = pal.color(QPalette::Active, QPalette::Highlight);
        option->palette.setColor(QPalette::Text, pal.color(QPalette::Active, QPalette::HighlightedText));
        option->font.setBold(false);
        option->font.setItalic(false);
    }
};

} // namespace

TfDataSetPrint& TfDataSetPrint::instance() {
    if (!theWindow) {
        theWindow = new TfDataSetPrint();
        qAddPostRoutine([] { delete theWindow; }); // the destructor clears theWindow
    }
    return *theWindow;
}

TfDataSetPrint* TfDataSetPrint::existing() { return theWindow; }

TfDataSetPrint::TfDataSetPrint(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("fDataSetPrint"));
    resize(700, 395);
    QFont font(QStringLiteral("Arial CE"), 8);
    font.setBold(true);
    setFont(font);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Active, QPalette::Highlight));
    setPalette(pal);
    setAutoFillBackground(true);

    title = new QPlainTextEdit(this);
    title->setFixedHeight(26);
    tabBar = new QTabBar(this);
    tabBar->addTab(QStringLiteral("Nastavitve"));
    tabs = new QStackedWidget(this);

    // Settings page.
    auto* settings = new QWidget(tabs);
    dbgTemp = new QTableView(settings);
    dbgTemp->setFixedHeight(36);
    dbgTemp->verticalHeader()->hide();
    dbgTemp->horizontalHeader()->setSectionsMovable(true);
    dbgTemp->horizontalHeader()->setSectionsClickable(true);
    dbgTemp->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* groupBox = new QGroupBox(QStringLiteral("Sortiranje / grupiranje po :"), settings);
    lbGroup = new QListWidget(groupBox);
    eLine = new QLineEdit(QString(33, QChar(0x00D7)), groupBox);
    auto* groupLayout = new QVBoxLayout(groupBox);
    groupLayout->addWidget(lbGroup, 1);
    groupLayout->addWidget(new QLabel(QStringLiteral("Oznaka za skupaj :"), groupBox));
    groupLayout->addWidget(eLine);

    auto* sumBox = new QGroupBox(QStringLiteral("Sumarna polja pri grupiranju :"), settings);
    lbSum = new QListWidget(sumBox);
    cbShowSumOp = new QCheckBox(QStringLiteral("Pokaži sumarni operator"), sumBox);
    cbShowSumOp->setChecked(true);
    auto* sumLayout = new QVBoxLayout(sumBox);
    sumLayout->addWidget(lbSum, 1);
    sumLayout->addWidget(cbShowSumOp);

    lbNone = new QListWidget(settings);
    lbNone->hide();
    btnSort = new QPushButton(QStringLiteral("Sortiranje"), settings);
    btnGroup = new QPushButton(QStringLiteral("Grupiranje"), settings);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(btnSort);
    buttons->addWidget(btnGroup);
    buttons->addStretch();

    auto* panels = new QHBoxLayout;
    panels->addWidget(groupBox, 1);
    panels->addWidget(sumBox, 1);
    panels->addLayout(buttons);
    auto* settingsLayout = new QVBoxLayout(settings);
    settingsLayout->addWidget(dbgTemp);
    settingsLayout->addLayout(panels, 1);
    tabs->addWidget(settings);

    // Result pages.
    const auto resultGrid = [this](bool indicator) {
        auto* page = new QWidget(tabs);
        auto* grid = new TFwwDBGrid(page);
        grid->setFillsParent(true);
        grid->setGridButtons({gbLocate, gbPrint, gbGraph, gbTitleWordWrap, gbCopyToClip});
        auto options = (grid->options() | TVKCustomDbGrid::Option::RowSelect) & ~TVKCustomDbGrid::Options(
                                                                                     TVKCustomDbGrid::Option::Editing);
        if (indicator) options |= TVKCustomDbGrid::Option::Indicator;
        grid->setOptions(options);
        grid->setReadOnly(true);
        tabs->addWidget(page);
        return grid;
    };
    dbgQ = resultGrid(false);
    dbgQ->setObjectName(QStringLiteral("dbgQ"));
    dbgQG = resultGrid(true);
    dbgQG->setObjectName(QStringLiteral("dbgQG"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    layout->addWidget(title);
    layout->addWidget(tabBar);
    layout->addWidget(tabs, 1);

    connect(title, &QPlainTextEdit::textChanged, this, [this] {
        dbgQ->setLabelText(title->toPlainText());
        dbgQG->setLabelText(title->toPlainText());
    });
    connect(tabBar, &QTabBar::tabBarClicked, this, [this] { tabs->setCurrentIndex(tabSettings); });
    connect(dbgTemp->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int logical) { titleClicked(dbgTemp->horizontalHeader()->visualIndex(logical)); });
    connect(dbgTemp->horizontalHeader(), &QHeaderView::sectionMoved, this, [this](int, int from, int to) {
        if (movingColumns_) return;
        if (from == 0 || to == 0) moveFieldTo(0, 0);
    });
    connect(lbGroup, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { toggleGroupMark(lbGroup->row(item)); });
    connect(lbSum, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { cycleOperator(lbSum->row(item)); });
    connect(cbShowSumOp, &QCheckBox::toggled, this, &TfDataSetPrint::setShowSumOperator);
    connect(btnSort, &QPushButton::clicked, this, [this] { runListing(&TfDataSetPrint::sortListing); });
    connect(btnGroup, &QPushButton::clicked, this, [this] { runListing(&TfDataSetPrint::groupListing); });
}

TfDataSetPrint::~TfDataSetPrint() {
    closing();
    if (theWindow == this) theWindow = nullptr;
}

void TfDataSetPrint::releaseQueries() {
    dbgQ->setDataset(nullptr);
    dbgQG->setDataset(nullptr);
    qG_.reset();
    q_.reset();
}

void TfDataSetPrint::closing() {
    copied_ = false;
    releaseQueries();
    tTemp.close();
}

void TfDataSetPrint::closeEvent(QCloseEvent* event) {
    closing();
    QWidget::closeEvent(event);
}

void TfDataSetPrint::prepare(GridDataset& source) {
    copied_ = false;
    source_ = &source;
    releaseQueries();
    tTemp.close();

    lbGroup->clear();
    lbSum->clear();
    lbNone->clear();
    cbShowSumOp->setChecked(true);

    fields_.clear();
    LocalField count;
    count.name = CountField;
    count.kind = FieldKind::Integer;
    count.label = CountField;
    count.width = 1;
    fields_.append(count);
    tTemp.fieldDefs().clear();
    tTemp.addFieldDef(CountField, FieldKind::Integer);
    for (const GridField* f : source.visibleFields()) {
        if (f->name().compare(CountField, Qt::CaseInsensitive) == 0) continue;
        LocalField local;
        local.name = f->name();
        bool required = false;
        if (!f->onGetText()) {
            local.kind = f->kind();
            local.size = f->size();
        } else if (f->name().compare(QStringLiteral("LOT"), Qt::CaseInsensitive) == 0) {
            local.kind = f->kind();
            local.size = f->size();
            required = f->required();
        } else {
            local.kind = FieldKind::String;
            local.size = f->displayWidth();
            local.takesDisplayText = true;
        }
        local.label = f->displayLabel();
        local.width = f->displayWidth();
        if (isNumericKind(local.kind)) local.format = f->displayFormat();
        fields_.append(local);
        tTemp.addFieldDef(local.name, local.kind, local.size, required);
    }
    tTemp.open();
    rebuildStrip();
    tabs->setCurrentIndex(tabSettings);
}

void TfDataSetPrint::setTitle(const QString& text) { title->setPlainText(text); }

void TfDataSetPrint::rebuildStrip() {
    auto* model = new QStandardItemModel(0, int(fields_.size()), dbgTemp);
    for (int i = 0; i < fields_.size(); ++i) model->setHorizontalHeaderItem(i, new QStandardItem(fields_[i].label));
    QAbstractItemModel* old = dbgTemp->model();
    dbgTemp->setModel(model);
    if (old && old != model) old->deleteLater();
    stripModel_ = model;
    QHeaderView* header = dbgTemp->horizontalHeader();
    header->setSectionsMovable(true);
    header->setSectionResizeMode(QHeaderView::Interactive);
    const int charWidth = dbgTemp->fontMetrics().averageCharWidth();
    for (int i = 0; i < fields_.size(); ++i) header->resizeSection(i, std::max(fields_[i].width, 2) * charWidth + 8);
}

int TfDataSetPrint::fieldIndex(const QString& name) const {
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

const TfDataSetPrint::LocalField& TfDataSetPrint::localField(const QString& name) const {
    const int i = fieldIndex(name);
    if (i < 0) throw GridDatasetError(QStringLiteral("Field '%1' not found").arg(name), QString());
    return fields_[i];
}

QStringList TfDataSetPrint::columnOrder() const {
    QStringList names;
    const QHeaderView* header = dbgTemp->horizontalHeader();
    for (int position = 0; position < fields_.size(); ++position)
        names.append(fields_[header->logicalIndex(position)].name);
    return names;
}

void TfDataSetPrint::moveFieldTo(int logical, int position) {
    QHeaderView* header = dbgTemp->horizontalHeader();
    const int from = header->visualIndex(logical);
    if (from < 0 || position < 0 || position >= header->count() || from == position) return;
    movingColumns_ = true;
    header->moveSection(from, position);
    movingColumns_ = false;
}

void TfDataSetPrint::moveColumn(int from, int to) { dbgTemp->horizontalHeader()->moveSection(from, to); }

void TfDataSetPrint::clearLists() {
    lbGroup->clear();
    lbSum->clear();
    lbNone->clear();
    for (LocalField& f : fields_) f.op = opNone;
}

QString TfDataSetPrint::groupText(const QListWidgetItem& item) const {
    const LocalField& f = fields_[item.data(Qt::UserRole).toInt()];
    return item.data(MarkedRole).toBool() ? f.label : UnmarkedPrefix + f.label;
}

QString TfDataSetPrint::sumText(int logical) const {
    const LocalField& f = fields_[logical];
    return cbShowSumOp->isChecked() ? operatorName(f.op) + u' ' + f.label : f.label;
}

void TfDataSetPrint::addGroup(int logical, bool marked) {
    auto* item = new QListWidgetItem(lbGroup);
    item->setData(Qt::UserRole, logical);
    item->setData(MarkedRole, marked);
    item->setText(groupText(*item));
}

void TfDataSetPrint::addSum(int logical, int op) {
    if (op == opNone) {
        auto* item = new QListWidgetItem(fields_[logical].label, lbNone);
        item->setData(Qt::UserRole, logical);
        return;
    }
    fields_[logical].op = op;
    auto* item = new QListWidgetItem(sumText(logical), lbSum);
    item->setData(Qt::UserRole, logical);
    if (logical == 0) return;
    int summed = 0;
    for (int row = 0; row < lbSum->count(); ++row)
        if (lbSum->item(row)->data(Qt::UserRole).toInt() != 0) ++summed;
    moveFieldTo(logical, lbGroup->count() + lbNone->count() + summed);
}

void TfDataSetPrint::proposeDefaultGrouping() {
    QList<int> order;
    const QHeaderView* header = dbgTemp->horizontalHeader();
    for (int position = 1; position < fields_.size(); ++position) order.append(header->logicalIndex(position));
    bool grouping = true;
    for (int logical : order) {
        const LocalField& f = fields_[logical];
        if (grouping && isGroupKind(f.kind)) {
            addGroup(logical, true);
            moveFieldTo(logical, lbGroup->count());
            continue;
        }
        grouping = false;
        if (isFloatKind(f.kind)) addSum(logical, defaultOperator(f.kind, f.label));
    }
    addSum(0, opSum);
}

void TfDataSetPrint::titleClicked(int position) {
    QList<int> order;
    const QHeaderView* header = dbgTemp->horizontalHeader();
    for (int p = 0; p < fields_.size(); ++p) order.append(header->logicalIndex(p));
    clearLists();
    for (int p = 1; p < order.size(); ++p) {
        const int logical = order[p];
        if (logical == 0) continue;
        if (p <= position) addGroup(logical, true);
        else addSum(logical, defaultOperator(fields_[logical].kind, fields_[logical].label));
    }
    addSum(0, opSum);
}

void TfDataSetPrint::toggleGroupMark(int row) {
    QListWidgetItem* item = lbGroup->item(row);
    if (!item) return;
    item->setData(MarkedRole, !item->data(MarkedRole).toBool());
    item->setText(groupText(*item));
}

void TfDataSetPrint::cycleOperator(int row) {
    QListWidgetItem* item = lbSum->item(row);
    if (!item) return;
    LocalField& f = fields_[item->data(Qt::UserRole).toInt()];
    f.op = nextOperator(f.op);
    item->setText(sumText(item->data(Qt::UserRole).toInt()));
}

void TfDataSetPrint::setShowSumOperator(bool show) {
    if (cbShowSumOp->isChecked() != show) {
        cbShowSumOp->setChecked(show); // relists through the toggled signal
        return;
    }
    relistSums();
}

void TfDataSetPrint::relistSums() {
    for (int row = 0; row < lbSum->count(); ++row)
        lbSum->item(row)->setText(sumText(lbSum->item(row)->data(Qt::UserRole).toInt()));
}

QList<SummaryGroupField> TfDataSetPrint::groupFields() const {
    QList<SummaryGroupField> groups;
    for (int row = 0; row < lbGroup->count(); ++row) {
        const QListWidgetItem* item = lbGroup->item(row);
        const LocalField& f = fields_[item->data(Qt::UserRole).toInt()];
        groups.append({f.name, f.kind, f.size, item->data(MarkedRole).toBool()});
    }
    return groups;
}

QList<SummarySumField> TfDataSetPrint::sumFields() const {
    QList<SummarySumField> sums;
    for (int row = 0; row < lbSum->count(); ++row) {
        const LocalField& f = fields_[lbSum->item(row)->data(Qt::UserRole).toInt()];
        sums.append({f.name, f.op});
    }
    return sums;
}

QStringList TfDataSetPrint::groupTexts() const {
    QStringList texts;
    for (int row = 0; row < lbGroup->count(); ++row) texts.append(lbGroup->item(row)->text());
    return texts;
}

QStringList TfDataSetPrint::sumTexts() const {
    QStringList texts;
    for (int row = 0; row < lbSum->count(); ++row) texts.append(lbSum->item(row)->text());
    return texts;
}

QStringList TfDataSetPrint::noneNames() const {
    QStringList names;
    for (int row = 0; row < lbNone->count(); ++row)
        names.append(fields_[lbNone->item(row)->data(Qt::UserRole).toInt()].name);
    return names;
}

int TfDataSetPrint::fieldOperator(const QString& name) const {
    const int i = fieldIndex(name);
    return i < 0 ? opNone : fields_[i].op;
}

int TfDataSetPrint::currentPage() const { return tabs->currentIndex(); }

QString TfDataSetPrint::totalLabel() const { return eLine->text(); }

void TfDataSetPrint::copyToLocalTable() {
    if (!source_) return;
    GridDataset& source = *source_;
    struct Column {
        int local;
        const GridField* field;
    };
    QList<Column> columns;
    for (int i = 1; i < fields_.size(); ++i)
        if (const GridField* f = source.findField(fields_[i].name)) columns.append({i, f});

    QSqlDatabase db = tTemp.database();
    ControlsOff controls(source);
    ProgressShown progress(QStringLiteral("Copy to local table"), source.recordCount());
    // Rows of an earlier copy that was cancelled or failed must not be counted again.
    const QString empty = emptyTableSql(tTemp.quotedTableName());
    QSqlQuery clear(db);
    if (!clear.exec(empty)) throw GridDatasetError(clear.lastError().text(), empty);

    db.transaction();
    try {
        QVariantList values(fields_.size());
        for (source.first(); !source.eof(); source.next()) {
            values[0] = 1;
            for (const Column& c : columns) {
                const LocalField& local = fields_[c.local];
                const QVariant value = source.value(*c.field);
                values[c.local] = local.takesDisplayText ? QVariant(c.field->displayText(value))
                                                         : localValue(local.kind, value);
            }
            tTemp.appendRecord(values);
            TfProgress::instance().step();
        }
    } catch (...) {
        db.commit();
        throw;
    }
    db.commit();
    copied_ = true;
}

void TfDataSetPrint::runListing(void (TfDataSetPrint::*listing)()) {
    try {
        (this->*listing)();
    } catch (const TAbortOperation&) {
        // cancelled through the progress window: nothing to say
    } catch (const std::exception& error) {
        GridToolBar::reportError(error);
    }
}

void TfDataSetPrint::sortListing() {
    WaitCursor wait;
    if (!copied_) copyToLocalTable();
    const QString sql = sortedListingSql(groupFields(), sumFields(), tTemp.quotedTableName()).join(u'\n');
    auto result = std::make_unique<GridDataset>(tTemp.database(), sql);
    result->open();
    setupFields(*result, false);
    dbgQ->setDataset(result.get());
    q_ = std::move(result);
    dbgQ->loaded();
    tabs->setCurrentIndex(tabSort);
}

void TfDataSetPrint::groupListing() {
    WaitCursor wait;
    if (!copied_) copyToLocalTable();
    const QList<SummaryGroupField> groups = groupFields();
    const QString sql = groupedListingSql(groups, sumFields(), tTemp.quotedTableName()).join(u'\n');
    auto result = std::make_unique<GridDataset>(tTemp.database(), sql);
    result->open();
    setupFields(*result, true);
    dbgQG->setDataset(result.get());
    qG_ = std::move(result);
    dbgQG->loaded();
    colourGroupColumns(int(groups.size()));
    tabs->setCurrentIndex(tabGroup);
}

void TfDataSetPrint::setupFields(GridDataset& result, bool grouped) {
    const int groupCount = lbGroup->count();
    const int sumCount = lbSum->count();
    result.disableControls();
    for (int i = 0; i < result.fieldCount() && i < groupCount + sumCount; ++i) {
        GridField* field = result.field(i);
        const LocalField& local = localField(field->name());
        field->setDisplayWidth(std::max(local.width, 1));
        const FieldKind kind = local.kind;
        const QString format = local.format;
        if (i < groupCount) {
            field->setOnGetText([this, kind, format](const GridField& f, const QVariant& value) {
                return isTotalRowValue(kind, value) ? eLine->text() : resultText(kind, format, f, value);
            });
            field->setDisplayLabel(local.label);
            if (grouped && isNumericKind(kind)) field->setDisplayFormat(format);
        } else {
            field->setDisplayLabel(lbSum->item(i - groupCount)->text());
            if (isNumericKind(kind)) field->setDisplayFormat(format);
            if (kind == FieldKind::Date || kind == FieldKind::DateTime)
                field->setOnGetText([kind](const GridField& f, const QVariant& value) {
                    return resultText(kind, QString(), f, value);
                });
        }
        if (field->name().compare(CountField, Qt::CaseInsensitive) == 0) field->setDisplayWidth(6);
    }
    result.enableControls();
}

void TfDataSetPrint::colourGroupColumns(int count) {
    // The delegate class has no meta-object of its own, so findChild would take any item delegate
    // of the grid for it: look for our own by its C++ type.
    GroupColumnDelegate* delegate = nullptr;
    for (QObject* child : dbgQG->children()) {
        if (auto* d = dynamic_cast<GroupColumnDelegate*>(child)) {
            delegate = d;
            break;
        }
    }
    if (!delegate) delegate = new GroupColumnDelegate(dbgQG);
    const int columns = dbgQG->model() ? dbgQG->model()->columnCount() : 0;
    for (int c = 0; c < columns; ++c) dbgQG->setItemDelegateForColumn(c, c < count ? delegate : nullptr);
}

void TfDataSetPrint::exportDataset(GridDataset& source) {
    QString filter;
    const QString dBase = QStringLiteral("DBase (*.dbf)");
    const QString paradox = QStringLiteral("Paradox (*.db)");
    const QString text = QStringLiteral("Text fixed length (*.txt)");
    QString fileName = QFileDialog::getSaveFileName(this, QString(), QString(),
                                                    QStringList{dBase, paradox, text}.join(QStringLiteral(";;")), &filter);
    if (fileName.isEmpty()) return;
    const ExportFormat format = filter == dBase     ? ExportFormat::DBase
                                : filter == paradox ? ExportFormat::Paradox
                                                    : ExportFormat::FixedText;
    const QString suffix = format == ExportFormat::DBase ? QStringLiteral(".dbf")
                           : format == ExportFormat::Paradox ? QStringLiteral(".db")
                                                             : QStringLiteral(".txt");
    if (QFileInfo(fileName).suffix().isEmpty()) fileName += suffix;
    exportTo(source, fileName, format);
}

bool TfDataSetPrint::exportTo(GridDataset& source, const QString& fileName, ExportFormat format) {
    WaitCursor wait;
    QList<ExportField> fields;
    QList<const GridField*> sourceFields;
    for (const GridField* f : source.visibleFields()) {
        ExportField e;
        e.name = f->name();
        if (f->onGetText()) {
            e.kind = FieldKind::String;
            e.size = f->displayWidth();
        } else {
            e.kind = f->kind();
            e.size = f->size();
            if (isFloatKind(e.kind)) e.decimals = std::min(std::max(formatDecimals(f->displayFormat()), 6), 10);
        }
        fields.append(e);
        sourceFields.append(f);
    }
    std::unique_ptr<TableWriter> t = makeTableWriter(format);
    try {
        ProgressShown progress(QStringLiteral("Export"), source.recordCount());
        ControlsOff controls(source);
        t->create(fileName, fields);
        QVariantList values(fields.size());
        for (source.first(); !source.eof(); source.next()) {
            for (int i = 0; i < sourceFields.size(); ++i) {
                const GridField& f = *sourceFields[i];
                const QVariant value = source.value(f);
                values[i] = f.onGetText() ? QVariant(f.displayText(value)) : value;
            }
            t->append(values);
            TfProgress::instance().step();
        }
    } catch (const TAbortOperation&) {
        t->close();
        return false;
    }
    t->close();
    return true;
}
