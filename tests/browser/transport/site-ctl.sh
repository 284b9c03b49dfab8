#!/bin/sh
# site-ctl.sh start PROGRAM CERT-DIR STATE-DIR | stop STATE-DIR
# Starts the transport tests' site in the background (its ports in
# STATE-DIR/ports) or stops it. Its output goes to STATE-DIR/site.log, so
# that no pipe of the caller stays open behind it.
set -eu
case "$1" in
start)
    program=$2 certs=$3 state=$4
    mkdir -p "$state"
    if [ -s "$state/site.pid" ] && kill -0 "$(cat "$state/site.pid")" 2>/dev/null; then
        kill "$(cat "$state/site.pid")"
    fi
    rm -f "$state/ports"
    "$program" "$certs" "$state/ports" >"$state/site.log" 2>&1 </dev/null &
    echo $! >"$state/site.pid"
    for _ in $(seq 1 100); do
        [ -s "$state/ports" ] && exit 0
        kill -0 "$(cat "$state/site.pid")" 2>/dev/null || break
        sleep 0.1
    done
    cat "$state/site.log" >&2
    echo "site-ctl: the site did not start" >&2
    exit 1
    ;;
stop)
    state=$2
    if [ -s "$state/site.pid" ]; then
        kill "$(cat "$state/site.pid")" 2>/dev/null || true
        rm -f "$state/site.pid"
    fi
    ;;
*)
    echo "usage: site-ctl.sh start PROGRAM CERT-DIR STATE-DIR | stop STATE-DIR" >&2
    exit 2
    ;;
esac
