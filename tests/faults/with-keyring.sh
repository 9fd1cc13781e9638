#!/bin/sh
# Runs a command in a D-Bus session of its own, beside gnome-keyring's secret service whose login
# keyring lives in a fresh folder and is unlocked with a known password: the desktop's keyring as
# an operator has it, without touching the real user's.
set -eu
home=$(mktemp -d "${TMPDIR:-/tmp}/pantiro-keyring-XXXXXX")
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/data" "$home/runtime"
export XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime"
# The daemon takes its name on the bus a moment after it has forked: 10 s at most.
dbus-run-session -- sh -c '
  printf %s keyring-test-password | gnome-keyring-daemon --unlock --components=secrets >/dev/null || exit 1
  for i in $(seq 100); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
      string:org.freedesktop.secrets 2>/dev/null | grep -q "boolean true" && exec "$@"
    sleep 0.1
  done
  echo "with-keyring: no secret service" >&2; exit 1' sh "$@"
