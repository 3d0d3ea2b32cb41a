#pragma once

#include <QObject>
#include <QStringList>

class FormState;
class Platform;
class QMimeData;
class QWidget;

// Files dropped on a list are loaded into the input list as the load dialog
// loads files chosen together, in the order given. A drag is taken only when
// it carries nothing but local files and no long command shows the busy
// pointer; the files are read once the drop is over, so the program that
// dragged them is not kept waiting by a message box.
class ListFileDrop : public QObject {
public:
    ListFileDrop(QWidget* target, FormState& form, Platform& platform);

    // The local files a drag carries; none when it carries anything else.
    static QStringList localFiles(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FormState& form_;
    Platform& platform_;
};
