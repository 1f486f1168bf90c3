#pragma once

namespace lanacfg {

// Test hook: LANACFG_TEST_PAUSE_BEFORE_RENAME=ms holds a change, lock held, between writing
// the temporary file and moving it over the state file, so tests can catch a run at exactly
// that moment. The milliseconds to pause: 0 unless set to one to five decimal digits.
int pauseBeforeRenameMilliseconds();

} // namespace lanacfg
