# A minimal Debian 12 root made with debootstrap, for the checks that must see a bare machine.
# Sourced by the scripts; needs root.
#   jaula_nueva DIR   a fresh root in DIR, copied from the base kept in build/jaula-base
#                     (made again when older than a week), with /proc, /dev/pts and /dev/shm
#                     mounted and the host's name resolution
#   jaula_quita DIR   unmounts and removes it

jaula_base() {
  local base=$raiz/build/jaula-base
  if [ -f "$base/.hecha" ] && [ -z "$(find "$base/.hecha" -mtime +7)" ]; then
    return 0
  fi
  echo "Making the minimal Debian 12 base root (kept in $base)..."
  rm -rf "$base" "$base.nueva"
  mkdir -p "$raiz/build"
  debootstrap --variant=minbase bookworm "$base.nueva" >"$raiz/build/debootstrap.log" 2>&1 ||
    { tail -20 "$raiz/build/debootstrap.log" >&2; rm -rf "$base.nueva"; return 1; }
  # Package lists and downloads are not part of the base: every copy starts as a new machine.
  chroot "$base.nueva" apt-get clean
  mv "$base.nueva" "$base"
  touch "$base/.hecha"
}

jaula_nueva() {
  local jaula=$1
  jaula_base
  rm -rf "$jaula"
  cp -a "$raiz/build/jaula-base" "$jaula"
  rm -f "$jaula/.hecha"
  cp /etc/resolv.conf "$jaula/etc/resolv.conf"
  mount -t proc proc "$jaula/proc"
  mkdir -p "$jaula/dev/pts" "$jaula/dev/shm"
  mount -t devpts -o newinstance,ptmxmode=0666 devpts "$jaula/dev/pts"
  mount -t tmpfs tmpfs "$jaula/dev/shm"
}

jaula_quita() {
  local jaula=$1
  [ -d "$jaula" ] || return 0
  # Whatever the checks left running inside must not keep the mounts busy.
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$jaula" ] && kill -9 "${p#/proc/}" 2>/dev/null
  done
  for m in dev/shm dev/pts proc; do umount -l "$jaula/$m" 2>/dev/null || true; done
  rm -rf --one-file-system "$jaula"
}
