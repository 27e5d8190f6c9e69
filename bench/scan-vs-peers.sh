#!/usr/bin/env bash
# Times Dorvale's scan of one warm tree, on the threads it chooses and on one thread, against
# `du -s`, `ncdu -0 -o /dev/null` and `gdu -n -p -s`, and prints wall times, ratios and peak
# memory (GNU time's maximum resident set size) of each. It first checks that the scan counts
# the tree's bytes exactly as `du -s -B1` does, and stops with an error when it does not.
#
# Only what the build needs and GNU time are installed: ncdu and gdu are measured when they
# are installed already, and their figures read "not measured" otherwise.
#
# Usage: bench/scan-vs-peers.sh [tree]
# A missing or empty tree folder is filled with the default synthetic tree (1,000,000 files);
# without an argument the tree lives in /tmp/dorvale-scan-tree and is kept for the next run.
# RUNS (default 5) sets how many timed rounds run; each tool's median counts.
# THREADS sets the threads of the first of our two runs (default: as many as ours chooses for
# the tree, which is one on a disk the kernel calls rotational, as virtual disks often are).
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
tree=${1:-/tmp/dorvale-scan-tree}
tree=${tree%/}
tree=${tree:-/}
runs=${RUNS:-5}

install_missing() {
  local missing=()
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    local sudo=()
    if ((EUID != 0)); then sudo=(sudo); fi
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

install_missing coreutils time

# The release build, without -Werror: at -O3 g++ 12 raises false -Wrestrict warnings.
"$top/scripts/setup" release -DDORVALE_WERROR=OFF >/dev/null
cmake --build "$top/build/release" --target dorvale_scan_tree dorvale_scan_bench >/dev/null
bin=$top/build/release/bench

if [[ -d $tree && -z $(ls -A "$tree") ]]; then
  rmdir "$tree"
fi
if [[ ! -e $tree ]]; then
  rm -rf "$tree.partial"
  echo "Generating the default tree in $tree…"
  "$bin/dorvale_scan_tree" "$tree"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tools=(scan scan1 walk du)
for peer in ncdu gdu; do
  if command -v "$peer" >/dev/null; then
    tools+=("$peer")
  else
    echo "$peer: not measured (not installed)"
  fi
done

# Sets `command` to the command line of one tool.
command_of() {
  case $1 in
    scan) command=("$bin/dorvale_scan_bench" ${THREADS:+--threads "$THREADS"} "$tree") ;;
    scan1) command=("$bin/dorvale_scan_bench" --threads 1 "$tree") ;;
    walk) command=("$bin/dorvale_scan_bench" --walk-only "$tree") ;;
    du) command=(du -s "$tree") ;;
    ncdu) command=(ncdu -0 -o /dev/null "$tree") ;;
    gdu) command=(gdu -n -p -s "$tree") ;;
  esac
}

# Runs one tool once; appends its wall seconds and peak RSS (KiB) to its record.
measure() {
  local tool=$1 start end command
  command_of "$tool"
  start=$EPOCHREALTIME
  /usr/bin/time -f %M -o "$work/$tool.rss" "${command[@]}" >"$work/$tool.out" 2>/dev/null
  end=$EPOCHREALTIME
  echo "$start $end $(tail -n 1 "$work/$tool.rss")" |
    awk '{ printf "%.4f %d\n", $2 - $1, $3 }' >>"$work/$tool.runs"
}

median() {
  sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# A fast count is worth nothing unless it is right: the scan and the bare walk must find the
# tree's allocated bytes exactly as du does. These runs also warm the caches.
echo "Checking the totals against du -s -B1…"
du_bytes=$(du -s -B1 "$tree" | cut -f1)
for tool in scan scan1 walk; do
  command_of "$tool"
  counted=$("${command[@]}" | grep -o ' bytes=[0-9]*' | cut -d= -f2) || true
  if [[ $counted != "$du_bytes" ]]; then
    echo "FAILED: $tool counted ${counted:-nothing} bytes in $tree where du -s -B1 counts $du_bytes" >&2
    exit 1
  fi
done
echo "All count $du_bytes bytes, as du does."

for ((round = 1; round <= runs; ++round)); do
  for tool in "${tools[@]}"; do
    measure "$tool"
  done
done

declare -A seconds rss
for tool in "${tools[@]}"; do
  seconds[$tool]=$(cut -d' ' -f1 "$work/$tool.runs" | median)
  rss[$tool]=$(cut -d' ' -f2 "$work/$tool.runs" | sort -n | tail -n 1)
done

echo
echo "Tree: $tree ($runs rounds, median wall time, largest peak RSS)"
cat "$work/scan.out"
printf '%-6s %9s %9s %9s\n' tool seconds scan/tool rss_mib
for tool in "${tools[@]}"; do
  awk -v t="$tool" -v s="${seconds[$tool]}" -v o="${seconds[scan]}" -v r="${rss[$tool]}" \
    'BEGIN { printf "%-6s %9.3f %9.3f %9.1f\n", t, s, o / s, r / 1024 }'
done
echo

# Our time over a tool's: below 1 is faster. "not_measured" for a tool that is not installed.
ratio() {
  local ours=$1 tool=$2
  if [[ -n ${seconds[$tool]:-} ]]; then
    awk -v a="${seconds[$ours]}" -v b="${seconds[$tool]}" 'BEGIN { printf "%.2f", a / b }'
  else
    printf not_measured
  fi
}

bytes_per_node=$(grep -o 'bytes_per_node=[0-9.]*' "$work/scan.out" | cut -d= -f2)
for ours in scan scan1; do
  [[ $ours == scan1 ]] && printf 'threads=1 '
  printf 'scan/du=%s scan/ncdu=%s scan/gdu=%s' "$(ratio "$ours" du)" "$(ratio "$ours" ncdu)" \
    "$(ratio "$ours" gdu)"
  awk -v rss="${rss[$ours]}" -v bpn="$bytes_per_node" \
    'BEGIN { printf " rss_mib=%.1f bytes_per_node=%.0f\n", rss / 1024, bpn }'
done
