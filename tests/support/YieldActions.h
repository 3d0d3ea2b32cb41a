#pragma once

#include "FormState.h"
#include "ScriptedPlatform.h"

#include <deque>
#include <functional>

// Acts at a run's yields by what the window shows there, as a user would.
// Each action runs once, in the order given, at the first yield after the
// previous action's where its condition holds.
class YieldActions {
public:
    using Action = std::function<void()>;

    // Takes over the platform's yield hook.
    YieldActions(ScriptedPlatform& platform, const FormState& form);

    // Where the sort button's caption reads `caption`.
    YieldActions& whenCaption(const QString& caption, Action action);
    // Where the bar's text starts with `step`.
    YieldActions& whenBar(const QString& step, Action action);
    // At the next yield, whatever the window shows.
    YieldActions& atNextYield(Action action);

    // Whether every action has had its moment.
    bool done() const { return pending_.empty(); }

private:
    struct Pending {
        std::function<bool()> when;
        Action action;
    };
    void atYield();

    const FormState& form_;
    std::deque<Pending> pending_;
};
