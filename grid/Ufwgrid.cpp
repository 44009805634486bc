#include "grid/Ufwgrid.h"

#include "grid/GridDataset.h"
#include "grid/GridToolBar.h"
#include "grid/uProgres.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QRegularExpression>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStandardPaths>

#include <optional>

namespace {

constexpr int LabelWidthReserve = 252;
int labelCounter = 0;

std::optional<GridFontSettings>& fontSettings() {
    static std::optional<GridFontSettings> settings;
    return settings;
}

/// Runs a clean-up when the scope is left, also by an exception.
class OnExit {
public:
    explicit OnExit(std::function<void()> action) : action_(std::move(action)) {}
    ~OnExit() { action_(); }
    OnExit(const OnExit&) = delete;
    OnExit& operator=(const OnExit&) = delete;

private:
    std::function<void()> action_;
};

/// A whole number from 1 to `max`, or `fallback`: a size of 0, a negative one or one of millions
/// would leave the grid without text or overflow where its print fonts are scaled.
int toInt(const QString& text, int fallback, int max) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= 1 && value <= max ? value : fallback;
}

} // namespace

TGridButton memberOf(GridTool tool) {
    switch (tool) {
    case GridTool::Zoom: return gbZoom;
    case GridTool::View: return gbView;
    case GridTool::Print: return gbPrint;
    case GridTool::PrintGroup: return gbPrintGroup;
    case GridTool::Locate: return gbLocate;
    case GridTool::Refresh: return gbRefresh;
    case GridTool::Sort: return gbSort;
    case GridTool::TitleWordWrap: return gbTitleWordWrap;
    case GridTool::Graph: return gbGraph;
    case GridTool::CopyToClip: return gbCopyToClip;
    case GridTool::Export: return gbExport;
    }
    return gbZoom;
}

// ---------------------------------------------------------------------------------------------
// Grid font settings

GridFontSettings GridFontSettings::read(const QString& iniPath) {
    QFile file(iniPath);
    if (iniPath.isEmpty() || !file.open(QIODevice::ReadOnly)) return {};
    return parse(QString::fromUtf8(file.readAll()));
}

GridFontSettings GridFontSettings::parse(const QString& text) {
    GridFontSettings settings;
    // Lines end in CR LF, LF or a lone CR.
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    const QStringList lines = text.split(lineEnd);
    bool inSection = false;
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            inSection = line.compare(QLatin1String("[ZEL]"), Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!inSection || eq <= 0) continue;
        const QString key = line.left(eq).trimmed().toLower();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == QLatin1String("fontsize")) settings.fontSize = toInt(value, settings.fontSize, kMaxFontSize);
        else if (key == QLatin1String("fontname") && !value.isEmpty()) settings.fontName = value;
        else if (key == QLatin1String("lineheight"))
            settings.lineHeight = toInt(value, settings.lineHeight, kMaxLineHeight);
        else if (key == QLatin1String("titlefontsize"))
            settings.titleFontSize = toInt(value, settings.titleFontSize, kMaxFontSize);
        else if (key == QLatin1String("titlefontname") && !value.isEmpty()) settings.titleFontName = value;
    }
    return settings;
}

QString GridFontSettings::winIniPath() {
    const QString overridden = qEnvironmentVariable("TEVRA_WININI");
    if (!overridden.isEmpty()) return overridden;
#ifdef Q_OS_WIN
    QString windows = qEnvironmentVariable("WINDIR");
    if (windows.isEmpty()) windows = QStringLiteral("C:/Windows");
    return windows + QStringLiteral("/WIN.INI");
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/WIN.INI");
#endif
}

const GridFontSettings& gridFontSettings() {
    if (!fontSettings()) fontSettings() = GridFontSettings::read(GridFontSettings::winIniPath());
    return *fontSettings();
}

void reloadGridFontSettings() { fontSettings() = GridFontSettings::read(GridFontSettings::winIniPath()); }

// ---------------------------------------------------------------------------------------------
// TMemLabel

TMemLabel::TMemLabel(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("MemLabel") + QString::number(++labelCounter));
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(8);
    f.setBold(true);
    setFont(f);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::HighlightedText));
    setPalette(p);
    setAutoFillBackground(false);
    adjustSize();
}

// ---------------------------------------------------------------------------------------------
// TFwwDBGrid

TFwwDBGrid::TFwwDBGrid(QWidget* parent) : TVKDbGrid(parent) {
    setOptions(Option::Titles | Option::ColumnResize | Option::ColLines | Option::RowLines | Option::RowSelect |
               Option::AlwaysShowSelection | Option::ConfirmDelete | Option::CancelOnExit);
    QFont data(QStringLiteral("Arial CE"));
    data.setPointSize(8);
    data.setBold(true);
    setDataFont(data);
    QFont title(QStringLiteral("Arial CE"));
    title.setPointSize(8);
    setTitleFont(title);

    label_ = new TMemLabel(parentWidget());
    label_->setBuddy(this);
    label_->hide();
    adoptParent();
}

TFwwDBGrid::~TFwwDBGrid() {
    if (toolBarShown_) hideToolBar();
    if (GridToolBar* bar = GridToolBar::existing()) bar->detach(*this);
    if (watchedParent_) watchedParent_->removeEventFilter(this);
    delete label_.data();
}

void TFwwDBGrid::adoptParent() {
    QWidget* parent = parentWidget();
    if (watchedParent_ == parent) return;
    if (watchedParent_) watchedParent_->removeEventFilter(this);
    watchedParent_ = parent;
    if (parent) parent->installEventFilter(this);
    if (label_ && label_->parentWidget() != parent) {
        label_->setParent(parent);
        label_->move(label_->x(), 0);
        label_->setVisible(parent && isVisible() && labelAlign_ != laNone);
    }
    applyBounds();
}

bool TFwwDBGrid::event(QEvent* e) {
    const bool result = TVKDbGrid::event(e);
    if (e->type() == QEvent::ParentChange) adoptParent();
    return result;
}

bool TFwwDBGrid::eventFilter(QObject* watched, QEvent* e) {
    if (watched == watchedParent_ && e->type() == QEvent::Resize) applyBounds();
    return TVKDbGrid::eventFilter(watched, e);
}

void TFwwDBGrid::loaded() {
    const GridFontSettings& s = gridFontSettings();
    QFont data(s.fontName);
    data.setPointSize(s.fontSize);
    data.setBold(true);
    setDataFont(data);
    QFont title(s.titleFontName);
    title.setPointSize(s.titleFontSize);
    title.setBold(false);
    setTitleFont(title);
    setRowHeight(s.lineHeight);
    applyBounds();
    if (!dataset()) return;
    applyLayout();
    completeSortTexts();
}

void TFwwDBGrid::completeSortTexts() {
    for (TSortInfoItem& item : SortInfo.items) {
        if (!item.DisplayText.isEmpty()) continue;
        QStringList labels;
        for (const TColumnInfo& column : item.ColumnInfoList.items) {
            const QString name = column.ColumnName.trimmed();
            const GridField* field = dataset()->findField(name);
            labels.append(field ? field->displayLabel() : name);
        }
        item.DisplayText = labels.join(u',');
    }
}

void TFwwDBGrid::applyLayout() {
    GridDataset* ds = dataset();
    if (!ds || selected.isEmpty()) return;
    ds->disableControls();
    OnExit enable([ds] { ds->enableControls(); });
    for (GridField* field : ds->fields()) field->setVisible(false);
    for (int i = 0; i < selected.size(); ++i) {
        const QStringList pieces = selected[i].split(u'\t', Qt::SkipEmptyParts);
        if (pieces.isEmpty()) continue;
        if (GridField* field = ds->findField(pieces.first())) {
            field->setIndex(i);
            field->setVisible(true);
        }
    }
}

void TFwwDBGrid::rebuildLayout() {
    GridDataset* ds = dataset();
    if (!ds) return;
    selected.clear();
    for (const GridField* field : ds->visibleFields())
        selected.append(field->name() + u'\t' + QString::number(field->displayWidth()) + u'\t' +
                        field->displayLabel());
}

QString TFwwDBGrid::clipboardCell(const GridField& field, const QVariant& value) {
    QString text = field.displayText(value);
    if (isTextKind(field.kind())) {
        text.remove(u'\r');
        text.replace(u'"', QStringLiteral("\"\""));
        text = u'"' + text + u'"';
    }
    text.remove(u'\t');
    return text;
}

void TFwwDBGrid::copyToClipboard(const QString& firstLine) {
    GridDataset* ds = dataset();
    if (!ds || !ds->isOpen()) return;
    TfProgress& progress = TfProgress::instance();
    ds->disableControls();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    OnExit restore([ds, &progress] {
        progress.finish();
        QApplication::restoreOverrideCursor();
        ds->enableControls();
    });
    ds->first();
    progress.start(QStringLiteral("Copy to clipboard"), ds->recordCount());

    const QList<GridField*> fields = ds->visibleFields();
    QString text = firstLine + QStringLiteral("\r\n");
    for (const GridField* field : fields) text += field->displayLabel() + u'\t';
    text += QStringLiteral("\r\n");
    try {
        while (!ds->eof()) {
            for (const GridField* field : fields) text += clipboardCell(*field, ds->value(*field)) + u'\t';
            text += QStringLiteral("\r\n");
            progress.step();
            ds->next();
        }
    } catch (const TAbortOperation&) {
        return; // cancelled by the user: the clipboard keeps what it had
    }
    ds->first();
    QApplication::clipboard()->setText(text);
}

void TFwwDBGrid::refreshLabelText() {
    if (!label_) return;
    label_->setText(labelText_);
    label_->setToolTip(labelText_);
    label_->resize(std::max(width() - LabelWidthReserve, 0), label_->sizeHint().height());
}

void TFwwDBGrid::setLabelText(const QString& text) {
    labelText_ = text;
    refreshLabelText();
}

void TFwwDBGrid::setLabelAlign(TLabelAlign align) {
    labelAlign_ = align;
    if (label_) label_->setVisible(label_->parentWidget() && isVisible() && align != laNone);
    refreshLabelText();
}

void TFwwDBGrid::setLabelSpacing(int pixels) {
    labelSpacing_ = pixels;
    refreshLabelText();
    applyBounds();
}

bool TFwwDBGrid::ShowHorzScrollBar() const { return ScrollBars() == ssHorizontal || ScrollBars() == ssBoth; }

void TFwwDBGrid::setShowHorzScrollBar(bool show) { setScrollBars(show ? ssHorizontal : ssNone); }

void TFwwDBGrid::setShowVertscrollBar(bool show) {
    showVertScrollBar_ = show;
    if (!show) setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    else setScrollBars(ScrollBars());
}

void TFwwDBGrid::setGridButtons(TGridButtons buttons) {
    gridButtons_ = buttons;
    if (GridToolBar* bar = GridToolBar::existing(); bar && bar->owner() == this) bar->attach(*this);
}

void TFwwDBGrid::setFillsParent(bool fill) {
    fillParent_ = fill;
    applyBounds();
}

void TFwwDBGrid::applyBounds() {
    QWidget* parent = parentWidget();
    if (!fillParent_ || !parent) return;
    const QRect area = parent->rect();
    if (hasFocus() && toolBarShown_) {
        const int band = (label_ ? label_->height() : 0) + labelSpacing_;
        setGeometry(0, band, area.width(), area.height() - band);
    } else {
        setGeometry(0, 0, area.width(), area.height());
    }
}

void TFwwDBGrid::showToolBar() {
    refreshLabelText();
    toolBarShown_ = true;
    GridToolBar::instance().attach(*this);
    if (label_) label_->move(GridToolBar::FirstButtonLeft + GridToolBar::totalWidth() + labelSpacing_, 0);
    applyBounds();
}

void TFwwDBGrid::hideToolBar() {
    setTitleFontColor(QApplication::palette().color(QPalette::ButtonText));
    toolBarShown_ = false;
    applyBounds();
    if (GridToolBar* bar = GridToolBar::existing()) bar->detach(*this);
}

void TFwwDBGrid::sortChoicePicked(const TSortInfoItem* item) {
    sortChoiceIndex_ = SortInfo.indexOf(item);
    if (OnCustomSort && sortChoiceIndex_ >= 0 && sortChoiceIndex_ < SortInfo.count())
        OnCustomSort(*this, SortInfo.items[size_t(sortChoiceIndex_)]);
}

void TFwwDBGrid::defaultZoom() {
    const GridToolBar::ZoomHandler& handler = GridToolBar::zoomHandler();
    GridDataset* ds = dataset();
    if (!handler || !ds) return; // no zoom handler in this system: the zoom does nothing
    ds->disableControls();
    OnExit enable([ds] { ds->enableControls(); });
    handler(nullptr, ds, 0);
}

void TFwwDBGrid::runTool(GridTool tool) {
    GridDataset* ds = dataset();
    const bool open = ds && ds->isOpen();
    const auto runHandler = [this, tool] {
        if (const GridToolBar::ToolHandler& handler = GridToolBar::toolHandler(tool)) handler(*this);
    };
    switch (tool) {
    case GridTool::Zoom:
        if (!gridButtons_.contains(gbZoom)) return;
        if (OnZoom) OnZoom(*this);
        else defaultZoom();
        return;
    case GridTool::View:
        if (gridButtons_.contains(gbView) && ds) runHandler();
        return;
    case GridTool::Print:
        if (!gridButtons_.contains(gbPrint) || !open) return;
        if (OnPrint) OnPrint(*this);
        else {
            refreshLabelText();
            runHandler();
        }
        return;
    case GridTool::PrintGroup:
    case GridTool::Graph:
    case GridTool::Export:
        runHandler();
        return;
    case GridTool::Locate:
        if (gridButtons_.contains(gbLocate) && open) runHandler();
        return;
    case GridTool::Refresh: {
        if (!open) return;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        OnExit restore([] { QApplication::restoreOverrideCursor(); });
        ds->refresh();
        return;
    }
    case GridTool::Sort:
        if (gridButtons_.contains(gbSort)) runHandler();
        return;
    case GridTool::TitleWordWrap:
        setTitleWordwrap(!TitleWordwrap());
        return;
    case GridTool::CopyToClip:
        if (open) copyToClipboard(labelText_);
        return;
    }
}

void TFwwDBGrid::layoutChanged() { refreshLabelText(); }

void TFwwDBGrid::columnWidthChanged(GridField*) { rebuildLayout(); }

void TFwwDBGrid::titleClicked(int column) {
    TVKDbGrid::titleClicked(column);
    setFocus(Qt::MouseFocusReason);
    if (toolBarShown_) hideToolBar();
    else showToolBar();
}

void TFwwDBGrid::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        e->accept();
        try {
            runTool(GridTool::Zoom);
        } catch (const std::exception& error) {
            GridToolBar::reportError(error);
        }
        return;
    }
    if (e->key() == Qt::Key_Delete && e->modifiers().testFlag(Qt::ControlModifier)) {
        e->accept(); // records are never deleted from a grid
        return;
    }
    TVKDbGrid::keyPressEvent(e);
}

void TFwwDBGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    TVKDbGrid::mouseDoubleClickEvent(e);
    try {
        runTool(GridTool::Zoom);
    } catch (const std::exception& error) {
        GridToolBar::reportError(error);
    }
}

void TFwwDBGrid::focusInEvent(QFocusEvent* e) {
    TVKDbGrid::focusInEvent(e);
    setTitleFontColor(QColor(Qt::darkBlue));
    applyBounds();
}

void TFwwDBGrid::focusOutEvent(QFocusEvent* e) {
    TVKDbGrid::focusOutEvent(e);
    // Another window or a popup taking the keyboard is not leaving the grid.
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason) return;
    hideToolBar();
}

void TFwwDBGrid::showEvent(QShowEvent* e) {
    TVKDbGrid::showEvent(e);
    if (label_ && label_->parentWidget() && labelAlign_ != laNone) {
        label_->show();
        label_->stackUnder(this);
    }
}

void TFwwDBGrid::hideEvent(QHideEvent* e) {
    TVKDbGrid::hideEvent(e);
    if (label_) label_->hide();
}

void TFwwDBGrid::resizeEvent(QResizeEvent* e) {
    TVKDbGrid::resizeEvent(e);
    refreshLabelText();
}

void TFwwDBGrid::paintEvent(QPaintEvent* e) {
    if (!showVertScrollBar_ && verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    TVKDbGrid::paintEvent(e);
}
