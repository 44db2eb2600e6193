#!/bin/sh
# Starts KALDOR Administrator as installed from its package.
#
# The program keeps its settings file (datasource.ini), error log and drive map under
# $AllUsersProfile or $ProgramData when either is set. On Linux usually neither is, so this
# launcher points ProgramData at the user's XDG data home (settings-folder.sh, shared with
# kaldor-config): the files are then in ~/.local/share/Tarrowby/Velmora.
#
#   kaldor-admin [ARGUMENTS]         the program, on the data sources of the ODBC configuration
#   kaldor-admin --demo [--fresh]    the program on a demo database of its own, kept in
#                                    ~/.local/share/kaldor-admin/demo (--fresh recreates it);
#                                    the user's own settings and ODBC configuration stay untouched
set -eu
prefix=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd)
libdir="$prefix/lib/kaldor-admin"
. "$libdir/settings-folder.sh"

if [ "${1:-}" = "--demo" ]; then
    shift
    demo="$(kaldor_data_home)/kaldor-admin/demo"
    share="$prefix/share/kaldor-admin/demo"
    if [ "${1:-}" = "--fresh" ]; then
        shift
        rm -f "$demo/calibration.db"
    fi
    mkdir -p "$demo/odbc" "$demo/ProgramData/Tarrowby/Velmora"
    if [ ! -f "$demo/calibration.db" ]; then
        "$prefix/bin/kaldor-standin-admin" create "$demo/calibration.db" anywhere >/dev/null
        "$prefix/bin/kaldor-standin-admin" script "$demo/calibration.db" "$share/demo.sql" >/dev/null
        "$prefix/bin/kaldor-standin-admin" script "$demo/calibration.db" "$share/users-anywhere.sql" >/dev/null
    fi
    "$prefix/bin/kaldor-standin-admin" odbc "$demo/odbc" "$libdir/odbc/libkaldor-standin.so" \
        "Calibration Data=anywhere:$demo/calibration.db" >/dev/null
    settings="$demo/ProgramData/Tarrowby/Velmora"
    [ -f "$settings/datasource.ini" ] || printf 'Calibration Data\r\n' >"$settings/datasource.ini"
    printf 'C:\\=%s\n' "$share/drive-c" >"$settings/drives.ini"
    ODBCSYSINI="$demo/odbc" ODBCINI="$demo/odbc/odbc.ini" ProgramData="$demo/ProgramData"
    export ODBCSYSINI ODBCINI ProgramData
    unset AllUsersProfile
    echo "Demo login: user admin, password secret"
else
    kaldor_settings_in_data_home
fi
exec "$libdir/kaldor-admin" "$@"
