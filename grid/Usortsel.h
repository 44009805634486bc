#pragma once

// TsortSelect: the column chooser. The left list holds the fields the grid shows, in display order;
// the right list the other fields, kept in alphabetical order. The user moves fields between and
// within the lists and edits a shown field's display label and width.

#include <QDialog>
#include <QList>
#include <QString>

class GridField;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

/// A line of the chooser: a field's display label and the field.
struct TFieldLine {
    QString text;
    GridField* field = nullptr;
    bool operator==(const TFieldLine&) const = default;
};
using TFieldLines = QList<TFieldLine>;

class TsortSelect : public QDialog {
    Q_OBJECT
public:
    /// First delay and then interval of the up and down buttons' repeat while held, in ms.
    static constexpr int RepeatDelayMs = 500;
    static constexpr int RepeatIntervalMs = 100;

    /// The process-wide dialog, created on first use.
    static TsortSelect& instance();

    /// Fills the lists and shows the dialog modally. On OK both lists are replaced by the dialog's
    /// final lists and true is returned; on Cancel they stay as they were.
    bool run(TFieldLines& shown, TFieldLines& available);
    /// Fills the lists and selects the first line of each, as run() does before showing.
    void fill(const TFieldLines& shown, const TFieldLines& available);
    TFieldLines shownLines() const;
    TFieldLines availableLines() const;

    /// The two edits follow the selected shown line; the buttons are enabled by the lists' contents.
    void refreshControls();
    void btnAllLeftClick();
    void btnLeftClick();
    void btnRightClick();
    void btnAllRightClick();
    /// One step of the up or down button.
    void btnUpClick();
    void btnDownClick();
    /// Applies the edits to the selected shown line and its field (label first, then the width).
    /// Throws std::invalid_argument for a width that is not a whole number.
    void btnDisplayLabelClick();

    QListWidget* lbOn = nullptr;
    QListWidget* lbOff = nullptr;
    QPushButton* btnAllLeft = nullptr;
    QPushButton* btnLeft = nullptr;
    QPushButton* btnRight = nullptr;
    QPushButton* btnAllRight = nullptr;
    QPushButton* btnUp = nullptr;
    QPushButton* btnDown = nullptr;
    QLineEdit* edDisplayWidth = nullptr;
    QLineEdit* edDisplayLabel = nullptr;
    QPushButton* btnDisplayLabel = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QTimer* tmrBtn = nullptr;

private:
    explicit TsortSelect(QWidget* parent = nullptr);
    /// Inserts a line into the available list at its alphabetical place; returns its row.
    int addAvailable(const TFieldLine& line);
    void swapShown(int step);
    void startRepeat(int step);
    void stopRepeat();

    int repeatStep_ = 0;
};
