#!/usr/bin/env bash
# Installs every package the build, the tools and the tests need (Debian 12).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  googletest libgtest-dev tzdata
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64 libz-mingw-w64-dev
  wine64 xvfb
  openssl libssl-dev libcpp-httplib-dev libcurl4-openssl-dev libnss-myhostname
  unixodbc unixodbc-dev odbcinst libsqliteodbc sqlite3
)

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The simulator's hosts (market.localhost, NICK.vendors.localhost) resolve to
# loopback through glibc's myhostname module; the package enables it, but a
# machine whose nsswitch.conf was edited by hand may lack it.
if ! getent hosts market.localhost >/dev/null 2>&1; then
  if ! grep -Eq '^hosts:.*\bmyhostname\b' /etc/nsswitch.conf; then
    $sudo sed -i -E 's/^(hosts:[[:space:]]+files)/\1 myhostname/' /etc/nsswitch.conf
  fi
  getent hosts market.localhost >/dev/null 2>&1 ||
    { echo "setup: market.localhost does not resolve to loopback" >&2; exit 1; }
fi
