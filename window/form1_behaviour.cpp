#include "form1_behaviour.h"

#include "assignment/lana_assignment.h"
#include "assignment/renumbering_log.h"
#include "inventory/system_interfaces.h"
#include "window/form1_layout.h"
#include "window/message_dialog.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>

namespace quorvel {

namespace {

constexpr const char* kNoCardText = "No Network-Card installed or NetBEUI not installed";
constexpr const char* kNoCardTitle = "Warning";
constexpr const char* kRenumberingFailedTitle = "Warning";
constexpr const char* kBindingsChangedText =
    "The NetBEUI bindings changed since they were listed, so nothing was changed. Check the "
    "lists and press \"Set\" again.";
constexpr const char* kBindingsChangedTitle = "Warning";

// Ends the busy state however the run ends, exceptions included.
class ToolRunningScope {
public:
    explicit ToolRunningScope(BusyIndicator& busyIndicator) : busyIndicator_(busyIndicator)
    {
        busyIndicator_.showToolRunning(true);
    }
    ~ToolRunningScope() { busyIndicator_.showToolRunning(false); }
    ToolRunningScope(const ToolRunningScope&) = delete;
    ToolRunningScope& operator=(const ToolRunningScope&) = delete;

private:
    BusyIndicator& busyIndicator_;
};

// Shows the busy state for as long as each command runs. Only the runs: a message box shown
// between them keeps the normal cursor.
class BusyRunner : public CommandRunner {
public:
    BusyRunner(CommandRunner& runner, BusyIndicator& busyIndicator)
        : runner_(runner), busyIndicator_(busyIndicator)
    {
    }

    CommandOutcome run(const std::string& commandLine, std::optional<TimeLimit> limit) override
    {
        const ToolRunningScope running(busyIndicator_);
        return runner_.run(commandLine, limit);
    }
    ProgramNotFound interpreterNotFound() const override { return runner_.interpreterNotFound(); }

private:
    CommandRunner& runner_;
    BusyIndicator& busyIndicator_;
};

// A message that goes on after a colon elsewhere, as a box's text of its own.
std::string capitalised(std::string text)
{
    if (!text.empty() && text.front() >= 'a' && text.front() <= 'z')
        text.front() = static_cast<char>(text.front() - 'a' + 'A');
    return text;
}

} // namespace

Form1Behaviour::Form1Behaviour(BindingLists& lists, FormServices services)
    : lists_(lists), services_(std::move(services))
{
}

bool Form1Behaviour::Form_Load()
{
    return runEvent([this] { refreshLists(); });
}

void Form1Behaviour::cmdSet_Click()
{
    runEvent([this] {
        // As the user chose from them: the check below lists a fresh report.
        const std::vector<Binding> shown = bindings_;
        const int highlighted = lists_.highlightedCard();
        // No turn for the warning of an empty list: it renumbers nothing, and its box must not
        // keep scripts waiting while it is open.
        std::optional<RenumberingTurn> turn;
        if (!shown.empty()) {
            {
                // Waited for as the window waits for lanacfg: without limit, showing it is busy.
                const ToolRunningScope waiting(services_.busyIndicator);
                turn.emplace(services_.renumberingLock, std::nullopt);
            }
            // Another run may have renumbered since the lists were filled.
            refreshLists();
        }
        BusyRunner runner(services_.runner, services_.busyIndicator);
        const Assignment assignment =
            assignLana0(shown, highlighted, bindings_, runner, services_.userMayRenumber);
        if (assignment.outcome == Assignment::Outcome::NoAdapterListed)
            services_.messageDialog.show(kNoCardText, kNoCardTitle, MessageKind::Plain);
        if (assignment.outcome == Assignment::Outcome::LanaNotANumber) {
            recordAttempt(*assignment.attempt, false);
            throw OperationError(assignment.failure);
        }
        if (assignment.outcome != Assignment::Outcome::BindingsChanged) {
            try {
                refreshLists();
            } catch (...) {
                if (assignment.attempt)
                    recordAttempt(*assignment.attempt, false);
                throw;
            }
        }
        if (assignment.attempt)
            recordAttempt(*assignment.attempt,
                          assignment.outcome != Assignment::Outcome::BindingsChanged);
        turn.reset(); // a warning box open on screen must not hold scripts up either
        // After the refresh, so that the box stands over the lists as they now are.
        if (assignment.outcome == Assignment::Outcome::BindingsChanged)
            services_.messageDialog.show(kBindingsChangedText, kBindingsChangedTitle,
                                         MessageKind::Warning);
        if (assignment.outcome == Assignment::Outcome::RenumberingFailed)
            services_.messageDialog.show(capitalised(assignment.failure) + ".",
                                         kRenumberingFailedTitle, MessageKind::Warning);
    });
}

void Form1Behaviour::lstCard_DblClick()
{
    cmdSet_Click();
}

void Form1Behaviour::cmdExit_Click() const
{
    services_.endProgram(EXIT_SUCCESS);
}

void Form1Behaviour::refreshLists()
{
    // Nothing of the earlier report stays on show while the command runs, nor if it fails.
    bindings_.clear();
    lists_.showBindings(bindings_);
    BusyRunner runner(services_.runner, services_.busyIndicator);
    bindings_ = bindingsFromReportCommand(runner, services_.reportFiles);
    lists_.showBindings(bindings_);
}

void Form1Behaviour::recordAttempt(const RenumberingRecord& attempt, bool listed) const noexcept
{
    try {
        const auto named = [&attempt](const Binding& binding) {
            return binding.adapterName == attempt.adapterName;
        };
        const auto found = std::find_if(bindings_.begin(), bindings_.end(), named);
        RenumberingRecord entry = attempt;
        if (listed && std::count_if(bindings_.begin(), bindings_.end(), named) == 1)
            entry.lanaAfter = found->lana;
        services_.renumberingLog.record(entry);
    } catch (...) {
        // The window goes on as it would have: the log is the administrator's, not the user's.
    }
}

bool Form1Behaviour::runEvent(const std::function<void()>& operations)
{
    try {
        operations();
        return true;
    } catch (...) {
        showCurrentError();
    }
    services_.endProgram(EXIT_FAILURE);
    return false;
}

void Form1Behaviour::showCurrentError() const noexcept
{
    try {
        services_.messageDialog.show(capitalised(describeCurrentError()), kFormCaption,
                                     MessageKind::Error);
    } catch (...) {
        // Not even the box could be shown; the failure status still tells.
    }
}

} // namespace quorvel
