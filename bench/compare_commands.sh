#!/usr/bin/env bash
# Runs two builds of project_commands_bench alternately, a few rounds each at a time, and prints
# the median of every figure for both side by side.
#
#   bench/compare_commands.sh OLD_BUILD NEW_BUILD [RUNS [ROUNDS PER RUN]]
# A build is a release build folder (its bench/project_commands_bench and its dist/). To
# compare with an earlier commit, build the same benchmark on that commit's code apart, e.g.:
#   mkdir -p build/old-src && git archive <commit> | tar -x -C build/old-src
#   cp bench/project_commands_bench.cpp bench/bench_files.h bench/CMakeLists.txt build/old-src/bench/
#   cmake -S build/old-src -B build/old -G Ninja -DCMAKE_BUILD_TYPE=Release \
#     -DCMAKE_CXX_FLAGS=-DORVISTO_BENCH_BASELINE   # for code without WaitForDroppedProjects
#   cmake --build build/old --target project_commands_bench orvisto_catalog
#   bench/compare_commands.sh build/old build/release
set -euo pipefail
old=${1:?old build folder}
new=${2:?new build folder}
runs=${3:-7}
rounds=${4:-3}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

for ((i = 0; i < runs; ++i)); do
  for side in old new; do
    build=${!side}
    "$build/bench/project_commands_bench" "$build/dist" "$rounds" | awk -v side="$side" '$1 == "round" { print side, $3, $4 }' >>"$out/figures"
  done
done

awk -v runs="$runs" -v rounds="$rounds" '
  function median(side, name,    n, i, j, t, v) {
    n = count[side, name]
    for (i = 1; i <= n; ++i) v[i] = value[side, name, i]
    for (i = 2; i <= n; ++i) for (j = i; j > 1 && v[j - 1] > v[j]; --j) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
  }
  {
    value[$1, $2, ++count[$1, $2]] = $3
    if (!($2 in seen)) { seen[$2] = 1; names[++order] = $2 }
  }
  END {
    printf "medians of %d rounds each, in %d alternating runs of %d (ms)\n", runs * rounds, runs, rounds
    printf "%-20s %10s %10s %8s\n", "figure", "old", "new", "new/old"
    for (k = 1; k <= order; ++k) {
      o = median("old", names[k]); n = median("new", names[k])
      printf "%-20s %10.1f %10.1f %8.2f\n", names[k], o, n, n / o
    }
    # The open against its floor, the raw read of the same file in the same run.
    split("old new", both, " ")
    split("cold warm", kinds, " ")
    for (s = 1; s <= 2; ++s) {
      for (k = 1; k <= 2; ++k) {
        m = count[both[s], "open_" kinds[k]]
        for (i = 1; i <= m; ++i) r[i] = value[both[s], "open_" kinds[k], i] / value[both[s], "read_" kinds[k], i]
        for (i = 2; i <= m; ++i) for (j = i; j > 1 && r[j - 1] > r[j]; --j) { t = r[j]; r[j] = r[j - 1]; r[j - 1] = t }
        printf "%s open / raw read, %s: %.2fx (median of the per-round ratios)\n", both[s], kinds[k], m % 2 ? r[(m + 1) / 2] : (r[m / 2] + r[m / 2 + 1]) / 2
      }
    }
  }' "$out/figures"
