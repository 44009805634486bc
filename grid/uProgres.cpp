#include "grid/uProgres.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Letting window messages run after every one of a million steps would cost more than the walk
// itself; a few times a second keeps the window painted and the cancel button responsive.
constexpr qint64 MessageIntervalMs = 40;

QPointer<TfProgress>& theProgress() {
    static QPointer<TfProgress> window;
    return window;
}

void freeProgress() { delete theProgress().data(); }

} // namespace

TfProgress& TfProgress::instance() {
    if (!theProgress()) {
        theProgress() = new TfProgress();
        qAddPostRoutine(freeProgress);
    }
    return *theProgress();
}

TfProgress::TfProgress(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("fProgress"));
    setWindowTitle(QStringLiteral("fProgress"));
    setFixedSize(327, 111);
    QFont font(QStringLiteral("Arial CE"));
    font.setBold(true);
    setFont(font);

    title = new QLabel(this);
    title->setObjectName(QStringLiteral("title"));
    title->setAlignment(Qt::AlignCenter);
    title->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pb = new QProgressBar(this);
    pb->setObjectName(QStringLiteral("pb"));
    pb->setTextVisible(false);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    connect(btnCancel, &QPushButton::clicked, this, [this] { cancelled_ = true; });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(pb);
    layout->addWidget(btnCancel, 0, Qt::AlignHCenter);
}

void TfProgress::reject() { cancelled_ = true; }

void TfProgress::letMessagesRun() {
    lastMessages_ = QDateTime::currentMSecsSinceEpoch();
    QCoreApplication::processEvents();
}

void TfProgress::start(const QString& text, int max) {
    cancelled_ = false;
    title->setText(text);
    pb->setRange(0, std::max(max, 0));
    pb->setValue(0);
    show();
    raise();
    letMessagesRun();
}

void TfProgress::step() {
    if (cancelled_) throw TAbortOperation();
    pb->setValue(std::min(pb->value() + 1, pb->maximum()));
    if (QDateTime::currentMSecsSinceEpoch() - lastMessages_ >= MessageIntervalMs) letMessagesRun();
    if (cancelled_) throw TAbortOperation();
}

void TfProgress::finish() { hide(); }

int TfProgress::position() const { return pb->value(); }

int TfProgress::maximum() const { return pb->maximum(); }
