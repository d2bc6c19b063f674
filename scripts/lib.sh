# Shared by scripts/run and scripts/test: package installation and the CMake build.
# shellcheck shell=bash

NAVISAZ_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian packages the build, the tests and the benchmarks need.
NAVISAZ_PACKAGES=(
  cmake g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
  qt6-base-dev fonts-farsiweb xvfb xauth
  libicu-dev libfribidi-dev nlohmann-json3-dev
  myspell-fa
  python3-ezdxf gdal-bin libqt6sql6-sqlite mdbtools-dev
  curl ca-certificates
)

# Installs the packages that are missing, without questions; does nothing when all are there.
install_packages() {
  local missing=()
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
  fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Configures and builds into the given folder with the given build type.
build_navisaz() {
  local build_dir="$1" build_type="$2"
  cmake -S "$NAVISAZ_ROOT" -B "$build_dir" -DCMAKE_BUILD_TYPE="$build_type" >/dev/null
  cmake --build "$build_dir" --parallel "$(nproc)"
}

# A real Access file for the import tests: test/fruit.mdb of the npm package "mdb", fetched once
# into the build folder and checked against its known digest.
fetch_test_data() {
  local target="$1/testdata"
  local file="$target/fruit.mdb"
  local digest="e62eac8a7d29062328484aa0477ab897f3e9fb3abbd4de26d2e7748a8e0bce79"
  if [ -f "$file" ] && echo "$digest  $file" | sha256sum --check --status; then
    return 0
  fi
  mkdir -p "$target"
  local archive
  archive="$(mktemp)"
  curl -fsSL --retry 3 https://registry.npmjs.org/mdb/-/mdb-0.1.0.tgz -o "$archive"
  tar -xzf "$archive" -C "$target" --strip-components=2 package/test/fruit.mdb
  rm -f "$archive"
  echo "$digest  $file" | sha256sum --check --status
}
