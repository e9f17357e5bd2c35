#!/usr/bin/env bash
# Builds the Debian package from this build tree (cpack -G DEB) and checks what it installs:
# the file name and the dependencies dpkg-shlibdeps found, every file a desktop needs, the
# desktop entry and the AppStream metainfo through their validators, and the program unpacked
# into a temporary root (dpkg -x, the system's libraries): it prints its version, and in an
# X server (Xvfb) it shows its fill dialog in German once the settings name the German file, so
# that it finds the language files where the package puts them.
# Usage: check_package.sh BUILD_DIR
# Exits with 77 (skipped) when a tool is missing; tools/install-deps.sh installs them all.
set -u
build=$1
for tool in cpack dpkg dpkg-deb dpkg-shlibdeps file desktop-file-validate appstreamcli Xvfb \
    xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool is missing (tools/install-deps.sh installs it)"
        exit 77
    fi
done

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack -G DEB did not build the package" >&2
    exit 1
fi
shopt -s nullglob
debs=("$work"/out/*.deb)
if [ ${#debs[@]} -ne 1 ]; then
    echo "FAIL: cpack made ${#debs[@]} packages: ${debs[*]}" >&2
    exit 1
fi
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
expected_name="tankometer_${version}_$(dpkg --print-architecture).deb"
[ "$(basename "$deb")" = "$expected_name" ] || fail "package named $(basename "$deb"), not $expected_name"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libqt6core6 libqt6widgets6 libqt6charts6 qt6-qpa-plugins; do
    [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

root="$work/root"
dpkg -x "$deb" "$root" || { echo "FAIL: dpkg -x $deb" >&2; exit 1; }
share="$root/usr/share"
desktop="$share/applications/io.github.tankometer.Tankometer.desktop"
metainfo="$share/metainfo/io.github.tankometer.Tankometer.metainfo.xml"
for file in "$root/usr/bin/tankometer" "$desktop" "$metainfo" \
    "$share/mime/packages/tankometer.xml" "$share/man/man1/tankometer.1.gz" \
    "$share/icons/hicolor/scalable/apps/tankometer.svg" \
    "$share/tankometer/lang/english.lng" "$share/tankometer/lang/german.lng" \
    "$share/tankometer/lang/czech.lng"; do
    [ -f "$file" ] || fail "the package lacks ${file#"$root"}"
done
# The statistics window's module, which the program loads from the library folder.
[ -n "$(find "$root/usr/lib" -path '*/tankometer/libtankometer_charts.so' 2>/dev/null)" ] ||
    fail "the package lacks the charts module libtankometer_charts.so"
for size in 16 32 48 64 128 256; do
    icon="$share/icons/hicolor/${size}x${size}/apps/tankometer.png"
    file -b "$icon" 2>/dev/null | grep -q "PNG image data, $size x $size" ||
        fail "the package lacks a $size x $size icon"
done
gzip -cd "$share/man/man1/tankometer.1.gz" 2>/dev/null | grep -q '^\.TH TANKOMETER 1 ' ||
    fail "the manual page is no man(7) page"

desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate --no-net"

home="$work/home"
mkdir -p "$home/config" "$home/runtime" "$home/Documents" && chmod 700 "$home/runtime"
run() {
    HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_STATE_HOME="$home/state" \
        XDG_RUNTIME_DIR="$home/runtime" XDG_DOCUMENTS_DIR="$home/Documents" LC_ALL=C.UTF-8 \
        "$root/usr/bin/tankometer" "$@"
}
printed=$(run --version 2>&1)
[ "$printed" = "Tankometer $version" ] || fail "--version printed '$printed', not 'Tankometer $version'"

# The German fill dialog's title, as the installed language file names it.
german_fill=$(sed -n '/^\[fill\]/,/^\[/s/^caption=//p' "$share/tankometer/lang/german.lng")
[ -n "$german_fill" ] || fail "german.lng names no fill dialog"
german_statistics=$(sed -n '/^\[statswnd\]/,/^\[/s/^caption=//p' "$share/tankometer/lang/german.lng")
printf '[General]\nLang=lang\\\\german.lng\n' >"$home/config/Tankometer.conf"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"
QT_QPA_PLATFORM=xcb run 2>"$work/stderr" &
program=$!
if ! timeout 10 xdotool search --sync --onlyvisible --name '^Tankometer' windowfocus --sync \
    >/dev/null; then
    fail "the installed program showed no window: $(cat "$work/stderr")"
else
    xdotool key ctrl+n
    timeout 10 xdotool search --sync --onlyvisible --name "^$german_fill\$" >/dev/null ||
        fail "the installed program did not show its fill dialog in German ('$german_fill')"
    # The statistics window comes from the module in the library folder.
    xdotool key Escape
    timeout 10 xdotool search --sync --onlyvisible --name '^Tankometer' windowfocus --sync \
        >/dev/null
    xdotool key ctrl+shift+t
    timeout 10 xdotool search --sync --onlyvisible --name "^$german_statistics\$" >/dev/null ||
        fail "the installed program did not open its statistics window ('$german_statistics')"
fi
kill -TERM "$program" 2>/dev/null
wait "$program" 2>/dev/null

[ "$failures" -eq 0 ] || exit 1
echo "$(basename "$deb"): installs, validates, runs, and speaks German"
