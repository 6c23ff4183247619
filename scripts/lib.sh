# Shared by scripts/run, scripts/test and scripts/bench: install what is missing, then build.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-declarative-dev libgl-dev qt6-translations-l10n
    libqt6sql6-sqlite libqt6sql6-odbc
    unixodbc unixodbc-dev tdsodbc libsqliteodbc
    sqlite3 libsqlite3-dev libbenchmark-dev
    fonts-dejavu-core fonts-wine sqlfluff
)

ensure_packages() {
    local missing=()
    local p
    for p in "${PACKAGES[@]}"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

# build DIR [extra cmake args...]
build() {
    local dir="$1"; shift
    local launcher=()
    # A compiler cache, where the machine has one, makes a rebuild in a fresh clone quick.
    if command -v ccache >/dev/null 2>&1; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    fi
    cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}" "$@" >/dev/null
    cmake --build "$dir" --parallel "$(nproc)"
}
