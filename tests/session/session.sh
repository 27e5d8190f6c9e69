#!/usr/bin/env bash
# Installs the build into a new temporary prefix (with a space in its path, as the program's
# location may have), checks what the desktop reads of it, and runs the end-to-end driver on
# the installed program in a session of its own: HOME and the XDG folders in the temporary
# folder, a virtual X display and a private D-Bus session bus, all gone when it ends.
#
# Usage: session.sh <build folder> <driver>
set -euo pipefail

build=$1
driver=$2
root=$(mktemp -d "${TMPDIR:-/tmp}/dorvale-session-XXXXXX")
trap 'rm -rf "$root"' EXIT

prefix="$root/installed programs"
cmake --install "$build" --prefix "$prefix" >/dev/null
entry="$prefix/share/applications/app.dorvale.Dorvale.desktop"
icon="$prefix/share/icons/hicolor/scalable/apps/app.dorvale.Dorvale.svg"
desktop-file-validate "$entry"
grep -qx 'Exec=dorvale' "$entry"
grep -qx 'Icon=app.dorvale.Dorvale' "$entry"
grep -qx 'StartupWMClass=Dorvale' "$entry"
test -x "$prefix/bin/dorvale"
grep -q '<svg' "$icon"

mkdir -p "$root/home" "$root/config" "$root/data" "$root/cache" "$root/runtime"
chmod 700 "$root/runtime"
export HOME="$root/home" XDG_CONFIG_HOME="$root/config" XDG_DATA_HOME="$root/data"
export XDG_CACHE_HOME="$root/cache" XDG_RUNTIME_DIR="$root/runtime"
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS QT_QPA_PLATFORM
status=0
xvfb-run --auto-servernum --server-args="-screen 0 1600x1000x24" \
  dbus-run-session -- "$driver" "$prefix/bin/dorvale" || status=$?
exit "$status"
