#include "inventory/system_interfaces.h"
#include "platform/system_access.h"
#include "tests/support/fake_lanacfg.h"
#include "window/qt/form1.h"
#include "window/qt/message_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace quorvel;

namespace {

// The stand-in's built-in table: NetBEUI on two LAN adapters (LANA 2 and 4) and a WAN one.
const QStringList kSampleLanas{"2", "4"};
const QStringList kSampleCards{"3Com EtherLink III Adapter", "Intel(R) PRO/100 Adapter"};

using Cursor = std::optional<Qt::CursorShape>;

Cursor overrideCursor()
{
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor ? Cursor(cursor->shape()) : std::nullopt;
}

struct Seen {
    QStringList boxes; // "title: text"
    QStringList errors;
    std::vector<Cursor> cursorDuringRuns;
    Cursor cursorDuringBox;
};

struct CapturingBox : MessageDialog {
    explicit CapturingBox(Seen& seen) : seen(seen) {}
    void show(const std::string& text, const std::string& title, MessageKind kind) override
    {
        if (kind == MessageKind::Error) {
            seen.errors << QString::fromStdString(text);
            return;
        }
        seen.boxes << QString::fromStdString((kind == MessageKind::Warning ? "(warning) " : "") +
                                             title + ": " + text);
        seen.cursorDuringBox = overrideCursor();
    }
    Seen& seen;
};

// Notes the cursor, then hands the command to the real runner while the tool answers.
struct WatchingRunner : CommandRunner {
    explicit WatchingRunner(Seen& seen) : seen(seen) {}
    CommandOutcome run(const std::string& commandLine, std::optional<TimeLimit> limit) override
    {
        seen.cursorDuringRuns.push_back(overrideCursor());
        if (duringRun)
            duringRun(commandLine);
        return toolAnswers ? real.run(commandLine, limit) : CommandOutcome{};
    }
    ProgramNotFound interpreterNotFound() const override { return real.interpreterNotFound(); }
    std::function<void(const std::string&)> duringRun;
    bool toolAnswers = true;
    Seen& seen;
    SystemCommandRunner real;
};

QStringList rows(const QListWidget* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

QPoint rowCentre(QListWidget* list, int row)
{
    return list->visualItemRect(list->item(row)).center();
}

// Queues a left click at pos, as the window system does while the window's thread is held.
void postClick(QWidget* widget, QPoint pos)
{
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QCoreApplication::postEvent(widget, new QMouseEvent(type, pos, widget->mapToGlobal(pos),
                                                            Qt::LeftButton, held, Qt::NoModifier));
    }
}

// Runs the application's event loop from the given step; returns the status it ended with.
int execFrom(const std::function<void()>& step)
{
    QTimer::singleShot(0, step);
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(10000);
    return QApplication::exec();
}

} // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("PATH",
                QByteArray(LANACFG_DIR) + QDir::listSeparator().toLatin1() + qgetenv("PATH"));
    }

    // Each case: a fresh state (the stand-in's sample until the first change), a fresh cwd,
    // the real runner and report files, and captured boxes.
    void init()
    {
        work.emplace();
        QVERIFY(QDir::setCurrent(work->path()));
        qputenv("LANACFG_STATE", work->filePath("bindings.txt").toLocal8Bit());
        seen = {};
        runner.toolAnswers = true;
        runner.duringRun = nullptr;
        form.emplace(runner, reportFiles, renumberingLock, renumberingLog, true, box);
        lstLANA = form->findChild<QListWidget*>("lstLANA");
        lstCard = form->findChild<QListWidget*>("lstCard");
        cmdSet = form->findChild<QPushButton*>("cmdSet");
    }

    void cleanup()
    {
        form.reset();
        QDir::setCurrent(QDir::tempPath());
        work.reset();
        QCOMPARE(overrideCursor(), std::nullopt);
    }

    void loadListsTheBindingsBeforeShowing()
    {
        QVERIFY(form->Form_Load());
        QVERIFY(!form->isVisible());
        QCOMPARE(rows(lstLANA), kSampleLanas);
        QCOMPARE(rows(lstCard), kSampleCards);
        QVERIFY(!QFile::exists("lanapaths.txt"));
    }

    void controlsKeepTheirPlacesCaptionsAndTabOrder()
    {
        QCOMPARE(form->screen()->logicalDotsPerInchX(), 96.0);
        QCOMPARE(form->windowTitle(), "Quorvel");
        QCOMPARE(form->size(), QSize(431, 269));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        const struct {
            const char* name;
            QString caption;
            QRect at;
        } controls[] = {
            {"LABN", "LANA", {16, 24, 105, 17}},
            {"Label1", "Network Card", {128, 24, 129, 17}},
            {"lstLANA", {}, {16, 40, 33, 147}},
            {"lstCard", {}, {48, 40, 377, 147}},
            {"Label2",
             "Highlight the Card where you want to set the LANA=O and click set",
             {16, 200, 409, 17}},
            {"cmdExit", "Close", {128, 232, 57, 25}},
            {"cmdSet", "Set", {272, 232, 57, 25}},
        };
        for (const auto& control : controls) {
            auto* widget = form->findChild<QWidget*>(control.name);
            QVERIFY2(widget, control.name);
            QCOMPARE(widget->geometry(), control.at);
            if (auto* label = qobject_cast<QLabel*>(widget))
                QCOMPARE(label->text(), control.caption);
            if (auto* button = qobject_cast<QPushButton*>(widget))
                QCOMPARE(button->text(), control.caption);
        }

        form->show();
        QVERIFY(QTest::qWaitForWindowActive(&*form));
        QCOMPARE(QApplication::focusWidget(), cmdSet);
        for (const char* next : {"cmdExit", "lstCard", "lstLANA", "cmdSet"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), next);
        }
    }

    void tenBindingsAndALongNameStayRowBesideRowHoweverTheyScroll()
    {
        QFile table(work->filePath("bindings.txt"));
        QVERIFY(table.open(QIODevice::WriteOnly));
        for (int lana = 0; lana < 10; ++lana) {
            const QString name = lana == 3 ? QString("Adapter %1 ").arg(lana).repeated(12)
                                           : QString("Adapter %1").arg(lana);
            table.write(QString("%1\tNetBEUI Protocol\t%2\n").arg(lana).arg(name).toUtf8());
        }
        table.close();
        // As on a desktop with large fonts: ten rows take more than the lists' height.
        QFont large = form->font();
        large.setPointSize(16);
        form->setFont(large);
        QVERIFY(form->Form_Load());
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(&*form));
        QCOMPARE(lstCard->count(), 10);
        // Keys move from a current row; a click gives each list one.
        for (QListWidget* list : {lstLANA, lstCard})
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 0));

        const auto wheelDown = [](QListWidget* list) {
            const QPoint at = list->viewport()->rect().center();
            QWheelEvent wheel(at, list->viewport()->mapToGlobal(at), {}, {0, -120}, Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(list->viewport(), &wheel);
        };
        const struct {
            const char* name;
            std::function<void()> act;
        } steps[] = {
            {"End in lstCard", [&] { QTest::keyClick(lstCard, Qt::Key_End); }},
            {"Down in lstLANA", [&] { QTest::keyClick(lstLANA, Qt::Key_Down); }},
            {"wheel over lstLANA", [&] { wheelDown(lstLANA); }},
            {"lstCard's bar to the top", [&] { lstCard->verticalScrollBar()->setValue(0); }},
            {"wheel over lstCard", [&] { wheelDown(lstCard); }},
            {"Home in lstCard", [&] { QTest::keyClick(lstCard, Qt::Key_Home); }},
            {"End in lstLANA", [&] { QTest::keyClick(lstLANA, Qt::Key_End); }},
        };
        for (const auto& step : steps) {
            const int topBefore = lstCard->verticalScrollBar()->value();
            step.act();
            QVERIFY2(lstCard->verticalScrollBar()->value() != topBefore, step.name);
            QVERIFY2(!lstCard->horizontalScrollBar()->isVisible(), step.name);
            for (int row = 0; row < 10; ++row) {
                const QRect card = lstCard->visualItemRect(lstCard->item(row));
                const QRect lana = lstLANA->visualItemRect(lstLANA->item(row));
                QCOMPARE(lstCard->viewport()->mapTo(&*form, card.topLeft()).y(),
                         lstLANA->viewport()->mapTo(&*form, lana.topLeft()).y());
                QCOMPARE(card.height(), lana.height());
            }
        }
        // After End the last row shows, beside its own LANA.
        QTest::keyClick(lstCard, Qt::Key_End);
        QVERIFY(lstCard->viewport()->rect().contains(
            lstLANA->visualItemRect(lstLANA->item(9)).center()));
    }

    void setGivesTheHighlightedCardLana0()
    {
        QVERIFY(form->Form_Load());
        form->show();
        QTest::mouseClick(lstCard->viewport(), Qt::LeftButton, {}, rowCentre(lstCard, 1));
        QTest::mouseClick(cmdSet, Qt::LeftButton);
        QCOMPARE(seen.errors, QStringList());
        QCOMPARE(rows(lstLANA), QStringList({"0", "2"}));
        QCOMPARE(rows(lstCard),
                 QStringList({"Intel(R) PRO/100 Adapter", "3Com EtherLink III Adapter"}));
        QVERIFY(lstCard->selectedItems().isEmpty());
        // Load, check, renumbering, refresh: each run under the wait cursor.
        QCOMPARE(seen.cursorDuringRuns, std::vector<Cursor>(4, Qt::WaitCursor));
    }

    void setOnListsMadeStaleByAnotherRunChangesNothingAndSaysSo()
    {
        QVERIFY(form->Form_Load());
        form->show();
        QCOMPARE(QProcess::execute("lanacfg", {"setlananumber", "4", "0"}), 0);
        QTest::mouseClick(lstCard->viewport(), Qt::LeftButton, {}, rowCentre(lstCard, 1));
        QTest::mouseClick(cmdSet, Qt::LeftButton);
        QCOMPARE(seen.boxes, QStringList("(warning) Warning: The NetBEUI bindings changed since "
                                         "they were listed, so nothing was changed. Check the "
                                         "lists and press \"Set\" again."));
        QCOMPARE(seen.cursorDuringRuns.size(), 2u); // the load and the check: no renumbering
        QCOMPARE(rows(lstCard),
                 QStringList({"Intel(R) PRO/100 Adapter", "3Com EtherLink III Adapter"}));
    }

    void programInAReadOnlyFolderListsTheBindingsAndLeavesNothing()
    {
        const QString here = work->path();
        if (QProcess::execute("unshare", {"-m", "mount", "--bind", "-o", "ro", here, here}) != 0)
            QSKIP("skipped: a read-only bind mount needs root and a mount namespace of its own");
        QTemporaryDir temporary;
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TMPDIR", temporary.path());
        environment.insert("QUORVEL_BENCH_FILLED_LISTS", "lstLANA lstCard");
        program.setProcessEnvironment(environment);
        const QString inReadOnlyHere = R"(mount --bind -o ro "$1" "$1" && cd "$1" && )"
                                       R"(exec env LD_PRELOAD="$2" "$3")";
        program.start("unshare", {"-m", "sh", "-c", inReadOnlyHere, "sh", here, FIRST_PAINT_HOOK,
                                  QUORVEL_EXE});
        QVERIFY(program.waitForFinished());
        QCOMPARE(program.exitCode(), 0); // the hook's: the window painted with both lists filled
        const auto entries = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden;
        QCOMPARE(QDir(here).entryList(entries), QStringList());
        QCOMPARE(QDir(temporary.path()).entryList({"quorvel-*"}, entries), QStringList());
    }

    void doubleClickSetsTheRowDoubleClicked()
    {
        QVERIFY(form->Form_Load());
        form->show();
        QTest::mouseClick(lstCard->viewport(), Qt::LeftButton, {}, rowCentre(lstCard, 0));
        QTest::mouseDClick(lstCard->viewport(), Qt::LeftButton, {}, rowCentre(lstCard, 0));
        QCOMPARE(rows(lstLANA), QStringList({"0", "4"}));
        QCOMPARE(rows(lstCard), kSampleCards);
        QVERIFY(lstCard->selectedItems().isEmpty());
    }

    void clicksMadeWhileLanacfgRunsAreDropped()
    {
        QVERIFY(form->Form_Load());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*form));
        QTest::mouseClick(lstCard->viewport(), Qt::LeftButton, {}, rowCentre(lstCard, 1));
        // While the renumbering holds the window, the user clicks the second row and "Set"
        // again; after the refresh that row holds another adapter.
        int renumberings = 0;
        runner.duringRun = [&](const std::string& commandLine) {
            if (commandLine.rfind("lanacfg setlananumber", 0) != 0 || ++renumberings > 1)
                return;
            postClick(lstCard->viewport(), rowCentre(lstCard, 1));
            postClick(cmdSet, cmdSet->rect().center());
        };
        QTest::mouseClick(cmdSet, Qt::LeftButton);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();

        QCOMPARE(renumberings, 1);
        QCOMPARE(rows(lstLANA), QStringList({"0", "2"}));
        QCOMPARE(rows(lstCard),
                 QStringList({"Intel(R) PRO/100 Adapter", "3Com EtherLink III Adapter"}));
    }

    void enterPressesTheFocusedButton()
    {
        QVERIFY(form->Form_Load());
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(&*form));
        QCOMPARE(QApplication::focusWidget(), cmdSet);
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            const std::size_t runsBefore = seen.cursorDuringRuns.size();
            QTest::keyClick(cmdSet, key);
            // The check, the renumbering and its refresh.
            QCOMPARE(seen.cursorDuringRuns.size(), runsBefore + 3);
        }
        auto* cmdExit = form->findChild<QPushButton*>("cmdExit");
        cmdExit->setFocus();
        QCOMPARE(execFrom([cmdExit] { QTest::keyClick(cmdExit, Qt::Key_Return); }), 0);
    }

    void setWithoutCardHighlightChangesNothingAndSaysSo()
    {
        QVERIFY(form->Form_Load());
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(&*form));
        QTest::keyClick(cmdSet, Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), lstCard);
        QVERIFY(lstCard->currentItem() != nullptr);
        QTest::mouseClick(lstLANA->viewport(), Qt::LeftButton, {}, rowCentre(lstLANA, 1));

        QTest::mouseClick(cmdSet, Qt::LeftButton);
        QCOMPARE(seen.errors, QStringList());
        // The stand-in turns down a command with no LANA text as a usage error.
        QCOMPARE(seen.boxes, QStringList("(warning) Warning: The renumbering command "
                                         "\"lanacfg setlananumber  0\" exited with status 2."));
        QCOMPARE(rows(lstLANA), kSampleLanas);
        QCOMPARE(rows(lstCard), kSampleCards);
    }

    void missingLanacfgIsAnErrorSayingWhereItWasSought()
    {
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", "/usr/bin:/bin");
        const bool loaded = form->Form_Load();
        qputenv("PATH", path);
        QVERIFY(!loaded);
        QCOMPARE(seen.errors,
                 QStringList("The report command \"cmd /c lanacfg showlanapaths >lanapaths.txt\" "
                             "exited with status 127: lanacfg was not found on the search path "
                             "(looked in the folders listed in PATH) and wrote no report"));
        QVERIFY(!QFile::exists("lanapaths.txt"));
    }

    void closeEndsTheProgram()
    {
        QVERIFY(form->Form_Load());
        form->show();
        auto* cmdExit = form->findChild<QPushButton*>("cmdExit");
        QCOMPARE(execFrom([cmdExit] { QTest::mouseClick(cmdExit, Qt::LeftButton); }), 0);
    }

    void unreadableReportIsShownAndEndsTheProgramWithFailure()
    {
        QVERIFY(form->Form_Load());
        form->show();
        runner.toolAnswers = false; // so no report file is written
        QCOMPARE(execFrom([this] { QTest::mouseClick(cmdSet, Qt::LeftButton); }), EXIT_FAILURE);
        QCOMPARE(seen.errors.size(), 1u);
        QVERIFY2(seen.errors[0].contains("lanapaths.txt"), qPrintable(seen.errors[0]));
    }

    void failedLoadIsShownAndKeepsTheWindowHidden()
    {
        runner.toolAnswers = false;
        QVERIFY(!form->Form_Load());
        QCOMPARE(seen.errors.size(), 1u);
        QVERIFY(!form->isVisible());
    }

    void programWithoutDisplayExplainsAndFails()
    {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(name);
        program.setProcessEnvironment(environment);
        program.start(QUORVEL_EXE, {});
        QVERIFY(program.waitForFinished());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY(program.exitCode() != 0);
        QCOMPARE(
            program.readAllStandardError(),
            "quorvel: no display found (DISPLAY is not set); start it from a desktop session\n");
    }

    void errorBoxShowsReportTextAsPlainText()
    {
        const std::string error = "Could not run \"lanacfg setlananumber <b>3</b> 0\": gone";
        QString shownText;
        Qt::TextFormat shownFormat = Qt::RichText;
        QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
        // Closes the box once it is up, as a user would.
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shownText = box->text();
                shownIcon = box->icon();
                shownFormat = box->textFormat();
                box->accept();
            }
        });
        closer.start(10);
        // Inside a running event loop, as the window shows it: earlier cases ended theirs.
        execFrom([&] {
            QtMessageDialog().show(error, "Quorvel", MessageKind::Error);
            QCoreApplication::exit(0);
        });
        QCOMPARE(shownText, QString::fromStdString(error));
        QCOMPARE(shownFormat, Qt::PlainText);
        QCOMPARE(shownIcon, QMessageBox::Critical);
    }

private:
    std::optional<QTemporaryDir> work;
    Seen seen;
    WatchingRunner runner{seen};
    SystemReportFiles reportFiles;
    SystemRenumberingLock renumberingLock;
    quorvel::testing::FakeRenumberingLog renumberingLog;
    CapturingBox box{seen};
    std::optional<Form1> form;
    QListWidget* lstLANA = nullptr;
    QListWidget* lstCard = nullptr;
    QPushButton* cmdSet = nullptr;
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
