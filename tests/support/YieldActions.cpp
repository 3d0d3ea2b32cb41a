#include "YieldActions.h"

YieldActions::YieldActions(ScriptedPlatform& platform, const FormState& form) : form_(form) {
    platform.onYield = [this] { atYield(); };
}

YieldActions& YieldActions::whenCaption(const QString& caption, Action action) {
    pending_.push_back({[this, caption] { return form_.sortCaption() == caption; }, action});
    return *this;
}

YieldActions& YieldActions::whenBar(const QString& step, Action action) {
    pending_.push_back({[this, step] { return form_.progressText().startsWith(step); }, action});
    return *this;
}

YieldActions& YieldActions::atNextYield(Action action) {
    pending_.push_back({[] { return true; }, action});
    return *this;
}

void YieldActions::atYield() {
    if (pending_.empty() || !pending_.front().when())
        return;
    // Taken first: the action may yield again.
    const Action action = std::move(pending_.front().action);
    pending_.pop_front();
    action();
}
