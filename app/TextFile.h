#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

/// Text of a configuration file: UTF-8 when the bytes are valid UTF-8, otherwise Windows-1250
/// (files written on Windows). A NUL byte ends nothing and is dropped.
QString decodeConfigText(const QByteArray& bytes);

/// Lines of a text, split at CR LF, LF or a lone CR. A final line end does not add an empty line.
QStringList splitLines(const QString& text);

enum class ReadResult { Ok, Missing, Unreadable };

/// Reads a whole configuration file. Missing and unreadable files are told apart.
ReadResult readConfigFile(const QString& path, QString* text);

/// Text in Windows-1250; characters the code page lacks become "?", one byte each.
QByteArray toWindows1250(const QString& text);
