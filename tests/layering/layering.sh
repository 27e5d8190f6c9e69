#!/usr/bin/env bash
# Checks the layers of the sources below the given folder (default: the project's src/): each
# folder includes only its own and earlier folders of the chain
#   platform <- model, inventory <- app <- style <- widgets <- common <- analysis, cleanup
#   <- shell <- main.cpp
# and analysis and cleanup never include each other. Every `#include "…"` line that breaks
# this is printed as "file:line: …", and the exit status is 1 when there is one.
set -euo pipefail
src=${1:-$(cd "$(dirname "$0")/../../src" && pwd)}
cd "$src"

grep -rnE --include='*.cpp' --include='*.hpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' . |
  awk '
    BEGIN {
      split("platform model inventory app style widgets common analysis cleanup shell main.cpp", names, " ")
      split("0 1 1 2 3 4 5 6 6 7 8", ranks, " ")
      for (i in names) rank[names[i]] = ranks[i]
      # Folders of one rank that must not include each other.
      apart["analysis"] = apart["cleanup"] = 1
      broken = 0
    }
    {
      # ./widgets/Card.cpp:3:#include "style/Theme.hpp"
      file = $0; sub(/^\.\//, "", file)
      line = file; sub(/^[^:]*:/, "", line); sub(/:.*/, "", line)
      sub(/:.*/, "", file)
      header = $0; sub(/^[^"]*"/, "", header); sub(/".*/, "", header)
      from = file; sub(/\/.*/, "", from)
      to = header; sub(/\/.*/, "", to)
      where = "src/" file ":" line ": "
      if (!(from in rank)) {
        print where file " lies in no layer"; broken = 1
      } else if (!(to in rank) || to == header) {
        print where "\"" header "\" names no layer"; broken = 1
      } else if (rank[to] > rank[from]) {
        print where from " includes \"" header "\", but " to " comes after " from; broken = 1
      } else if (to != from && rank[to] == rank[from] && (from in apart)) {
        print where from " includes \"" header "\", but " from " and " to " never include each other"
        broken = 1
      }
    }
    END { exit broken }
  '
