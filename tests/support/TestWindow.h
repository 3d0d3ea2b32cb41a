#pragma once

#include "Form1.h"
#include "ScriptedPlatform.h"

#include <QTemporaryDir>
#include <memory>

// A scripted platform in a fresh temporary folder whose program folder holds
// the files the program ships, and a main window on it.
class TestWindow {
public:
    // withProgramFiles: copy dbBlank.mdb and HAND-M.CUR into the program folder.
    explicit TestWindow(bool withProgramFiles = true);

    QString root() const { return dir_.path(); }
    QString programFolder() const { return platform.locations().programFolder; }
    QString dataFolder() const;
    // Creates a window on the platform and runs its start-up.
    Form1& start();
    // Drops the window and starts a new one on the same folders and settings.
    Form1& restart();

    // Writes a file under the temporary folder and answers its path.
    QString writeFile(const QString& name, const QByteArray& content) const;

    QTemporaryDir dir_;
    ScriptedPlatform platform;
    std::unique_ptr<Form1> form;
};
