#pragma once

#include "window/form1_behaviour.h"
#include "window/qt/message_dialog.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace quorvel {

// The utility's only window on QtWidgets: the NetBEUI bindings as LANA numbers beside
// adapter names, and the button that gives the highlighted adapter LANA number 0. A view:
// what each event does is Form1Behaviour's. It shows the bindings and the busy state itself.
class Form1 : public QWidget, private BindingLists, private BusyIndicator {
    Q_OBJECT

public:
    // With message boxes of its own; the runner, the report files, the lock and the log
    // outlive the window. The program gives it its icon.
    Form1(CommandRunner& runner, ReportFiles& reportFiles, RenumberingLock& renumberingLock,
          RenumberingLog& renumberingLog, bool userMayRenumber, QWidget* parent = nullptr);
    // With the caller's message box too, as tests give one.
    Form1(CommandRunner& runner, ReportFiles& reportFiles, RenumberingLock& renumberingLock,
          RenumberingLog& renumberingLog, bool userMayRenumber, MessageDialog& messageDialog,
          QWidget* parent = nullptr);

    // Fills the lists; call before the window is first shown. False when that failed:
    // the error has been reported and the window must not be shown.
    bool Form_Load();

private:
    // With the given message box, or its own when given none: its own is not yet made while
    // a constructor's arguments are taken.
    Form1(CommandRunner& runner, ReportFiles& reportFiles, RenumberingLock& renumberingLock,
          RenumberingLog& renumberingLog, bool userMayRenumber, MessageDialog* messageDialog,
          QWidget* parent);

    void showBindings(const std::vector<Binding>& bindings) override;
    // The selected row only: Qt's current row follows keyboard focus, not the user's pick.
    int highlightedCard() const override;
    void showToolRunning(bool running) override;
    void lstCard_DblClick(QListWidgetItem* item);
    void placeControls();

    QLabel* LABN;
    QLabel* Label1;
    QListWidget* lstLANA;
    QListWidget* lstCard;
    QLabel* Label2;
    QPushButton* cmdExit;
    QPushButton* cmdSet;

    QtMessageDialog messageBox_;
    Form1Behaviour behaviour_;
};

} // namespace quorvel
