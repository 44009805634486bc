#include "aggregate/Unsectored.h"

#include "app/TextFile.h"
#include "store/Query.h"
#include "store/SqlError.h"

#include <QFile>
#include <stdexcept>

namespace {

const QString kFileName = QStringLiteral("OsbBrezSektorja.txt");

/// The list file, written line by line with CR LF in Windows-1250.
class ListFile {
public:
    explicit ListFile(const QString& path) : file_(path) { open_ = file_.open(QIODevice::WriteOnly | QIODevice::Truncate); }

    void writeLine(const QString& line) {
        if (!open_ || file_.write(toWindows1250(line + QStringLiteral("\r\n"))) < 0)
            throw std::runtime_error(QStringLiteral("Ne morem pisati datoteke %1: %2")
                                         .arg(file_.fileName(), file_.errorString())
                                         .toStdString());
    }
    void close() {
        if (open_) file_.close();
        open_ = false;
    }

private:
    QFile file_;
    bool open_ = false;
};

} // namespace

QString unsectoredNameStatement(qint32 personId) {
    return QStringLiteral("select sfosb, NZV||' '||IME ime from osb ") + QStringLiteral(" where sfosb=") +
           QString::number(personId);
}

QString unsectoredLine(qint32 personId, const QString& name) {
    return QString::asprintf("%8d   ", personId) + name;
}

int OsebeBrezSektorizacije1(Context& ctx) {
    const RunState& s = ctx.state;
    ctx.op.setBusy(true);
    ctx.op.processEvents();

    ListFile file(s.ProgramFolder + kFileName);
    const QString header = QString::asprintf("%8.8s ", "SFOSB");
    file.writeLine(header);
    file.writeLine(QStringLiteral("----------------"));
    const QChar cr(13);
    QString message = header + cr + QStringLiteral("---------------") + cr;

    store::Query query(ctx.db);
    for (int i = 0; i < s.UnsectoredPersons.size(); ++i) {
        const qint32 id = s.UnsectoredPersons[i];
        QString name;
        try {
            query.setSql(unsectoredNameStatement(id));
            query.open();
            name = query.text(QStringLiteral("IME"));
            query.close();
        } catch (const store::SqlError&) {
            name.clear(); // the line is written without a name
        }
        const QString line = unsectoredLine(id, name);
        if (i < kUnsectoredListedInQuestion) message += line + cr;
        file.writeLine(line);
    }
    if (s.UnsectoredPersons.size() > kUnsectoredListedInQuestion) message += QStringLiteral(" ...") + cr;
    message += QStringLiteral(" ") + cr + QStringLiteral(" Ali vseeno nadaljujem?") + cr + QStringLiteral(" ") + cr;

    int result = 0;
    const QString caption = QStringLiteral("OSEBE BREZ SEKTORIZACIJE");
    if (!ctx.op.askQuestion(caption, message, false)) {
        const QString leave = QStringLiteral("Celotni seznam oseb brez sektorizacije je v datoteki ") + cr +
                              s.ProgramFolder + kFileName + cr + cr + QStringLiteral("Izhod iz programa?");
        if (ctx.op.askQuestion(caption, leave, true)) {
            file.close();
            ctx.op.processEvents();
            ctx.op.requestTermination();
            ctx.op.processEvents();
            return 2; // the banner stays while the program ends
        }
        result = 1;
    }
    file.close();
    ctx.op.setBusy(false);
    ctx.op.processEvents();
    return result;
}
