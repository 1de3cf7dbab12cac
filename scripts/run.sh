#!/usr/bin/env bash
# Builds the release configuration, lays out the program directory build/release/dist and
# starts the workbench from it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"

dist="$build/dist"
if [[ -x "$dist/Orvisto" ]]; then
  exec "$dist/Orvisto" "$@"
fi
echo "The workbench program is not built yet. Built so far:"
find "$build" -maxdepth 3 -type f \( -name '*.a' -o -name '*.so' -o -perm -u+x \) \
  ! -path '*/CMakeFiles/*' ! -name '*.sh' -printf '  %P\n' | sort
