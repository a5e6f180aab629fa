# Installs the Debian packages that the build, the demo and the tests need.
# Sourced by the scripts; does nothing when everything is already there.
miravel_paquetes=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl-dev libqt6sql6-mysql
  mariadb-server mariadb-client
  libxlsxwriter-dev
  qt6-translations-l10n
  xvfb xauth fonts-dejavu-core xdg-utils poppler-utils clang-format python3-openpyxl
  desktop-file-utils
)

instala_paquetes() {
  local faltan=()
  for p in "${miravel_paquetes[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltan+=("$p")
  done
  [ ${#faltan[@]} -eq 0 ] && return 0
  echo "Installing: ${faltan[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${faltan[@]}" >/dev/null
}

compila() {
  local dir=$1; shift
  cmake -S "$raiz" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}
