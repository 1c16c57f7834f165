#!/usr/bin/env bash
# The avelin program as a user starts it: its help and option mistakes need
# no display, a missing display ends it with a clear message (not Qt's
# abort), Qt's start-up notes stay away, and relative paths count from the
# folder it was started in, even though start-up changes the folder.
#   avelin_program_test.sh AVELIN SOURCE_DIR VERSION
set -uo pipefail
avelin=$1
source_dir=$2
version=$3
failed=0

# check NAME STATUS STDOUT_REGEX STDERR_REGEX FOLDER COMMAND...: runs COMMAND
# in FOLDER; "" for a regex means the stream must be empty.
check() {
  local name=$1 status=$2 out_re=$3 err_re=$4 folder=$5
  shift 5
  local out err code
  out=$(cd "$folder" && timeout 30 "$@" 2>"$work/err" </dev/null)
  code=$?
  err=$(cat "$work/err")
  local problem=""
  [ "$code" -eq "$status" ] || problem="status $code, expected $status"
  if [ -z "$out_re" ]; then [ -z "$out" ] || problem+=" unexpected output"
  elif ! grep -Eq "$out_re" <<<"$out"; then problem+=" output does not match /$out_re/"; fi
  if [ -z "$err_re" ]; then [ -z "$err" ] || problem+=" unexpected messages"
  elif ! grep -Eq "$err_re" <<<"$err"; then problem+=" messages do not match /$err_re/"; fi
  if [ -n "$problem" ]; then
    printf 'FAIL %s:%s\n  stdout: %s\n  stderr: %s\n' "$name" "$problem" "$out" "$err"
    failed=1
  else
    echo "ok   $name"
  fi
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$source_dir/examples" "$work/"
bare=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_RUNTIME_DIR)
offscreen=(env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR QT_QPA_PLATFORM=offscreen AVELIN_QUIT_WHEN_SHOWN=1)

check "help needs no display" 0 '^Usage: avelin .*MODE' '' "$work" "${bare[@]}" "$avelin" --help
check "the version" 0 "^avelin ${version//./\\.}\$" '' "$work" "${bare[@]}" "$avelin" --version
check "an unknown option" 2 '' '^avelin: unknown option --colour' "$work" "${bare[@]}" "$avelin" --colour MERGE
check "an unknown option with a value" 2 '' '^avelin: unknown option --colour$' "$work" "${bare[@]}" "$avelin" --colour=red
check "an option without its value" 2 '' '^avelin: option --presentation needs a value' \
  "$work" "${bare[@]}" "$avelin" --presentation
check "an option with an empty value" 2 '' '^avelin: option --addin needs a value' \
  "$work" "${bare[@]}" "$avelin" --addin "" MERGE
check "no display" 1 '' '^avelin: no display \(DISPLAY and WAYLAND_DISPLAY are not set\)' \
  "$work" "${bare[@]}" "$avelin" --addin examples/addin MERGE
check "a display that is not there" 1 '' '^avelin: no display \(could not connect to display :65534\)' \
  "$work" "${bare[@]}" DISPLAY=:65534 "$avelin" --addin examples/addin MERGE
check "another mode opens no window" 0 '' '' "$work" "${offscreen[@]}" "$avelin" --addin examples/addin REPORT
check "relative options" 0 '^merge window shown$' '' "$work" \
  "${offscreen[@]}" "$avelin" --addin examples/addin --presentation "examples/presentation/Demo Meeting.ppt" MERGE
check "relative environment" 0 '^manual data window shown$' '' "$work/examples" \
  "${offscreen[@]}" AVELIN_ADDIN=addin "AVELIN_PRESENTATION=presentation/Demo Meeting.ppt" "$avelin" CREATE
check "an option before the environment" 0 '^merge window shown$' '' "$work" \
  "${offscreen[@]}" AVELIN_ADDIN=/nowhere AVELIN_PRESENTATION= "$avelin" --addin examples/addin MERGE
exit "$failed"
