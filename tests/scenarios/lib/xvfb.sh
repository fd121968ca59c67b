# Sourced by the X11 scenarios: starts an Xvfb of their own on a free display (exported as
# DISPLAY), a work folder in $work, and stops both on exit, with the PIDs in $stop_pids.
work=$(mktemp -d)
stop_pids=
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  for p in $stop_pids $xvfb; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=:$(head -n1 "$work/display")
unset XMODIFIERS UTROZVON_BACKEND
for _ in $(seq 1 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
