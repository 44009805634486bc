#include "grid/Ufprnmsg.h"

#include <QCoreApplication>
#include <QFrame>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int DialogLastPage = 999;
// Repainting after each of many thousand records would cost more than printing them; a few times
// a second keeps the window current and the cancel button responsive.
constexpr qint64 RepaintIntervalMs = 40;
} // namespace

TfPrintMsg::TfPrintMsg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint |
                          Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("fPrintMsg"));
    setWindowTitle(QStringLiteral("Print"));
    setFixedSize(218, 115);

    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    gauge = new QProgressBar(panel);
    gauge->setObjectName(QStringLiteral("gauge"));
    gauge2 = new QProgressBar(panel);
    gauge2->setObjectName(QStringLiteral("gauge2"));
    btnCancel = new QPushButton(QStringLiteral("Cancel"), panel);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnCancel, &QPushButton::clicked, this, [this] { cancelled_ = true; });

    auto* inner = new QVBoxLayout(panel);
    inner->addWidget(gauge);
    inner->addWidget(gauge2);
    inner->addStretch();
    inner->addWidget(btnCancel, 0, Qt::AlignHCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(panel);
}

bool TfPrintMsg::runPrintDialog(QPrinter& printer, int& firstPage, int& lastPage) {
    printer.setFromTo(1, DialogLastPage);
    printer.setPrintRange(QPrinter::AllPages);
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, DialogLastPage);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted) return false;
    if (printer.printRange() == QPrinter::PageRange) {
        firstPage = printer.fromPage();
        lastPage = printer.toPage();
    } else {
        firstPage = lastPage = 0;
    }
    return true;
}

void TfPrintMsg::showProgress(int maximum, int position, int maximum2, int position2) {
    gauge->setRange(0, std::max(maximum, 0));
    gauge->setValue(position);
    gauge2->setRange(0, std::max(maximum2, 0));
    gauge2->setValue(position2);
    gauge2->setVisible(maximum2 != 0);
    cancelled_ = false;
    show();
    QCoreApplication::processEvents();
    sinceRepaint_.invalidate();
}

bool TfPrintMsg::updateProgress(int position, int position2) {
    gauge->setValue(position);
    gauge2->setValue(position2);
    if (!sinceRepaint_.isValid() || sinceRepaint_.elapsed() >= RepaintIntervalMs) {
        repaint();
        QCoreApplication::processEvents();
        sinceRepaint_.start();
    }
    return !cancelled_;
}

void TfPrintMsg::reject() {
    cancelled_ = true;
}
