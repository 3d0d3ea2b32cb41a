#pragma once

#include "BenchPlatform.h"
#include "FormState.h"

#include <functional>
#include <memory>

class Form1;
class OptionHandlers;
class SortRun;

// Sets the options of a run, as their handlers do.
using Setup = std::function<void(OptionHandlers&)>;

// Sort runs on a bench platform, with a processing method chosen and the
// working database in place as after the start-up: on the window state
// alone, or in the main window itself (offscreen), views and painting
// included.
class BenchRun {
public:
    enum class Method { Text, Database };
    enum class Shown { StateOnly, Window };

    BenchRun(const QString& root, Method method, const Setup& setup = {},
             Shown shown = Shown::StateOnly);
    ~BenchRun();

    void fill(const QStringList& addresses);
    // Loads a list file into the input list, as the load button does.
    void load(const QString& path);
    // A press of the sort button.
    void press();
    FormState& form() { return *form_; }
    OptionHandlers& options();

    BenchPlatform platform;

private:
    std::unique_ptr<Form1> window_;
    std::unique_ptr<FormState> state_;
    std::unique_ptr<SortRun> run_;
    std::unique_ptr<OptionHandlers> options_;
    FormState* form_;
};
