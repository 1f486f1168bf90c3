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

std::string showLanaPaths(const std::string& givenPath)
{
    const std::string statePath = followStateLinks(givenPath);
    const StateLock lock(statePath, StateLock::Mode::Read);
    return lanaPathsReport(loadState(statePath));
}

void setLanaNumber(const std::string& givenPath, int lana, int newLana)
{
    // One lock per file, however a run names it: runs through a link and through the file
    // itself must take turns.
    const std::string statePath = followStateLinks(givenPath);
    // Nothing to write: a reader's lock is enough and leaves no folder or file behind.
    if (lana == newLana) {
        const StateLock lock(statePath, StateLock::Mode::Read);
        if (loadState(statePath).find(lana) == nullptr)
            throw noSuchLana(statePath, lana);
        return;
    }

    // Held from reading to renaming, so no other run's change is lost in between.
    const StateLock lock(statePath, StateLock::Mode::Change);
    BindingTable table = loadState(statePath);
    if (!table.renumber(lana, newLana))
        throw noSuchLana(statePath, lana);
    saveState(statePath, table);
}

} // namespace lanacfg
