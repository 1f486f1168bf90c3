#include "assignment/lana_assignment.h"
#include "assignment/message_dialog.h"
#include "inventory/command_runner.h"
#include "inventory/plain_adapter_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvel {
namespace {

class RecordingRunner : public CommandRunner {
public:
    CommandOutcome run(const std::string& commandLine) override
    {
        commands.push_back(commandLine);
        return {};
    }
    std::vector<std::string> commands;
};

class RecordingMessageDialog : public MessageDialog {
public:
    void show(const std::string& text, const std::string& title, MessageKind kind) override
    {
        shown.push_back(title + ": " + text + (kind == MessageKind::Plain ? "" : " (not plain)"));
    }
    std::vector<std::string> shown;
};

class Assignment : public ::testing::Test {
protected:
    void setRows(const std::vector<std::pair<std::string, std::string>>& rows)
    {
        for (const auto& [lana, card] : rows) {
            lstCard.append(card);
            lstLANA.append(lana);
        }
    }
    void assign() { SetLANAO(lstLANA, lstCard, runner, messageDialog); }

    PlainAdapterList lstLANA;
    PlainAdapterList lstCard;
    RecordingRunner runner;
    RecordingMessageDialog messageDialog;
};

TEST_F(Assignment, EmptyCardListWarnsAndRunsNothing)
{
    assign();
    EXPECT_EQ(messageDialog.shown,
              (std::vector<std::string>{
                  "Warning: No Network-Card installed or NetBEUI not installed"}));
    EXPECT_TRUE(runner.commands.empty());
}

TEST_F(Assignment, RunsTheRenumberingCommandForTheHighlightedCard)
{
    struct Case {
        const char* name;
        std::string lanaText;
        int highlighted;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"highlighted row", "3", 1, "lanacfg setlananumber 3 0"},
        {"already LANA 0", "0", 1, "lanacfg setlananumber 0 0"},
        {"trailing characters kept", "3 (primary)", 1, "lanacfg setlananumber 3 (primary) 0"},
        {"shell syntax passed on as text", "3; rm -rf ~", 1, "lanacfg setlananumber 3; rm -rf ~ 0"},
        {"no highlight", "3", -1, "lanacfg setlananumber  0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lstLANA.clear();
        lstCard.clear();
        runner.commands.clear();
        setRows({{"1", "First Card"}, {c.lanaText, "Second Card"}});
        lstCard.highlight(c.highlighted);

        assign();
        EXPECT_EQ(runner.commands, (std::vector<std::string>{c.expected}));
    }
    EXPECT_TRUE(messageDialog.shown.empty());
}

TEST_F(Assignment, HighlightInTheLanaListAloneChangesNothing)
{
    setRows({{"1", "First Card"}, {"2", "Second Card"}});
    lstLANA.highlight(1);
    lstCard.highlight(0);
    assign();
    lstCard.highlight(-1);
    assign();
    EXPECT_EQ(runner.commands, (std::vector<std::string>{"lanacfg setlananumber 1 0",
                                                         "lanacfg setlananumber  0"}));
}

} // namespace
} // namespace quorvel
