# The Debian packages of each build. Sourced by the run and test scripts.
BUILD_PACKAGES=(build-essential cmake ninja-build pkg-config libcli11-dev nlohmann-json3-dev help2man)
# xdotool drives the window with real X events; python3-jsonschema checks the
# JSON outputs against docs/schemas/; zsh and fish try vrdkctl's completion
# scripts; the accessibility bus
# (at-spi2-core in a D-Bus session) and pyatspi read it as a screen reader does.
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev lintian dpkg-dev appstream
               xdotool at-spi2-core dbus python3-pyatspi desktop-file-utils python3-jsonschema
               zsh fish)
# The window: Qt 6 Widgets, rsvg-convert for its artwork, the free fonts that
# stand in for the ones the language tables name, Qt's translations (its
# colour dialog in Chinese), and Xvfb for screenshots.
GUI_PACKAGES=(qt6-base-dev librsvg2-bin fonts-crosextra-carlito fonts-noto-cjk fonts-liberation
              qt6-translations-l10n xvfb xauth)
# What the VM test (scripts/vm_test.sh) boots its guest with.
VM_PACKAGES=(qemu-system-x86 busybox-static)
# The Windows build: Debian's mingw-w64 cross compiler (POSIX threads) and
# wine64, which runs its tests.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine64)
