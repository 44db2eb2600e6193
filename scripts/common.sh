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

# Packages that only some tests need: installed when missing and possible; a test that needs
# one that could not be installed skips with a line naming it.
kaldor_install_optional() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    [ "$(id -u)" -eq 0 ] && apt-get update -qq >/dev/null 2>&1
    for p in "${missing[@]}"; do
        if [ "$(id -u)" -ne 0 ] || ! DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
                --no-install-recommends "$p" >/dev/null 2>&1; then
            echo "Could not install $p: the tests that need it are skipped"
        fi
    done
}

kaldor_jobs() {
    nproc 2>/dev/null || echo 2
}
