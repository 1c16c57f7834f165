#!/usr/bin/env bash
# Runs the documentation's examples as a newcomer would: every line of every
# code block that follows a line starting with "<!-- example", in README.md
# and then in each docs/*.md in name order, each page in its own order, from
# the root of a scratch copy of the repository's examples/ (so
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
marked_commands() {
  awk '
  /^<!-- example/ { marked = 1; next }
  /^```/ { if (inside) { inside = 0 } else if (marked) { inside = 1 } marked = 0; next }
  !inside { if ($0 !~ /^[[:space:]]*$/) marked = 0; next }
  {
    line = pending $0
    if (line ~ /\\$/) { pending = substr(line, 1, length(line) - 1); next }
    pending = ""
    if (line !~ /^[[:space:]]*(#|$)/) print line
  }' "$1"
}
pages=("$source_dir/README.md")
mapfile -t -O 1 pages < <(LC_ALL=C ls "$source_dir"/docs/*.md 2>/dev/null)
commands=() # the commands of every page in turn; pages_of[i] names command i's page
pages_of=()
for page in "${pages[@]}"; do
  mapfile -t -O "${#commands[@]}" commands < <(marked_commands "$page")
  while [ ${#pages_of[@]} -lt ${#commands[@]} ]; do pages_of+=("${page#"$source_dir"/}"); done
done
if [ ${#commands[@]} -eq 0 ]; then
  echo "readme_examples: no marked example in $source_dir/README.md or $source_dir/docs/*.md" >&2
  exit 1
fi

failed=0
for i in "${!commands[@]}"; do
  command=${commands[i]}
  echo "\$ $command    (${pages_of[i]})"
  output=$(cd "$scratch" && PATH="$scratch/.bin:$PATH" QT_QPA_PLATFORM=offscreen AVELIN_QUIT_WHEN_SHOWN=1 \
    timeout 60 bash -c "$command" 2>&1 </dev/null)
  status=$?
  echo "$output" | sed 's/^/  /'
  if [ "$status" -ne 0 ]; then
    echo "readme_examples: FAILED with status $status: $command (${pages_of[i]})" >&2
    failed=1
  elif [[ "$command" =~ (^|[/[:space:]])avelin[[:space:]].*(MERGE|CREATE) ]] && ! grep -q "window shown" <<<"$output"; then
    echo "readme_examples: FAILED: no window was shown: $command (${pages_of[i]})" >&2
    failed=1
  fi
done
echo "readme_examples: ${#commands[@]} commands run"
exit "$failed"
