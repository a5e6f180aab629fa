#!/usr/bin/env bash
# The Debian package as built: its files and their modes, its dependencies, its menu entry.
#   tst_paquete.sh BUILD_DIR
set -euo pipefail
construccion=$1
salida=$(mktemp -d /tmp/miravel-tst-paquete.XXXXXX)
trap 'rm -rf "$salida"' EXIT
falla() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$construccion/CPackConfig.cmake" -G DEB -B "$salida" >/dev/null
paquete=$(ls "$salida"/miravel_*.deb)
contenido=$(dpkg-deb -c "$paquete" | awk '{ if ($7 == "->") print $1, $6, $8; else print $1, $6 }')

for esperado in "-rwxr-xr-x ./opt/miravel/miravel" "-rwxr-xr-x ./opt/miravel/miravel-export" \
    "-rw-r--r-- ./opt/miravel/libtramo5.so" "-rw-r--r-- ./opt/miravel/ReporteGrafico.rpt" \
    "-rw-r--r-- ./opt/miravel/ReporteGxLineas.rpt" "-rw-r--r-- ./opt/miravel/ReporteGxVend.rpt" \
    "lrwxrwxrwx ./usr/bin/miravel /opt/miravel/miravel" \
    "lrwxrwxrwx ./usr/bin/miravel-export /opt/miravel/miravel-export" \
    "-rw-r--r-- ./usr/share/applications/miravel.desktop" \
    "-rw-r--r-- ./usr/share/icons/hicolor/48x48/apps/miravel.png" \
    "-rw-r--r-- ./usr/share/icons/hicolor/256x256/apps/miravel.png" \
    "-rw-r--r-- ./usr/share/man/man1/miravel-export.1.gz" \
    "-rw-r--r-- ./usr/share/doc/miravel/copyright"; do
  grep -qxF -- "$esperado" <<<"$contenido" || falla "missing or wrong mode: $esperado"
done

dependencias=$(dpkg-deb -f "$paquete" Depends)
for d in libqt6widgets6 libqt6sql6 libqt6charts6 libxlsxwriter libqt6sql6-mysql qt6-qpa-plugins \
    fonts-dejavu-core qt6-translations-l10n xdg-utils; do
  grep -q "$d" <<<"$dependencias" || falla "dependency $d missing from: $dependencias"
done

dpkg-deb -x "$paquete" "$salida/arbol"
desktop-file-validate "$salida/arbol/usr/share/applications/miravel.desktop" ||
  falla "the menu entry does not validate"
grep -qx 'Categories=Office;Finance;Qt;' "$salida/arbol/usr/share/applications/miravel.desktop"
zcat "$salida/arbol/usr/share/man/man1/miravel-export.1.gz" | grep -q 'MIRAVEL_CLAVE' ||
  falla "the manual page does not name MIRAVEL_CLAVE"
"$salida/arbol/opt/miravel/miravel-export" --version | grep -qx "miravel-export [0-9.]*" ||
  falla "miravel-export --version"
"$salida/arbol/opt/miravel/miravel" --version | grep -qx "miravel [0-9.]*" || falla "miravel --version"
"$salida/arbol/opt/miravel/miravel" --help | grep -q "Miravel.ini" || falla "miravel --help"
echo "1 passed, 0 failed"
