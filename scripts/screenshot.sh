#!/usr/bin/env bash
# Screenshots of the program under a virtual X server, to look at its windows.
#
#   scripts/screenshot.sh [build folder] [output folder] [delay ...]
#
# Starts the program from the build folder (default: build) on a 1024x768
# virtual screen with a small window manager (so that captions show), and
# saves the whole screen after each delay in seconds (default: 0.4 3) as
# shot-1.png, shot-2.png, ... in the output folder (default: shots).
#
# Needs, besides xvfb and xauth: x11-apps (xwd), imagemagick (convert) and,
# for title bars, a window manager (openbox, or twm). They are only for looking; building and testing do
# not need them.
set -euo pipefail

build=${1:-build}
out=${2:-shots}
shift $(( $# > 2 ? 2 : $# )) || true
delays=("$@")
[ ${#delays[@]} -eq 0 ] && delays=(0.4 3)

for tool in xvfb-run xwd convert; do
  command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
[ -x "$build/zolmiv" ] || { echo "no program: $build/zolmiv" >&2; exit 1; }
mkdir -p "$out"
out=$(cd "$out" && pwd)

export SHOT_BUILD=$build SHOT_OUT=$out SHOT_DELAYS="${delays[*]}"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -u
  wm=""
  for w in openbox twm; do
    if command -v "$w" >/dev/null; then "$w" >/dev/null 2>&1 & wm=$!; sleep 0.5; break; fi
  done
  cd "$SHOT_BUILD"
  ./zolmiv & prog=$!
  n=0; last=0
  for d in $SHOT_DELAYS; do
    n=$((n + 1))
    sleep "$(awk -v a="$d" -v b="$last" "BEGIN { d = a - b; print (d > 0 ? d : 0) }")"
    last=$d
    xwd -root -silent | convert xwd:- "png:$SHOT_OUT/shot-$n.png"
    echo "$SHOT_OUT/shot-$n.png"
  done
  kill "$prog" 2>/dev/null || true
  [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
'
