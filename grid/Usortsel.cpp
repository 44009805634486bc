#include "grid/Usortsel.h"

#include "grid/GridDataset.h"
#include "grid/GridScopeGuard.h"
#include "grid/GridToolBar.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>
#include <stdexcept>

namespace {

constexpr int FieldRole = Qt::UserRole;

QPointer<TsortSelect>& theChooser() {
    static QPointer<TsortSelect> dialog;
    return dialog;
}

void freeChooser() {
    delete theChooser().data();
}

GridField* fieldOf(const QListWidgetItem* item) {
    return reinterpret_cast<GridField*>(item->data(FieldRole).value<quintptr>());
}

QListWidgetItem* makeItem(const TFieldLine& line) {
    auto* item = new QListWidgetItem(line.text);
    item->setData(FieldRole, QVariant::fromValue(reinterpret_cast<quintptr>(line.field)));
    return item;
}

TFieldLine lineOf(const QListWidgetItem* item) {
    return {item->text(), fieldOf(item)};
}

TFieldLines linesOf(const QListWidget* list) {
    TFieldLines lines;
    for (int i = 0; i < list->count(); ++i)
        lines.append(lineOf(list->item(i)));
    return lines;
}

/// After the line at `row` left `list`: the same position stays selected, or the new last line.
void selectAfterRemoval(QListWidget* list, int row) {
    if (list->count() == 0) return;
    list->setCurrentRow(std::min(row, list->count() - 1));
}

QPushButton* makeButton(const QString& name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TsortSelect& TsortSelect::instance() {
    if (!theChooser()) {
        theChooser() = new TsortSelect();
        qAddPostRoutine(freeChooser);
    }
    return *theChooser();
}

TsortSelect::TsortSelect(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("sortSelect"));
    setWindowTitle(QStringLiteral("Stolpci"));
    setFixedSize(566, 248);
    setAutoFillBackground(true);
    QPalette shade = palette();
    shade.setColor(QPalette::Window, shade.color(QPalette::Highlight));
    setPalette(shade);

    QFont listFont(QStringLiteral("Arial CE"), 8);
    listFont.setBold(true);
    lbOn = new QListWidget(this);
    lbOn->setObjectName(QStringLiteral("lbOn"));
    lbOff = new QListWidget(this);
    lbOff->setObjectName(QStringLiteral("lbOff"));
    for (QListWidget* list : {lbOn, lbOff})
        list->setFont(listFont);

    btnAllLeft = makeButton(QStringLiteral("btnAllLeft"), QStringLiteral("<<"), this);
    btnLeft = makeButton(QStringLiteral("btnLeft"), QStringLiteral("<"), this);
    btnRight = makeButton(QStringLiteral("btnRight"), QStringLiteral(">"), this);
    btnAllRight = makeButton(QStringLiteral("btnAllRight"), QStringLiteral(">>"), this);
    btnUp = makeButton(QStringLiteral("btnUp"), QStringLiteral("\u2191"), this);
    btnDown = makeButton(QStringLiteral("btnDown"), QStringLiteral("\u2193"), this);
    edDisplayWidth = new QLineEdit(this);
    edDisplayWidth->setObjectName(QStringLiteral("edDisplayWidth"));
    edDisplayWidth->setMaxLength(3);
    edDisplayWidth->setFixedWidth(40);
    edDisplayLabel = new QLineEdit(this);
    edDisplayLabel->setObjectName(QStringLiteral("edDisplayLabel"));
    btnDisplayLabel = makeButton(QStringLiteral("btnDisplayLabel"), QStringLiteral("Uporabi"), this);
    BitBtn2 = makeButton(QStringLiteral("BitBtn2"), QStringLiteral("Prekliči"), this);
    BitBtn1 = makeButton(QStringLiteral("BitBtn1"), QStringLiteral("OK"), this);
    BitBtn1->setDefault(true);
    tmrBtn = new QTimer(this);
    tmrBtn->setObjectName(QStringLiteral("tmrBtn"));

    auto* moves = new QVBoxLayout;
    moves->addStretch();
    for (QPushButton* b : {btnAllLeft, btnLeft, btnRight, btnAllRight})
        moves->addWidget(b);
    moves->addStretch();
    auto* upDown = new QHBoxLayout;
    upDown->addWidget(btnUp);
    upDown->addWidget(btnDown);
    upDown->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(edDisplayWidth);
    bottom->addWidget(edDisplayLabel, 1);
    bottom->addWidget(btnDisplayLabel);
    bottom->addSpacing(12);
    bottom->addWidget(BitBtn2);
    bottom->addWidget(BitBtn1);
    auto* grid = new QGridLayout(this);
    grid->addWidget(lbOn, 0, 0);
    grid->addLayout(moves, 0, 1);
    grid->addWidget(lbOff, 0, 2);
    grid->addLayout(upDown, 1, 0);
    grid->addLayout(bottom, 2, 0, 1, 3);

    const auto guarded = [](auto action) {
        return [action] {
            try {
                action();
            } catch (const std::exception& error) {
                GridToolBar::reportError(error);
            }
        };
    };
    connect(btnAllLeft, &QPushButton::clicked, this, guarded([this] { btnAllLeftClick(); }));
    connect(btnLeft, &QPushButton::clicked, this, guarded([this] { btnLeftClick(); }));
    connect(btnRight, &QPushButton::clicked, this, guarded([this] { btnRightClick(); }));
    connect(btnAllRight, &QPushButton::clicked, this, guarded([this] { btnAllRightClick(); }));
    connect(btnDisplayLabel, &QPushButton::clicked, this, guarded([this] { btnDisplayLabelClick(); }));
    connect(btnUp, &QPushButton::pressed, this, [this] { startRepeat(-1); });
    connect(btnDown, &QPushButton::pressed, this, [this] { startRepeat(1); });
    connect(btnUp, &QPushButton::released, this, [this] { stopRepeat(); });
    connect(btnDown, &QPushButton::released, this, [this] { stopRepeat(); });
    connect(tmrBtn, &QTimer::timeout, this, [this] {
        tmrBtn->setInterval(RepeatIntervalMs);
        swapShown(repeatStep_);
    });
    connect(lbOn, &QListWidget::itemClicked, this, [this] { refreshControls(); });
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TsortSelect::fill(const TFieldLines& shown, const TFieldLines& available) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    GridScopeGuard restore([] { QApplication::restoreOverrideCursor(); });
    lbOn->clear();
    lbOff->clear();
    for (const TFieldLine& line : shown)
        lbOn->addItem(makeItem(line));
    for (const TFieldLine& line : available)
        addAvailable(line);
    if (lbOn->count() > 0) lbOn->setCurrentRow(0);
    if (lbOff->count() > 0) lbOff->setCurrentRow(0);
    refreshControls();
}

bool TsortSelect::run(TFieldLines& shown, TFieldLines& available) {
    fill(shown, available);
    if (exec() != QDialog::Accepted) return false;
    shown = shownLines();
    available = availableLines();
    return true;
}

TFieldLines TsortSelect::shownLines() const {
    return linesOf(lbOn);
}

TFieldLines TsortSelect::availableLines() const {
    return linesOf(lbOff);
}

int TsortSelect::addAvailable(const TFieldLine& line) {
    int row = 0;
    while (row < lbOff->count() &&
           QString::compare(lbOff->item(row)->text(), line.text, Qt::CaseInsensitive) <= 0)
        ++row;
    lbOff->insertItem(row, makeItem(line));
    return row;
}

void TsortSelect::refreshControls() {
    const QListWidgetItem* current = lbOn->currentRow() >= 0 ? lbOn->currentItem() : nullptr;
    edDisplayLabel->setEnabled(current != nullptr);
    edDisplayWidth->setEnabled(current != nullptr);
    if (current) {
        edDisplayLabel->setText(current->text());
        const GridField* field = fieldOf(current);
        edDisplayWidth->setText(field ? QString::number(field->displayWidth()) : QString());
    }
    const bool anyShown = lbOn->count() > 0;
    const bool anyAvailable = lbOff->count() > 0;
    btnUp->setEnabled(anyShown);
    btnDown->setEnabled(anyShown);
    btnRight->setEnabled(anyShown);
    btnAllRight->setEnabled(anyShown);
    btnLeft->setEnabled(anyAvailable);
    btnAllLeft->setEnabled(anyAvailable);
}

void TsortSelect::btnRightClick() {
    const int row = lbOn->currentRow();
    if (row < 0) return;
    std::unique_ptr<QListWidgetItem> item(lbOn->takeItem(row));
    addAvailable(lineOf(item.get()));
    selectAfterRemoval(lbOn, row);
    if (lbOn->count() == 0 && lbOff->count() > 0) lbOff->setCurrentRow(0);
    refreshControls();
}

void TsortSelect::btnAllRightClick() {
    while (lbOn->count() > 0) {
        std::unique_ptr<QListWidgetItem> item(lbOn->takeItem(0));
        addAvailable(lineOf(item.get()));
    }
    if (lbOff->count() > 0) lbOff->setCurrentRow(0);
    refreshControls();
}

void TsortSelect::btnLeftClick() {
    const int row = lbOff->currentRow();
    if (row < 0) return;
    lbOn->addItem(lbOff->takeItem(row));
    selectAfterRemoval(lbOff, row);
    if (lbOff->count() == 0) lbOn->setCurrentRow(0);
    refreshControls();
}

void TsortSelect::btnAllLeftClick() {
    while (lbOff->count() > 0)
        lbOn->addItem(lbOff->takeItem(0));
    if (lbOn->count() > 0) lbOn->setCurrentRow(0);
    refreshControls();
}

void TsortSelect::btnUpClick() {
    swapShown(-1);
    refreshControls();
}

void TsortSelect::btnDownClick() {
    swapShown(1);
    refreshControls();
}

void TsortSelect::swapShown(int step) {
    const int row = lbOn->currentRow();
    const int other = row + step;
    if (row < 0 || other < 0 || other >= lbOn->count()) return;
    QListWidgetItem* item = lbOn->takeItem(row);
    lbOn->insertItem(other, item);
    lbOn->setCurrentRow(other);
}

void TsortSelect::startRepeat(int step) {
    repeatStep_ = step;
    swapShown(step);
    tmrBtn->start(RepeatDelayMs);
}

void TsortSelect::stopRepeat() {
    tmrBtn->stop();
    refreshControls();
}

void TsortSelect::btnDisplayLabelClick() {
    QListWidgetItem* current = lbOn->currentRow() >= 0 ? lbOn->currentItem() : nullptr;
    if (!current) return;
    const QString label = edDisplayLabel->text();
    current->setText(label);
    GridField* field = fieldOf(current);
    if (field) field->setDisplayLabel(label);
    bool number = false;
    const int width = edDisplayWidth->text().trimmed().toInt(&number);
    if (!number)
        throw std::invalid_argument(
            QStringLiteral("'%1' is not a valid integer value").arg(edDisplayWidth->text()).toStdString());
    if (field) field->setDisplayWidth(width);
}
