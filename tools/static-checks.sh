#!/usr/bin/env bash
# Checks the project's own C++ with clang-format, clang-tidy and cppcheck; any finding fails.
# clang-tidy reads the compile commands of the test and fuzz builds, so run this after them.
set -euo pipefail
cd "$(dirname "$0")/.."
# CMake writes real paths into the compile commands.
top=$(pwd -P)

# Found by folder, not by git, so that a release tarball is checked the same way.
folders=(runtime core ui app tests bench tools)
mapfile -t sources < <(find "${folders[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
if [ ${#sources[@]} -eq 0 ]; then
    echo "static-checks: no C++ sources found in ${folders[*]}" >&2
    exit 1
fi

echo "clang-format: ${#sources[@]} files"
clang-format --dry-run --Werror "${sources[@]}"

# The fuzz targets are built only by clang, so their commands come from the fuzz build.
log=build/clang-tidy.log
for build_and_files in "build/test:(runtime|core|ui|app|tests|bench|tools)/" "build/fuzz:tests/fuzz/"; do
    build=${build_and_files%%:*} files=${build_and_files#*:}
    echo "clang-tidy: $build"
    if [ ! -f "$build/compile_commands.json" ]; then
        echo "static-checks: no $build/compile_commands.json; run tools/test.sh, which builds it" >&2
        exit 1
    fi
    if ! run-clang-tidy -quiet -p "$build" "^$top/$files" >"$log" 2>&1; then
        grep -v '^clang-tidy\|warnings\? generated\|^Suppressed\|^Use -header-filter\|^$' "$log"
        exit 1
    fi
done

# The Win32 sources are compiled only by the cross build (tools/test.sh makes build/win64): clang
# reads them as mingw-w64 code, with the posix compiler's C++ library.
if [ -f build/win64/compile_commands.json ]; then
    echo "clang-tidy: build/win64"
    cxx=$(echo /usr/lib/gcc/x86_64-w64-mingw32/*-posix/include/c++)
    if ! run-clang-tidy -quiet -p build/win64 -extra-arg=--target=x86_64-w64-mingw32 \
        -extra-arg=-isystem"$cxx" -extra-arg=-isystem"$cxx/x86_64-w64-mingw32" \
        "^$top/(ui/win32/|tests/ui/win32/|app/WinMain|bench/BareWin32).*\.cpp$" >"$log" 2>&1; then
        grep -v '^clang-tidy\|warnings\? generated\|^Suppressed\|^Use -header-filter\|^$' "$log"
        exit 1
    fi
fi

echo "cppcheck"
cppcheck --std=c++20 --language=c++ --library=qt --library=windows --library=googletest \
    --enable=warning,performance,portability,style --inline-suppr --quiet --error-exitcode=1 \
    --suppressions-list=.cppcheck-suppressions \
    -I runtime -I core -I ui/qt -I ui/win32 -I ui/win32/accessibility -I tests -I tests/core -I tests/fuzz -I tests/ui/qt -I build/test/generated \
    "${folders[@]}"
