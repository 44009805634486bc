#pragma once

// A local table that lives only while it is open: every open creates a fresh, uniquely named table
// file in the local engine's private working directory, and closing deletes the file again.
//
// The local engine is SQLite: the file is "<tableName>.db" and holds one table whose SQL name is the
// table name itself (a path), so local statements may name it as "<tableName>" in double quotes on
// database().

#include "grid/GridDataset.h"

#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <functional>

/// One column of a local table.
struct TempFieldDef {
    QString name;
    FieldKind kind = FieldKind::String;
    int size = 0; ///< characters of a text field; 0 for no limit
    bool required = false;
};

class TTempTable : public QObject {
    Q_OBJECT
public:
    explicit TTempTable(QObject* parent = nullptr);
    ~TTempTable() override;

    /// Empty for a local table; overwritten on every open.
    QString dataBaseName() const { return dataBaseName_; }
    /// Private working directory + separator + "_TMP<n>"; overwritten on every open.
    QString tableName() const { return tableName_; }
    /// The table file of the current (or last) open.
    QString fileName() const;

    QList<TempFieldDef>& fieldDefs() { return fieldDefs_; }
    void addFieldDef(const QString& name, FieldKind kind, int size = 0, bool required = false);
    /// ';'-separated field names of the primary index "PK"; empty for none.
    void setIndexFieldNames(const QString& names) { indexFieldNames_ = names; }
    QString indexFieldNames() const { return indexFieldNames_; }

    /// Creates a new table file from the field definitions and opens it.
    void open();
    /// Closes the table and deletes its file. Release every query on database() first.
    void close();
    bool isOpen() const { return open_; }

    /// The connection to the table file, for local statements; invalid while closed.
    QSqlDatabase database() const;
    /// The table name quoted for a local statement.
    QString quotedTableName() const;
    /// Appends one row, values in field-definition order. Throws GridDatasetError.
    void appendRecord(const QVariantList& values);
    /// Number of rows in the table. Throws GridDatasetError.
    int recordCount() const;

    /// The local engine's private working directory (a temporary folder of the process by default).
    static QString privateDir();
    static void setPrivateDir(const QString& dir);
    /// The number the next open puts after "_TMP".
    static int nextNameNumber();
    /// Where failures to create or delete a table file are shown (a message box by default).
    static void setMessageHandler(std::function<void(const QString&)> handler);

private:
    void report(const QString& message) const;
    QString createStatement() const;

    QString dataBaseName_;
    QString tableName_;
    QString connection_;
    QList<TempFieldDef> fieldDefs_;
    QString indexFieldNames_;
    bool open_ = false;
    QSqlQuery insert_;
};
