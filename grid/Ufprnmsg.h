#pragma once

// TfPrintMsg: the print progress window (records printed, cancel button) and the print dialog
// that comes before it. It exists only while a print runs.

#include <QDialog>
#include <QElapsedTimer>

class QPrinter;
class QProgressBar;
class QPushButton;

class TfPrintMsg : public QDialog {
    Q_OBJECT
public:
    explicit TfPrintMsg(QWidget* parent = nullptr);

    /// Runs the print dialog with the whole document chosen and pages 1 to 999 offered. On OK
    /// returns true with the chosen page range, or 0 and 0 when the whole document was chosen.
    bool runPrintDialog(QPrinter& printer, int& firstPage, int& lastPage);

    /// Sets both gauges (the lower one is hidden when its maximum is 0), clears the cancel flag and
    /// shows the window without making it modal.
    void showProgress(int maximum, int position, int maximum2 = 0, int position2 = 0);
    /// Sets both positions and repaints; false once cancel was pressed.
    bool updateProgress(int position, int position2 = 0);
    bool cancelled() const { return cancelled_; }

    QProgressBar* gauge = nullptr;
    QProgressBar* gauge2 = nullptr;
    QPushButton* btnCancel = nullptr;

    /// Escape and the close button only set the cancel flag, as the cancel button does.
    void reject() override;

private:
    bool cancelled_ = false;
    QElapsedTimer sinceRepaint_;
};
