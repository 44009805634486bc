#include "grid/Ugraphvi.h"

#include "grid/GridDataset.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

namespace {

std::function<void(const QString&)>& messageHandler() {
    static std::function<void(const QString&)> handler;
    return handler;
}

bool offeredAsCategory(FieldKind kind) {
    return kind == FieldKind::String || kind == FieldKind::SmallInt || kind == FieldKind::Integer ||
           kind == FieldKind::Date || kind == FieldKind::DateTime;
}

void selectByName(QComboBox* box, const QString& name) {
    int index = -1;
    for (int i = 0; i < box->count(); ++i)
        if (box->itemData(i).toString().compare(name, Qt::CaseInsensitive) == 0) index = i;
    box->setCurrentIndex(index);
}

} // namespace

TfGraphView::TfGraphView(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("fGraphView"));
    resize(313, 281);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Active, QPalette::Highlight).lighter(170));
    setPalette(pal);
    setAutoFillBackground(true);

    cbX = new QComboBox(this);
    lbY = new QListWidget(this);
    lbY->setSelectionMode(QAbstractItemView::MultiSelection);
    cbG = new QComboBox(this);
    btnClear = new QPushButton(QStringLiteral("X"), this);
    btnClear->setFixedWidth(24);
    BitBtn1 = new QPushButton(tr("OK"), this);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(tr("Cancel"), this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("x - os "), this), 0, 0, 1, 2);
    grid->addWidget(cbX, 1, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("y - os "), this), 2, 0, 1, 2);
    grid->addWidget(lbY, 3, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Grupiranje"), this), 4, 0, 1, 2);
    grid->addWidget(cbG, 5, 0);
    grid->addWidget(btnClear, 5, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn1);
    grid->addLayout(buttons, 6, 0, 1, 2);

    connect(btnClear, &QPushButton::clicked, this, [this] { cbG->setCurrentIndex(-1); });
    connect(BitBtn1, &QPushButton::clicked, this, &TfGraphView::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &TfGraphView::reject);
}

void TfGraphView::setMessageHandler(std::function<void(const QString&)> handler) {
    messageHandler() = std::move(handler);
}

void TfGraphView::setup(GridDataset& dataset, const QString& xName, const QStringList& yNames,
                        const QString& groupName) {
    cbX->clear();
    cbG->clear();
    lbY->clear();
    for (GridField* field : dataset.visibleFields()) {
        if (offeredAsCategory(field->kind())) {
            cbX->addItem(field->displayLabel(), field->name());
            cbG->addItem(field->displayLabel(), field->name());
        } else if (field->kind() == FieldKind::Float) {
            auto* item = new QListWidgetItem(field->displayLabel(), lbY);
            item->setData(Qt::UserRole, field->name());
            for (const QString& y : yNames)
                if (y.compare(field->name(), Qt::CaseInsensitive) == 0) item->setSelected(true);
        }
    }
    selectByName(cbX, xName);
    selectByName(cbG, groupName);
}

QString TfGraphView::xChoice() const { return cbX->currentIndex() < 0 ? QString() : cbX->currentData().toString(); }

QStringList TfGraphView::yChoices() const {
    QStringList names;
    for (int i = 0; i < lbY->count(); ++i)
        if (lbY->item(i)->isSelected()) names.append(lbY->item(i)->data(Qt::UserRole).toString());
    return names;
}

QString TfGraphView::groupChoice() const {
    return cbG->currentIndex() < 0 ? QString() : cbG->currentData().toString();
}

void TfGraphView::accept() {
    if (xChoice().isEmpty() || yChoices().isEmpty()) {
        const QString message = QStringLiteral("Missing X or Y");
        if (messageHandler()) messageHandler()(message);
        else QMessageBox::information(this, windowTitle(), message);
        return;
    }
    QDialog::accept();
}

bool TfGraphView::settings(GridDataset& dataset, QString& xName, QStringList& yNames, QString& groupName) {
    TfGraphView dialog;
    dialog.setup(dataset, xName, yNames, groupName);
    if (dialog.exec() != QDialog::Accepted) return false;
    xName = dialog.xChoice();
    yNames = dialog.yChoices();
    groupName = dialog.groupChoice();
    return true;
}
