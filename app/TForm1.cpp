#include "app/TForm1.h"

#include "app/FormStyle.h"
#include "app/Dates.h"
#include "app/StepErrors.h"
#include "grid/GridDataset.h"
#include "review/ReviewData.h"
#include "review/TForm2.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>

namespace {
QLabel* label(QWidget* parent, const QString& text, int x, int y, bool bold = false) {
    auto* l = new QLabel(text, parent);
    l->move(x, y);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(p);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    l->adjustSize();
    return l;
}
} // namespace

TForm1::TForm1(QString programFolder, QStringList arguments, QWidget* parent)
    : QWidget(parent), engine_(std::make_unique<Engine>(*this, std::move(programFolder))),
      arguments_(std::move(arguments)), today_(QDate::currentDate()), form2_(new TForm2(this)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("TEVRA"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(536, 369);
    move(160, 109);
    applyFormStyle(this);

    Label1 = label(this, QStringLiteral("DATUM OD"), 10, 9, true);
    eDatumOd = new QLineEdit(this);
    eDatumOd->setGeometry(10, 26, 99, 21);
    eDatumOd->setPlaceholderText(QStringLiteral("dd.mm.llll"));
    Label4 = label(this, QStringLiteral("DATUM DO"), 147, 8, true);
    eDatumDo = new QLineEdit(this);
    eDatumDo->setGeometry(145, 26, 99, 21);
    eDatumDo->setPlaceholderText(QStringLiteral("dd.mm.llll"));
    const int tops[5] = {8, 30, 53, 74, 96};
    for (int i = 0; i < 5; ++i) {
        cbD[i] = new QCheckBox(i == 1 ? QStringLiteral("W- ") : QStringLiteral("W - "), this);
        cbD[i]->setObjectName(QStringLiteral("cbD%1").arg(i + 1));
        cbD[i]->setGeometry(256, tops[i], 265, 17);
        QPalette p = cbD[i]->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        cbD[i]->setPalette(p);
        cbD[i]->hide();
    }
    Label6 = label(this, QStringLiteral("Nova št.poročila"), 10, 56);
    Label6->setWordWrap(true);
    Label6->setFixedSize(70, 28);
    lblidpor = label(this, QStringLiteral("---------"), 10, 88);
    lblidpor->setAlignment(Qt::AlignRight);
    lblidpor->setFixedWidth(49);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(80, 56, 161, 49);
    Memo1->hide();
    Label2 = label(this, QStringLiteral("IZHODNA DATOTEKA"), 10, 124, true);
    eIzhod = new QLineEdit(this);
    eIzhod->setGeometry(144, 119, 320, 21);
    eIzhod->installEventFilter(this);
    Button2 = new QPushButton(QStringLiteral("..."), this);
    Button2->setGeometry(469, 120, 28, 21);
    btnPrepis = new QPushButton(QStringLiteral("PREPIS"), this);
    btnPrepis->setGeometry(10, 148, 135, 51);
    pStevilo = new QLabel(QStringLiteral("0"), this);
    pStevilo->setGeometry(204, 160, 125, 26);
    pStevilo->setAlignment(Qt::AlignCenter);
    pStevilo->setFrameShape(QFrame::Panel);
    pStevilo->setFrameShadow(QFrame::Raised);
    pStevilo->setAutoFillBackground(true);
    QPalette sp = pStevilo->palette();
    sp.setColor(QPalette::Window, QColor(0, 0, 128));
    sp.setColor(QPalette::WindowText, Qt::yellow);
    pStevilo->setPalette(sp);
    btnIzhod = new QPushButton(QStringLiteral("&Izhod"), this);
    btnIzhod->setGeometry(391, 159, 75, 25);
    btnPregled = new QPushButton(QStringLiteral("Pregled"), this);
    btnPregled->setGeometry(8, 216, 137, 25);
    btnPregled->setToolTip(QStringLiteral("Pregled zadnjega narejenega prepisa"));
    lblOpozorilo = label(this, QStringLiteral("TRENUTEK, POTEKA BRANJE IZ  BAZE ..."), 155, 219, true);
    {
        QFont f = lblOpozorilo->font();
        f.setPixelSize(16);
        lblOpozorilo->setFont(f);
        QPalette p = lblOpozorilo->palette();
        p.setColor(QPalette::WindowText, Qt::yellow);
        lblOpozorilo->setPalette(p);
        lblOpozorilo->setGeometry(155, 219, 356, 20);
        lblOpozorilo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblOpozorilo->hide();
    }
    Label7 = label(this, QStringLiteral("Verzija 3.10.0.52"), 33, 265);
    lblFirma = label(this, QStringLiteral("------"), 38, 281);
    Label5 = label(this, QStringLiteral("BDE /    "), 396, 249);
    lblDB = label(this, QStringLiteral("..."), 428, 249);
    lblUser = label(this, QStringLiteral("baza/User"), 396, 265);

    connect(btnPrepis, &QPushButton::clicked, this, &TForm1::btnPrepisClick);
    connect(btnIzhod, &QPushButton::clicked, this, &TForm1::btnIzhodClick);
    connect(btnPregled, &QPushButton::clicked, this, &TForm1::btnPregledClick);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(eDatumOd, &QLineEdit::editingFinished, this, &TForm1::eDatumOdExit);
    qApp->installEventFilter(this);
}

TForm1::~TForm1() {
    if (qApp) qApp->removeEventFilter(this);
    // Child editors lose focus while the window is taken down; their signals must not reach it then.
    eDatumOd->disconnect(this);
    // The review's grid reads through the engine's connection: it goes first.
    delete form2_;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ApplicationActivate && engine_->state().firstActivation)
        QTimer::singleShot(0, this, &TForm1::AppActivate);
    if (watched == eIzhod && event->type() == QEvent::MouseButtonDblClick) {
        Button2Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Platforms without activation events (offscreen) start up once the window is shown.
    if (engine_->state().firstActivation) QTimer::singleShot(0, this, &TForm1::AppActivate);
}

void TForm1::AppActivate() {
    if (!engine_->state().firstActivation) return;
    const StartUpResult r = engine_->startUp(arguments_, today_);
    if (r.outputPath) eIzhod->setText(*r.outputPath);
    if (r.dateFrom.isValid()) {
        eDatumOd->setText(shortDateText(r.dateFrom));
        eDatumDo->setText(shortDateText(r.dateTo));
    }
    stateChanged();
}

void TForm1::btnPrepisClick() {
    RunInput input;
    input.dateFromText = eDatumOd->text();
    input.dateToText = eDatumDo->text();
    input.outputPath = eIzhod->text();
    for (QCheckBox* box : cbD) input.ticked.append(box->isChecked());
    lastRun_ = engine_->runReport(input, true);
    if (lastRun_.status == RunStatus::Failed) showMessage(lastRun_.message);
}

void TForm1::btnIzhodClick() {
    engine_->exit(eIzhod->text());
    qApp->quit();
}

void TForm1::btnPregledClick() {
    if (!engine_->enterBusy()) {
        showMessage(busyMessage());
        return;
    }
    const auto from = parseShortDate(eDatumOd->text());
    const auto to = parseShortDate(eDatumDo->text());
    if (!from || !to) {
        engine_->leaveBusy();
        showMessage(QStringLiteral("Neveljavni datum!"));
        return;
    }
    QList<bool> ticked;
    for (QCheckBox* box : cbD) ticked.append(box->isChecked());
    qint32 reportNumber = 0;
    try {
        reportNumber = ReviewData(engine_->context()).complete(*from, *to, ticked);
        form2_->showReport(engine_->database().connection(), ReviewData::displayStatement(reportNumber),
                           reportNumber);
    } catch (const store::SqlError& e) {
        engine_->leaveBusy();
        setBusy(false);
        showMessage(e.reason());
        return;
    } catch (const GridDatasetError& e) {
        engine_->leaveBusy();
        setBusy(false);
        showMessage(e.sql());
        showMessage(QString::fromStdString(e.what()));
        return;
    }
    engine_->leaveBusy();
    form2_->exec();
    lblOpozorilo->hide();
}

void TForm1::Button2Click() {
    QFileDialog dialog(this, QStringLiteral("Izberi izhodno Excel datoteko"));
    dialog.setNameFilters({QStringLiteral("Excel datoteke (*.xlsx)"), QStringLiteral("Vse datoteke (*.*)")});
    dialog.setDefaultSuffix(QStringLiteral("XLSX"));
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        eIzhod->setText(dialog.selectedFiles().first());
}

void TForm1::eDatumOdExit() { engine_->leaveDateFrom(eDatumOd->text()); }

void TForm1::showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("TEVRA"), text, QMessageBox::Ok, this);
    box.exec();
}

bool TForm1::askQuestion(const QString& caption, const QString& text, bool questionIcon) {
    QMessageBox box(questionIcon ? QMessageBox::Question : QMessageBox::NoIcon, caption, text,
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool TForm1::askYesNo(const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("TEVRA"), text, QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void TForm1::setProgressText(const QString& text) {
    pStevilo->setText(text);
    processEvents();
}

void TForm1::processEvents() { QCoreApplication::processEvents(); }

void TForm1::requestTermination() { QTimer::singleShot(0, qApp, &QCoreApplication::quit); }

void TForm1::showFailedStatement(const QString& statement) {
    Memo1->setPlainText(statement);
    Memo1->show();
}

void TForm1::setBusy(bool busy) {
    lblOpozorilo->setVisible(busy);
    processEvents();
}

void TForm1::showFile(const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

void TForm1::stateChanged() {
    const RunState& s = engine_->state();
    if (engine_->database().isOpen()) {
        lblDB->setText(s.DbOracle ? QStringLiteral("ORACLE") : QStringLiteral("DB2"));
        lblDB->adjustSize();
        lblUser->setText(s.DbAlias + u'/' + s.DbUser);
        lblUser->adjustSize();
    }
    for (int i = 0; i < 5; ++i) {
        if (i < s.ActivityCodes.size() && !cbD[i]->isVisible() && cbD[i]->text().startsWith(u'W')) {
            cbD[i]->setText(s.ActivityCodes[i] + QStringLiteral(" - ") + s.ActivityNames.value(i));
            cbD[i]->setChecked(true);
            cbD[i]->show();
        }
    }
    if (!s.InstitutionName.isNull()) setWindowTitle(QStringLiteral("TEVRA - ") + s.InstitutionName);
    lblFirma->setText(s.ClientId);
    lblFirma->adjustSize();
    if (s.IdPor > 0) {
        lblidpor->setText(QString::number(s.IdPor));
    }
}
