#!/bin/sh
# make-certs.sh DIR
# Certificates of the transport tests' site, made once per folder:
#   DIR/ca.pem, DIR/ca.der          the test CA (PEM for libcurl, DER for the Windows store)
#   DIR/server.pem, DIR/server.key  signed by it, for market.localhost and *.vendors.localhost
#   DIR/rogue.pem, DIR/rogue.key    self-signed for the same names: no client may trust it
set -eu
[ $# -eq 1 ] || { echo "usage: $0 DIR" >&2; exit 2; }
dir=$1
mkdir -p "$dir"
# Runs on one folder take turns: a later one finds the set made and keeps it,
# where moving two sets in at once could pair one run's key with another's
# certificate.
exec 9>"$dir/.lock"
flock 9
if [ -s "$dir/rogue.key" ] && openssl verify -CAfile "$dir/ca.pem" "$dir/server.pem" >/dev/null 2>&1 \
    && openssl x509 -in "$dir/server.pem" -noout -checkend 86400 >/dev/null 2>&1; then
    exit 0
fi
work=$(mktemp -d "$dir/.work.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
names="subjectAltName=DNS:market.localhost,DNS:*.vendors.localhost"

openssl req -x509 -newkey rsa:2048 -sha256 -nodes -days 3650 -keyout "$work/ca.key" \
    -out "$work/ca.pem" -subj "/CN=Transport Test CA" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
    >/dev/null 2>&1
openssl req -newkey rsa:2048 -sha256 -nodes -keyout "$work/server.key" -out "$work/server.csr" \
    -subj "/CN=market.localhost" >/dev/null 2>&1
printf '%s\nbasicConstraints=critical,CA:FALSE\nextendedKeyUsage=serverAuth\n' "$names" \
    >"$work/server.ext"
openssl x509 -req -sha256 -days 825 -in "$work/server.csr" -CA "$work/ca.pem" \
    -CAkey "$work/ca.key" -CAcreateserial -extfile "$work/server.ext" -out "$work/server.crt" \
    >/dev/null 2>&1
openssl req -x509 -newkey rsa:2048 -sha256 -nodes -days 825 -keyout "$work/rogue.key" \
    -out "$work/rogue.pem" -subj "/CN=market.localhost" -addext "$names" >/dev/null 2>&1
openssl x509 -in "$work/ca.pem" -outform DER -out "$work/ca.der"
cat "$work/server.crt" "$work/ca.pem" >"$work/server.pem"
for f in ca.pem ca.der server.key server.pem rogue.pem rogue.key; do
    mv -f "$work/$f" "$dir/$f"
done
