#include "app/BatchMode.h"
#include "app/ConfigFiles.h"
#include "app/TForm1.h"
#include "grid/GridTools.h"
#include "grid/GridToolsSummaryGraph.h"
#include "grid/Ufwgrid.h"
#include "review/TForm2.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QTimer>

namespace {

/// With TEVRA_SCREENSHOTS set to a folder, the program pictures its windows there after start-up
/// (the main window, then the review with the grid's tool bar shown) and ends.
void takeScreenshots(TForm1& form, const QString& folder) {
    QDir().mkpath(folder);
    QTimer::singleShot(300, &form, [&form, folder] {
        form.grab().save(folder + QStringLiteral("/main-window.png"));
        QTimer::singleShot(300, &form, [&form, folder] {
            TForm2* review = form.Form2();
            review->FwwDBGrid1->setFocus();
            review->FwwDBGrid1->showToolBar();
            QApplication::processEvents();
            review->grab().save(folder + QStringLiteral("/review-window.png"));
            review->accept();
        });
        form.btnPregledClick();
        QApplication::quit();
    });
}

} // namespace

int main(int argc, char* argv[]) {
    bool batch = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "--batch" || a == "--help" || a == "-h") batch = true;
    }
    if (batch) {
        QCoreApplication app(argc, argv);
        return runBatch(app.arguments().mid(1), QCoreApplication::applicationFilePath());
    }
    QApplication app(argc, argv);
    registerSortLocatePrintTools();
    registerSummaryGraphTools();
    TForm1 form(programFolder(QCoreApplication::applicationFilePath()), app.arguments().mid(1));
    form.show();
    const QString screenshots = qEnvironmentVariable("TEVRA_SCREENSHOTS");
    if (!screenshots.isEmpty()) takeScreenshots(form, screenshots);
    return app.exec();
}
