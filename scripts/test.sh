#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what is missing, builds, and runs every test: first the run command's own build, started
# once on the offscreen platform, and the Debian package made from it, installed into a temporary root
# and run there; then the suite (Debug) on the offscreen platform and under a virtual X server, then
# again built optimised with AddressSanitizer and UBSan, then the fuzzers. The program's build and the
# plain suite's treat warnings as errors. TESSALOOM_QUICK=1 stops after the plain suite.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/install-deps.sh --with-tests

export QT_MEDIA_BACKEND=gstreamer QTEST_FUNCTION_TIMEOUT=60000
export XDG_RUNTIME_DIR="$(mktemp -d /tmp/tessaloom-xdg.XXXXXX)"
chmod 700 "$XDG_RUNTIME_DIR"
export XDG_CONFIG_HOME="$XDG_RUNTIME_DIR/config" # settings written by tests stay out of ~/.config
pulse_pid=
cleanup() {
    [ -n "$pulse_pid" ] && kill "$pulse_pid" 2>/dev/null || true
    rm -rf "$XDG_RUNTIME_DIR"
}
trap cleanup EXIT
# A null sink, so sounds really play with no sound card.
if pulseaudio -n --daemonize=yes --exit-idle-time=-1 --log-target=stderr --log-level=error \
    --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=ci_null sink_properties=device.description=CI_Null"; then
    pulse_pid=$(cat "$XDG_RUNTIME_DIR/pulse/pid")
    pactl set-default-sink ci_null || true
fi

passed=0
failed=0

# The run command's build (the very script scripts/run.sh uses), then the program started as a person
# would, on the offscreen platform: the main window must show and the program must end cleanly.
check_run_command() {
    sh scripts/build-program.sh -DTESSALOOM_WERROR=ON
    local log=build/smoke-start.log status=0
    QT_QPA_PLATFORM=offscreen TESSALOOM_QUIT_AFTER_START=1 timeout 120 build/app/tessaloom >"$log" 2>&1 || status=$?
    if [ $status -eq 0 ] && grep -q '^main window shown in ' "$log"; then
        echo "run command: the program started, showed its main window and quit cleanly"
        passed=$((passed + 1))
    else
        echo "run command: FAILED (exit status $status)"
        cat "$log"
        failed=$((failed + 1))
        return 1
    fi
}

# The Debian package made from that build, checked, unpacked and run from a temporary root.
check_package() {
    if BUILD_DIR=build bash scripts/package-check.sh; then
        passed=$((passed + 1))
    else
        echo "package check: FAILED"
        failed=$((failed + 1))
        return 1
    fi
}

run_suite() { # build dir, build type, extra configure args...
    local dir=$1 type=$2
    shift 2
    BUILD_DIR=$dir BUILD_TYPE=$type sh scripts/build.sh "$@"
    local status=0
    xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
        ctest --test-dir "$dir" --output-on-failure -j2 --timeout 600 | tee "$dir/ctest.log" || status=$?
    # "N% tests passed, F tests failed out of T"
    local line
    line=$(grep -E 'tests failed out of [0-9]+' "$dir/ctest.log" | tail -n 1)
    local f t
    f=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    t=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
    passed=$((passed + ${t:-0} - ${f:-0}))
    failed=$((failed + ${f:-0}))
    return $status
}

check_run_command
check_package
run_suite build-test Debug -DTESSALOOM_WERROR=ON
if [ "${TESSALOOM_QUICK:-0}" != 1 ]; then
    # Optimised, so the tests build as the program does; GCC's bounds warnings misfire under the
    # sanitizers' instrumentation, so this build alone keeps warnings as warnings.
    ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        run_suite build-asan RelWithDebInfo -DTESSALOOM_SANITIZE=ON -DTESSALOOM_WERROR=OFF
    bash scripts/fuzz.sh
fi
echo "all suites: $passed passed, $failed failed"
