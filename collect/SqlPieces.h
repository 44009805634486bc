#pragma once

#include <QString>
#include <QStringList>

/// Text of a statement made of fixed pieces, one blank between consecutive pieces.
class SqlPieces {
public:
    SqlPieces& operator<<(const QString& piece) {
        pieces_.append(piece);
        return *this;
    }
    SqlPieces& operator<<(const char* piece) { return *this << QString::fromUtf8(piece); }
    QString text() const { return pieces_.join(u' '); }

private:
    QStringList pieces_;
};
