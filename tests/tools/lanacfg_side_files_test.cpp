#include "expect_refused.h"
#include "lanacfg_run.h"
#include "report_lines.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

const std::string kTable = stateText({{"0", "NetBT", "Net A"},
                                      {"1", "NetBEUI Protocol", "Net A"},
                                      {"2", "NWLink NetBIOS", "Net B"},
                                      {"3", "NetBEUI Protocol", "Net B"}});

const std::vector<std::string> kSwappedEntries = {
    "0 -->NetBEUI Protocol-->Net B", "1 -->NetBEUI Protocol-->Net A", "2 -->NWLink NetBIOS-->Net B",
    "3 -->NetBT-->Net A"};

const std::vector<std::string> kShow = {"showlanapaths"};
const std::vector<std::string> kSwap = {"setlananumber", "3", "0"};

// The lock and temporary files are the tool's own: whatever else someone put in their place
// must be refused at once, without blocking on it, following it or removing it. A run that
// hangs on it is killed by runLanacfg's guard, so the row fails rather than stalls.
TEST(LanacfgSideFiles, AnythingButARegularFileIsRefusedAtOnce)
{
    enum class Thing { Fifo, DanglingLink };
    struct Case {
        std::string suffix;
        Thing thing;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {".tmp", Thing::Fifo, kSwap},          {".lock", Thing::Fifo, kShow},
        {".lock", Thing::Fifo, kSwap},         {".lock", Thing::DanglingLink, kShow},
        {".lock", Thing::DanglingLink, kSwap}, {".tmp", Thing::DanglingLink, kSwap},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.thing == Thing::Fifo ? "FIFO at " : "dangling link at ") + c.suffix + ", " +
                     c.args.front());
        const ScratchFolder scratch;
        const fs::path state = scratch.path() / "bindings.txt";
        const fs::path odd = state.string() + c.suffix;
        const fs::path linkTarget = scratch.path() / "made-through-the-link";
        writeFile(state, kTable);
        if (c.thing == Thing::Fifo)
            ASSERT_EQ(::mkfifo(odd.c_str(), 0644), 0);
        else
            fs::create_symlink(linkTarget, odd);

        const RunResult result = runLanacfg(state, c.args);
        expectRefused(result, 1);
        EXPECT_NE(result.err.find(odd.string()), std::string::npos) << result.err;
        EXPECT_EQ(readFile(state), kTable);
        EXPECT_FALSE(fs::exists(linkTarget));
        const fs::file_status left = fs::symlink_status(odd);
        EXPECT_TRUE(c.thing == Thing::Fifo ? fs::is_fifo(left) : fs::is_symlink(left));
    }
}

TEST(LanacfgSideFiles, ChangeThroughALinkReplacesTheFileItLeadsTo)
{
    struct Link {
        std::string at;
        std::string holds;
        // Then `holds` is taken from the scratch folder, which only the run knows.
        bool absolute = false;
    };
    struct Case {
        std::string name;
        std::vector<Link> links; // made in this order, `at` relative to the scratch folder
    };
    const Case cases[] = {
        {"absolute", {{"state/bindings.txt", "tables/real.txt", true}}},
        {"relative to the link's folder", {{"state/bindings.txt", "../tables/real.txt"}}},
        {"link to a link",
         {{"tables/hop.txt", "real.txt"}, {"state/bindings.txt", "../tables/hop.txt"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ScratchFolder scratch;
        const fs::path state = scratch.path() / "state" / "bindings.txt";
        const fs::path target = scratch.path() / "tables" / "real.txt";
        writeFile(target, kTable);
        fs::create_directories(state.parent_path());
        for (const Link& link : c.links)
            fs::create_symlink(link.absolute ? scratch.path() / link.holds : fs::path(link.holds),
                               scratch.path() / link.at);
        const fs::path linkHolds = fs::read_symlink(state);

        const RunResult result = runLanacfg(state, kSwap);
        EXPECT_EQ(result.exitStatus, 0) << result.err;
        EXPECT_TRUE(fs::is_symlink(state));
        std::error_code notALink;
        EXPECT_EQ(fs::read_symlink(state, notALink), linkHolds);
        const RunResult shown = runLanacfg(target, kShow);
        EXPECT_EQ(reportEntries(shown.out), kSwappedEntries);
        EXPECT_FALSE(fs::exists(target.string() + ".tmp"));
    }
}

} // namespace
