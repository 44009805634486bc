#pragma once

// The framework's progress window for long dataset walks (copying, exporting): a title, a bar and a
// cancel button. One window per process, made on first use.

#include <QDialog>

#include <exception>

class QLabel;
class QProgressBar;
class QPushButton;

/// Thrown by a progress step after the user cancelled: the walk ends without any message.
class TAbortOperation : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

class TfProgress : public QDialog {
    Q_OBJECT
public:
    /// The process-wide window, created on first use and freed when the application ends.
    static TfProgress& instance();

    /// Clears the cancel flag, shows the title and an empty bar of `maximum` steps, shows the window
    /// without making it modal and lets pending window messages run.
    void start(const QString& title, int maximum);
    /// Advances the bar by one and lets pending window messages run; throws TAbortOperation when the
    /// user has cancelled (also when the cancel came before the first step).
    void step();
    /// Hides the window.
    void finish();

    bool cancelled() const { return cancelled_; }
    int position() const;
    int maximum() const;
    QPushButton* cancelButton() const { return btnCancel; }

    /// Escape, like the cancel button, only sets the cancel flag.
    void reject() override;

private:
    explicit TfProgress(QWidget* parent = nullptr);
    void letMessagesRun();

    QLabel* title = nullptr;
    QProgressBar* pb = nullptr;
    QPushButton* btnCancel = nullptr;
    bool cancelled_ = false;
    qint64 lastMessages_ = 0;
};
