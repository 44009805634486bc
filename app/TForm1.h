#pragma once

#include "app/Engine.h"
#include "app/Operator.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class TForm2;

/// The main window: period, activity boxes, output workbook, PREPIS, Pregled and Izhod.
class TForm1 : public QWidget, public Operator {
    Q_OBJECT
public:
    TForm1(QString programFolder, QStringList arguments, QWidget* parent = nullptr);
    ~TForm1() override;

    /// The start-up sequence (on the first activation of the application).
    void AppActivate();
    void btnPrepisClick();
    void btnIzhodClick();
    void btnPregledClick();
    void Button2Click();
    void eDatumOdExit();

    /// The review window (created with the main window, shown modally by Pregled).
    TForm2* Form2() const { return form2_; }

    Engine& engine() { return *engine_; }
    /// The date the start-up sequence takes as today (tests pin it).
    void setToday(const QDate& today) { today_ = today; }

    // Controls, named as the operators know them.
    QLabel* Label1;
    QLineEdit* eDatumOd;
    QLabel* Label4;
    QLineEdit* eDatumDo;
    std::array<QCheckBox*, 5> cbD;
    QLabel* Label6;
    QLabel* lblidpor;
    QPlainTextEdit* Memo1;
    QLabel* Label2;
    QLineEdit* eIzhod;
    QPushButton* Button2;
    QPushButton* btnPrepis;
    QLabel* pStevilo;
    QPushButton* btnIzhod;
    QPushButton* btnPregled;
    QLabel* lblOpozorilo;
    QLabel* Label7;
    QLabel* lblFirma;
    QLabel* Label5;
    QLabel* lblDB;
    QLabel* lblUser;

    // Operator
    void showMessage(const QString& text) override;
    bool askYesNo(const QString& text) override;
    bool askQuestion(const QString& caption, const QString& text, bool questionIcon) override;
    void setProgressText(const QString& text) override;
    void processEvents() override;
    void requestTermination() override;
    void showFailedStatement(const QString& statement) override;
    void setBusy(bool busy) override;
    void stateChanged() override;
    void showFile(const QString& path) override;

    /// The result of the last report run.
    const RunResult& lastRun() const { return lastRun_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Engine> engine_;
    QStringList arguments_;
    QDate today_;
    RunResult lastRun_;
    TForm2* form2_;
};
