#pragma once

#include "binding_table.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// What the stand-in asks of the system it runs on, defined once per system
// (system_posix.cpp, system_win32.cpp): its arguments and output as text, where the state
// file is, and reading, replacing and locking it. Paths are UTF-8 text on every system.
namespace lanacfg {

// The arguments after the program name, as UTF-8 text.
std::vector<std::string> commandArguments(int argc, char* argv[]);

// UTF-8 text as the bytes this system's readers of our output expect.
std::string consoleText(std::string_view text);

// $LANACFG_STATE, else the user's default of this system (see stateFileLocationHelp).
// Throws StateError when none can be made.
std::string stateFilePath();

// The lines of --help that tell where the state file is.
std::string_view stateFileLocationHelp();

// The file a path to the state file leads to, through any symbolic links: where a change
// must go (renaming over a link would put a plain file in its place) and what runs must lock,
// however each of them names it.
std::string followStateLinks(const std::string& path);

// The table in the state file, or the built-in sample while there is no file.
// Throws StateError naming the file (and line) when it cannot be read as a table.
BindingTable loadState(const std::string& path);

// Replaces the state file whole: the table goes to "FILE.tmp" (a leftover one is removed
// first), is flushed to disk and moved over FILE, so the file holds the old or the new table
// at every moment. Where FILE is a symbolic link, the file it leads to is replaced.
void saveState(const std::string& path, const BindingTable& table);

// Serializes runs on one state file through a lock on "FILE.lock" beside it, a plain file of
// its own: the system drops the lock when its holder dies, so a killed run never leaves the
// table locked.
class StateLock {
public:
    enum class Mode { Read, Change };

    // Change creates the state file's folder if need be and waits for sole access; Read
    // waits only for changes in progress. Throws StateError when the lock cannot be had,
    // or when something other than a regular file is at FILE.lock.
    StateLock(const std::string& statePath, Mode mode);
    ~StateLock();
    StateLock(const StateLock&) = delete;
    StateLock& operator=(const StateLock&) = delete;

private:
    // The locked lock file, as this system holds it; none for a reader that may go unlocked.
    struct Held;
    std::unique_ptr<Held> held_;
};

// The milliseconds a test hook's variable asks for: 0 unless set to one to five decimal
// digits.
inline int testPauseMilliseconds(const char* variable)
{
    const char* value = std::getenv(variable);
    if (value == nullptr || std::string_view(value).size() > 5)
        return 0;
    int milliseconds = 0;
    for (const char c : std::string_view(value)) {
        if (c < '0' || c > '9')
            return 0;
        milliseconds = milliseconds * 10 + (c - '0');
    }
    return milliseconds;
}

// Test hook: LANACFG_TEST_PAUSE_BEFORE_RENAME=ms holds a change, lock held, between writing
// the temporary file and moving it over the state file, so tests can catch a run at exactly
// that moment.
inline int pauseBeforeRenameMilliseconds()
{
    return testPauseMilliseconds("LANACFG_TEST_PAUSE_BEFORE_RENAME");
}

// Test hook: LANACFG_TEST_PAUSE_BEFORE_CHANGE=ms slows setlananumber down before it takes its
// lock, so that tests can run two changes over the same table, each from what it last read.
inline int pauseBeforeChangeMilliseconds()
{
    return testPauseMilliseconds("LANACFG_TEST_PAUSE_BEFORE_CHANGE");
}

} // namespace lanacfg
