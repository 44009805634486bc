#include "app/TraceFiles.h"

#include "app/TextFile.h"

#include <QFile>
#include <QSaveFile>
#include <stdexcept>

void TraceFiles::setFolder(const QString& folder) {
    folder_ = folder;
    written_.clear();
}

void TraceFiles::write(const QString& name, const QString& statement) {
    const QString path = folder_ + name;
    if (!alwaysRewrite_) {
        const auto it = written_.constFind(name);
        if (it != written_.cend() && it.value() == statement && QFile::exists(path)) return;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(toWindows1250(statement + QStringLiteral("\r\n"))) < 0 ||
        !file.commit()) {
        written_.remove(name);
        throw std::runtime_error(QStringLiteral("Ne morem pisati datoteke %1: %2")
                                     .arg(path, file.errorString())
                                     .toStdString());
    }
    written_.insert(name, statement);
}
