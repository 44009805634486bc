#pragma once

// TfDataSetPrint: the summary window of the grid's summaries and export tools.
//
// Summaries: the grid's dataset is copied once into a local table; the user arranges its columns
// into group fields (with or without subtotals) and summed fields (with their operators), and the
// window lists the local table sorted with a grand total, or grouped with subtotal rows. Export:
// the dataset is written to a new dBase, Paradox or fixed-length text table.

#include "grid/GridDataset.h"
#include "grid/SummaryStatements.h"
#include "grid/TableExport.h"
#include "grid/UTempTbl.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QStandardItemModel;
class QTabBar;
class QTableView;
class TFwwDBGrid;

class TfDataSetPrint : public QWidget {
    Q_OBJECT
public:
    /// Pages of `tabs`.
    enum Page { tabSettings = 0, tabSort = 1, tabGroup = 2 };

    /// The process-wide window, created on first use.
    static TfDataSetPrint& instance();
    /// The window when it exists, else nullptr.
    static TfDataSetPrint* existing();

    explicit TfDataSetPrint(QWidget* parent = nullptr);
    ~TfDataSetPrint() override;

    /// Starts over for a dataset: a new empty local table with its columns, empty lists.
    void prepare(GridDataset& source);
    /// The report title; the result grids show it as their caption.
    void setTitle(const QString& text);
    /// Group fields from the leading text, integer and date columns; float columns summed.
    void proposeDefaultGrouping();

    /// The sorted listing ("Sortiranje"). Copies the dataset first when needed; throws
    /// TAbortOperation when that copy is cancelled and GridDatasetError on a statement error.
    void sortListing();
    /// The grouped listing ("Grupiranje"); throws like sortListing().
    void groupListing();
    /// Copies the dataset into the local table (emptied first). Throws TAbortOperation on cancel.
    void copyToLocalTable();

    /// Export: asks for the file and its format, then writes it.
    void exportDataset(GridDataset& source);
    /// Writes every record of the dataset to a new file table; false when cancelled.
    bool exportTo(GridDataset& source, const QString& fileName, ExportFormat format);

    // Settings interactions.
    /// A click on the title of the settings strip's column at this position.
    void titleClicked(int position);
    /// The user dragged a column from one position to another.
    void moveColumn(int from, int to);
    void toggleGroupMark(int row);
    void cycleOperator(int row);
    void setShowSumOperator(bool show);

    // State, for the tools and for tests.
    bool copied() const { return copied_; }
    QList<SummaryGroupField> groupFields() const;
    QList<SummarySumField> sumFields() const;
    /// Names of the local table's columns in their current positions.
    QStringList columnOrder() const;
    QStringList groupTexts() const;
    QStringList sumTexts() const;
    QStringList noneNames() const;
    /// Operator of a local field (its tag), 0 when none.
    int fieldOperator(const QString& name) const;
    GridDataset* q() const { return q_.get(); }
    GridDataset* qG() const { return qG_.get(); }
    /// Page shown now.
    int currentPage() const;
    /// Text of the total label.
    QString totalLabel() const;

    QPlainTextEdit* title = nullptr;
    QTabBar* tabBar = nullptr;
    QStackedWidget* tabs = nullptr;
    QTableView* dbgTemp = nullptr;
    QListWidget* lbGroup = nullptr;
    QListWidget* lbSum = nullptr;
    QListWidget* lbNone = nullptr;
    QLineEdit* eLine = nullptr;
    QCheckBox* cbShowSumOp = nullptr;
    QPushButton* btnSort = nullptr;
    QPushButton* btnGroup = nullptr;
    TFwwDBGrid* dbgQ = nullptr;
    TFwwDBGrid* dbgQG = nullptr;
    TTempTable tTemp;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    /// A column of the local table with what the listings need of its source field.
    struct LocalField {
        QString name;
        FieldKind kind = FieldKind::String;
        int size = 0;
        QString label;
        int width = 1;
        QString format;
        bool takesDisplayText = false; ///< copies the source's display text
        int op = opNone;
    };

    void closing();
    void releaseQueries();
    int fieldIndex(const QString& name) const;
    const LocalField& localField(const QString& name) const;
    void rebuildStrip();
    void moveFieldTo(int logical, int position);
    void clearLists();
    void addGroup(int logical, bool marked);
    void addSum(int logical, int op);
    void relistSums();
    QString groupText(const QListWidgetItem& item) const;
    QString sumText(int logical) const;
    void setupFields(GridDataset& result, bool grouped);
    void colourGroupColumns(int count);
    void runListing(void (TfDataSetPrint::*listing)());

    QPointer<GridDataset> source_;
    bool copied_ = false;
    QList<LocalField> fields_;
    QStandardItemModel* stripModel_ = nullptr;
    bool movingColumns_ = false;
    std::unique_ptr<GridDataset> q_;
    std::unique_ptr<GridDataset> qG_;
};
