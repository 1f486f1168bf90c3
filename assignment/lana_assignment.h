#pragma once

#include "assignment/renumbering_log.h"
#include "inventory/binding_inventory.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

class CommandRunner;
class RenumberingLock;
class ReportFiles;

// What the window's "Set" came to.
struct Assignment {
    enum class Outcome {
        NoAdapterListed,   // nothing ran
        BindingsChanged,   // the row's adapter is no longer listed with its LANA: nothing ran
        RenumberingFailed, // the command failed or could not start, as `failure` says
        Done,              // the command ended with success
        LanaNotANumber,    // the row's LANA text is no number, as `failure` says: nothing ran
    };
    Outcome outcome;
    std::string failure = {};
    // For the system's log: every outcome but NoAdapterListed, which attempts nothing. The LANA
    // after is left for the refresh that follows to fill in.
    std::optional<RenumberingRecord> attempt = {};
};

// Gives the adapter in the highlighted row of `shown`, the bindings as the card list showed
// them to the user, LANA number 0 by running the renumbering command for its LANA text. Nothing
// runs when no adapter is shown, nor when `listed`, the bindings of a report taken since under
// the renumbering lock, no longer holds the row's adapter with that LANA text (both compared as
// bytes): another run may have renumbered in between, and the command would then move another
// adapter. Whether the renumbering took is left for the next refresh to show. A LANA text that
// is not a number is refused, and nothing runs. A failure's text ends with
// a hint when the user may not renumber (see userMayRenumber).
Assignment assignLana0(const std::vector<Binding>& shown, int highlightedRow,
                       const std::vector<Binding>& listed, CommandRunner& runner,
                       bool userMayRenumber);

// Which adapter a script means: its exact name, or a pattern that only its name matches.
struct AdapterChoice {
    std::string text;
    bool isPattern = false;
};

enum class NamedAssignmentOutcome {
    Assigned,  // the adapter now shows LANA 0
    NotListed, // no listed adapter has that name or matches that pattern
    Ambiguous, // more than one listed adapter has that name or matches that pattern
    NotTaken,  // the renumbering was tried, but the adapter does not show LANA 0 afterwards
    Refused,   // the adapter's LANA text is not a number: nothing ran, as the message says
    Unchecked, // the renumbering was tried, but the report after it failed, as the message says
};

struct NamedAssignmentResult {
    NamedAssignmentOutcome outcome;
    std::string message;
    std::vector<Binding> bindings; // as the latest refresh listed them
    // The names that help a script's author choose: every listed one when none was chosen,
    // the matching ones when more than one matched a pattern.
    std::vector<std::string> names = {};
    // The attempt on the one adapter chosen, for the system's log; none when no single adapter
    // was. A preview's is what the run would do: Renumbered with the command it would run, or
    // AlreadyOnLana0.
    std::optional<RenumberingRecord> attempt = {};
};

// Whether an adapter's name matches a pattern: * stands for any run of bytes, ? for any one
// byte, ASCII letters compare in either case and every other byte exactly.
bool matchesAdapterPattern(std::string_view name, std::string_view pattern);

// Gives the adapter listed under exactly this name (compared byte for byte), or the one whose
// name alone matches the pattern, LANA 0, for scripts: a refresh, the same renumbering command
// the window runs, a second refresh, and then a check that the adapter now shows LANA text
// "0", which the window leaves to the user's eyes. An adapter on LANA 0 already is left alone,
// so that a script may ask at every start. The whole cycle holds the renumbering lock, waited
// for at most the time limit. Each command runs under the time limit; a renumbering command
// still running then is left to finish, since it may be halfway through its change. A
// renumbering command that failed or could not start is named in the NotTaken message, with
// the same hint as the window's when the user may not renumber. A LANA text that is not a
// number is refused, and nothing runs. Errors of the first refresh and of the lock propagate as
// OperationError.
NamedAssignmentResult assignLana0ByName(const AdapterChoice& choice, CommandRunner& runner,
                                        ReportFiles& files, RenumberingLock& lock,
                                        std::chrono::seconds timeLimit, bool userMayRenumber);

// What assignLana0ByName would do, for a dry run: one report, without the lock, and the adapter
// chosen as that run would choose it; nothing else runs. Errors of the report propagate as
// OperationError.
NamedAssignmentResult previewLana0ByName(const AdapterChoice& choice, CommandRunner& runner,
                                         ReportFiles& files, std::chrono::seconds timeLimit);

} // namespace quorvel
