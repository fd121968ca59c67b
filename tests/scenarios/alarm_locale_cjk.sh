#!/usr/bin/env bash
# Under a Japanese locale, whose time format writes 時, 分 and 秒 after the fields, the default
# alarm text "07:00:00" still rings, and a melody path in Japanese is played and shown.
# The separator once came out as 時, so the alarm never rang.
set -euo pipefail
source "$(dirname "$0")/lib/alarm.sh"
fail() { echo "$1"; exit 1; }

locale -a 2>/dev/null | grep -qix 'ja_JP.utf8' || { echo "ja_JP.UTF-8 not generated (scripts/setup.sh)"; exit 77; }
export LC_ALL=ja_JP.UTF-8

mkdir -p "$work/音楽"
cp "$work/melody.wav" "$work/音楽/朝の歌.wav"
settings TRUE FALSE FALSE FALSE FALSE FALSE FALSE 07:00:00 07:00:00 07:00:00 07:00:00 07:00:00 07:00:00 07:00:00 \
  "$work/音楽/朝の歌.wav" "" "" "" "" "" ""

# 1 January 2024 is a Monday. The first tick comes a second after the start.
run 2024-01-01T06:59:59.300 "wait 1800
shot $work/fired.png
quit"
[ "$(recorded)" = 1 ] || fail "expected one melody under ja_JP, got $(recorded)"
[ "$(status_path_colours "$work/fired.png")" -gt 2 ] || fail "the status bar does not show the path"
echo "scenario passed"
