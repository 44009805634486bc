#pragma once

// Runs an action when the scope ends, also when it is left by an exception: the tools use it to
// re-enable a dataset's controls and restore the cursor.

#include <functional>
#include <utility>

class GridScopeGuard {
public:
    explicit GridScopeGuard(std::function<void()> action) : action_(std::move(action)) {}
    ~GridScopeGuard() {
        if (action_) action_();
    }
    GridScopeGuard(const GridScopeGuard&) = delete;
    GridScopeGuard& operator=(const GridScopeGuard&) = delete;

private:
    std::function<void()> action_;
};
