# Shared set-up of ./run and ./test: installs the Debian packages the build
# needs when they are missing, then configures and builds one build folder.
# Sourced, not run.

AEROLITH_PACKAGES=(
  cmake ninja-build g++ ccache pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev libcpp-httplib-dev libssl-dev
  fonts-dejavu-core fonts-liberation2 xvfb xauth
  libreoffice-draw-nogui libreoffice-calc-nogui libreoffice-writer-nogui poppler-utils
)

aerolith_missing_packages() {
  local pkg missing=()
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  echo "${missing[@]:-}"
}

aerolith_install_packages() {
  local missing
  missing=$(aerolith_missing_packages "$@")
  [ -z "$missing" ] && return 0
  echo "Installing missing packages: $missing"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then sudo="sudo"; else
      echo "error: packages missing ($missing) and neither root nor sudo is available" >&2
      return 1
    fi
  fi
  # The package lists of a fresh machine may be empty or stale.
  $sudo apt-get update -qq
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
}

# aerolith_build DIR [cmake options...]
aerolith_build() {
  local dir=$1; shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  fi
  cmake --build "$dir" --parallel "$(nproc)"
}
