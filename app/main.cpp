#include "app/BatchMode.h"
#include "app/ConfigFiles.h"
#include "app/TForm1.h"

#include <QApplication>
#include <QCoreApplication>

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
    TForm1 form(programFolder(QCoreApplication::applicationFilePath()), app.arguments().mid(1));
    form.show();
    return app.exec();
}
