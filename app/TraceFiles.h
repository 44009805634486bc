#pragma once

#include <QHash>
#include <QString>

/// The statement trace files in the program folder (`_stanje.sql`, `_31.sql`, ...): each holds the
/// full text of the last statement of its step as one line. A file is rewritten only when the text
/// differs from what it already holds; its content is the same either way.
class TraceFiles {
public:
    explicit TraceFiles(QString folder = {}) : folder_(std::move(folder)) {}

    void setFolder(const QString& folder);
    const QString& folder() const { return folder_; }

    /// Writes `statement` to the trace file `name`. Throws std::runtime_error when it cannot be written.
    void write(const QString& name, const QString& statement);

    /// Rewrite every file on every call (for measuring the cost of doing so).
    void setAlwaysRewrite(bool always) { alwaysRewrite_ = always; }

private:
    QString folder_;
    QHash<QString, QString> written_;
    bool alwaysRewrite_ = false;
};
