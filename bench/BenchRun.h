#pragma once

#include "BenchPlatform.h"
#include "FormState.h"

#include <functional>
#include <memory>

class Form1;
class SortRun;

using Setup = std::function<void(FormState&)>;

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

    BenchPlatform platform;

private:
    std::unique_ptr<Form1> window_;
    std::unique_ptr<FormState> state_;
    std::unique_ptr<SortRun> run_;
    FormState* form_;
};
