# A private MariaDB server: own data folder, own socket, 127.0.0.1 on a free port.
# Never touches the machine's system service. Sourced by the scripts.
#   mdb_inicia DATADIR [OPTION...]
#                        starts it (installs the data folder on first use), with the server
#                        options given (MDB_CONFIG: more lines of its [mariadbd] section;
#                        MDB_POOL: the InnoDB buffer pool, 512M when unset),
#                        sets MDB_PUERTO, MDB_SOCKET, MDB_CNF, MDB_DIR and MDB_PID
#   mdb_detiene          stops the server this shell started
#   mdb_cliente ARGS     runs the client against it as root

puerto_libre() {
  local p hex
  for _ in $(seq 1 200); do
    p=$((20000 + RANDOM % 30000))
    hex=$(printf ':%04X ' "$p")
    grep -qi "$hex" /proc/net/tcp /proc/net/tcp6 2>/dev/null || { echo "$p"; return 0; }
  done
  echo "no free port found" >&2
  return 1
}

mdb_inicia() {
  local datos=$1; shift
  MDB_DIR=$(mktemp -d /tmp/miravel-mdb.XXXXXX)
  MDB_SOCKET=$MDB_DIR/mysqld.sock
  MDB_PUERTO=$(puerto_libre)
  MDB_CNF=$MDB_DIR/my.cnf
  mkdir -p "$datos"
  cat >"$MDB_CNF" <<CNF
[mariadbd]
datadir=$datos
socket=$MDB_SOCKET
port=$MDB_PUERTO
bind-address=127.0.0.1
pid-file=$MDB_DIR/mysqld.pid
log-error=$MDB_DIR/error.log
user=root
skip-name-resolve
${MDB_BINLOG:-skip-log-bin}
character-set-server=utf8mb4
collation-server=utf8mb4_general_ci
innodb_buffer_pool_size=${MDB_POOL:-512M}
key_buffer_size=256M
max_allowed_packet=64M
${MDB_CONFIG:-}
[client]
socket=$MDB_SOCKET
user=root
default-character-set=utf8mb4
CNF
  # --force: install even where the host name does not resolve (a minimal container).
  if [ ! -d "$datos/mysql" ] && [ -z "${MDB_SIN_INSTALAR:-}" ]; then
    mariadb-install-db --defaults-file="$MDB_CNF" --auth-root-authentication-method=normal \
      --skip-test-db --skip-name-resolve --force >"$MDB_DIR/install.log" 2>&1 ||
      { cat "$MDB_DIR/install.log" >&2; return 1; }
  fi
  mariadbd --defaults-file="$MDB_CNF" "$@" >/dev/null 2>&1 &
  MDB_PID=$!
  for _ in $(seq 1 "${MDB_ESPERA:-300}"); do
    if mariadb-admin --defaults-file="$MDB_CNF" ping >/dev/null 2>&1; then
      echo "Private MariaDB on 127.0.0.1:$MDB_PUERTO, socket $MDB_SOCKET (pid $MDB_PID)"
      return 0
    fi
    kill -0 "$MDB_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "The private MariaDB did not start:" >&2
  cat "$MDB_DIR/error.log" >&2 || true
  return 1
}

mdb_detiene() {
  [ -n "${MDB_PID:-}" ] || return 0
  if kill -0 "$MDB_PID" 2>/dev/null; then
    kill "$MDB_PID" 2>/dev/null || true
    for _ in $(seq 1 300); do kill -0 "$MDB_PID" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$MDB_PID" 2>/dev/null || true
  fi
  rm -rf "$MDB_DIR"
  MDB_PID=
}

mdb_cliente() {
  mariadb --defaults-file="$MDB_CNF" "$@"
}
