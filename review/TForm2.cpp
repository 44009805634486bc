#include "review/TForm2.h"

#include "app/FormStyle.h"
#include "grid/GridDataset.h"
#include "grid/Ufwgrid.h"

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("TEMP_TEVRA1"));
    resize(812, 576);
    applyFormStyle(this);

    lblPorocilo1 = new QLabel(QStringLiteral("POROČILO: "), this);
    lblPorocilo1->move(24, 8);
    QPalette lp = lblPorocilo1->palette();
    lp.setColor(QPalette::WindowText, Qt::white);
    lblPorocilo1->setPalette(lp);
    Panel1 = new QWidget(this);
    Panel1->setGeometry(16, 24, 777, 481);
    FwwDBGrid1 = new TFwwDBGrid(Panel1);
    FwwDBGrid1->setObjectName(QStringLiteral("FwwDBGrid1"));
    FwwDBGrid1->setFillsParent(true);
    FwwDBGrid1->setShowHorzScrollBar(true);
    btnZapri = new QPushButton(QStringLiteral("&Zapri"), this);
    btnZapri->setGeometry(368, 520, 75, 25);
    connect(btnZapri, &QPushButton::clicked, this, &TForm2::btnZapriClick);
}

TForm2::~TForm2() = default;

void TForm2::showReport(const QSqlDatabase& db, const QString& statement, qint32 reportNumber) {
    auto dataset = std::make_unique<GridDataset>(db, statement);
    dataset->open();
    FwwDBGrid1->setDataset(dataset.get());
    dataset_ = std::move(dataset);
    FwwDBGrid1->loaded();
    lblPorocilo1->setText(QStringLiteral("POROČILO: ") + QString::number(reportNumber));
    lblPorocilo1->adjustSize();
}

void TForm2::btnZapriClick() { accept(); }
