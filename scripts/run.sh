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
# The program file is "orvisto": the catalog folder "Orvisto" lies beside it, and one folder
# cannot hold a file and a folder of the same name.
if [[ -x "$dist/orvisto" ]]; then
  exec "$dist/orvisto" "$@"
fi
echo "The workbench program is not built yet. Built so far:"
find "$build" -maxdepth 3 -type f \( -name '*.a' -o -name '*.so' -o -perm -u+x \) \
  ! -path '*/CMakeFiles/*' ! -name '*.sh' -printf '  %P\n' | sort
