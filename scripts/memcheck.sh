#!/usr/bin/env bash
# Runs the main window's tests (offscreen) under valgrind memcheck: the About window opened
# mid-turn, the window closed mid-search, a computer's move at each difficulty, a game played by
# keys to its win message. Fails on any memory error and on any definite leak whose allocation
# passes through the program's own code; definite leaks inside system libraries are listed but
# do not fail the check.
#
#   scripts/memcheck.sh                 builds build/ (Release) and checks its tst_frmmain
#   scripts/memcheck.sh PATH/TO/BINARY  checks the given tst_frmmain
#
# The full valgrind log is kept in memcheck.log next to the binary.
set -euo pipefail
cd "$(dirname "$0")/.."

binary=${1:-}
if [ -z "$binary" ]; then
    scripts/deps.sh test
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON >/dev/null
    cmake --build build --target tst_frmmain
    binary=build/tests/ui/tst_frmmain
fi
log="$(dirname "$binary")/memcheck.log"

status=0
QT_QPA_PLATFORM=offscreen valgrind --tool=memcheck --error-exitcode=99 --leak-check=full \
    --show-leak-kinds=definite --errors-for-leak-kinds=none --num-callers=40 \
    --suppressions=tests/valgrind.supp \
    --log-file="$log" "$binary" || status=$?

grep -E "ERROR SUMMARY|definitely lost:" "$log" | sed 's/^==[0-9]*== *//'
if [ "$status" -eq 99 ]; then
    echo "memcheck: memory errors, see $log" >&2
    exit 1
elif [ "$status" -ne 0 ]; then
    echo "memcheck: the tests failed (exit status $status), see $log" >&2
    exit 1
fi

# A definite-leak record runs from its heading to the next blank line; it counts against the
# program when any of its frames is in the marlovin namespace or the program's own binary.
own=$(awk -v bin="$(basename "$binary")" '
    /definitely lost in loss record/ { inrec = 1; hit = 0; next }
    inrec && /^==[0-9]+== *$/ { if (hit) n++; inrec = 0; next }
    inrec && (/marlovin::/ || index($0, "/" bin ")")) { hit = 1 }
    END { if (inrec && hit) n++; print n + 0 }' "$log")
if [ "$own" -ne 0 ]; then
    echo "memcheck: $own definite leaks through the program's code, see $log" >&2
    exit 1
fi
echo "memcheck: no errors, no definite leak through the program's code"
