# Shared set-up for the alarm clock scenarios: a folder with a copy of the program (its
# settings file lives beside it), a short melody, and a runner on the headless screen whose
# melodies are recorded into WAV files.
build=$1
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/app"
cp "$build/utrozvon" "$work/app/utrozvon"
sox -n -r 44100 -c 2 -b 16 "$work/melody.wav" synth 0.5 sine 440 2>/dev/null

# settings LINE... : writes nastr.ini with CR LF endings.
settings() {
  : >"$work/app/nastr.ini"
  for line in "$@"; do printf '%s\r\n' "$line" >>"$work/app/nastr.ini"; done
}

# run NOW SCRIPT-TEXT: runs the program until the script quits it.
run() {
  printf '%s\n' "$2" >"$work/script"
  UTROZVON_BACKEND=headless UTROZVON_SCREEN=800x600 UTROZVON_NOW="$1" UTROZVON_SCRIPT="$work/script" \
    UTROZVON_AUDIO_SINK="audioconvert ! audioresample ! audio/x-raw,format=S16LE,rate=44100,channels=2 ! wavenc ! filesink location=$work/out-%n.wav" \
    timeout 30 "$work/app/utrozvon"
}

recorded() { ls "$work"/out-*.wav 2>/dev/null | wc -l; }

# Frames of PCM in a WAV file the sink wrote (16-bit stereo).
frames() { echo $(( ($(stat -c %s "$1") - 44) / 4 )); }

# Number of distinct colours in the status bar's first panel: text makes more than two.
# The window is centred on the 800 x 600 screen: its client area starts at (156, 163).
status_path_colours() {
  /usr/bin/convert "$1" -crop 300x11+162+440 +repage -format '%k' info:
}
