#!/usr/bin/env bash
# The layer checker itself: it must pass a tree that follows its layers.txt and fail each kind of
# fault (an include upward, between two folders of one line, of a view, of a Windows header).
set -euo pipefail
checker="$(dirname "$0")/../../scripts/check-layers"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_tree() {
  rm -rf "$work/src"
  mkdir -p "$work/src/low" "$work/src/mid" "$work/src/side" "$work/src/high/win32"
  printf 'low\nmid side\nhigh\n' >"$work/src/layers.txt"
  echo '#pragma once' >"$work/src/low/a.h"
  printf '#include "low/a.h"\n' >"$work/src/mid/b.h"
  echo '#pragma once' >"$work/src/side/c.h"
  printf '#include "mid/b.h"\n#include "side/c.h"\n#include <vector>\n' >"$work/src/high/d.h"
  printf '#include <windows.h>\n#include "high/d.h"\n' >"$work/src/high/win32/e.cpp"
}

make_tree
python3 "$checker" "$work/src" >/dev/null || { echo "a sound tree was refused"; exit 1; }

faults=(
  'low/a.h|#include "mid/b.h"|includes a higher layer'
  'mid/b.h|#include "side/c.h"|a folder of its own layer'
  'low/a.h|#include "high/win32/e.cpp"|includes the Win32 view'
  'mid/b.h|#include <windows.h>|includes <windows.h>'
)
for row in "${faults[@]}"; do
  IFS='|' read -r file line expected <<<"$row"
  make_tree
  echo "$line" >>"$work/src/$file"
  if out=$(python3 "$checker" "$work/src"); then
    echo "not caught: $line in $file"; exit 1
  fi
  grep -q "$expected" <<<"$out" || { echo "wrong report for $line in $file: $out"; exit 1; }
done
echo "layer checker: sound tree passes, ${#faults[@]} faults caught"
