#!/usr/bin/env bash
# Makes the launcher's background music: three calm ambient pads of our own,
# synthesised with sox (chords of soft tones, slow tremolo, reverb, fades so
# that the loop joins quietly). Writes dist/.config/audio/*.mp3.
set -euo pipefail
out=${1:-"$(cd "$(dirname "$0")/.." && pwd)/dist/.config/audio"}
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# pad NAME SECONDS NOTE... : one chord held for the whole track.
pad() {
  local name=$1 seconds=$2
  shift 2
  local parts=()
  for note in "$@"; do
    sox -q -n -r 44100 -c 1 "$tmp/$name-$note.wav" synth "$seconds" sine "$note" vol 0.12
    parts+=("$tmp/$name-$note.wav")
  done
  sox -q -m "${parts[@]}" "$tmp/$name-mix.wav"
  sox -q "$tmp/$name-mix.wav" -c 2 "$tmp/$name.wav" \
    tremolo 0.08 40 reverb 80 60 100 lowpass 1800 fade q 6 "$seconds" 8 norm -6
  sox -q "$tmp/$name.wav" -C 48 "$out/$name.mp3"
}

pad night_ridge 48 110 164.81 220 277.18 329.63
pad still_water 42 98 146.83 196 246.94 293.66
pad cold_lights 54 87.31 130.81 174.61 220 261.63
ls -l "$out"
