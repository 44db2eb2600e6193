#!/usr/bin/env bash
# Makes the Debian package of a build folder, checks it with lintian, unpacks it into an empty
# folder (dpkg -x) and starts the installed program from there, offscreen: on its own with no
# ProgramData (its settings folder appears in the XDG data home), and with --demo (a demo
# database of its own); then imports a configuration with the installed kaldor-config, whose
# backup must land in the same settings folder. Checks the package's files and that nothing in
# it points back into the build folder.
# Usage: unpack-and-start.sh BUILD_DIR. Exits 77 (skipped) when a tool it needs is missing, or
# fails then when CI=true.
set -euo pipefail
. "$(dirname "$0")/../skip.sh"
build=$(cd "$1" && pwd)
# Each tool and the Debian package that has it; cpack needs file for its dependency scan.
for tool_package in cpack:cmake dpkg-deb:dpkg dpkg-shlibdeps:dpkg-dev file:file lintian:lintian; do
    tool=${tool_package%%:*}
    command -v "$tool" >/dev/null && continue
    skip "$tool is not installed (apt-get install ${tool_package#*:})"
done
work=$(mktemp -d /tmp/kaldor-deb.XXXXXX)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill -KILL "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1) \
    || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/kaldor-admin_*.deb)
dpkg-deb -I "$deb" >"$work/info"
grep -q '^ Package: kaldor-admin$' "$work/info" || fail "package name"
grep -q '^ Depends:.*qt6-qpa-plugins' "$work/info" || fail "depends on the Qt platform plugins"
grep -q '^ Depends:.*libodbc' "$work/info" || fail "depends on the ODBC driver manager library"
# Any error or warning of lintian fails; its notes (I:, P:) do not.
lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 \
    || { cat "$work/lintian.log"; fail "lintian"; }
if grep -q '^[EW]: ' "$work/lintian.log"; then cat "$work/lintian.log"; fail "lintian"; fi

root="$work/root"
dpkg -x "$deb" "$root"
elves="bin/kaldor-standin-admin lib/kaldor-admin/kaldor-admin lib/kaldor-admin/kaldor-config
       lib/kaldor-admin/odbc/libkaldor-standin.so"
for f in $elves bin/kaldor-admin bin/kaldor-config lib/kaldor-admin/settings-folder.sh \
    share/applications/kaldor-admin.desktop share/icons/hicolor/32x32/apps/kaldor-admin.png \
    share/doc/kaldor-admin/README.md share/kaldor-admin/demo/demo.sql \
    share/kaldor-admin/demo/drive-c/VIZIDOV; do
    [ -e "$root/usr/$f" ] || fail "missing /usr/$f"
done
grep -q '^Exec=kaldor-admin$' "$root/usr/share/applications/kaldor-admin.desktop" || fail "desktop entry"
# No library search path and no text file points back into the build folder.
for f in $elves; do
    readelf -d "$root/usr/$f" >"$work/dynamic" || fail "/usr/$f is not an ELF file"
    if grep -E 'R(UN)?PATH' "$work/dynamic" | grep -qF "$build"; then fail "/usr/$f: search path into the build"; fi
done
if grep -rlIF "$build" "$root" >/dev/null; then fail "a file names the build folder: $(grep -rlIF "$build" "$root")"; fi

# Starts the launcher with a fresh HOME and waits until FILE exists and the program still runs.
start() { # LABEL FILE ARGS...
    local label=$1 file=$2 home="$work/home-$1"
    shift 2
    mkdir -p "$home"
    env -u ProgramData -u AllUsersProfile -u XDG_DATA_HOME -u ODBCINI -u ODBCSYSINI HOME="$home" \
        QT_QPA_PLATFORM=offscreen "$root/usr/bin/kaldor-admin" "$@" >"$work/$label.log" 2>&1 &
    local pid=$!
    pids+=("$pid")
    for _ in $(seq 200); do
        [ -e "$home/$file" ] && break
        kill -0 "$pid" 2>/dev/null || { cat "$work/$label.log"; fail "$label: the program ended"; }
        sleep 0.1
    done
    [ -e "$home/$file" ] || fail "$label: no $file"
    sleep 1
    kill -0 "$pid" 2>/dev/null || { cat "$work/$label.log"; fail "$label: the program ended"; }
    kill -KILL "$pid"
    echo "$label: started, $file written"
}
start plain .local/share/Tarrowby/Velmora
start demo .local/share/kaldor-admin/demo/ProgramData/Tarrowby/Velmora/datasource.ini --demo
[ -s "$work/home-demo/.local/share/kaldor-admin/demo/calibration.db" ] || fail "demo database"
[ ! -e "$work/home-demo/.local/share/Tarrowby" ] || fail "the demo touched the user's own settings"

# kaldor-config, as a user with a fresh HOME, on the data source that --demo made: the import's
# backup of the target goes to the settings folder in the XDG data home (the folder made on the
# way), and holds what the export read just before.
demo="$work/home-demo/.local/share/kaldor-admin/demo"
config() { # kaldor-config ARGUMENTS...
    mkdir -p "$work/home-config"
    env -u ProgramData -u AllUsersProfile -u XDG_DATA_HOME HOME="$work/home-config" \
        ODBCSYSINI="$demo/odbc" ODBCINI="$demo/odbc/odbc.ini" KALDOR_PASSWORD=secret \
        "$root/usr/bin/kaldor-config" "$@" --user admin
}
config export "Calibration Data" -o "$work/config.json" >"$work/config.log" 2>&1 \
    || { cat "$work/config.log"; fail "kaldor-config export"; }
config import "$work/config.json" "Calibration Data" >"$work/config.log" 2>&1 \
    || { cat "$work/config.log"; fail "kaldor-config import"; }
settings="$work/home-config/.local/share/Tarrowby/Velmora"
backups=$(find "$work" -name 'kaldor-config-backup-*')
[ "$backups" = "$(echo "$settings"/kaldor-config-backup-Calibration_Data-*.json)" ] \
    || { cat "$work/config.log"; fail "kaldor-config's backup is not (only) in $settings: ${backups:-none}"; }
grep -qF "written to $backups" "$work/config.log" || { cat "$work/config.log"; fail "kaldor-config names its backup"; }
cmp -s "$backups" "$work/config.json" || fail "the backup differs from the export of the same database"
echo "kaldor-config: backup written to the XDG data home"
echo "package $(basename "$deb"): unpacked and started"
