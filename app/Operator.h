#pragma once

#include <QString>

/// How the engine reaches the operator. The main window shows message boxes and its progress
/// panel; the batch mode writes to standard error and answers questions from its options.
class Operator {
public:
    virtual ~Operator() = default;

    /// A modal message.
    virtual void showMessage(const QString& text) = 0;
    /// A Yes/No question; No is the default answer.
    virtual bool askYesNo(const QString& text) = 0;
    /// A Yes/No question under its own caption, with or without the question icon; No is the default.
    virtual bool askQuestion(const QString& caption, const QString& text, bool questionIcon) {
        (void)caption;
        (void)questionIcon;
        return askYesNo(text);
    }
    /// The progress text of the current step.
    virtual void setProgressText(const QString& text) = 0;
    /// Lets pending window events run (repaint) during long work.
    virtual void processEvents() = 0;
    /// Asks the application to end once the current work returns.
    virtual void requestTermination() = 0;
    /// The text of a statement that failed, for the operator to read or copy.
    virtual void showFailedStatement(const QString& statement) { (void)statement; }
    /// The busy banner of start-up and review.
    virtual void setBusy(bool busy) { (void)busy; }
    /// Shows a saved file (the workbook) in the desktop's default application; nothing without a desktop.
    virtual void showFile(const QString& path) { (void)path; }
    /// Values shown from the run state changed (report number, captions, database kind).
    virtual void stateChanged() {}
};
