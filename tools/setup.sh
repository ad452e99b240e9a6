# Shared set-up for ./test and ./run: installs the Debian packages the build needs,
# configures and builds. Sourced, not run.

ZORVEN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Packages every build needs; ./run and ./test add their own.
ZORVEN_BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-charts-dev pkg-config
    libopencv-core-dev libopencv-imgproc-dev libpoppler-qt6-dev libpoppler-private-dev libzxing-dev
    qt6-image-formats-plugins)

missing_packages() {
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' \
            || printf '%s\n' "$pkg"
    done
}

# Installs what is missing when run as root; otherwise prints the line to run and fails.
ensure_packages() {
    local missing
    mapfile -t missing < <(missing_packages "$@")
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Install them with:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        return 1
    fi
    echo "Installing: ${missing[*]}"
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# configure_and_build BUILD_DIR [CMAKE_ARGS...] [-- TARGET...]
# Builds everything, or only the targets named after "--".
configure_and_build() {
    local dir=$1
    shift
    local args=() targets=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        args+=("$1")
        shift
    done
    if [ $# -gt 0 ]; then
        shift
        targets=(--target "$@")
    fi
    cmake -S "$ZORVEN_ROOT" -B "$dir" -G Ninja "${args[@]}" >/dev/null && cmake --build "$dir" "${targets[@]}"
}
