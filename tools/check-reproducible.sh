#!/usr/bin/env bash
# Builds the Debian package, Quorvane.exe and the MSI twice, each time from its own copy of this
# tree in its own folder, and checks that the two builds are the same to the byte. The first copy
# keeps the files' times and has no git, like an unpacked release tarball, so the build dates its
# packages from the newest file. The second copy's files all carry a date years before, and it is
# built with that first date given as SOURCE_DATE_EPOCH, its clock 400 days ahead (faketime),
# under another time zone and umask (but for cpack). A difference is shown with diffoscope and
# fails the check.
#
#   tools/check-reproducible.sh      (needs faketime and diffoscope-minimal besides the builds')
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
work=$top/build/reproducible

for tool in faketime diffoscope cpack wixl x86_64-w64-mingw32-g++-posix; do
    command -v "$tool" >/dev/null || { echo "check-reproducible: $tool is not installed" >&2; exit 1; }
done
rm -rf "$work"
mkdir -p "$work"
# The first build finds the time itself.
unset SOURCE_DATE_EPOCH

# Runs a command with its output in the log, which is shown only when the command fails.
quietly() {
    "$@" >"$work/log" 2>&1 || { cat "$work/log" >&2; echo "check-reproducible: failed: $*" >&2; exit 1; }
}

copy_sources() {
    mkdir -p "$1"
    tar -C "$top" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$1" -xf -
}

# build SOURCES FOLDER: the release packages of SOURCES, built in FOLDER, copied to FOLDER/packages;
# each tool is run through ${later[@]}.
later=()
build() {
    local options=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DQUORVANE_BUILD_BENCHMARKS=OFF)
    quietly "${later[@]}" cmake -S "$1" -B "$2/linux" "${options[@]}"
    grep -o 'SOURCE_DATE_EPOCH=[0-9]*, from .*' "$work/log"
    quietly "${later[@]}" cmake --build "$2/linux" -j2
    # The .deb's own members take their modes from the umask: it is packed under Debian's.
    (cd "$2/linux" && umask 0022 && quietly "${later[@]}" cpack -G DEB)
    quietly "${later[@]}" cmake -S "$1" -B "$2/win64" "${options[@]}" --toolchain "$1/cmake/mingw-w64-x86_64.cmake"
    quietly "${later[@]}" cmake --build "$2/win64" -j2
    mkdir "$2/packages"
    cp "$2"/linux/quorvane_*.deb "$2"/win64/app/Quorvane.exe "$2"/win64/app/Quorvane-*.msi "$2/packages/"
}

first=$work/first
second=$work/second-build-elsewhere
copy_sources "$first/src"
copy_sources "$second/quorvane-sources"
find "$second/quorvane-sources" -exec touch -h -d '2001-02-03 04:05:06' {} +

echo "First build, in $first:"
build "$first/src" "$first" | tee "$work/epoch"
epoch=$(sed -n 's/^SOURCE_DATE_EPOCH=\([0-9]*\),.*/\1/p' "$work/epoch")
echo "Second build, in $second, 400 days later:"
(
    umask 0077
    export SOURCE_DATE_EPOCH=$epoch TZ=Pacific/Kiritimati NO_FAKE_STAT=1
    later=(faketime -f +400d)
    build "$second/quorvane-sources" "$second"
)

status=0
for file in "$first"/packages/*; do
    name=${file##*/}
    if cmp -s "$file" "$second/packages/$name"; then
        echo "same: $(sha256sum "$file" | cut -d' ' -f1)  $name"
    else
        echo "DIFFERENT: $name"
        diffoscope --text - "$file" "$second/packages/$name" | head -n 150 || true
        status=1
    fi
done
exit "$status"
