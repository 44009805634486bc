#pragma once

// File tables written by the export tool: dBase (.dbf), Paradox (.db) and fixed-length text (.txt
// with a schema description .sch beside it). Texts are stored in Windows-1250.
//
// A writer is given the field definitions once, then one row of values at a time; the rows written
// so far stay in the file when the export stops early.

#include "grid/GridDataset.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariantList>

#include <memory>
#include <stdexcept>

enum class ExportFormat { DBase, Paradox, FixedText };

/// One column of an exported table.
struct ExportField {
    QString name;
    FieldKind kind = FieldKind::String;
    int size = 0;     ///< characters of a text column
    int decimals = 0; ///< decimals of a float or currency column
};

/// Failure to create or write an export file.
class TableExportError : public std::runtime_error {
public:
    explicit TableExportError(const QString& message);
};

class TableWriter {
public:
    virtual ~TableWriter() = default;
    /// Creates the file (replacing an existing one) with these columns. Throws TableExportError.
    virtual void create(const QString& fileName, const QList<ExportField>& fields) = 0;
    /// Appends one row, values in column order (null or invalid values stay empty).
    virtual void append(const QVariantList& values) = 0;
    /// Finishes the file; also called by the destructor.
    virtual void close() = 0;
};

std::unique_ptr<TableWriter> makeTableWriter(ExportFormat format);

/// The schema description file that accompanies a fixed-length text table ("X.txt" -> "X.sch").
QString schemaFileName(const QString& textFileName);
/// Windows-1250 bytes of a text (characters the code page lacks become '?').
QByteArray exportWindows1250(const QString& text);
/// Text of Windows-1250 bytes.
QString fromWindows1250(const QByteArray& bytes);
/// Column widths of a fixed-length text table for each kind (text columns: their size).
int fixedTextWidth(const ExportField& field);
