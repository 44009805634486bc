#pragma once

#include "app/Operator.h"
#include "app/RunState.h"
#include "app/TraceFiles.h"
#include "store/Database.h"

/// What every step of start-up and of a report run works with.
struct Context {
    RunState& state;
    store::Database& db;
    Operator& op;
    TraceFiles& trace;
};
