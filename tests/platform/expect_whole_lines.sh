#!/bin/sh
# Passes when two log_writer processes, appending ten long lines each to one run log at once,
# leave twenty whole lines ended by ENDING (lf or crlf), and when a log in a folder that does not
# exist is an error that names it. Usage: expect_whole_lines.sh lf|crlf [EMULATOR...] LOG_WRITER
ending=$1
shift
line() { printf 'writer %s\t%s' "$1" "$(head -c 9000 /dev/zero | tr '\0' "$1")"; }
rm -f runs.log
"$@" append runs.log "$(line a)" &
"$@" append runs.log "$(line b)" || { echo "the second writer failed"; exit 1; }
wait $! || { echo "the first writer failed"; exit 1; }
for writer in a b; do
    for i in 1 2 3 4 5 6 7 8 9 10; do line $writer; [ "$ending" = lf ] || printf '\r'; echo; done
done >expected.log
LC_ALL=C sort runs.log | cmp -s - expected.log || { echo "runs.log holds other lines"; exit 1; }

missing="no such folder/runs.log"
if error=$("$@" append "$missing" line 2>&1); then echo "wrote to $missing"; exit 1; fi
case $error in
    *"Could not write the log file \"$missing\": "*) ;;
    *) echo "no error naming $missing: $error"; exit 1 ;;
esac
