# Shared by run.sh and test.sh: install what is missing, then configure and build.
# Quiet when nothing is missing and the build is up to date.

MARUBO_PACKAGES=(g++ make cmake pkg-config qt6-base-dev libsqlite3-dev libcurl4-openssl-dev
                 libxlsxwriter-dev fonts-noto-cjk xdg-utils xvfb xauth e2fsprogs)

marubo_missing_packages() {
    local package
    for package in "${MARUBO_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            echo "$package"
        fi
    done
}

marubo_install_packages() {
    local missing
    missing=$(marubo_missing_packages)
    [ -z "$missing" ] && return 0
    echo "Installing: $(echo $missing)"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null
}

marubo_build() {
    local build_dir="$1"
    local log
    log=$(mktemp)
    if [ ! -f "$build_dir/CMakeCache.txt" ]; then
        echo "Building (the first build takes a few minutes)..."
        if ! cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$log" 2>&1; then
            cat "$log"
            rm -f "$log"
            return 1
        fi
    fi
    # The build's own output is shown only when it fails.
    if ! cmake --build "$build_dir" -j"$(nproc)" >"$log" 2>&1; then
        cat "$log"
        rm -f "$log"
        return 1
    fi
    rm -f "$log"
}
