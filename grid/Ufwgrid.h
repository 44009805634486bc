#pragma once

// TFwwDBGrid: the framework's data grid with a caption label, fonts from the user's settings, a saved
// column layout, sort choices, copying to the clipboard and an on-demand tool bar (GridToolBar.h).

#include "grid/SortComboBox.h"
#include "grid/cDbGrid.h"

#include <QLabel>
#include <QStringList>

#include <functional>

/// Placement of a grid's caption label; laNone keeps it hidden.
enum TLabelAlign { laNone, laLeft, laRight, laTop, laBottom };

/// The grid's tools, in declaration order; bit n of a TGridButtons mask is member n.
enum TGridButton {
    gbLocate,
    gbZoom,
    gbView,
    gbPrint,
    gbPrintGroup,
    gbRefresh,
    gbSort,
    gbGraph,
    gbTitleWordWrap,
    gbCopyToClip,
    gbExport,
};

/// A set of TGridButton members stored as a 16-bit mask.
class TGridButtons {
public:
    constexpr TGridButtons() = default;
    constexpr TGridButtons(std::initializer_list<TGridButton> members) {
        for (TGridButton m : members) mask_ = quint16(mask_ | (1u << m));
    }
    static constexpr TGridButtons fromMask(quint16 mask) {
        TGridButtons set;
        set.mask_ = mask;
        return set;
    }
    /// All eleven members (mask 2047).
    static constexpr TGridButtons all() { return fromMask(2047); }
    constexpr quint16 mask() const { return mask_; }
    constexpr bool contains(TGridButton member) const { return mask_ & (1u << member); }
    constexpr bool isEmpty() const { return mask_ == 0; }
    bool operator==(const TGridButtons&) const = default;

private:
    quint16 mask_ = 0;
};

/// The tools of the tool bar, in their order from left to right.
enum class GridTool {
    Zoom,
    View,
    Print,
    PrintGroup,
    Locate,
    Refresh,
    Sort,
    TitleWordWrap,
    Graph,
    CopyToClip,
    Export,
};
constexpr int GridToolCount = 11;

/// The grid member that enables a tool.
TGridButton memberOf(GridTool tool);

/// Grid fonts and row height from the user's "WIN.INI", section "ZEL".
struct GridFontSettings {
    int fontSize = 8;
    QString fontName = QStringLiteral("Arial CE");
    int lineHeight = 18;
    int titleFontSize = 8;
    QString titleFontName = QStringLiteral("Arial CE");

    /// Reads the settings file; missing file, section or keys keep the defaults.
    static GridFontSettings read(const QString& iniPath);
    /// The settings in the text of a settings file. A size or height that is not a whole number
    /// within kMaxFontSize or kMaxLineHeight keeps its default.
    static GridFontSettings parse(const QString& text);
    static constexpr int kMaxFontSize = 144;
    static constexpr int kMaxLineHeight = 500;
    /// The user's settings file: $TEVRA_WININI when set; on Windows the system's WIN.INI;
    /// elsewhere WIN.INI in the user's configuration folder.
    static QString winIniPath();
};

/// The process-wide grid font settings, read once on first use.
const GridFontSettings& gridFontSettings();
/// Reads the settings file again (after it changed).
void reloadGridFontSettings();

/// The caption label shown above a grid.
class TMemLabel : public QLabel {
    Q_OBJECT
public:
    explicit TMemLabel(QWidget* parent = nullptr);
};

class TFwwDBGrid : public TVKDbGrid {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(TFwwDBGrid& sender)>;
    using TCustomSortEvent = std::function<void(TFwwDBGrid& sender, const TSortInfoItem& ASortItem)>;

    explicit TFwwDBGrid(QWidget* parent = nullptr);
    ~TFwwDBGrid() override;

    /// Finishes set-up the way a form's grid is loaded: row height and fonts from the grid font
    /// settings, then the saved layout applied and the sort choices' display texts completed.
    void loaded();

    // Published properties.
    /// Saved column layout: "name TAB width TAB label", one line per visible field.
    QStringList selected;
    TLabelAlign labelAlign() const { return labelAlign_; }
    void setLabelAlign(TLabelAlign align);
    QString labelText() const { return labelText_; }
    void setLabelText(const QString& text);
    int labelSpacing() const { return labelSpacing_; }
    void setLabelSpacing(int pixels);
    bool ShowHorzScrollBar() const;
    void setShowHorzScrollBar(bool show);
    bool ShowVertscrollBar() const { return showVertScrollBar_; }
    void setShowVertscrollBar(bool show);
    TGridButtons gridButtons() const { return gridButtons_; }
    void setGridButtons(TGridButtons buttons);
    TSortInfo SortInfo;
    /// Replaces the default print tool.
    TNotifyEvent OnPrint;
    /// Replaces the default zoom tool.
    TNotifyEvent OnZoom;
    /// Called with a sort choice the dataset cannot apply itself.
    TCustomSortEvent OnCustomSort;
    /// The grid fills its parent's client area (below the tool bar's band while the bar is shown).
    bool fillsParent() const { return fillParent_; }
    void setFillsParent(bool fill);

    /// The caption label (a sibling of the grid in its parent).
    TMemLabel* label() const { return label_; }

    // Operations.
    /// Makes only the fields named by `selected` visible, in its order.
    void applyLayout();
    /// Writes `selected` from the dataset's visible fields.
    void rebuildLayout();
    /// Puts the dataset on the clipboard as text: the first line, the visible fields' labels, then
    /// one line per record. Cancelling the progress window leaves the clipboard unchanged.
    void copyToClipboard(const QString& firstLine);
    /// Clipboard text of one value of a field.
    static QString clipboardCell(const GridField& field, const QVariant& value);
    void showToolBar();
    void hideToolBar();
    bool toolBarShown() const { return toolBarShown_; }
    /// Runs a tool as its button would (nothing when its preconditions are not met).
    void runTool(GridTool tool);
    /// Records the choice's position within SortInfo (-1 when absent) and calls OnCustomSort.
    void sortChoicePicked(const TSortInfoItem* item);
    int sortChoiceIndex() const { return sortChoiceIndex_; }
    /// Sets the caption label's text and hint from labelText.
    void refreshLabelText();

protected:
    void layoutChanged() override;
    void columnWidthChanged(GridField* field) override;
    void titleClicked(int column) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyBounds();
    void adoptParent();
    void defaultZoom();
    void completeSortTexts();

    QPointer<TMemLabel> label_;
    TLabelAlign labelAlign_ = laTop;
    QString labelText_;
    int labelSpacing_ = 5;
    bool showVertScrollBar_ = true;
    TGridButtons gridButtons_ = TGridButtons::all();
    bool toolBarShown_ = false;
    int sortChoiceIndex_ = -1;
    bool fillParent_ = false;
    QPointer<QWidget> watchedParent_;
};
