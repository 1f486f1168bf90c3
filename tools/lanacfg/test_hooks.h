#pragma once

namespace lanacfg {

// Test hook: LANACFG_TEST_PAUSE_BEFORE_RENAME=ms holds a change, lock held, between writing
// the temporary file and moving it over the state file, so tests can catch a run at exactly
// that moment. The milliseconds to pause: 0 unless set to one to five decimal digits.
int pauseBeforeRenameMilliseconds();

// Test hook: LANACFG_TEST_PAUSE_BEFORE_CHANGE=ms slows setlananumber down before it takes its
// lock, so that tests can run two changes over the same table, each from what it last read.
// The milliseconds as above.
int pauseBeforeChangeMilliseconds();

} // namespace lanacfg
