# A throw-away PostgreSQL server for the tests: a new cluster in a scratch folder,
# listening only on a socket in that folder (no TCP port), trusted for its own user
# `kivtal`, fsync off (nothing in it outlives the run). Run as an unprivileged user
# when the script runs as root, since the server refuses to run as root. Sourced by
# scripts/test; `kivtal_postgres_start` exports KIVTAL_TEST_POSTGRES, the address the
# tests registered for PostgreSQL connect to, and `kivtal_postgres_stop` removes it all.

kivtal_postgres_bin() {
  local dir
  dir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  [ -x "$dir/initdb" ] && [ -x "$dir/pg_ctl" ] && echo "$dir"
}

# Runs a command as the server's user.
kivtal_postgres_as() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u nobody -- "$@"
  else
    "$@"
  fi
}

kivtal_postgres_start() {
  local bin
  bin=$(kivtal_postgres_bin) || { echo "PostgreSQL's server programs are not installed" >&2; return 1; }
  KIVTAL_POSTGRES_DIR=$(mktemp -d /tmp/kivtal-pg.XXXXXX)
  # The socket's folder is named in the address; a short path keeps it under the
  # socket name's length limit.
  mkdir -p "$KIVTAL_POSTGRES_DIR/s"
  [ "$(id -u)" -eq 0 ] && chown -R nobody "$KIVTAL_POSTGRES_DIR"
  kivtal_postgres_as "$bin/initdb" -D "$KIVTAL_POSTGRES_DIR/data" -U kivtal --auth=trust -E UTF8 \
    --locale=C --no-sync >"$KIVTAL_POSTGRES_DIR/initdb.log" 2>&1 || {
    cat "$KIVTAL_POSTGRES_DIR/initdb.log" >&2
    return 1
  }
  kivtal_postgres_as "$bin/pg_ctl" -D "$KIVTAL_POSTGRES_DIR/data" -l "$KIVTAL_POSTGRES_DIR/server.log" -w \
    -o "-c listen_addresses='' -k $KIVTAL_POSTGRES_DIR/s -p 54329 -c fsync=off -c synchronous_commit=off \
-c full_page_writes=off -c max_connections=300" start >/dev/null || {
    cat "$KIVTAL_POSTGRES_DIR/server.log" >&2
    return 1
  }
  # libpq reads a socket folder as the host when it is a path; in an address it is
  # written with %2F for each /.
  export KIVTAL_TEST_POSTGRES="postgresql://kivtal@${KIVTAL_POSTGRES_DIR//\//%2F}%2Fs:54329"
  echo "PostgreSQL for the tests: $KIVTAL_TEST_POSTGRES"
}

kivtal_postgres_stop() {
  [ -n "${KIVTAL_POSTGRES_DIR:-}" ] || return 0
  local bin
  bin=$(kivtal_postgres_bin) &&
    kivtal_postgres_as "$bin/pg_ctl" -D "$KIVTAL_POSTGRES_DIR/data" -m immediate -w stop >/dev/null 2>&1
  rm -rf "$KIVTAL_POSTGRES_DIR"
  KIVTAL_POSTGRES_DIR=
}
