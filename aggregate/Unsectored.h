#pragma once

#include "app/Context.h"

#include <QString>

/// How many clients the question about clients without a sector lists; with more, the list ends in " ...".
constexpr int kUnsectoredListedInQuestion = 10;

/// The name look-up of a client without a sector (column IME: surname, a blank, first name).
QString unsectoredNameStatement(qint32 personId);

/// A client's line of the list: the id right-aligned in 8 characters, three blanks, the name.
QString unsectoredLine(qint32 personId, const QString& name);

/// Lists UnsectoredPersons in OsbBrezSektorja.txt and asks whether to go on.
/// Returns 0 to go on, 1 to stop the run, 2 to stop and leave the program (termination requested).
/// A list file that cannot be written stops the step with an error before anything is asked.
int OsebeBrezSektorizacije1(Context& ctx);
