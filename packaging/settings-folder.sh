# The settings folder of the installed programs, sourced by the launchers kaldor-admin and
# kaldor-config in /usr/bin (not a program of its own).
#
# The programs keep their settings folder Tarrowby/Velmora (datasource.ini, errors.log,
# drives.ini, the backups of kaldor-config import) under $AllUsersProfile or $ProgramData when
# either is set, and beside the program when neither is: in /usr/lib/kaldor-admin, which a user
# cannot write. On Linux usually neither is set; then ProgramData points at the user's XDG data
# home and the folder is ~/.local/share/Tarrowby/Velmora, made if missing.

# Prints the XDG data home. A relative XDG_DATA_HOME is invalid and ignored, as the XDG rules say.
kaldor_data_home() {
    case ${XDG_DATA_HOME:-} in
    /*) printf '%s\n' "$XDG_DATA_HOME" ;;
    *) printf '%s\n' "${HOME:?is not set: no folder for the settings}/.local/share" ;;
    esac
}

kaldor_settings_in_data_home() {
    if [ -z "${AllUsersProfile:-}" ] && [ -z "${ProgramData:-}" ]; then
        ProgramData=$(kaldor_data_home)
        export ProgramData
        mkdir -p "$ProgramData/Tarrowby/Velmora"
    fi
}
