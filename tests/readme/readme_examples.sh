#!/usr/bin/env bash
# Runs the README's examples as a newcomer would: every line of every code
# block that follows a line starting with "<!-- example", in the README's
# order, from the root of a scratch copy of the repository's examples/ (so
# the repository stays untouched), with "build/src/avelin",
# "build/src/cli/avelin-rec" and a bare "avelin" or "avelin-rec" standing
# for the programs of this build. A line ending in "\" goes on in the next.
# Each line must end with status 0 within a minute; a line that opens a
# window (the avelin program with MERGE or CREATE) runs on the offscreen
# platform and must report that its window was painted.
#   readme_examples.sh SOURCE_DIR AVELIN_REC AVELIN
set -uo pipefail
source_dir=$1
rec=$(realpath "$2")
avelin=$(realpath "$3")

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp -r "$source_dir/examples" "$scratch/"
mkdir -p "$scratch/build/src/cli" "$scratch/.bin"
for link in "$scratch/build/src/cli/avelin-rec" "$scratch/.bin/avelin-rec"; do ln -s "$rec" "$link"; done
for link in "$scratch/build/src/avelin" "$scratch/.bin/avelin"; do ln -s "$avelin" "$link"; done

# The marked blocks' lines, continuations joined, one command a line.
mapfile -t commands < <(awk '
  /^<!-- example/ { marked = 1; next }
  /^```/ { if (inside) { inside = 0 } else if (marked) { inside = 1 } marked = 0; next }
  !inside { if ($0 !~ /^[[:space:]]*$/) marked = 0; next }
  {
    line = pending $0
    if (line ~ /\\$/) { pending = substr(line, 1, length(line) - 1); next }
    pending = ""
    if (line !~ /^[[:space:]]*(#|$)/) print line
  }' "$source_dir/README.md")
if [ ${#commands[@]} -eq 0 ]; then
  echo "readme_examples: no marked example in $source_dir/README.md" >&2
  exit 1
fi

failed=0
for command in "${commands[@]}"; do
  echo "\$ $command"
  output=$(cd "$scratch" && PATH="$scratch/.bin:$PATH" QT_QPA_PLATFORM=offscreen AVELIN_QUIT_WHEN_SHOWN=1 \
    timeout 60 bash -c "$command" 2>&1 </dev/null)
  status=$?
  echo "$output" | sed 's/^/  /'
  if [ "$status" -ne 0 ]; then
    echo "readme_examples: FAILED with status $status: $command" >&2
    failed=1
  elif [[ "$command" =~ (^|[/[:space:]])avelin[[:space:]].*(MERGE|CREATE) ]] && ! grep -q "window shown" <<<"$output"; then
    echo "readme_examples: FAILED: no window was shown: $command" >&2
    failed=1
  fi
done
echo "readme_examples: ${#commands[@]} commands run"
exit "$failed"
