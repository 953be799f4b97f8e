#!/usr/bin/env bash
# Builds Quorvane with its tests and benchmarks and runs every test, then runs the program on a
# headless Wayland compositor, then runs the program's own tests again in a build with
# AddressSanitizer and UndefinedBehaviorSanitizer, fuzzes the number core for a bounded time,
# cross-builds the Windows program and runs its tests under Wine, builds the release packages
# twice to check that they come out the same, and runs the static checks.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-packages.sh cmake ninja-build g++ qt6-base-dev qt6-qpa-plugins pkg-config libwayland-dev \
    libgtest-dev libbenchmark-dev \
    python3 cpp dpkg-dev file binutils-mingw-w64-x86-64 desktop-file-utils appstream \
    xvfb xdotool x11-utils dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0 python3-gi \
    clang libclang-rt-dev clang-format clang-tidy cppcheck lintian \
    libxcb1-dev libxcb-xtest0-dev libxcb-damage0-dev

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test
QT_QPA_PLATFORM=offscreen ctest --test-dir build/test --output-on-failure --no-tests=error --timeout 600

# The program native on Wayland, under a private headless sway, as today's desktops run it.
tools/install-packages.sh sway wtype wl-clipboard qt6-wayland
timeout 300 tests/app/e2e_wayland.sh build/test/app/quorvane

# The resource and end-to-end checks exercise no code of ours that the first run did not.
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_SANITIZE=ON \
    -DQUORVANE_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/sanitize
QT_QPA_PLATFORM=offscreen ctest --test-dir build/sanitize --output-on-failure --no-tests=error --timeout 600 --exclude-regex '^app_'

# libFuzzer comes with clang: the number core is built a third time, alone, with clang.
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_FUZZ=ON >/dev/null
cmake --build build/fuzz
ctest --test-dir build/fuzz --output-on-failure --no-tests=error --timeout 600
tail -qn1 build/fuzz/tests/fuzz/fuzz_*.log

# Windows: the Win32 program cross-built with mingw-w64, every Windows test run under Wine in a
# prefix of the build tree (tests/wine/run.sh), the MSI built with wixl and installed under Wine.
tools/install-packages.sh g++-mingw-w64-x86-64-posix googletest wine wine64 fonts-wine \
    msitools wixl icoutils xclip
cmake -S . -B build/win64 -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win64
wine_status=0
ctest --test-dir build/win64 --output-on-failure --no-tests=error --timeout 600 || wine_status=$?
WINEPREFIX="$PWD/build/win64/wine-prefix" wineserver -k </dev/null >/dev/null 2>&1 || true
[ "$wine_status" -eq 0 ]

# The .deb, Quorvane.exe and the MSI built twice, in two folders, the clock, the file times, the
# time zone and the umask changed between the two: they must be the same to the byte.
tools/install-packages.sh faketime diffoscope-minimal
tools/check-reproducible.sh

tools/static-checks.sh
