#!/usr/bin/env bash
# The README's examples, run as written, so that a documented example cannot
# break unnoticed.
#
#   tests/readme_examples_test.sh commands <gridsmith-host>
#   tests/readme_examples_test.sh scripts <command that runs gridsmith-host.exe...>
#
# Which blocks run:
# - Only the README's user part: everything above the heading "## The tree".
# - commands: every ```sh block that calls the host as `$host`, in the order
#   of the README in one shell (as a reader would paste them), stopping at the
#   first command that fails. It runs in a fresh directory in which
#   build/native/host/cli/gridsmith-host is the host under test and the files
#   the examples read exist (make_inputs below: an example that reads a new
#   file needs it added there).
# - scripts: every ```text block whose first line is `wait-dialog` is a step
#   script, played through the Windows host with --ui-script.
# Other blocks (setting up, building, an interactive session) are not run.
set -uo pipefail

readme=$(dirname "${BASH_SOURCE[0]}")/../README.md
mode=${1:-}
shift || true
if [[ $mode != commands && $mode != scripts ]] || (($# == 0)); then
  echo "usage: $0 commands <gridsmith-host> | scripts <command...>" >&2
  exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Writes block N of the user part to $work/blocks/N.sh or N.text.
mkdir -p "$work/blocks"
awk -v dir="$work/blocks" '
  /^## The tree/ { exit }
  !inside && /^```(sh|text)$/ { inside = 1; n++; file = dir "/" sprintf("%02d", n) "." substr($0, 4); next }
  inside && /^```$/ { inside = 0; close(file); next }
  inside { print > file }
' "$readme"

# The files the examples read, made by the host itself.
make_inputs() {
  local host=$1
  printf '[Gridsmith]\nRows=5\nCols=3\nTableWidth=360\nTableHeight=150\nLeftMargin=30\nTopMargin=30\n' >my-table.txt
  printf '[Gridsmith]\nRows=6\nCols=4\nTableWidth=400\nTableHeight=180\nLeftMargin=20\nTopMargin=20\n' >invoice-table.txt
  mkdir -p scans
  "$host" --canvas 800x600 --fill C0 --output photo.png &&
    "$host" --canvas 600x400 --output scans/page1.png &&
    "$host" --canvas 500x500 --mode cmyk --output scans/page2.tif
}

run_commands() {
  local host=$1 blocks=() block
  for block in "$work"/blocks/*.sh; do
    [[ -e $block ]] && grep -q '\$host' "$block" && blocks+=("$block")
  done
  ((${#blocks[@]} > 0)) || { echo "FAILED: the README's user part has no \$host example"; return 1; }
  mkdir -p "$work/run/build/native/host/cli"
  ln -s "$(realpath "$host")" "$work/run/build/native/host/cli/gridsmith-host"
  cd "$work/run" || return 1
  make_inputs "$(realpath "$host")" >/dev/null || { echo "FAILED: could not make the examples' inputs"; return 1; }
  # One shell for all blocks, as a reader would paste them; the first failing
  # command ends it, and the trace shows which one it was.
  if ! bash -e -x -c 'for block; do source "$block"; done' readme "${blocks[@]}" >"$work/log" 2>&1; then
    tail -n 30 "$work/log"
    echo "FAILED: a README example failed (above, the last command shown is the one)"
    return 1
  fi
  echo "README: ${#blocks[@]} command blocks ran, $(grep -c '^wrote ' "$work/log") images written"
}

run_scripts() {
  local scripts=0 failed=0 block command=() word
  for word; do  # files named relative to here still name them from the scratch directory
    if [[ -e $word ]]; then command+=("$(realpath "$word")"); else command+=("$word"); fi
  done
  mkdir -p "$work/run"
  cd "$work/run" || return 1
  for block in "$work"/blocks/*.text; do
    [[ -e $block && $(head -n 1 "$block") == wait-dialog* ]] || continue
    scripts=$((scripts + 1))
    cp "$block" steps.txt
    if ! "${command[@]}" --ui-script steps.txt --output table.png >"$work/log" 2>&1; then
      cat "$work/log"
      echo "FAILED: the README's step script $(basename "$block") did not play"
      failed=$((failed + 1))
    fi
  done
  ((scripts > 0)) || { echo "FAILED: the README's user part has no step script"; return 1; }
  echo "README: $scripts step scripts played, $failed failed"
  ((failed == 0))
}

if [[ $mode == commands ]]; then run_commands "$1"; else run_scripts "$@"; fi
