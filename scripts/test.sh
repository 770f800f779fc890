#!/bin/bash
# Installs what is missing, builds, and runs every test: the suite on the offscreen platform and
# under a virtual X server, then again built with AddressSanitizer and UBSan, then the fuzzers.
# TESSALOOM_QUICK=1 runs the plain suite only.
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

run_suite() { # build dir, extra configure args...
    local dir=$1
    shift
    BUILD_DIR=$dir BUILD_TYPE=Debug sh scripts/build.sh "$@"
    xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
        ctest --test-dir "$dir" --output-on-failure -j2 --timeout 600
}

run_suite build-test
if [ "${TESSALOOM_QUICK:-0}" != 1 ]; then
    ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        run_suite build-asan -DTESSALOOM_SANITIZE=ON
    if [ -x scripts/fuzz.sh ]; then
        bash scripts/fuzz.sh
    fi
fi
