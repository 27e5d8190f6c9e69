#!/usr/bin/env bash
# Compares Dorvale's duplicate finder, on the threads it chooses and on one thread, with
# jdupes, fdupes, rdfind and rmlint on one warm tree: wall time (best of $RUNS rounds, default
# 3) and peak memory (largest of the rounds) of each, measured with GNU time, and whether our
# duplicate sets are exactly those that rmlint and rdfind find, and those of one thread. Ends
# with a line of ratios of our time to each tool's (below 1 means faster) and the verdicts on
# the sets, then the same ratios for one thread.
#
# Only what the build needs and GNU time are installed: a peer is measured when it is
# installed already, and its figures read "not measured" otherwise.
#
# Every tool is given the same task: hidden files and folders are searched (rmlint skips them
# unless told), empty files are left out (ours is run with a minimum size of 1 byte, fdupes
# and rdfind are told to skip them, jdupes does by default, rmlint looks for duplicate files
# only, not for empty ones), and of several hard links to one file only one counts (rdfind
# and fdupes do so by default, rmlint when told; jdupes lists every name, so hard links in the
# tree would set it apart).
#
# Usage: bench/dupes-vs-peers.sh [TREE]
# Without TREE, the generated duplicates tree under /tmp/dorvale-dupes is used, and made first
# when it is not there yet (about 3 GB). Set comparison reads paths line by line, so the tree's
# names must not hold tabs or line feeds (the generated tree's never do).
# THREADS sets the threads of the first of our two runs (default: as many as ours chooses for
# the tree, which is one on a disk the kernel calls rotational, as virtual disks often are).
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
runs=${RUNS:-3}
tools=(dupes dupes1)

find_peers() {
  local tool
  for tool in jdupes fdupes rdfind rmlint; do
    if command -v "$tool" >/dev/null; then
      tools+=("$tool")
    else
      echo "$tool: not measured (not installed)" >&2
    fi
  done
  if [[ ! -x /usr/bin/time ]]; then
    local sudo=()
    ((EUID == 0)) || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends time
  fi
}

build() {
  (cd "$top" && scripts/setup release &&
    cmake --build --preset release --target dorvale_dupes_tree dorvale_dupes_bench >/dev/null)
}

# The marker names the generator's version, so that a tree left by an older one is made again.
default_tree() {
  local base=/tmp/dorvale-dupes
  if [[ ! -e $base/complete-2 ]]; then
    rm -rf "$base"
    mkdir -p "$base"
    echo "Generating the duplicates tree in $base/tree" >&2
    "$top/build/release/bench/dorvale_dupes_tree" "$base/tree" >&2
    touch "$base/complete-2"
  fi
  echo "$base/tree"
}

# Sets `command` to the command line of one tool.
command_of() {
  case $1 in
    dupes) command=("$top/build/release/bench/dorvale_dupes_bench" ${THREADS:+--threads "$THREADS"} "$tree" 1) ;;
    dupes1) command=("$top/build/release/bench/dorvale_dupes_bench" --threads 1 "$tree" 1) ;;
    jdupes) command=(jdupes -r -q "$tree") ;;
    fdupes) command=(fdupes -r -q -n "$tree") ;;
    rdfind) command=(rdfind -dryrun true -ignoreempty true -outputname "$work/rdfind.txt" "$tree") ;;
    rmlint) command=(rmlint --hidden --no-hardlinked -T df -o "fdupes:$work/rmlint.txt" "$tree") ;;
  esac
}

# Runs one tool under GNU time, in the scratch folder (where rdfind and rmlint write), and
# keeps its best wall time and largest peak memory.
measure() {
  local tool=$1 seconds kilobytes command=()
  command_of "$tool"
  if ! (cd "$work" && /usr/bin/time -f '%e %M' -o "$work/$tool.time" "${command[@]}" \
    >"$work/$tool.out" 2>"$work/$tool.err"); then
    echo "$tool failed:" >&2
    cat "$work/$tool.err" >&2
    exit 1
  fi
  read -r seconds kilobytes < <(tail -n 1 "$work/$tool.time")
  if [[ -z ${best[$tool]:-} ]] || awk -v a="$seconds" -v b="${best[$tool]}" 'BEGIN { exit !(a < b) }'; then
    best[$tool]=$seconds
  fi
  if [[ -z ${peak[$tool]:-} ]] || ((kilobytes > peak[$tool])); then
    peak[$tool]=$kilobytes
  fi
}

# Lines "group<TAB>path" to one line per group (its paths sorted, joined by tabs), sorted.
join_groups() {
  LC_ALL=C sort -t $'\t' -k1,1 -k2 |
    awk -F '\t' '$1 != group { if (NR > 1) print line; group = $1; line = $2; next }
                 { line = line "\t" $2 }
                 END { if (NR > 0) print line }' |
    LC_ALL=C sort
}

# Groups written as paths one per line with a blank line between groups.
blocks_to_sets() {
  awk 'BEGIN { group = 1 } /^$/ { group++; next } { print group "\t" $0 }' "$1" | join_groups
}

# rdfind's results: the duplicates of one file share its id, negated.
rdfind_to_sets() {
  grep -v '^#' "$1" | sed -E 's/^[^ ]+ -?([0-9]+) ([^ ]+ ){5}/\1\t/' | join_groups
}

sets_of() {
  case $1 in
    rdfind) rdfind_to_sets "$work/rdfind.txt" ;;
    rmlint) blocks_to_sets "$work/rmlint.txt" ;;
    *) blocks_to_sets "$work/$1.out" ;;
  esac
}

# Our time over a tool's: below 1 is faster. "not_measured" for a tool that is not installed.
ratio() {
  local ours=$1 tool=$2
  if [[ -n ${best[$tool]:-} ]]; then
    awk -v a="${best[$ours]}" -v b="${best[$tool]}" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'
  else
    printf not_measured
  fi
}

# Whether our sets are exactly those of every one of the tools that was measured.
same_sets_as() {
  local tool measured=0
  for tool in "$@"; do
    [[ -e $work/$tool.sets ]] || continue
    measured=1
    cmp -s "$work/dupes.sets" "$work/$tool.sets" || { printf no; return; }
  done
  ((measured)) && printf yes || printf not_measured
}

find_peers
build
tree=$(realpath "${1:-$(default_tree)}")
work=$(mktemp -d /tmp/dorvale-dupes-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
declare -A best peak

# Reading every file, and a first round of every tool, leave data and metadata cached.
echo "Warming $tree" >&2
find "$tree" -type f -print0 | xargs -0 cat >/dev/null
for tool in "${tools[@]}"; do
  measure "$tool"
done
best=()
peak=()
echo "Measuring $runs rounds" >&2
for ((round = 1; round <= runs; round++)); do
  for tool in "${tools[@]}"; do
    measure "$tool"
  done
done

sets_of dupes >"$work/dupes.sets"
printf '%-8s %9s %14s %8s %8s  %s\n' tool "wall (s)" "peak RSS (MB)" groups files "same sets as ours"
for tool in "${tools[@]}"; do
  sets_of "$tool" >"$work/$tool.sets"
  same=-
  if [[ $tool != dupes ]]; then
    cmp -s "$work/dupes.sets" "$work/$tool.sets" && same=yes || same=no
  fi
  printf '%-8s %9s %14s %8s %8s  %s\n' "$tool" "${best[$tool]}" \
    "$(awk -v k="${peak[$tool]}" 'BEGIN { printf "%.1f", k * 1024 / 1e6 }')" \
    "$(wc -l <"$work/$tool.sets")" "$(tr '\t' '\n' <"$work/$tool.sets" | grep -c .)" "$same"
done
echo "dupes: $(cat "$work/dupes.err")"

for ours in dupes dupes1; do
  [[ $ours == dupes1 ]] && printf 'threads=1 '
  echo "dupes/jdupes=$(ratio "$ours" jdupes) dupes/fdupes=$(ratio "$ours" fdupes)" \
    "dupes/rdfind=$(ratio "$ours" rdfind) dupes/rmlint=$(ratio "$ours" rmlint)" \
    "same_sets=$(same_sets_as rmlint rdfind) same_as_one_thread=$(same_sets_as dupes1)"
done
