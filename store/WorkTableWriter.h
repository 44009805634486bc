#pragma once

#include "store/Database.h"
#include "store/Query.h"

#include <QString>
#include <QStringList>
#include <QVariant>

namespace store {

/// An updatable result on a work table: append a row or edit one, set columns by name, post.
/// Text longer than its column is cut to the column's width; an empty text is stored as NULL.
/// Posting writes the row at once.
class WorkTableWriter {
public:
    WorkTableWriter(Database& db, QString table);

    /// Opens the result with `selectStatement` (for example the rows of one report number):
    /// checks the table is there and learns its columns. Throws SqlError with the statement text.
    void open(const QString& selectStatement);
    void close();
    bool isOpen() const { return open_; }

    /// Starts a new row.
    void append();
    /// Starts editing the row whose key columns hold the given values.
    void edit(const QList<QPair<QString, QVariant>>& key);
    /// Sets a column of the row being appended or edited.
    void set(const QString& column, const QVariant& value);
    /// Writes the row. Throws SqlError with the statement text.
    void post();
    /// Drops the row being filled.
    void cancel();

    /// Width of a text column (0 for other columns or unknown widths).
    int width(const QString& column) const;
    bool hasColumn(const QString& column) const { return columnIndex(column) >= 0; }

private:
    enum class Mode { None, Append, Edit };
    void learnWidths();
    int columnIndex(const QString& column) const;
    QString statementText(const QStringList& keyColumns) const;

    Database& db_;
    QString table_;
    bool open_ = false;
    Mode mode_ = Mode::None;
    QStringList columns_;        ///< upper case, in the table's order
    NameMap<int> columnIndex_;   ///< position in columns_
    QList<int> widths_;          ///< per column; 0 where no text width is known
    QList<QPair<QString, QVariant>> key_;
    QList<int> setColumns_;      ///< positions of the columns set for this row, in the order set
    QList<QVariant> setValues_;  ///< per column
    QList<bool> isSet_;          ///< per column
    Query statement_;
    /// The statement text of the last post and what it was built from: rows setting the same
    /// columns reuse it instead of building it again.
    QString lastText_;
    Mode lastMode_ = Mode::None;
    QList<int> lastColumns_;
    QStringList lastKeyColumns_;
};

/// The width n of a declared text type such as VARCHAR2(n), CHAR(n) or VARCHAR(n); 0 otherwise.
int declaredTextWidth(const QString& declaredType);

} // namespace store
