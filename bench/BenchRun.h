#pragma once

#include "BenchPlatform.h"
#include "FormState.h"
#include "SortRun.h"

#include <functional>

using Setup = std::function<void(FormState&)>;

// The window state of sort runs on a bench platform, with a processing
// method chosen and the working database in place, as after the start-up.
struct BenchRun {
    enum class Method { Text, Database };

    BenchRun(const QString& root, Method method, const Setup& setup = {});

    void fill(const QStringList& addresses);
    // Loads a list file into the input list, as the load button does.
    void load(const QString& path);

    BenchPlatform platform;
    FormState form;
    SortRun run;
};
