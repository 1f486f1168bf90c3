// One attempt on an adapter, for the event log's tests: "event_case CASE" runs quorvel.com
// against the stand-in or a batch-file lanacfg (set-done, set-already, set-failed, set-refused,
// set-dry-run) or clicks "Set" in the Win32 window with the system's log and a fake lanacfg
// (window-done, window-failed), then prints "case CASE: status N". Wine prints the entries on
// its eventlog channel, which the ctest entries read.
#include "platform/system_access.h"
#include "program_run.h"
#include "tests/support/fake_lanacfg.h"
#include "window/message_dialog.h"
#include "window/win32/form1.h"

#include <cstdio>
#include <string>

namespace {

using namespace quorvel;
using namespace quorvel::testing;

class NoBoxes : public MessageDialog {
public:
    void show(const std::string&, const std::string&, MessageKind) override {}
};

int clickSet(CommandOutcome renumbering)
{
    const std::string card = "Lana:  4\r\n-->NetBEUI Protocol-->Card\r\n";
    FakeReportFiles files;
    FakeLanacfg lanacfg(files);
    lanacfg.nextReport = card;
    lanacfg.renumberingEnd = renumbering;
    lanacfg.after = renumbering.succeeded() ? "Lana:  0\r\n-->NetBEUI Protocol-->Card\r\n" : card;
    FakeRenumberingLock lock;
    SystemRenumberingLog log;
    NoBoxes boxes;
    Form1 form(lanacfg, files, lock, log, true, boxes, ScreenDpi{96.0, 96.0});
    if (!form.Form_Load())
        return 3;
    form.show();
    ::SendMessageW(form.control("lstCard"), LB_SETCURSEL, 0, 0);
    ::SendMessageW(form.control("cmdSet"), BM_CLICK, 0, 0);
    return static_cast<int>(lanacfg.commands.size());
}

int runSet(const std::string& name)
{
    const ScratchFolder scratch;
    std::filesystem::create_directory(scratch / "tmp");
    const EnvironmentVariable state("LANACFG_STATE", (scratch / "bindings.txt").string().c_str());
    const EnvironmentVariable temporary("TMP", (scratch / "tmp").string().c_str());
    const PathPrefix lanacfgFirst(lanacfgFolder());
    if (name == "set-already")
        writeFile(scratch / "bindings.txt", "0\tNetBEUI Protocol\tIntel(R) PRO/100 Adapter\n");
    // A batch file before the stand-in: its report, and a renumbering that fails.
    const bool batch = name == "set-failed" || name == "set-refused";
    writeFile(scratch / "fake" / "lanacfg.cmd",
              "@echo off\r\nif \"%1\"==\"setlananumber\" exit /b 1\r\ntype \"" +
                  (scratch / "report.txt").string() + "\"\r\n");
    writeFile(scratch / "report.txt", name == "set-failed"
                                          ? "Lana:  4\r\n-->NetBEUI Protocol-->Card\r\n"
                                          : "Lana:  3 & x\r\n-->NetBEUI Protocol-->Card\r\n");
    const PathPrefix fakeFirst(batch ? scratch / "fake" : lanacfgFolder());
    const std::wstring adapter = batch ? L"Card" : L"\"Intel(R) PRO/100 Adapter\"";
    const PathPrefix quorvelOnPath(quorvelFolder());
    return static_cast<int>(runInCommandPrompt(L"quorvel.com /set " + adapter +
                                                   (name == "set-dry-run" ? L" /dry-run" : L""),
                                               scratch.path())
                                .status);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string name = argc > 1 ? argv[1] : "";
    const int status = name == "window-done"     ? clickSet({})
                       : name == "window-failed" ? clickSet({CommandOutcome::End::Exited, 1})
                                                 : runSet(name);
    std::printf("case %s: status %d\n", name.c_str(), status);
    std::fflush(stdout);
    return 0;
}
