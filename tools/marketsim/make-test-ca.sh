#!/bin/sh
# make-test-ca.sh DIR
#
# Makes the test certificate authority and the one server certificate that
# the marketplace simulator uses for the main host and every vendor host:
#   DIR/ca.pem, DIR/ca.der   the CA certificate (PEM for curl/OpenSSL,
#                            DER for the Windows certificate store)
#   DIR/server.pem           server certificate, followed by the CA
#   DIR/server.key           server private key (unencrypted)
# Running it again keeps a set that is complete, matches and is valid for at
# least another day; otherwise the whole set is made afresh. The files are
# made in a scratch folder and moved in last, so a reader never sees half a
# set.
set -eu

if [ $# -ne 1 ]; then
    echo "usage: $0 DIR" >&2
    exit 2
fi
dir=$1
command -v openssl >/dev/null 2>&1 || { echo "make-test-ca.sh: openssl not found" >&2; exit 1; }
mkdir -p "$dir"

set_is_sound() {
    for f in ca.pem ca.der server.pem server.key; do
        [ -s "$dir/$f" ] || return 1
    done
    openssl verify -CAfile "$dir/ca.pem" "$dir/server.pem" >/dev/null 2>&1 || return 1
    openssl x509 -in "$dir/server.pem" -noout -checkend 86400 >/dev/null 2>&1 || return 1
    openssl x509 -in "$dir/ca.pem" -noout -checkend 86400 >/dev/null 2>&1 || return 1
    # The key must belong to the certificate.
    a=$(openssl x509 -in "$dir/server.pem" -noout -pubkey 2>/dev/null) || return 1
    b=$(openssl pkey -in "$dir/server.key" -pubout 2>/dev/null) || return 1
    [ "$a" = "$b" ]
}

if set_is_sound; then
    exit 0
fi

work=$(mktemp -d "$dir/.make-ca.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

openssl req -x509 -newkey rsa:2048 -sha256 -nodes -days 3650 \
    -keyout "$work/ca.key" -out "$work/ca.pem" \
    -subj "/O=Marketplace Simulator/CN=Marketplace Simulator Test CA" \
    -addext "basicConstraints=critical,CA:TRUE" \
    -addext "keyUsage=critical,keyCertSign,cRLSign" \
    -addext "subjectKeyIdentifier=hash" >/dev/null 2>&1 \
    || { echo "make-test-ca.sh: making the CA failed" >&2; exit 1; }

openssl req -newkey rsa:2048 -sha256 -nodes \
    -keyout "$work/server.key" -out "$work/server.csr" \
    -subj "/O=Marketplace Simulator/CN=market.localhost" >/dev/null 2>&1 \
    || { echo "make-test-ca.sh: making the server key failed" >&2; exit 1; }

cat > "$work/server.ext" <<'EXT'
basicConstraints=critical,CA:FALSE
keyUsage=critical,digitalSignature,keyEncipherment
extendedKeyUsage=serverAuth
subjectKeyIdentifier=hash
authorityKeyIdentifier=keyid
subjectAltName=DNS:market.localhost,DNS:*.vendors.localhost,DNS:localhost,IP:127.0.0.1,IP:::1
EXT

openssl x509 -req -sha256 -days 825 -in "$work/server.csr" \
    -CA "$work/ca.pem" -CAkey "$work/ca.key" -CAcreateserial \
    -extfile "$work/server.ext" -out "$work/server.crt" >/dev/null 2>&1 \
    || { echo "make-test-ca.sh: signing the server certificate failed" >&2; exit 1; }

openssl x509 -in "$work/ca.pem" -outform DER -out "$work/ca.der" \
    || { echo "make-test-ca.sh: writing ca.der failed" >&2; exit 1; }
cat "$work/server.crt" "$work/ca.pem" > "$work/server.pem"
chmod 600 "$work/server.key"

# The key goes in first and the CA last, so that an interrupted run leaves a
# set that the soundness test above rejects.
for f in server.key server.pem ca.der ca.pem; do
    mv -f "$work/$f" "$dir/$f"
done
exit 0
