#!/usr/bin/env bash
# Builds and runs a libFuzzer target.
#   bash tools/fuzz.sh <name> <seconds> [libFuzzer options...]
#   bash tools/fuzz.sh all <seconds>
# <name> is fuzz/fuzz_<name>.cpp. The core sources are compiled once into
# out/fuzz/obj/ (again only when a source or header changed). The fuzzer runs on
# a scratch copy of fuzz/corpus/<name>/, so the repository's seeds never grow.
# Crash inputs land in out/fuzz/artifacts/. Exits non-zero when a target fails.
#
# A target whose source holds the line "// fuzz-needs: Qt6Core" fuzzes a unit
# of a GUI folder that needs no more of Qt than QtCore (or none): it is built
# with Qt6Core's flags (pkg-config) and linked with the units it names in
# "// fuzz-units:" (blank-separated paths under src/, such as
# "shgedit/handoff.cpp"; a bare file name is one of src/platform). Every other
# target links the core only.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ $# -lt 2 ]]; then
    echo "usage: bash tools/fuzz.sh <name>|all <seconds> [libFuzzer options...]" >&2
    exit 2
fi
name=$1
seconds=$2
shift 2

CXX=${FUZZ_CXX:-clang++}
jobs=${FUZZ_JOBS:-4}
out=out/fuzz
common=(-std=c++20 -g -O1 -Isrc -fno-sanitize-recover=undefined)
mkdir -p "$out/obj" "$out/artifacts"

dirs=(src/util src/model src/preprocess src/formats src/import src/search src/richtext src/spell src/shg)

# out/fuzz/obj/src__model__project.cpp.o is the object of src/model/project.cpp.
obj_of() { local o=${1//\//__}; echo "$out/obj/$o.o"; }

build_objects() {
    local newest_header=0 t src obj failed=0 running=0
    while IFS= read -r t; do
        (( ${t%.*} > newest_header )) && newest_header=${t%.*}
    done < <(find "${dirs[@]}" -name '*.h' -printf '%T@\n' 2>/dev/null)
    while IFS= read -r src; do
        obj=$(obj_of "$src")
        if [[ ! -f $obj || $src -nt $obj ]] || (( $(stat -c %Y "$obj") < newest_header )); then
            echo "fuzz.sh: compiling $src" >&2
            "$CXX" "${common[@]}" -fsanitize=fuzzer-no-link,address,undefined -c "$src" -o "$obj" &
            running=$((running + 1))
            if (( running >= jobs )); then
                wait -n || failed=1
                running=$((running - 1))
            fi
        fi
    done < <(find "${dirs[@]}" -name '*.cpp' 2>/dev/null | sort)
    while (( running > 0 )); do
        wait -n || failed=1
        running=$((running - 1))
    done
    # Drop objects whose source is gone, so they are not linked in.
    for obj in "$out"/obj/*.o; do
        [[ -e $obj ]] || continue
        src=$(basename "$obj" .o)
        src=${src//__//}
        [[ -f $src ]] || rm -f "$obj"
    done
    if (( failed )); then
        echo "fuzz.sh: compiling the core failed" >&2
        exit 1
    fi
}

# Sets qt_flags, qt_libs and qt_objs for a target that needs Qt6Core, compiling
# the units it names (again only when they changed).
qt_parts() {
    local src=$1 unit obj
    qt_flags=() qt_libs=() qt_objs=()
    grep -q '^// fuzz-needs: Qt6Core' "$src" || return 0
    read -r -a qt_flags <<< "$(pkg-config --cflags Qt6Core) -fPIC"
    read -r -a qt_libs <<< "$(pkg-config --libs Qt6Core)"
    mkdir -p "$out/qtobj"
    for unit in $(sed -n 's|^// fuzz-units: *||p' "$src"); do
        [[ $unit == */* ]] || unit=platform/$unit
        unit=src/$unit
        obj=$out/qtobj/${unit//\//__}.o
        if [[ ! -f $obj || $unit -nt $obj || ${unit%.cpp}.h -nt $obj ]]; then
            echo "fuzz.sh: compiling $unit" >&2
            "$CXX" "${common[@]}" "${qt_flags[@]}" -fsanitize=fuzzer-no-link,address,undefined \
                -c "$unit" -o "$obj"
        fi
        qt_objs+=("$obj")
    done
}

run_one() {
    local target=$1 bin="$out/fuzz_$1" corpus
    shift
    [[ -f fuzz/fuzz_$target.cpp ]] || { echo "fuzz.sh: no fuzz/fuzz_$target.cpp" >&2; return 2; }
    local qt_flags qt_libs qt_objs
    qt_parts "fuzz/fuzz_$target.cpp"
    "$CXX" "${common[@]}" "${qt_flags[@]}" -fsanitize=fuzzer,address,undefined "fuzz/fuzz_$target.cpp" \
        "${qt_objs[@]}" "$out"/obj/*.o "${qt_libs[@]}" -o "$bin"
    corpus=$(mktemp -d "${TMPDIR:-/tmp}/qm-fuzz-$target.XXXXXX")
    [[ -d fuzz/corpus/$target ]] && cp -R "fuzz/corpus/$target/." "$corpus/"
    local rc=0
    "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$out/artifacts/$target-" "$@" "$corpus" || rc=$?
    rm -rf "$corpus"
    if (( rc != 0 )); then
        echo "fuzz.sh: $target failed (exit $rc); see $out/artifacts/" >&2
    else
        echo "fuzz.sh: $target ran $seconds s without a finding" >&2
    fi
    return $rc
}

build_objects
if [[ $name == all ]]; then
    status=0
    for f in fuzz/fuzz_*.cpp; do
        [[ -e $f ]] || continue
        t=$(basename "$f" .cpp)
        run_one "${t#fuzz_}" "$@" || status=1
    done
    exit $status
fi
run_one "$name" "$@"
