#!/bin/sh
# Passes when the import check refuses PROGRAM and names each of the imports given after it.
# Usage: expect_refused.sh CHECK PROGRAM IMPORT...
check=$1
program=$2
shift 2
if "$check" "$program" 2>refused.txt; then
    echo "the import check accepted $program"
    exit 1
fi
for import in "$@"; do
    grep -qF "$import: first in" refused.txt || { echo "not named: $import"; cat refused.txt; exit 1; }
done
