#include "grid/cDbGrid.h"

#include "grid/GridDataset.h"
#include "grid/GridDatasetModel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <qdrawutil.h>

#include <algorithm>

namespace {

constexpr int WordWrapTitleHeight = 45;
constexpr int ColumnPadding = 4;

} // namespace

// ---------------------------------------------------------------------------------------------
// TVKTitleHeader

TVKTitleHeader::TVKTitleHeader(TVKCustomDbGrid* grid) : QHeaderView(Qt::Horizontal, grid), grid_(grid) {
    setSectionsClickable(true);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void TVKTitleHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid()) return;
    painter->save();
    const GridField* field = grid_->fieldAt(logicalIndex);
    const bool marked = field && field == grid_->markedSortField();
    const QColor background = marked ? grid_->SortColor() : palette().color(QPalette::Button);
    painter->setFont(grid_->titleFont());
    painter->fillRect(rect, background);
    qDrawShadePanel(painter, rect, palette(), marked, 1);
    const QRect inner = rect.adjusted(1, 1, -1, -1);
    painter->fillRect(inner.adjusted(1, 1, -1, -1), background);

    const QString caption = model() ? model()->headerData(logicalIndex, Qt::Horizontal).toString() : QString();
    Qt::Alignment align = Qt::AlignLeft;
    if (field) align = field->alignment() & Qt::AlignHorizontal_Mask;
    const QRect textRect = inner.adjusted(2, 1, -2, -1);
    painter->setPen(grid_->titleFontColor());
    if (grid_->TitleWordwrap()) {
        painter->drawText(textRect, int(align | Qt::AlignVCenter | Qt::TextWordWrap), caption);
    } else {
        const QString shown = painter->fontMetrics().elidedText(caption, Qt::ElideRight, textRect.width());
        painter->drawText(textRect, int(align | Qt::AlignVCenter | Qt::TextSingleLine), shown);
    }
    painter->restore();
}

// ---------------------------------------------------------------------------------------------
// TVKCustomDbGrid

TVKCustomDbGrid::TVKCustomDbGrid(QWidget* parent)
    : QTableView(parent), header_(new TVKTitleHeader(this)),
      sortColor_(QApplication::palette().color(QPalette::Highlight)),
      options_(Option::Editing | Option::Titles | Option::Indicator | Option::ColumnResize | Option::ColLines |
               Option::RowLines | Option::Tabs | Option::ConfirmDelete | Option::CancelOnExit),
      titleFontColor_(QApplication::palette().color(QPalette::ButtonText)) {
    setHorizontalHeader(header_);
    header_->viewport()->installEventFilter(this);
    connect(header_, &QHeaderView::sectionClicked, this, [this](int column) {
        Q_EMIT titleClick(column);
        titleClicked(column);
    });
    connect(header_, &QHeaderView::sectionResized, this, &TVKCustomDbGrid::onSectionResized);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { updateVisibleRows(); });

    // Every row has the same height: the header never measures rows, which keeps a grid over
    // millions of rows as quick as one over ten.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    titleFont_ = font();
    setOptions(options_);
    setRowHeight(fontMetrics().height() + 4);
    updateTitleHeight();
}

TVKCustomDbGrid::~TVKCustomDbGrid() {
    for (const auto& c : connections_) disconnect(c);
}

GridDatasetModel* TVKCustomDbGrid::datasetModel() const { return dataset_ ? dataset_->model() : nullptr; }

GridField* TVKCustomDbGrid::fieldAt(int column) const {
    GridDatasetModel* m = datasetModel();
    return m ? m->fieldAt(column) : nullptr;
}

void TVKCustomDbGrid::setDataset(GridDataset* dataset) {
    for (const auto& c : connections_) disconnect(c);
    connections_.clear();
    markedSortField_ = nullptr;
    dataset_ = dataset;
    setModel(dataset ? dataset->model() : nullptr);
    if (!dataset) return;
    connections_ << connect(dataset, &GridDataset::dataReset, this, [this] {
        markedSortField_ = nullptr;
        applyColumns();
        followCurrent(dataset_->recNo());
    });
    connections_ << connect(dataset, &GridDataset::fieldsChanged, this, [this] { applyColumns(); });
    connections_ << connect(dataset, &GridDataset::currentChanged, this, &TVKCustomDbGrid::followCurrent);
    connections_ << connect(dataset, &GridDataset::controlsEnabled, this, [this] {
        setUpdatesEnabled(true);
        followCurrent(dataset_->recNo());
        viewport()->update();
    });
    connections_ << connect(dataset, &GridDataset::destroyed, this, [this] { setModel(nullptr); });
    connections_ << connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                            [this](const QModelIndex& current) {
                                if (followingDataset_ || !dataset_ || dataset_->controlsDisabled()) return;
                                if (current.isValid()) dataset_->setRecNo(current.row());
                            });
    // A grid stops repainting while its dataset's controls are disabled (long walks move the
    // current record thousands of times).
    connections_ << connect(dataset, &GridDataset::controlsDisabling, this, [this] { setUpdatesEnabled(false); });
    applyColumns();
    followCurrent(dataset->recNo());
}

void TVKCustomDbGrid::applyColumns() {
    GridDatasetModel* m = datasetModel();
    if (!m) return;
    applyingColumns_ = true;
    for (int c = 0; c < m->columnCount(); ++c)
        if (GridField* f = m->fieldAt(c)) setColumnWidth(c, columnWidthFor(f->displayWidth()));
    applyingColumns_ = false;
    updateVisibleRows();
    layoutChanged();
}

void TVKCustomDbGrid::followCurrent(int row) {
    if (!dataset_ || dataset_->controlsDisabled() || !model()) return;
    if (!updatesEnabled()) setUpdatesEnabled(true);
    followingDataset_ = true;
    if (row >= 0 && row < model()->rowCount() && model()->columnCount() > 0) {
        const int column = std::max(currentIndex().column(), 0);
        const QModelIndex index = model()->index(row, std::min(column, model()->columnCount() - 1));
        selectionModel()->setCurrentIndex(index, options_.testFlag(Option::RowSelect)
                                                     ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
                                                     : QItemSelectionModel::ClearAndSelect);
        scrollTo(index);
    }
    followingDataset_ = false;
    updateVisibleRows();
}

void TVKCustomDbGrid::updateVisibleRows() {
    if (!dataset_) return;
    const int first = rowAt(0);
    int last = rowAt(viewport()->height() - 1);
    if (last < 0) last = dataset_->recordCount() - 1;
    dataset_->setVisibleRows(std::max(first, 0), last);
}

void TVKCustomDbGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    updateVisibleRows();
}

bool TVKCustomDbGrid::canSortOnField(const GridField*) const { return false; }

void TVKCustomDbGrid::titleClicked(int column) {
    GridField* field = fieldAt(column);
    if (field && canSortOnField(field)) {
        markedSortField_ = field;
        header_->viewport()->update();
    }
}

void TVKCustomDbGrid::layoutChanged() {}

void TVKCustomDbGrid::columnWidthChanged(GridField*) {}

bool TVKCustomDbGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == header_->viewport()) {
        // Only widths the user drags are written back to the fields.
        if (event->type() == QEvent::MouseButtonPress) writeBackWidths_ = true;
        else if (event->type() == QEvent::MouseButtonRelease) {
            const bool handled = QTableView::eventFilter(watched, event);
            QMetaObject::invokeMethod(this, [this] { writeBackWidths_ = false; }, Qt::QueuedConnection);
            return handled;
        }
    }
    return QTableView::eventFilter(watched, event);
}

void TVKCustomDbGrid::onSectionResized(int column, int, int newSize) {
    if (applyingColumns_ || !writeBackWidths_) return;
    GridField* field = fieldAt(column);
    if (!field) return;
    applyingColumns_ = true; // the field's change lays out the columns again; keep the user's width
    field->setDisplayWidth(charactersFor(newSize));
    applyingColumns_ = false;
    columnWidthChanged(field);
}

int TVKCustomDbGrid::columnWidthFor(int characters) const {
    return std::max(characters, 0) * fontMetrics().horizontalAdvance(u'0') + ColumnPadding;
}

int TVKCustomDbGrid::charactersFor(int pixels) const {
    const int digit = std::max(fontMetrics().horizontalAdvance(u'0'), 1);
    return std::max((pixels - ColumnPadding + digit / 2) / digit, 1);
}

void TVKCustomDbGrid::setSortColor(const QColor& color) {
    sortColor_ = color;
    header_->viewport()->update();
}

void TVKCustomDbGrid::setTitleWordwrap(bool on) {
    if (titleWordwrap_ == on) return;
    titleWordwrap_ = on;
    updateTitleHeight();
    header_->viewport()->update();
}

void TVKCustomDbGrid::setOptions(Options options) {
    options_ = options;
    header_->setVisible(options.testFlag(Option::Titles));
    verticalHeader()->setVisible(options.testFlag(Option::Indicator));
    header_->setSectionResizeMode(options.testFlag(Option::ColumnResize) ? QHeaderView::Interactive
                                                                         : QHeaderView::Fixed);
    setShowGrid(options.testFlag(Option::ColLines) || options.testFlag(Option::RowLines));
    setSelectionBehavior(options.testFlag(Option::RowSelect) ? SelectRows : SelectItems);
    setSelectionMode(options.testFlag(Option::MultiSelect) ? ExtendedSelection : SingleSelection);
    setTabKeyNavigation(options.testFlag(Option::Tabs));
}

void TVKCustomDbGrid::setTitleFont(const QFont& font) {
    titleFont_ = font;
    header_->setFont(font);
    updateTitleHeight();
    header_->viewport()->update();
}

void TVKCustomDbGrid::setTitleFontColor(const QColor& color) {
    titleFontColor_ = color;
    header_->viewport()->update();
}

void TVKCustomDbGrid::setDataFont(const QFont& font) {
    setFont(font);
    setRowHeight(QFontMetrics(font).height() + 4);
    applyColumns();
}

void TVKCustomDbGrid::setRowHeight(int pixels) { verticalHeader()->setDefaultSectionSize(std::max(pixels, 1)); }

int TVKCustomDbGrid::rowHeight() const { return verticalHeader()->defaultSectionSize(); }

void TVKCustomDbGrid::updateTitleHeight() {
    header_->setFixedHeight(titleWordwrap_ ? WordWrapTitleHeight : QFontMetrics(titleFont_).height() + 6);
}

// ---------------------------------------------------------------------------------------------
// TVKDbGrid

TVKDbGrid::TVKDbGrid(QWidget* parent) : TVKCustomDbGrid(parent) {}

void TVKDbGrid::setScrollBars(TScrollStyle style) {
    scrollBars_ = style;
    const bool horizontal = style == ssHorizontal || style == ssBoth;
    const bool vertical = style == ssVertical || style == ssBoth;
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}
