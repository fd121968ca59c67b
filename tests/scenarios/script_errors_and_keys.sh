#!/usr/bin/env bash
# Scripted scenarios: a line that cannot be parsed stops the program with exit code 2 and a
# message naming the line; Alt+F4 closes the window; `quit` closes it as its close button would;
# without a display or headless request the program says so and exits 1.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
demo="$build/tools/platform_demo"
export UTROZVON_BACKEND=headless

printf 'wait 10\nclick 5\n' >"$work/bad"
set +e
UTROZVON_SCRIPT="$work/bad" timeout 20 "$demo" 2>"$work/err"
status=$?
set -e
[ "$status" = 2 ] || { echo "bad script: exit $status, expected 2"; exit 1; }
grep -q "line 2" "$work/err" || { echo "the message does not name line 2:"; cat "$work/err"; exit 1; }

printf 'wait 50\nkey Alt+F4\n' >"$work/keys"
UTROZVON_SCRIPT="$work/keys" timeout 20 "$demo" || { echo "Alt+F4 did not end the program cleanly"; exit 1; }

printf 'type Привет\nquit\n' >"$work/quit"
UTROZVON_SCRIPT="$work/quit" timeout 20 "$demo" || { echo "quit did not end the program cleanly"; exit 1; }

set +e
env -u DISPLAY UTROZVON_BACKEND= timeout 20 "$demo" 2>"$work/nodisplay"
status=$?
set -e
[ "$status" = 1 ] && grep -q "DISPLAY" "$work/nodisplay" || { echo "no display: exit $status"; cat "$work/nodisplay"; exit 1; }
echo "scenario passed"
