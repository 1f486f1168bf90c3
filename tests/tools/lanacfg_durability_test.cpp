#include "lanacfg_run.h"
#include "report_lines.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <numeric>
#include <random>
#include <set>
#include <thread>

namespace fs = std::filesystem;

namespace {

std::vector<std::vector<std::string>> numberedTable(int count)
{
    std::vector<std::vector<std::string>> rows;
    rows.reserve(static_cast<std::size_t>(count));
    for (int lana = 0; lana < count; ++lana)
        rows.push_back({std::to_string(lana), lana % 3 ? "NetBEUI Protocol" : "NetBT",
                        "Card " + std::to_string(lana)});
    return rows;
}

std::vector<std::string> entriesOf(const std::vector<std::vector<std::string>>& rows)
{
    std::vector<std::string> entries;
    entries.reserve(rows.size());
    for (const auto& row : rows)
        entries.push_back(row[0] + " -->" + row[1] + "-->" + row[2]);
    return entries;
}

std::vector<std::string> showEntries(const fs::path& state)
{
    const RunResult result = runLanacfg(state, {"showlanapaths"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    return reportEntries(result.out);
}

// Disjoint swaps commute, so whatever order the runs take the lock in, the result is
// known exactly, and a change lost between one run's read and another's write shows. Half
// the runs name the state file through a link: they must take turns with the others all the
// same.
TEST(LanacfgDurability, FiftyConcurrentSwapsAllTakeEffect)
{
    ScratchFolder scratch;
    const fs::path state = scratch.path() / "bindings.txt";
    const fs::path link = scratch.path() / "linked-bindings.txt";
    const auto rows = numberedTable(100);
    writeFile(state, stateText(rows));
    fs::create_symlink(state, link);

    std::vector<int> lanas(100);
    std::iota(lanas.begin(), lanas.end(), 0);
    std::shuffle(lanas.begin(), lanas.end(), std::mt19937(20240607));

    auto expected = rows;
    std::vector<std::unique_ptr<LanacfgRun>> runs;
    for (std::size_t i = 0; i < lanas.size(); i += 2) {
        const int a = lanas[i];
        const int b = lanas[i + 1];
        std::swap(expected[a][0], expected[b][0]);
        runs.push_back(std::make_unique<LanacfgRun>(
            i % 4 == 0 ? state : link,
            std::vector<std::string>{"setlananumber", std::to_string(a), std::to_string(b)}));
    }
    for (const auto& run : runs) {
        const RunResult result = run->wait();
        EXPECT_EQ(result.exitStatus, 0) << result.err;
    }

    std::sort(expected.begin(), expected.end(),
              [](const auto& x, const auto& y) { return std::stoi(x[0]) < std::stoi(y[0]); });
    EXPECT_EQ(showEntries(state), entriesOf(expected));
    EXPECT_TRUE(fs::is_symlink(link));
}

TEST(LanacfgDurability, RunKilledBeforeRenameLeavesTheOldTable)
{
    ScratchFolder scratch;
    const fs::path state = scratch.path() / "bindings.txt";
    const auto rows = numberedTable(8);
    writeFile(state, stateText(rows));

    LanacfgRun run(state, {"setlananumber", "5", "0"}, {"LANACFG_TEST_PAUSE_BEFORE_RENAME=10000"});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!fs::exists(state.string() + ".tmp") && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(fs::exists(state.string() + ".tmp"));
    run.kill();
    EXPECT_EQ(run.wait().exitStatus, -1);

    EXPECT_EQ(showEntries(state), entriesOf(rows));
    // The dead run's lock and leftover file do not stand in the way of the next change.
    EXPECT_EQ(runLanacfg(state, {"setlananumber", "5", "0"}).exitStatus, 0);
    EXPECT_EQ(showEntries(state).front(), "0 -->NetBEUI Protocol-->Card 5");
}

TEST(LanacfgDurability, RunsKilledAtRandomMomentsLeaveAWholeTable)
{
    ScratchFolder scratch;
    const fs::path state = scratch.path() / "bindings.txt";
    writeFile(state, stateText(numberedTable(255)));
    std::vector<std::string> paths;
    for (const std::string& entry : entriesOf(numberedTable(255)))
        paths.push_back(entry.substr(entry.find(' ') + 1));
    std::sort(paths.begin(), paths.end());

    std::mt19937 random(7);
    std::uniform_int_distribution<int> lana(0, 254);
    std::uniform_int_distribution<int> delayMicroseconds(0, 3000);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        LanacfgRun run(
            state, {"setlananumber", std::to_string(lana(random)), std::to_string(lana(random))});
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        run.kill();
        run.wait();

        std::set<std::string> numbers;
        std::vector<std::string> shownPaths;
        for (const std::string& entry : showEntries(state)) {
            numbers.insert(entry.substr(0, entry.find(' ')));
            shownPaths.push_back(entry.substr(entry.find(' ') + 1));
        }
        std::sort(shownPaths.begin(), shownPaths.end());
        EXPECT_EQ(numbers.size(), 255u);
        EXPECT_EQ(shownPaths, paths);
    }
}

} // namespace
