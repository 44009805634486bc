#pragma once

// The grid framework's data source: a read-only result set over a Qt Sql query with typed fields,
// a current record and lazily loaded rows.
//
// Rows are read in chunks of ChunkSize on demand and kept in a bounded sparse cache, so a result of
// millions of rows opens at once and can be scrolled end to end without holding it in memory. The
// record count is asked of the database only when the first chunk came back full.

#include <QHash>
#include <QObject>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QTimer>
#include <QVariant>
#include <QVariantMap>
#include <QVector>

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

class GridDataset;
class GridDatasetModel;

/// Kind of a field's values, in the terms the grid tools work with.
enum class FieldKind {
    String,
    Memo,
    FixedChar,
    WideString,
    SmallInt,
    Integer,
    LargeInt,
    Float,
    Currency,
    Date,
    DateTime,
    Time,
    Boolean,
    Blob,
    Unknown,
};

/// True for the kinds whose values are texts (string, memo, fixed-character, wide string).
bool isTextKind(FieldKind kind);
/// True for integer, float and currency kinds.
bool isNumericKind(FieldKind kind);

/// Formats a number by a display format such as "#,##0.00" or "0.000" ('#' and '0' digits, ',' for
/// thousands grouping, '.' for the decimal point); an empty format gives the shortest exact text.
QString formatNumber(double value, const QString& format);

/// Failure of a dataset statement; what() holds the driver's message, sql() the statement.
class GridDatasetError : public std::runtime_error {
public:
    GridDatasetError(const QString& message, const QString& sql);
    const QString& sql() const { return sql_; }

private:
    QString sql_;
};

/// One column of a dataset with its presentation settings. Owned by its dataset.
class GridField {
public:
    using GetTextHandler = std::function<QString(const GridField& field, const QVariant& value)>;

    const QString& name() const { return name_; }
    FieldKind kind() const { return kind_; }
    /// Overrides the kind the driver reported (SQLite, for one, reports date columns as text).
    void setKind(FieldKind kind) { kind_ = kind; }
    /// Size of a text field in characters (0 when the driver does not tell).
    int size() const { return size_; }
    bool required() const { return required_; }

    const QString& displayLabel() const { return displayLabel_; }
    void setDisplayLabel(const QString& label);
    /// Display width in characters.
    int displayWidth() const { return displayWidth_; }
    void setDisplayWidth(int width);
    bool visible() const { return visible_; }
    void setVisible(bool visible);
    /// Position among the dataset's fields (0-based).
    int index() const;
    void setIndex(int position);
    const QString& displayFormat() const { return displayFormat_; }
    void setDisplayFormat(const QString& format);
    const QString& editMask() const { return editMask_; }
    void setEditMask(const QString& mask) { editMask_ = mask; }
    Qt::Alignment alignment() const { return alignment_; }
    void setAlignment(Qt::Alignment alignment);
    /// Free number for the tools (the summary window keeps its operator here).
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    /// Optional handler that replaces the display text of every value.
    const GetTextHandler& onGetText() const { return onGetText_; }
    void setOnGetText(GetTextHandler handler);

    /// Text shown for a value: the handler's text when one is set, else the default text.
    QString displayText(const QVariant& value) const;
    /// Text of a value without the handler: numbers by the display format, dates as dd.MM.yyyy.
    QString defaultText(const QVariant& value) const;

    GridDataset* dataset() const { return dataset_; }
    /// Column of this field in the statement's result.
    int sourceColumn() const { return sourceColumn_; }

private:
    friend class GridDataset;
    void changed();

    GridDataset* dataset_ = nullptr;
    QString name_;
    FieldKind kind_ = FieldKind::Unknown;
    int size_ = 0;
    bool required_ = false;
    QString displayLabel_;
    int displayWidth_ = 10;
    bool visible_ = true;
    QString displayFormat_;
    QString editMask_;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    int tag_ = 0;
    GetTextHandler onGetText_;
    int sourceColumn_ = 0;
};

/// A read-only result set of a statement (or of a whole table) for grids and their tools.
class GridDataset : public QObject {
    Q_OBJECT
public:
    static constexpr int ChunkSize = 256;

    /// A dataset over a statement with named parameters (":NAME"; names match regardless of case).
    GridDataset(const QSqlDatabase& db, const QString& sql, const QVariantMap& params = {},
                QObject* parent = nullptr);
    /// A dataset over every row of one table.
    static std::unique_ptr<GridDataset> forTable(const QSqlDatabase& db, const QString& table,
                                                 QObject* parent = nullptr);
    ~GridDataset() override;

    QSqlDatabase database() const { return db_; }
    const QString& sql() const { return sql_; }
    const QVariantMap& params() const { return params_; }
    /// Replaces the statement; the dataset is closed first.
    void setSql(const QString& sql, const QVariantMap& params = {});
    /// True for a dataset made by forTable().
    bool isTable() const { return !table_.isEmpty(); }
    const QString& tableName() const { return table_; }
    /// Fields a table dataset is ordered by, joined by ";" (empty: the table's own order).
    const QString& indexFieldNames() const { return indexFieldNames_; }
    /// Orders a table dataset by these ";"-separated fields, re-reading it when it is open (the
    /// first record becomes current). Throws GridDatasetError for a dataset over a statement.
    void setIndexFieldNames(const QString& names);

    /// Runs the statement and reads the first chunk. Throws GridDatasetError.
    void open();
    void close();
    bool isOpen() const { return open_; }
    /// Runs the statement again, keeping the fields' settings when the columns are the same.
    void refresh();

    int recordCount() const { return count_; }

    // Fields, in position order.
    int fieldCount() const { return int(fields_.size()); }
    GridField* field(int position) const;
    /// The field of that name (case-insensitive), or nullptr.
    GridField* findField(const QString& name) const;
    /// The field of that name; throws GridDatasetError when there is none.
    GridField& fieldByName(const QString& name) const;
    QList<GridField*> fields() const;
    QList<GridField*> visibleFields() const;

    // Current record.
    void first();
    void next();
    void prior();
    void last();
    /// True after next() on the last record, or when there are no records.
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    /// Current row, 0-based; -1 when there are no records.
    int recNo() const { return current_; }
    void setRecNo(int row);
    bool isEmpty() const { return count_ == 0; }

    /// Value of a field in the current record (loads its chunk when needed).
    QVariant value(const GridField& field) const;
    QVariant value(const QString& fieldName) const { return value(fieldByName(fieldName)); }
    QString displayText(const GridField& field) const { return field.displayText(value(field)); }
    /// Value in any row (loads its chunk when needed).
    QVariant valueAt(int row, const GridField& field) const;

    /// Controls of the dataset (grids) stop following it until the matching enableControls().
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return disableCount_ > 0; }

    /// The item model grids show; one per dataset.
    GridDatasetModel* model() const { return model_; }

    // Loading, for the model and for measurements.
    /// The row when its chunk is cached, else nullptr after asking for the chunk to be loaded soon.
    const QVector<QVariant>* cachedRow(int row) const;
    /// Rows the grid shows now; queued loads of chunks outside them are dropped.
    void setVisibleRows(int firstRow, int lastRow);
    /// Number of chunks read from the database since the dataset was made.
    int chunkLoads() const { return chunkLoads_; }
    int cachedRowCount() const;
    /// Most chunks kept in memory (at least 2).
    void setCacheLimit(int chunks);

Q_SIGNALS:
    /// Opened, closed or re-read: every row may have changed.
    void dataReset();
    /// Field visibility, order, labels or widths changed (not sent while controls are disabled).
    void fieldsChanged();
    /// The current record moved (not sent while controls are disabled).
    void currentChanged(int row);
    /// Rows of a chunk were loaded after a queued request.
    void rowsLoaded(int firstRow, int lastRow);
    /// Controls were disabled (the first of nested disableControls() calls); grids stop repainting.
    void controlsDisabling();
    /// Controls were enabled again; they re-read fields and position.
    void controlsEnabled();

private:
    friend class GridField;
    struct Chunk {
        std::vector<QVector<QVariant>> rows;
        quint64 lastUse = 0;
    };

    void fieldChanged();
    void fieldMoved(GridField* field, int position);
    int positionOf(const GridField* field) const;
    const QVector<QVariant>& rowAt(int row) const;
    const Chunk& loadChunk(int chunk) const;
    void positionCursor(int row) const;
    QSqlQuery prepare(const QString& text) const;
    void buildFields(const QSqlRecord& record);
    void sampleWidths();
    void processQueued(quint64 generation);
    void moveTo(int row);
    void releaseCursor() const;

    QSqlDatabase db_;
    QString sql_;
    QVariantMap params_;
    QString table_;
    QString indexFieldNames_;
    QString preparedSql_;
    bool limitOffset_ = false;

    bool open_ = false;
    int count_ = 0;
    int current_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    int disableCount_ = 0;
    bool fieldsDirty_ = false;
    std::vector<std::unique_ptr<GridField>> fields_;

    mutable QHash<int, Chunk> cache_;
    mutable quint64 useClock_ = 0;
    int cacheLimit_ = 64;
    mutable QSqlQuery cursor_;
    mutable int cursorRow_ = -1;
    mutable QTimer cursorIdle_;
    mutable int chunkLoads_ = 0;
    quint64 generation_ = 0;
    mutable QSet<int> queued_;
    mutable bool queueScheduled_ = false;
    int visibleFirst_ = -1;
    int visibleLast_ = -1;

    GridDatasetModel* model_ = nullptr;
};
