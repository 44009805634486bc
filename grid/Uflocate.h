#pragma once

// TfLocate: the locate dialog. The user picks a field of the grid's dataset, types a value (under
// the field's edit mask) and moves the dataset to the first or the next record whose field text
// matches the value exactly or by its beginning.

#include <QDialog>
#include <QPointer>
#include <QString>

#include <stdexcept>

class GridDataset;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

/// True when a field's display text matches the searched value: exactly equal (with case), or
/// beginning with the value where only the letters a to z are compared regardless of case.
bool locateMatches(const QString& text, const QString& value, bool exact);

/// A field's edit mask ("mask;keep literals;blank", with 0 9 # L l A a C c digits and letters, > <
/// for case, \ for a literal) in the notation of QLineEdit::setInputMask.
QString inputMaskOf(const QString& editMask);

/// A value that does not fill its input mask.
class LocateMaskError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TfLocate : public QDialog {
    Q_OBJECT
public:
    /// The process-wide dialog, created on first use.
    static TfLocate& instance();

    /// Prepares the dialog for the dataset and shows it modally; true when closed with OK.
    bool run(GridDataset* dataSource);
    /// What opening does before showing: for another dataset than last time, lists its fields and
    /// chooses none; for the same dataset, keeps the field and value.
    void prepare(GridDataset* dataSource);
    /// Takes the field chosen in cbFields: the value is cleared and gets the field's mask.
    void cbFieldsChange();
    /// Searches from the first record (or the one after the current) and leaves the dataset on the
    /// match. Returns an empty text when found, else the message to show ("Ne najdem ..."), with the
    /// dataset after its last record. Throws LocateMaskError for an incomplete masked value.
    QString find(bool fromFirst);

    QComboBox* cbFields = nullptr;
    QLineEdit* meValue = nullptr;
    QCheckBox* cbExact = nullptr;
    QPushButton* btnFindFirst = nullptr;
    QPushButton* btnFindNext = nullptr;
    QPushButton* btnOk = nullptr;

private:
    explicit TfLocate(QWidget* parent = nullptr);
    void findClicked(bool fromFirst);

    QPointer<GridDataset> dataSource_;
};
