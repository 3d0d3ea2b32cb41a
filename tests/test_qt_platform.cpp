#include "AppError.h"
#include "FormState.h"
#include "ListContents.h"
#include "LoadListFiles.h"
#include "QtPlatform.h"
#include "ScriptedPlatform.h"
#include "StoredSettings.h"
#include "TestWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <functional>

namespace {
// Answers the modal dialogs the platform opens, one queued answer each, in
// order. A dialog left without an answer is closed and recorded, so that a
// test fails instead of waiting for ever.
class DialogAnswers {
public:
    DialogAnswers() {
        timer_.callOnTimeout([this] { answerOpenDialog(); });
        timer_.start(5);
    }
    void add(std::function<void(QWidget*)> answer) { answers_.push_back(std::move(answer)); }

    QStringList unanswered; // title and text of each dialog that found no answer

private:
    void answerOpenDialog() {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible() || dialog->property("answered").toBool())
            return;
        dialog->setProperty("answered", true);
        if (answers_.empty()) {
            const auto* box = qobject_cast<QMessageBox*>(dialog);
            unanswered << dialog->windowTitle() + u':' + (box ? box->text() : QString());
            if (auto* modal = qobject_cast<QDialog*>(dialog))
                modal->reject();
            return;
        }
        const auto answer = std::move(answers_.front());
        answers_.pop_front();
        answer(dialog);
    }

    QTimer timer_;
    std::deque<std::function<void(QWidget*)>> answers_;
};

// The names the dialog's file list shows; its model reads the folder on a
// thread of its own, so this waits a moment for `awaited` to appear.
QStringList shownNames(QFileDialog* dialog, const QString& awaited) {
    const auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    QStringList names;
    for (QDeadlineTimer deadline(5000); !names.contains(awaited) && !deadline.hasExpired();
         QTest::qWait(10)) {
        names.clear();
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
            names << view->model()->index(row, 0, view->rootIndex()).data().toString();
    }
    return names;
}

// Types the names into the dialog's name box and presses Enter.
void chooseFiles(QWidget* dialog, const QString& names) {
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    edit->setText(names);
    QTest::keyClick(edit, Qt::Key_Return);
}

// The width a window manager's title bar needs for the caption in a bold font
// and three buttons beside it.
int titleBarWidth(const QWidget* box) {
    QFont font = box->font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(box->windowTitle()) + 3 * 32;
}
} // namespace

class TestQtPlatform : public QObject {
    Q_OBJECT

private slots:
    void init() {
        platform_.reset();
        files_.emplace(false);
        platform_.emplace(ScriptedPlatform::locationsIn(files_->root()));
        platform_->setApplicationTitle(QStringLiteral("Ambervale"));
    }

    void allFilesShowsNamesWithoutADot_data() {
        QTest::addColumn<bool>("saving");
        QTest::newRow("load") << false;
        QTest::newRow("save") << true;
    }

    void allFilesShowsNamesWithoutADot() {
        QFETCH(bool, saving);
        const QString folder = files_->root() + "/lists";
        files_->writeFile("lists/addresses", "a@x\r\n");
        files_->writeFile("lists/list.txt", "b@x\r\n");
        QStringList labels, shown;
        DialogAnswers answers;
        answers.add([&](QWidget* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            const auto* types = files->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            for (int i = 0; i < types->count(); ++i)
                labels << types->itemText(i);
            files->setDirectory(folder);
            files->selectNameFilter(files->nameFilters().value(1));
            shown = shownNames(files, "addresses");
            files->reject();
        });
        FileDialogRequest request{"Title", kTextFilesFilter, !saving, {}};
        const QString answer =
            saving ? platform_->saveFileDialog(request) : platform_->openFileDialog(request);
        QCOMPARE(answer, QString());
        QCOMPARE(labels, (QStringList{"Text Files (*.txt)", "All Files (*.*)"}));
        QVERIFY2(shown.contains("addresses"), qPrintable(shown.join(", ")));
        QVERIFY(answers.unanswered.isEmpty());
    }

    // The dialogs open where the last files were chosen; files typed with
    // their folders are each read from their own folder.
    void chosenFilesAreReadFromTheirFoldersWhichTheDialogsRemember() {
        const QString lists = files_->root() + "/lists", other = files_->root() + "/other";
        files_->writeFile("lists/a.txt", "a@x\r\n");
        files_->writeFile("lists/b.txt", "b@x\r\n");
        files_->writeFile("other/c.txt", "c@x\r\n");
        QStringList openedIn;
        DialogAnswers answers;
        answers.add([&](QWidget* dialog) {
            qobject_cast<QFileDialog*>(dialog)->setDirectory(lists);
            chooseFiles(dialog, "\"a.txt\" \"b.txt\"");
        });
        answers.add([&](QWidget* dialog) {
            openedIn << qobject_cast<QFileDialog*>(dialog)->directory().absolutePath();
            qobject_cast<QFileDialog*>(dialog)->reject();
        });
        answers.add([&](QWidget* dialog) {
            openedIn << qobject_cast<QFileDialog*>(dialog)->directory().absolutePath();
            chooseFiles(dialog, "\"" + other + "/c.txt\" \"" + lists + "/a.txt\"");
        });
        FormState form;
        LoadListFiles(form, *platform_);
        QCOMPARE(Entries(form.ListView1), (QStringList{"a@x", "b@x"}));
        platform_->saveFileDialog({"Title", kTextFilesFilter, false, "results.txt"});
        LoadListFiles(form, *platform_);
        QCOMPARE(openedIn, (QStringList{lists, lists}));
        QCOMPARE(Entries(form.ListView1), (QStringList{"a@x", "b@x", "c@x", "a@x"}));
        QCOMPARE(answers.unanswered, QStringList());
    }

    void messageBoxes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QString>("shownCaption");
        QTest::addColumn<QString>("shownText");
        QTest::addColumn<int>("answer");
        QTest::newRow("Done.") << "Done." << QString() << int(MessageButtons::Ok) << "Ambervale"
                               << "Done." << int(MessageAnswer::Ok);
        QTest::newRow("report") << "Gone\r\nin here at line 104\r\rPlease"
                                << "Application Error" << int(MessageButtons::Ok)
                                << "Application Error"
                                << "Gone\nin here at line 104\n\nPlease" << int(MessageAnswer::Ok);
        QTest::newRow("yes or no")
            << "Go?" << QString() << int(MessageButtons::YesNo) << "Ambervale"
            << "Go?" << int(MessageAnswer::No);
    }

    void messageBoxes() {
        QFETCH(QString, text);
        QFETCH(QString, caption);
        QFETCH(int, buttons);
        QFETCH(QString, shownCaption);
        QFETCH(QString, shownText);
        QFETCH(int, answer);
        QString title, label;
        int width = 0, needed = 0;
        DialogAnswers answers;
        answers.add([&](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            title = box->windowTitle();
            label = box->text();
            width = box->width();
            needed = titleBarWidth(box);
            box->button(answer == int(MessageAnswer::No) ? QMessageBox::No : QMessageBox::Ok)
                ->click();
        });
        const MessageAnswer given =
            platform_->messageBox(text, MessageButtons(buttons), MessageIcon::None, caption);
        QCOMPARE(int(given), answer);
        QCOMPARE(title, shownCaption);
        QCOMPARE(label, shownText);
        QVERIFY2(width >= needed, qPrintable(QString("%1 < %2").arg(width).arg(needed)));
        QVERIFY(answers.unanswered.isEmpty());
    }

    void inputBoxes_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("expected");
        const QString longText = QString(39'990, u'a') + "@example.o";
        QTest::newRow("typed") << "a@b" << QString() << int(Qt::Key_Return) << "a@b";
        QTest::newRow("cancelled") << "a@b" << QString() << int(Qt::Key_Escape) << QString();
        QTest::newRow("40,000 characters pasted")
            << QString() << longText << int(Qt::Key_Return) << longText;
    }

    void inputBoxes() {
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(int, key);
        QFETCH(QString, expected);
        QString title, prompt;
        DialogAnswers answers;
        answers.add([&](QWidget* dialog) {
            title = dialog->windowTitle();
            prompt = dialog->findChild<QLabel*>()->text();
            auto* edit = dialog->findChild<QLineEdit*>();
            QTest::keyClicks(edit, typed);
            if (!pasted.isEmpty()) {
                QGuiApplication::clipboard()->setText(pasted);
                QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            }
            QTest::keyClick(edit, Qt::Key(key));
        });
        const QString answer = platform_->inputBox("Enter email to add: ");
        QCOMPARE(answer.size(), expected.size());
        QCOMPARE(answer, expected);
        QCOMPARE(title, QString("Ambervale"));
        QCOMPARE(prompt, QString("Enter email to add: "));
        QVERIFY(answers.unanswered.isEmpty());
    }

    // The tests run as root, where file modes stop no write: a file standing
    // where the settings folder should be makes the write fail until it is taken away.
    void aFailedSettingsWriteFailsOnlyItself() {
        const QString file = platform_->locations().settingsFile;
        const QString folder = QFileInfo(file).path();
        platform_->writeSetting("Text1", "5");
        QVERIFY(QDir().rename(folder, folder + ".away"));
        QVERIFY(QFile(folder).open(QIODevice::WriteOnly));
        auto writes = [this](const QString& key, const QString& value) {
            try {
                platform_->writeSetting(key, value);
                return true;
            } catch (const AppError&) {
                return false;
            }
        };
        QVERIFY(!writes("Check1", "1"));
        QVERIFY(QFile::remove(folder));
        QVERIFY(QDir().rename(folder + ".away", folder));
        QVERIFY(writes("Check2", "1"));
        QVERIFY(writes("Text1", "7"));
        const QMap<QString, QString> stored{{"Check1", "1"}, {"Check2", "1"}, {"Text1", "7"}};
        QCOMPARE(StoredSettings(file), stored);
        QCOMPARE(platform_->readSetting("Check1", "0"), QString("1"));
    }

private:
    std::optional<TestWindow> files_; // a temporary folder; its window is never started
    std::optional<QtPlatform> platform_;
};

QTEST_MAIN(TestQtPlatform)
#include "test_qt_platform.moc"
