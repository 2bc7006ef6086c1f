#!/usr/bin/env bash
# Builds the Debian package from the build directory with cpack, unpacks it with dpkg-deb and
# checks what it holds: both programs, the desktop entry, the icon, the systemd user units that
# run the unpacked velnora-cli's installed path, the dependencies it names, and that the
# unpacked velnora-cli runs.
set -euo pipefail

build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "check_package: $*" >&2
    exit 1
}

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=$(find "$work/out" -maxdepth 1 -name 'velnora_*.deb' | head -n 1)
[ -n "$deb" ] || fail "no velnora_*.deb in $work/out"

[ "$(dpkg-deb -f "$deb" Package)" = velnora ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6network6 libqt6dbus6 libqt6svg6 libssl3 zlib1g libc6; do
    grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

dpkg-deb -x "$deb" "$work/root"
for file in usr/bin/velnora usr/bin/velnora-cli usr/share/applications/velnora.desktop \
    usr/share/icons/hicolor/scalable/apps/velnora.svg usr/lib/systemd/user/velnora-check.service \
    usr/lib/systemd/user/velnora-check.timer; do
    [ -f "$work/root/$file" ] || fail "missing /$file"
done
grep -qx 'ExecStart=/usr/bin/velnora-cli check --due --wait' \
    "$work/root/usr/lib/systemd/user/velnora-check.service" || fail "the service's ExecStart"
grep -qx 'Exec=velnora' "$work/root/usr/share/applications/velnora.desktop" ||
    fail "the desktop entry's Exec"

shown=$("$work/root/usr/bin/velnora-cli" --version)
[ "$shown" = "Velnora v$version" ] || fail "velnora-cli --version said: $shown"
echo "check_package: $(basename "$deb") holds what it should"
