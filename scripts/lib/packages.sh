# Installs what building and testing need on a fresh Debian 12 machine, as
# root; does nothing for packages already present. Packages are installed
# without their recommendations, so those needed are named here: Wine's own
# fonts (fonts-wine) among them.

QVN_PACKAGES=(
  cmake g++ make libgtest-dev googletest
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 wine32:i386 fonts-wine
  xvfb x11-apps imagemagick
  git openssl osslsigncode ca-certificates
)

# What scripts/release needs: the i686 build, the clean export and signing.
QVN_RELEASE_PACKAGES=(
  cmake make g++-mingw-w64-i686 binutils-mingw-w64-i686
  git openssl osslsigncode ca-certificates
)

# Prints those of the named packages (default: QVN_PACKAGES) not installed.
packages_missing() {
  local package missing=()
  [ $# -gt 0 ] || set -- "${QVN_PACKAGES[@]}"
  for package in "$@"; do
    [[ $(dpkg-query -W -f='${Status}' "$package" 2>/dev/null) == *'install ok installed'* ]] || missing+=("$package")
  done
  echo "${missing[@]}"
}

# Installs the named packages (default: QVN_PACKAGES) that are missing.
packages_ensure() {
  local missing
  missing=$(packages_missing "$@")
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "packages: missing ($missing); run as root to install them" >&2
    return 1
  fi
  echo "packages: installing $missing"
  if [[ $missing == *:i386* ]]; then
    grep -qx i386 <<<"$(dpkg --print-foreign-architectures)" || dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  local attempt
  for attempt in 1 2; do
    if apt-get update -q >/dev/null &&
       apt-get install -y -q --no-install-recommends $missing >/dev/null; then
      return 0
    fi
    echo "packages: install attempt $attempt failed" >&2
    sleep 5
  done
  return 1
}
