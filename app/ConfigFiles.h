#pragma once

#include <QString>
#include <QStringList>
#include <optional>

/// The program folder with a trailing separator: the folder of the program file, or the folder
/// named by the environment variable TEVRA_HOME when it is set.
QString programFolder(const QString& programFilePath);

/// First line of TEVRA.INI in `folder`, as read; nothing when the file is missing, unreadable or empty.
std::optional<QString> BeriIniDatoteko(const QString& folder);

/// Writes TEVRA.INI with the one line `outputPath`. Returns false (silently) when it cannot be written.
bool PisiIniDatoteko(const QString& folder, const QString& outputPath);

/// A line of a list file that cannot go into a statement.
struct ListFileProblem {
    QString file;
    int line = 0;
    QString text;
};

/// The message shown for an unusable line of a list file.
QString listFileProblemMessage(const ListFileProblem& problem);

/// Contract ids of idpogi.INI joined by ","; only whole numbers are accepted, any other non-blank
/// line is reported in `problems` and left out.
QString BeriIdpogiIni(const QString& folder, QList<ListFileProblem>* problems);

/// The signed 32-bit integer a text denotes, or 0 when it denotes none.
qint32 TextToIntOrZero(const QString& text);
/// The same for quantities of up to 15 digits.
qint64 TextToInt64OrZero(const QString& text);
