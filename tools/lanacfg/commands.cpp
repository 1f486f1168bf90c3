#include "commands.h"

#include "report.h"
#include "state_file.h"
#include "state_lock.h"
#include "tool_error.h"

namespace lanacfg {

namespace {

StateError noSuchLana(const std::string& statePath, int lana)
{
    return StateError("no binding has LANA " + std::to_string(lana) + " in " + statePath);
}

} // namespace

std::string showLanaPaths(const std::string& statePath)
{
    const std::string stateFile = followStateLinks(statePath);
    const StateLock lock(stateFile, StateLock::Mode::Read);
    return lanaPathsReport(loadState(stateFile));
}

void setLanaNumber(const std::string& statePath, int lana, int newLana)
{
    // One lock per file, however a run names it: runs through a link and through the file
    // itself must take turns.
    const std::string stateFile = followStateLinks(statePath);
    // Nothing to write: a reader's lock is enough and leaves no folder or file behind.
    if (lana == newLana) {
        const StateLock lock(stateFile, StateLock::Mode::Read);
        if (loadState(stateFile).find(lana) == nullptr)
            throw noSuchLana(stateFile, lana);
        return;
    }

    // Held from reading to renaming, so no other run's change is lost in between.
    const StateLock lock(stateFile, StateLock::Mode::Change);
    BindingTable table = loadState(stateFile);
    if (!table.renumber(lana, newLana))
        throw noSuchLana(stateFile, lana);
    saveState(stateFile, table);
}

} // namespace lanacfg
