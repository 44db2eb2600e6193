# Shared by ./run and ./test: the packages the project needs, installed when missing.
KALDOR_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev unixodbc unixodbc-dev odbcinst
                 libsqlite3-dev googletest libgtest-dev python3)

kaldor_install_packages() {
    local missing=() p
    for p in "${KALDOR_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing: ${missing[*]}"
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    else
        echo "Missing packages. Run as root:" >&2
        echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
}

kaldor_jobs() {
    nproc 2>/dev/null || echo 2
}
