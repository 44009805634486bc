#pragma once

#include <QString>

/// Value of a text of hexadecimal digits: from the last character to the first with weights
/// 1, 16, 256, ...; characters other than 1-9 and A-F (upper or lower case) add nothing.
qint32 HexValue(const QString& text);

/// A scrambled credential in plain text: hexadecimal pairs XOR-ed with the key "qok", the first
/// 20 characters dropped, at most 100 kept.
QString Unscramble(const QString& text);

/// The folder above `path` (C:\APL\PROG\ gives C:\APL\); either separator is understood.
QString ParentFolder(const QString& path);

/// Reads the credentials file ZEL.INI from the program folder or one or two folders above it.
/// When a file is found and read, all four values are replaced; otherwise none is changed.
void ReadZelCredentials(const QString& programFolder, QString& alias, QString& user, QString& password,
                        QString& environment);
