#!/usr/bin/env bash
# Installs the program into a DESTDIR, makes the Debian package and checks
# both: every file where it belongs, lintian without errors, apt able to
# install it here, and vrdkctl running from the unpacked package.
# Usage: scripts/package_test.sh [BUILD_DIR]     (default build/release)
# Writes "passed=N failed=N" to BUILD_DIR/package/result.
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
work=$(realpath -m "$build/package")
rm -rf "$work"
mkdir -p "$work"
passed=0
failed=0
check() {  # check WHAT COMMAND...: runs COMMAND, counts it
  local what=$1
  shift
  if "$@" > "$work/last.log" 2>&1; then
    echo "  ok - $what"
    passed=$((passed + 1))
  else
    echo "  not ok - $what"
    sed 's/^/    /' "$work/last.log" | tail -n 20
    failed=$((failed + 1))
  fi
}

cmake --build "$build" --target vrdk_manpages vrdk_changelog vrdk_icons vrdk_completions > "$work/build.log" 2>&1
dest=$work/dest
check "cmake --install lays the program out under DESTDIR" \
  env DESTDIR="$dest" cmake --install "$build" --prefix /usr
for file in usr/bin/vrdkctl usr/bin/vrdk-virtual-mouse usr/bin/vrdk-mouse \
            usr/lib/udev/rules.d/70-vrdk-mouse.rules usr/share/man/man1/vrdkctl.1.gz \
            usr/share/man/man1/vrdk-mouse.1.gz usr/share/man/man1/vrdk-virtual-mouse.1.gz \
            usr/share/doc/vrdk/copyright usr/share/applications/io.github.vrdk.Mouse.desktop \
            usr/share/metainfo/io.github.vrdk.Mouse.metainfo.xml \
            usr/share/icons/hicolor/scalable/apps/io.github.vrdk.Mouse.svg \
            usr/share/icons/hicolor/48x48/apps/io.github.vrdk.Mouse.png; do
  check "installed: /$file" test -s "$dest/$file"
done
check "every installed program has a manual page" \
  bash -c "for program in '$dest'/usr/bin/*; do test -s '$dest'/usr/share/man/man1/\$(basename \"\$program\").1.gz || exit 1; done"
check "vrdkctl's completions are where bash, zsh and fish look, and parse" \
  bash -c "bash -n '$dest/usr/share/bash-completion/completions/vrdkctl' &&
           grep -q '^complete -F _vrdkctl vrdkctl' '$dest/usr/share/bash-completion/completions/vrdkctl' &&
           head -n 1 '$dest/usr/share/zsh/vendor-completions/_vrdkctl' | grep -qx '#compdef vrdkctl' &&
           grep -q '^complete -c vrdkctl' '$dest/usr/share/fish/vendor_completions.d/vrdkctl.fish'"
check "the JSON schemas are installed beside the command-line guide" \
  bash -c "diff <(cd docs/schemas && ls) <(cd '$dest/usr/share/doc/vrdk/schemas' && ls)"
check "vrdk-mouse --help answers without a display" \
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$dest/usr/bin/vrdk-mouse" --help
check "desktop-file-validate passes the desktop file" \
  desktop-file-validate "$dest/usr/share/applications/io.github.vrdk.Mouse.desktop"
check "the desktop file names the window's class" \
  grep -qx 'StartupWMClass=io.github.vrdk.Mouse' "$dest/usr/share/applications/io.github.vrdk.Mouse.desktop"
check "appstreamcli validates the metainfo" \
  appstreamcli validate --no-net "$dest/usr/share/metainfo/io.github.vrdk.Mouse.metainfo.xml"
check "the copyright file is machine-readable and gives the Expat licence" \
  bash -c "grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' '$dest/usr/share/doc/vrdk/copyright' &&
           grep -q '^License: Expat\$' '$dest/usr/share/doc/vrdk/copyright' &&
           ! grep -q UNSPECIFIED '$dest/usr/share/doc/vrdk/copyright'"
check "the metainfo names the program's licence" \
  grep -q '<project_license>MIT</project_license>' "$dest/usr/share/metainfo/io.github.vrdk.Mouse.metainfo.xml"

check "cpack makes the Debian package" bash -c "cd '$build' && cpack -G DEB -B '$work'"
deb=$(ls "$work"/vrdk_*.deb 2> /dev/null | head -n 1)
if [ -z "$deb" ]; then
  echo "  not ok - no package was made"
  failed=$((failed + 1))
else
  check "lintian finds no error in $(basename "$deb")" lintian --fail-on error "$deb"
  # These tags are warnings and notes to lintian; for this package they fail.
  strict_tags=hardening-no-relro,hardening-no-bindnow,hardening-no-fortify-functions
  strict_tags+=,hardening-no-pie,no-manual-page
  check "lintian finds no hardening or manual-page tag" \
    bash -c "out=\$(lintian -I --tags '$strict_tags' '$deb') || exit 1; echo \"\$out\"; [ -z \"\$out\" ]"
  check "apt would install it with its dependencies" apt-get install -s "$deb"
  unpacked=$work/unpacked
  check "the package unpacks" dpkg-deb -x "$deb" "$unpacked"
  check "vrdkctl --simulate info runs from the package" \
    "$unpacked/usr/bin/vrdkctl" --simulate="$work/mouse.bin" info
fi
echo "passed=$passed failed=$failed" > "$work/result"
echo "package: $passed checks passed, $failed failed"
[ "$failed" -eq 0 ]
