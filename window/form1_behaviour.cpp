#include "form1_behaviour.h"

#include "assignment/lana_assignment.h"
#include "assignment/message_dialog.h"
#include "inventory/command_runner.h"
#include "inventory/error_text.h"
#include "inventory/report_files.h"
#include "window/busy_command_runner.h"
#include "window/form1_layout.h"

#include <cstdlib>
#include <utility>

namespace quorvel {

Form1Behaviour::Form1Behaviour(AdapterList& lstLANA, AdapterList& lstCard, FormServices services)
    : lstLANA(lstLANA), lstCard(lstCard), services_(std::move(services)),
      inventory_(lstLANA, lstCard)
{
}

bool Form1Behaviour::Form_Load()
{
    return runEvent([this] { refreshLists(); });
}

void Form1Behaviour::cmdSet_Click()
{
    runEvent([this] {
        assignLana0();
        refreshLists();
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
    const auto runner = services_.makeRunner();
    BusyCommandRunner busyRunner(*runner, services_.showToolRunning);
    const auto files = services_.makeReportFiles();
    inventory_.GetLANAInfo(busyRunner, *files);
}

void Form1Behaviour::assignLana0()
{
    const auto runner = services_.makeRunner();
    BusyCommandRunner busyRunner(*runner, services_.showToolRunning);
    const auto messageDialog = services_.makeMessageDialog();
    SetLANAO(lstLANA, lstCard, busyRunner, *messageDialog);
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
        services_.makeMessageDialog()->show(describeCurrentError(), kFormCaption,
                                            MessageKind::Error);
    } catch (...) {
        // Not even the box could be shown; the failure status still tells.
    }
}

} // namespace quorvel
