#include "ReliabilitySupport.h"

#include "app/TForm1.h"
#include "review/TForm2.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

using namespace reliability;

namespace {

/// The main window with its message boxes recorded instead of shown, and the operator's
/// impatience: at a chosen progress text, presses buttons the way a click handled while the
/// window lets pending events run would.
class ImpatientForm : public TForm1 {
public:
    using TForm1::TForm1;

    void showMessage(const QString& text) override { messages.append(text); }
    bool askYesNo(const QString& text) override {
        messages.append(text);
        return false;
    }
    void showFile(const QString&) override {}
    void setProgressText(const QString& text) override {
        TForm1::setProgressText(text);
        if (!pressAt.isEmpty() && text.startsWith(pressAt)) {
            pressAt.clear();
            for (const auto& press : presses) press(*this);
        }
    }

    QStringList messages;
    QString pressAt;
    QList<std::function<void(ImpatientForm&)>> presses;
};

/// Closes the review whenever it is shown modally.
void closeReviewWhenShown(TForm1& form) {
    auto* timer = new QTimer(&form);
    QObject::connect(timer, &QTimer::timeout, &form, [&form] {
        if (form.Form2()->isVisible()) form.Form2()->btnZapriClick();
    });
    timer->start(20);
}

TEST(WindowFaults, PrepisAndPregledPressedAgainDuringARun) {
    ProgramHome home;
    ImpatientForm form(home.folder(), {});
    form.setToday(demoToday());
    form.AppActivate();
    ASSERT_TRUE(form.engine().state().IdPor > 0) << form.messages.join(u'\n').toStdString();
    form.eDatumOd->setText("01.05.2024");
    form.eDatumDo->setText("31.05.2024");
    form.eIzhod->setText(home.output());
    closeReviewWhenShown(form);

    for (const char* step : {"0", "Stanje+promet", "Grupiranje", "Ostala polja", "Excel:"}) {
        SCOPED_TRACE(step);
        form.messages.clear();
        form.pressAt = QLatin1String(step);
        form.presses = {[](ImpatientForm& f) { f.btnPrepis->click(); }, [](ImpatientForm& f) { f.btnPregled->click(); }};
        form.btnPrepis->click();
        EXPECT_TRUE(form.pressAt.isEmpty()) << "the progress text never appeared";
        EXPECT_EQ(form.lastRun().status, RunStatus::Written) << form.messages.join(u'\n').toStdString();
        EXPECT_EQ(form.messages, (QStringList{busyMessage(), busyMessage()}));
        EXPECT_FALSE(form.engine().busy());
        EXPECT_FALSE(form.Form2()->isVisible());
    }

    // The review, closed while it completes its rows and with PREPIS pressed meanwhile.
    form.messages.clear();
    form.pressAt = QStringLiteral("STANJE");
    form.presses = {[](ImpatientForm& f) { f.Form2()->btnZapriClick(); },
                    [](ImpatientForm& f) { f.btnPrepis->click(); }, [](ImpatientForm& f) { f.btnPregled->click(); }};
    form.btnPregled->click();
    EXPECT_TRUE(form.pressAt.isEmpty()) << "the review completed no row";
    EXPECT_EQ(form.messages, (QStringList{busyMessage(), busyMessage()}));
    EXPECT_FALSE(form.engine().busy());
    EXPECT_FALSE(form.lblOpozorilo->isVisible());
    EXPECT_FALSE(form.Form2()->isVisible());

    // Afterwards the window works as before.
    form.messages.clear();
    form.btnPrepis->click();
    EXPECT_EQ(form.lastRun().status, RunStatus::Written) << form.messages.join(u'\n').toStdString();
}

/// A failed run and a failed review leave the window ready for the next press.
TEST(WindowFaults, WindowStaysUsableAfterFailures) {
    ProgramHome home;
    ImpatientForm form(home.folder(), {});
    form.setToday(demoToday());
    form.show();
    form.AppActivate();
    form.eDatumOd->setText("01.05.2024");
    form.eDatumDo->setText("31.05.2024");
    form.eIzhod->setText(home.output());
    closeReviewWhenShown(form);
    form.btnPrepis->click(); // a report for the review to show
    ASSERT_EQ(form.lastRun().status, RunStatus::Written) << form.messages.join(u'\n').toStdString();
    ASSERT_EQ(home.exec({"ALTER TABLE VPSHST RENAME TO SKRITA"}), QString());
    form.btnPrepis->click();
    EXPECT_EQ(form.lastRun().status, RunStatus::Failed);
    EXPECT_TRUE(form.Memo1->isVisible());
    EXPECT_TRUE(form.Memo1->toPlainText().contains(QLatin1String("VPSHST")));
    // The review fails while it completes its rows (the busy banner is up by then).
    ASSERT_EQ(home.exec({"ALTER TABLE SKRITA RENAME TO VPSHST", "ALTER TABLE OSB RENAME TO SKRITA"}), QString());

    form.messages.clear();
    form.btnPregled->click();
    EXPECT_FALSE(form.messages.isEmpty());
    for (QWidget* w : {static_cast<QWidget*>(form.btnPrepis), static_cast<QWidget*>(form.btnPregled),
                       static_cast<QWidget*>(form.btnIzhod)}) {
        EXPECT_TRUE(w->isEnabled());
    }
    EXPECT_FALSE(form.lblOpozorilo->isVisible());
    EXPECT_FALSE(form.engine().busy());

    ASSERT_EQ(home.exec({"ALTER TABLE SKRITA RENAME TO OSB"}), QString());
    form.messages.clear();
    form.btnPrepis->click();
    EXPECT_EQ(form.lastRun().status, RunStatus::Written) << form.messages.join(u'\n').toStdString();
    form.btnPregled->click();
    EXPECT_FALSE(form.lblOpozorilo->isVisible());
    EXPECT_FALSE(form.engine().busy());
}

} // namespace
