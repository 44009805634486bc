#pragma once

#include "app/Context.h"

#include <QList>
#include <QString>

/// The review of the last report: completes the detail rows of the highest report number in
/// TEMP_TEVRA1 with client names, sector, security code and the lots at both ends of the period.
class ReviewData {
public:
    explicit ReviewData(Context& ctx) : ctx_(ctx) {}

    /// Recomputes the period values and SfdjvList from the window's values, completes the rows
    /// and returns the review's report number (0 for an empty table). A failing statement is
    /// shown with its text and passed on; rows already completed keep their values.
    qint32 complete(const QDate& from, const QDate& to, const QList<bool>& ticked);

    /// The statement the review window shows (19 columns).
    static QString displayStatement(qint32 reportNumber);

private:
    Context& ctx_;
};
