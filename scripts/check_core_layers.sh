#!/usr/bin/env bash
# Lists the include edges between the folders of core/ and fails on every edge that points up
# the layer order written in core/CMakeLists.txt (ORVISTO_CORE_LAYERS, lowest first), printing
# the file and line of each. A folder of core/ missing from the order is an error too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

read -r -a layers < <(sed -n 's/^set(ORVISTO_CORE_LAYERS \(.*\))$/\1/p' core/CMakeLists.txt)
((${#layers[@]})) || { echo "core/CMakeLists.txt names no ORVISTO_CORE_LAYERS"; exit 1; }
declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done

status=0
for dir in core/*/; do
  folder=$(basename "$dir")
  [[ -n ${rank[$folder]+set} ]] || { echo "core/$folder is not in ORVISTO_CORE_LAYERS"; status=1; }
done
((status == 0)) || exit 1

declare -A edges
while IFS=: read -r file line text; do
  from=${file#core/}; from=${from%%/*}
  to=${text#*\"core/}; to=${to%%/*}
  [[ $from == "$to" ]] && continue
  edges["$from -> $to"]=$((${edges["$from -> $to"]:-0} + 1))
  if [[ -z ${rank[$to]+set} || ${rank[$to]} -gt ${rank[$from]} ]]; then
    echo "$file:$line: $from includes $to, which is above it: $text"
    status=1
  fi
done < <(grep -rn --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"core/[a-z_]*/' core | sort)

echo "core layers, lowest first: ${layers[*]}"
for edge in "${!edges[@]}"; do echo "  $edge (${edges[$edge]} lines)"; done | sort
exit $status
