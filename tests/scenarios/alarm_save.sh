#!/usr/bin/env bash
# Saving the schedule from the popup menu (opened with a right click, chosen with the
# keyboard) writes the 21 lines; a save that cannot write shows the error box and keeps the
# previous file byte for byte.
set -euo pipefail
source "$(dirname "$0")/lib/alarm.sh"
fail() { echo "$1"; exit 1; }

# Check Monday's box (client 56, 49), then Сохранить настройки, the first item.
save_script="wait 100
click 56 49
rclick 240 250
key Down
key Enter
wait 100
quit"
run 2024-01-01T12:00:00 "$save_script"
ini="$work/app/nastr.ini"
[ -f "$ini" ] || fail "nothing was saved"
[ "$(grep -c $'\r$' "$ini")" = 21 ] || fail "expected 21 CR LF lines"
[ "$(head -n 1 "$ini")" = $'TRUE\r' ] || fail "Monday's box was not saved as TRUE"
[ "$(sed -n 8p "$ini")" = $'07:00:00\r' ] || fail "line 8 is not Monday's time"
[ ! -e "$ini.tmp" ] || fail "the temporary file was left behind"

# The second save clears the box again; the old file must survive a folder it cannot write.
cp "$ini" "$work/before"
as_user=()
if [ "$(id -u)" = 0 ]; then
  # Root ignores permissions: save as an unprivileged user instead.
  command -v setpriv >/dev/null || { echo "setpriv missing"; exit 77; }
  chmod 755 "$work"
  chmod 644 "$work/melody.wav" "$ini"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
chmod 555 "$work/app"
printf '%s\n' "wait 100
click 56 49
rclick 240 250
key Down
key Enter
wait 300
key Enter
wait 100
quit" >"$work/script"
chmod 644 "$work/script"
UTROZVON_BACKEND=headless UTROZVON_SCREEN=800x600 UTROZVON_SCRIPT="$work/script" \
  timeout 30 "${as_user[@]}" "$work/app/utrozvon" 2>"$work/stderr" || fail "the program failed: $(cat "$work/stderr")"
grep -q 'message box "Утрозвон": File access denied\.$' "$work/stderr" || fail "no error box: $(cat "$work/stderr")"
cmp -s "$ini" "$work/before" || fail "the previous settings file changed"
chmod 755 "$work/app"

# A write that runs out of room part-way: the file-size limit stops the temporary file.
long=$(printf '/music/%0300d.wav' 0)
settings TRUE TRUE TRUE TRUE TRUE TRUE TRUE 07:00:00 07:00:00 07:00:00 07:00:00 07:00:00 07:00:00 07:00:00 \
  "$long" "$long" "$long" "$long" "$long" "$long" "$long"
cp "$ini" "$work/before"
(
  trap '' XFSZ
  ulimit -f 1
  run 2024-01-01T12:00:00 "wait 100
rclick 240 250
key Down
key Enter
wait 300
key Enter
wait 100
quit" 2>"$work/stderr"
) || fail "the program failed: $(cat "$work/stderr")"
grep -q 'message box "Утрозвон": Disk full\.$' "$work/stderr" || fail "no disk-full box: $(cat "$work/stderr")"
cmp -s "$ini" "$work/before" || fail "a failed save damaged the settings file"
[ ! -e "$ini.tmp" ] || fail "the failed save left its temporary file"
echo "scenario passed"
