#pragma once

#include "assignment/renumbering_log.h"
#include "inventory/binding_inventory.h"

#include <functional>
#include <string>
#include <vector>

namespace quorvel {

class CommandRunner;
class MessageDialog;
class RenumberingLock;
class RenumberingLog;
class ReportFiles;

// The view's two lists, LANA texts beside adapter names.
class BindingLists {
public:
    virtual ~BindingLists() = default;
    // Both lists show these rows in this order, none highlighted: the LANA texts in lstLANA,
    // the adapter names in lstCard, row i of one beside row i of the other.
    virtual void showBindings(const std::vector<Binding>& bindings) = 0;
    // The row the user highlighted in lstCard, or -1 when none is; lstLANA's plays no part.
    virtual int highlightedCard() const = 0;
};

// How a view shows that a lanacfg run holds the window.
class BusyIndicator {
public:
    virtual ~BusyIndicator() = default;
    // True while a run holds the window (the busy cursor shows). On false, mouse and key input
    // that arrived during the run is dropped: it was aimed at lists the run has since replaced.
    virtual void showToolRunning(bool running) = 0;
};

// What the window's operations use of the system, for the window's whole life; tests hand in
// fakes instead of the system's.
struct FormServices {
    CommandRunner& runner;
    ReportFiles& reportFiles;
    // Held from "Set"'s check of the highlighted row to the end of its refresh.
    RenumberingLock& renumberingLock;
    // Where each attempt of "Set" is recorded; an entry it cannot take changes nothing here.
    RenumberingLog& renumberingLog;
    // Whether the system lets this user change LANA numbers, for the renumbering's warning.
    bool userMayRenumber;
    // Over the window once it is shown, on its own before that.
    MessageDialog& messageDialog;
    BusyIndicator& busyIndicator;
    // Ends the program with this exit status once the current event is over.
    std::function<void(int status)> endProgram;
};

// What the main window does, for any toolkit: each event's operations and the error policy.
// A view builds the controls, shows the bindings it is given and forwards its events here;
// the report and its bindings stay with this object for the window's whole life.
class Form1Behaviour {
public:
    Form1Behaviour(BindingLists& lists, FormServices services);

    // Fills the lists; call before the window is first shown. False when that failed: the
    // error has been shown, the program is ending, and the window must not be shown.
    bool Form_Load();
    void cmdSet_Click();
    // The view highlights the row under the pointer first; then it acts as "Set".
    void lstCard_DblClick();
    void cmdExit_Click() const;

private:
    void refreshLists();
    // Into the system's log, with the LANA the lists now show for the adapter, if they list it
    // once; `listed`: whether they were refreshed since the attempt.
    void recordAttempt(const RenumberingRecord& attempt, bool listed) const noexcept;
    // Runs one event's operations. Any error ends the event: it is shown in the error box and
    // the program ends with a failure status. Nothing escapes to the toolkit's event loop.
    bool runEvent(const std::function<void()>& operations);
    // Inside a catch block: the error box for the error being handled.
    void showCurrentError() const noexcept;

    BindingLists& lists_;
    FormServices services_;
    // As the lists show them.
    std::vector<Binding> bindings_;
};

} // namespace quorvel
