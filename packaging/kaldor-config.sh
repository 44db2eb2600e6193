#!/bin/sh
# Starts kaldor-config as installed from its package, with the settings folder of kaldor-admin
# (settings-folder.sh): the backups that its import writes go there, not beside the program.
set -eu
libdir=$(cd "$(dirname "$(readlink -f "$0")")/../lib/kaldor-admin" && pwd)
. "$libdir/settings-folder.sh"
kaldor_settings_in_data_home
exec "$libdir/kaldor-config" "$@"
