# Installs the Debian packages the project builds and runs with, when any is missing.
# Sourced by the other scripts; safe to run again and again.
KIVTAL_PACKAGES=(build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-tools-dev libqt6opengl6-dev qt6-multimedia-dev libgl-dev libegl-dev
  libsqlite3-dev libpq-dev postgresql libjsoncpp-dev libcurl4-openssl-dev libssl-dev libcpp-httplib-dev
  libsecret-1-dev gnome-keyring dbus
  libgtest-dev libgmock-dev libbenchmark-dev iputils-ping xvfb xauth fonts-noto-cjk
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good clang-format
  libtesseract-dev tesseract-ocr-chi-sim tesseract-ocr-eng fonts-dejavu python3-pil)

# Compiles through ccache when it is installed: a clean clone then rebuilds from the
# machine's cache instead of from scratch. Nothing depends on it.
kivtal_use_ccache() {
  if command -v ccache >/dev/null 2>&1; then
    export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  fi
}

kivtal_install_deps() {
  local missing=()
  for p in "${KIVTAL_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}
