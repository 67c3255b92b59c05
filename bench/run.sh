#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them all: frames, the window, the command line as a
# whole process, and the batch mode. Medians of repeated runs; the baseline runs in the same go.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
vexilon_install_packages "${VEXILON_BUILD_PACKAGES[@]}" hyperfine time
build=build-bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXILON_BUILD_BENCH=ON -DVEXILON_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null
reps=(--benchmark_repetitions=15 --benchmark_min_time=0.2 --benchmark_report_aggregates_only=true)

echo "== frames (baseline first)"
"$build/bench/baseline_bench" "${reps[@]}" | grep -E '_(median|min|max) '
"$build/bench/frame_bench" "${reps[@]}" | grep -E '_(median|min|max) '
echo "== typed surfaces: sampling 2 million points, and a frame per line-to against the sine's"
"$build/bench/surface_bench" "${reps[@]}" | grep -E '_(median|min|max) '
echo "== lessons that move: a slider step (25 x 25 lines, 61 samples, hidden lines) and a 300-frame swept GIF"
"$build/bench/motion_bench" "${reps[@]}" | grep -E '_(median|min|max) '
echo "== equation surfaces: a quadric's three families of 12 sections and its facets; the whole process beside the sphere's"
"$build/bench/equation_bench" "${reps[@]}" | grep -E '_(median|min|max) '
echo "== frame styles beside the plain frame"
"$build/bench/style_bench" "${reps[@]}" | grep -E '_(median|min|max) '
echo "== figures: themes beside the plain frame, a PDF, a 4000-pixel picture as a whole process"
"$build/bench/figure_bench" "${reps[@]}" | grep -E '_(median|min|max) '
echo "== the window, offscreen"
# The window reads the gallery and the user's surfaces at start: the project's gallery and an empty
# data folder, so that no message box about them waits for a click.
data=$(mktemp -d)
QT_QPA_PLATFORM=offscreen VEXILON_GALLERY="$PWD/res/gallery.toml" XDG_DATA_HOME="$data" \
    "$build/bench/window_bench" "${reps[@]}" | grep -E '_(median|min|max) '
rm -rf "$data"

echo "== vexilon-render, one PNG as a whole process"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for s in 1 2 3 4 5 6 7 8; do
    hyperfine -N --warmup 5 --runs 50 --export-json "$out/h$s.json" "$build/vexilon-render -s $s -o $out/s$s.png" >/dev/null
    python3 - "$out/h$s.json" "$s" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))["results"][0]
print(f"surface {sys.argv[2]}: median {r['median']*1000:.2f} ms (min {r['min']*1000:.2f}, max {r['max']*1000:.2f})")
PY
    /usr/bin/time -f "  peak memory %M KiB" "$build/vexilon-render" -s "$s" -o "$out/s$s.png"
done

echo "== batch: 1000 frames of the sine surface, one drag step apart"
start=$(date +%s.%N)
"$build/vexilon-render" -s seno --orbit 3,1 --frames 1000 -o "$out/f.png" 2>/dev/null
end=$(date +%s.%N)
python3 -c "print(f'{1000 / ($end - $start):.0f} frames per second')"

echo "== animated GIF: the torus turning, as a whole process"
hyperfine -N --warmup 3 --runs 20 --export-json "$out/gif.json" "$build/vexilon-render -s toro --turn 360 -o $out/t.gif" >/dev/null
python3 - "$out/gif.json" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))["results"][0]
print(f"--turn 360: median {r['median']*1000:.1f} ms (min {r['min']*1000:.1f}, max {r['max']*1000:.1f}), "
      f"{360 / r['median']:.0f} frames per second")
PY
"$build/vexilon-render" -s toro --turn 36 -o "$out/t36.gif"
echo "--turn 36: $(stat -c %s "$out/t36.gif") bytes"
for n in 36 3600; do
    /usr/bin/time -f "--turn $n: peak memory %M KiB" "$build/vexilon-render" -s toro --turn "$n" -o "$out/m.gif"
done
