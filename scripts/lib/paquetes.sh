# Installs the Debian packages that the build, the demo and the tests need, each named: they are
# installed without recommends, and a bare machine has nothing else (scripts/prueba-limpia).
# Sourced by the scripts; does nothing when everything is already there.
miravel_paquetes=(
  # the build: compiler, CMake, Qt (Charts needs libqt6opengl6-dev, only recommended), the
  # workbook library and the zlib its pkg-config file links
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl-dev libqt6sql6-mysql
  libxlsxwriter-dev zlib1g-dev
  # run time: Qt's Spanish texts, the report font, the launcher of the settings file
  qt6-translations-l10n fonts-dejavu-core xdg-utils
  # the private server of the demo and the tests (mariadb-server brings galera-4, socat and
  # rsync); the state transfer that lets the tests' second cluster node join, as root
  mariadb-server mariadb-client mariadb-backup
  # the tests: a display for the windows and keys sent to them, the PDFs' text, the format, an
  # independent reader of the workbooks, the menu entry's and the package's checks (cpack asks
  # file for each binary), a memory checker for what reaches the images
  xvfb xauth xdotool poppler-utils clang-format python3-openpyxl desktop-file-utils file valgrind
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

# compila DIR [CMAKE_OPTION...]: configures and builds DIR; MIRAVEL_OBJETIVOS, when set, names the
# only targets to build (the demo needs no test program).
compila() {
  local dir=$1; shift
  cmake -S "$raiz" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  # shellcheck disable=SC2086
  cmake --build "$dir" -j "$(nproc)" ${MIRAVEL_OBJETIVOS:+--target $MIRAVEL_OBJETIVOS}
}
