#!/usr/bin/env bash
# Quarvel's one entry point on a Debian machine.
#   ./build.sh demo [folder]   install what is missing, build, write the demo survey,
#                              create its 3D project and start the program on it
#   ./build.sh test            install what is missing, build twice (plain and sanitized),
#                              run every test and the fuzz run
set -euo pipefail
cd "$(dirname "$0")"
top=$(pwd)

packages=(build-essential cmake ninja-build clang libclang-rt-14-dev googletest libgtest-dev
          libbenchmark-dev libssl-dev locales qt6-base-dev qt6-qpa-plugins fonts-liberation)

sudo_cmd() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        sudo_cmd apt-get update
        sudo_cmd env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
    fi
    # A comma-decimal locale, so that the tests prove files ignore the desktop's locale.
    if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
        if [ -f /etc/locale.gen ]; then
            sudo_cmd sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
            grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | sudo_cmd tee -a /etc/locale.gen >/dev/null
            sudo_cmd locale-gen >/dev/null || echo "note: locale-gen failed; the locale test will be skipped"
        fi
    fi
}

configure_build() { # dir, extra cmake args...
    local dir=$1; shift
    cmake -S "$top" -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir"
}

# Every option of a build folder is given each time, so that whichever command configured the
# folder before, the same build comes out. The demo and the test share build/release.
release=(-DCMAKE_BUILD_TYPE=Release -DQUARVEL_TESTS=ON -DQUARVEL_BENCH=ON -DQUARVEL_SANITIZE=OFF
         -DQUARVEL_FUZZ=OFF -DCMAKE_CXX_FLAGS=)
sanitized=(-DCMAKE_BUILD_TYPE=Debug -DQUARVEL_TESTS=ON -DQUARVEL_BENCH=OFF -DQUARVEL_SANITIZE=ON
           -DQUARVEL_FUZZ=OFF -DCMAKE_CXX_FLAGS=-O1)

# A folder without tests fails instead of passing.
run_tests() { # dir, environment...
    local dir=$1; shift
    (cd "$dir" && env "$@" ctest --output-on-failure --no-tests=error -j "$jobs")
}

jobs=$(nproc 2>/dev/null || echo 4)

case "${1:-}" in
demo)
    install_missing
    configure_build build/release "${release[@]}"
    out=${2:-demo}
    build/release/tools/gensurvey --out "$out/survey"
    build/release/tools/createproject --survey "$out/survey" --out "$out" --name reference
    exec build/release/app/quarvel rhd "$(cd "$out" && pwd)/reference/3D_reference.rhd"
    ;;
test)
    install_missing
    configure_build build/release "${release[@]}"
    run_tests build/release
    configure_build build/asan "${sanitized[@]}"
    run_tests build/asan ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
    configure_build build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
        -DQUARVEL_FUZZ=ON -DQUARVEL_BENCH=OFF -DQUARVEL_SANITIZE=OFF -DCMAKE_CXX_FLAGS=
    corpus=build/fuzz/corpus
    rm -rf "$corpus" build/fuzz/seed-survey
    mkdir -p "$corpus"
    build/release/tools/gensurvey --small --out build/fuzz/seed-survey >/dev/null
    cp build/fuzz/seed-survey/*.rad "$corpus"/
    build/fuzz/fuzz/header_fuzz -max_total_time=30 -print_final_stats=1 "$corpus"
    rm -rf build/fuzz/object-corpus && cp -r fuzz/seeds/object build/fuzz/object-corpus
    build/fuzz/fuzz/object_fuzz -max_total_time=15 -print_final_stats=1 build/fuzz/object-corpus
    echo "All tests passed."
    ;;
*)
    echo "usage: $0 demo [folder] | test" >&2
    exit 2
    ;;
esac
