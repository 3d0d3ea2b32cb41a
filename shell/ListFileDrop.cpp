#include "ListFileDrop.h"

#include "FormState.h"
#include "LoadListFiles.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

ListFileDrop::ListFileDrop(QWidget* target, FormState& form, Platform& platform)
    : QObject(target), form_(form), platform_(platform) {
    target->setAcceptDrops(true);
    target->installEventFilter(this);
}

QStringList ListFileDrop::localFiles(const QMimeData* data) {
    QStringList files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        files << url.toLocalFile();
    }
    return files;
}

bool ListFileDrop::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    const QStringList files = localFiles(drop->mimeData());
    // Copy only: a drop that the source takes as a move would delete its files.
    if (files.isEmpty() || form_.isBusy() || !(drop->possibleActions() & Qt::CopyAction)) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) {
        QMetaObject::invokeMethod(
            this,
            [this, files] {
                if (!form_.isBusy())
                    LoadNamedListFiles(form_, platform_, files);
            },
            Qt::QueuedConnection);
    }
    return true;
}
