#!/usr/bin/env bash
# Builds and runs the tests, stage by stage:
#   release      the Release build and its tests (CTest)
#   screenshots  every page of the window in each language, under Xvfb
#   package      the install layout and the Debian package (scripts/package_test.sh)
#   vm           the virtual mouse on a real kernel in a QEMU guest (scripts/vm_test.sh)
#   windows      the core, vrdkctl and their tests for Windows, run under wine64
#   asan         the tests under AddressSanitizer + UndefinedBehaviorSanitizer
#   fuzz         each fuzz target for a short while from its corpus
# Usage: scripts/test.sh [STAGE...]   (every stage when none is named)
# The stages after release build the Release build they need without
# running its tests.
set -uo pipefail
cd "$(dirname "$0")/.."
all_stages=(release screenshots package vm windows asan fuzz)
stages=("$@")
[ ${#stages[@]} -eq 0 ] && stages=("${all_stages[@]}")
for stage in "${stages[@]}"; do
  if [[ " ${all_stages[*]} " != *" $stage "* ]]; then
    echo "test.sh: unknown stage '$stage'; the stages are: ${all_stages[*]}" >&2
    exit 2
  fi
done
source scripts/packages.sh
scripts/deps.sh "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${GUI_PACKAGES[@]}" \
  "${WINDOWS_PACKAGES[@]}" || exit 1

jobs=$(nproc)
passed=0
failed=0
skipped=0
status=0

# run_ctest DIR [CTEST-ARGS...]: runs CTest in DIR and adds its counts to the
# totals. A test that fails is run once more on its own: one that passes then
# is counted as passed but named at the end as unsteady, so that it is looked
# at rather than forgotten; one that fails twice is a failure.
failed_names=()
unsteady_names=()
run_ctest() {
  local log dir=$1
  shift
  log=$(mktemp)
  (cd "$dir" && ctest --output-on-failure -j"$jobs" --timeout 300 "$@") 2>&1 | tee "$log"
  local summary total fails name
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$summary" ]; then
    status=1
    failed_names+=("$dir: CTest printed no summary")
    rm -f "$log"
    return
  fi
  fails=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
  passed=$((passed + total - fails))
  if [ "$fails" -gt 0 ]; then
    # The names CTest lists after "The following tests FAILED:".
    local names=()
    mapfile -t names < <(sed -n '/The following tests FAILED:/,$p' "$log" |
      sed -nE 's/^[[:space:]]*[0-9]+ - ([^ ]+) .*/\1/p')
    for name in "${names[@]}"; do
      echo "== Once more, on its own: $name"
      (cd "$dir" && ctest --output-on-failure --timeout 300 -R "^${name//./\\.}\$") 2>&1 | tee "$log.again"
      if grep -qE '^100% tests passed' "$log.again"; then
        passed=$((passed + 1))
        unsteady_names+=("$dir: $name")
      else
        failed=$((failed + 1))
        failed_names+=("$dir: $name")
        status=1
      fi
    done
    # A failure CTest did not name still fails the run.
    if [ "${#names[@]}" -lt "$fails" ]; then
      failed=$((failed + fails - ${#names[@]}))
      failed_names+=("$dir: $((fails - ${#names[@]})) unnamed")
      status=1
    fi
  fi
  rm -f "$log" "$log.again"
}

build() {  # build DIR CMAKE-ARGS...
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null && cmake --build "$dir" -j"$jobs" ${build_target:+--target "$build_target"}
}

# Warnings are errors in every build here; the Release build is the plain
# Release (-O3) a user makes, so that warnings only the optimiser sees show.
release_state=none  # none, built or failed
need_release() {
  case $release_state in
    built) return 0 ;;
    failed) return 1 ;;
  esac
  if build build/release -DCMAKE_BUILD_TYPE=Release -DVRDK_WERROR=ON; then
    release_state=built
    return 0
  fi
  release_state=failed
  status=1
  failed=$((failed + 1))
  failed_names+=("build/release: the build")
  return 1
}

stage_release() {
  echo "== Build and test (Release)"
  need_release && run_ctest build/release
}

stage_screenshots() {
  echo "== Every page of the window in each language, under Xvfb"
  need_release || return
  # Like a failed test, a failed run is tried once more on its own.
  if bash scripts/screenshots.sh build/release; then
    passed=$((passed + 1))
  elif echo "== Once more: the screenshots" && bash scripts/screenshots.sh build/release; then
    passed=$((passed + 1))
    unsteady_names+=("screenshots")
  else
    echo "screenshots: FAILED"
    failed_names+=("screenshots")
    failed=$((failed + 1))
    status=1
  fi
}

stage_package() {
  echo "== Install and package"
  need_release || return
  # Its result file: "passed=N failed=N", counted with everything else.
  bash scripts/package_test.sh build/release
  local result package_failed
  result=$(cat build/release/package/result 2>/dev/null || echo "passed=0 failed=1")
  passed=$((passed + $(sed -E 's/.*passed=([0-9]+).*/\1/' <<<"$result")))
  package_failed=$(sed -E 's/.*failed=([0-9]+).*/\1/' <<<"$result")
  failed=$((failed + package_failed))
  [ "$package_failed" -eq 0 ] || { status=1; failed_names+=("package: $package_failed checks"); }
}

stage_vm() {
  echo "== The virtual mouse on a real kernel (QEMU guest)"
  need_release || return
  # Its result file: "passed=N failed=N skipped=N", counted with everything else.
  bash scripts/vm_test.sh build/release
  local result
  result=$(cat build/release/vm/result 2>/dev/null || echo "passed=0 failed=1 skipped=0")
  vm_count() { sed -E "s/.*$1=([0-9]+).*/\1/" <<<"$result"; }
  passed=$((passed + $(vm_count passed)))
  failed=$((failed + $(vm_count failed)))
  skipped=$((skipped + $(vm_count skipped)))
  [ "$(vm_count failed)" -eq 0 ] || { status=1; failed_names+=("vm: $(vm_count failed) checks"); }
}

stage_windows() {
  echo "== The core, vrdkctl and their tests for Windows (mingw-w64), run under wine64"
  # The resource embedder is the Release build's.
  need_release || return
  # One CTest test per test program. Also makes
  # build/windows/vrdkctl-VERSION-windows-x64.zip.
  export WINEPREFIX="$PWD/build/windows/wine" WINEDEBUG=-all
  if build build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
       -DVRDK_WERROR=ON -DVRDK_BENCH=OFF \
       -DVRDK_HOST_EMBED_RESOURCES="$PWD/build/release/tools/vrdk_embed_resources"; then
    # The first start of wine makes its prefix; the tests should not time out on it.
    /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
    run_ctest build/windows
  else
    status=1
    failed=$((failed + 1))
    failed_names+=("build/windows: the build")
  fi
}

stage_asan() {
  echo "== Build and test with AddressSanitizer + UndefinedBehaviorSanitizer"
  # Line tables only (-g1): the reports name files and lines, and the build
  # takes far less time than with full debug information.
  if build build/asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DVRDK_WERROR=ON \
       -DVRDK_SANITIZE=ON -DVRDK_BENCH=OFF; then
    # The real-input tests drive the built window with X events at a human
    # pace; they run in the Release build, where their timing holds.
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
      run_ctest build/asan -LE real_input
  else
    status=1
    failed=$((failed + 1))
    failed_names+=("build/asan: the build")
  fi
}

stage_fuzz() {
  echo "== Fuzz each target for a while (clang, libFuzzer)"
  if CC=clang CXX=clang++ build_target=vrdk_fuzzers build build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
       -DVRDK_WERROR=ON -DVRDK_FUZZ=ON -DVRDK_TESTS=OFF -DVRDK_BENCH=OFF; then
    local fuzzer name work
    for fuzzer in build/fuzz/fuzz/*_fuzz; do
      [ -x "$fuzzer" ] || continue
      name=$(basename "$fuzzer" _fuzz)
      work=$(mktemp -d)
      cp -r "fuzz/corpus/$name/." "$work/"
      if "$fuzzer" -max_total_time="${VRDK_FUZZ_SECONDS:-5}" -print_final_stats=0 \
           "$work" >"build/fuzz/$name.log" 2>&1; then
        echo "fuzz $name: no crash"
        passed=$((passed + 1))
      else
        echo "fuzz $name: FAILED (see build/fuzz/$name.log)"
        tail -n 30 "build/fuzz/$name.log"
        failed=$((failed + 1))
        failed_names+=("fuzz: $name")
        status=1
      fi
      rm -rf "$work"
    done
  else
    status=1
    failed=$((failed + 1))
    failed_names+=("build/fuzz: the build")
  fi
}

for stage in "${stages[@]}"; do
  "stage_$stage"
done

echo
for name in "${unsteady_names[@]}"; do echo "unsteady (failed, then passed on its own): $name"; done
for name in "${failed_names[@]}"; do echo "FAILED: $name"; done
if [ "$skipped" -gt 0 ]; then
  echo "${passed} passed, ${failed} failed, ${skipped} skipped"
else
  echo "${passed} passed, ${failed} failed"
fi
exit $status
