#!/usr/bin/env bash
# Runs the layering check on a small tree of sources that breaks the layers in each way it
# can, and once more on a tree that keeps them, and compares what it reports.
set -euo pipefail
check=$(cd "$(dirname "$0")" && pwd)/layering.sh
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/{platform,app,style,widgets,common,analysis,cleanup,shell/tray}

printf '#include "style/Theme.hpp"\n#include "app/AppState.hpp"\n' >"$tree/widgets/Card.cpp"
printf '#include "shell/tray/Panel.hpp"\n' >"$tree/widgets/Ring.hpp"
printf '#include "cleanup/JunkView.hpp"\n' >"$tree/analysis/Explorer.cpp"
printf '  #  include "widgets/Card.hpp"\n#include "common/Prompt.hpp"\n' >"$tree/cleanup/JunkView.cpp"
printf '#include "platform/Paths.hpp"\n#include "Local.hpp"\n' >"$tree/platform/Paths.cpp"
printf '#include "widgets/Card.hpp"\n' >"$tree/shell/tray/Panel.cpp"
printf '#include "shell/RootView.hpp"\n' >"$tree/main.cpp"
printf '#include "app/AppState.hpp"\n' >"$tree/Stray.cpp"

expected='src/Stray.cpp:1: Stray.cpp lies in no layer
src/analysis/Explorer.cpp:1: analysis includes "cleanup/JunkView.hpp", but analysis and cleanup never include each other
src/platform/Paths.cpp:2: "Local.hpp" names no layer
src/widgets/Ring.hpp:1: widgets includes "shell/tray/Panel.hpp", but shell comes after widgets'
if actual=$("$check" "$tree" | sort); then
  echo "The check passed a tree that breaks the layers" >&2
  exit 1
fi
if [[ "$actual" != "$expected" ]]; then
  printf 'Expected:\n%s\nReported:\n%s\n' "$expected" "$actual" >&2
  exit 1
fi

rm "$tree/Stray.cpp" "$tree/analysis/Explorer.cpp" "$tree/platform/Paths.cpp" "$tree/widgets/Ring.hpp"
if ! report=$("$check" "$tree"); then
  printf 'The check refused a tree that keeps the layers:\n%s\n' "$report" >&2
  exit 1
fi
