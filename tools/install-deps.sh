#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing Tankometer needs.
set -euo pipefail
# clang and libclang-rt-14-dev: the fuzz targets under fuzz/ (libFuzzer and its sanitizers).
# xvfb and xdotool: the test that drives the real program in an X server and then kills it.
# qt6-translations-l10n: Qt's own texts (standard buttons, file dialogs) in the interface language.
# qt6-charts-dev: the charts over time of the statistics window (date axis, hover, zoom).
# dpkg-dev and file: cpack -G DEB takes the package's dependencies from dpkg-shlibdeps, which
# looks at the executables that file finds; desktop-file-utils and appstream: the package test
# validates the desktop entry and the AppStream metainfo.
# poppler-utils: the tests read the pages and the text of the statistics report's PDF.
# python3-icalendar: a test reads the reminders' calendar export back with an independent
# iCalendar parser.
packages=(g++ cmake make qt6-base-dev qt6-base-dev-tools libgl-dev libbenchmark-dev
    clang libclang-rt-14-dev xvfb xdotool qt6-translations-l10n qt6-charts-dev
    dpkg-dev file desktop-file-utils appstream poppler-utils python3-icalendar)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${packages[@]}"
