#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command inside an X server of its own and exits with the command's exit status:
#   with-xvfb.sh [-s WIDTHxHEIGHTxDEPTH] command [arguments...]
# or starts a server that outlives this script (for the programs of a Wine prefix, which must
# all share one display), and ends it again:
#   with-xvfb.sh [-s WIDTHxHEIGHTxDEPTH] --start FOLDER   writes FOLDER/x-server.env, which sets
#                                                         DISPLAY and XAUTHORITY when sourced
#   with-xvfb.sh --stop FOLDER
# The server (Xvfb, 1280x1024x24 unless -s says otherwise) picks a free display number itself
# (-displayfd) as it takes the number's sockets, so servers started at the same time, or by
# another container that shares this machine's network, never share a number. (xvfb-run -a looks
# for a number without a lock file first and starts the server after: two runs can take the same
# number, and a socket of another container's server has no lock file to see here.)
# The server does not start over when its last client leaves (-noreset), as a desktop's server
# never does: otherwise each program run after another waits while the server re-reads its
# keyboard map, which makes start-up times depend on what ran before.
# The command gets DISPLAY and XAUTHORITY (a fresh cookie). The server is ended and waited for
# before this script exits; its output is shown when it fails to start or the command fails.
set -euo pipefail

screen=1280x1024x24
if [ "${1:-}" = -s ]; then
  screen=$2
  shift 2
fi
if [ "${1:-}" = --stop ]; then
  [ $# -eq 2 ] || { echo "usage: $0 --stop FOLDER" >&2; exit 2; }
  if [ -f "$2/x-server.pid" ]; then
    server=$(cat "$2/x-server.pid")
    kill "$server" 2>/dev/null || :
    while kill -0 "$server" 2>/dev/null; do sleep 0.02; done
  fi
  rm -rf "$2/x-server.pid" "$2/x-server.env" "$2/x-server"
  exit 0
fi
lasting=
if [ "${1:-}" = --start ]; then
  [ $# -eq 2 ] || { echo "usage: $0 [-s WIDTHxHEIGHTxDEPTH] --start FOLDER" >&2; exit 2; }
  lasting=$2
elif [ $# -eq 0 ]; then
  echo "usage: $0 [-s WIDTHxHEIGHTxDEPTH] command [arguments...]" >&2
  exit 2
fi
for tool in Xvfb xauth mcookie; do
  command -v "$tool" >/dev/null || { echo "$tool is needed (apt-get install xvfb xauth)" >&2; exit 2; }
done

if [ -n "$lasting" ]; then
  work=$lasting/x-server
  rm -rf "$work"
  mkdir -p "$work"
else
  work=$(mktemp -d "${TMPDIR:-/tmp}/corvane-xvfb.XXXXXX")
fi
server=
# shellcheck disable=SC2317  # called by the EXIT trap
end_server() {
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null || :
    wait "$server" 2>/dev/null || :
  fi
  rm -rf "$work"
}
trap end_server EXIT

show_server_output() {
  if [ -s "$work/xvfb.log" ]; then
    echo "--- Xvfb's output:" >&2
    cat "$work/xvfb.log" >&2
  fi
}

# The server takes every cookie of its file, whatever display number the entry names; the
# clients look for their display's number, which is known once the server runs.
cookie=$(mcookie)
: >"$work/auth"
xauth -q -f "$work/auth" add :0 . "$cookie"
if [ -n "$lasting" ]; then
  setsid Xvfb -displayfd 3 -auth "$work/auth" -nolisten tcp -noreset -screen 0 "$screen" \
    3>"$work/display" >"$work/xvfb.log" 2>&1 </dev/null &
else
  Xvfb -displayfd 3 -auth "$work/auth" -nolisten tcp -noreset -screen 0 "$screen" \
    3>"$work/display" >"$work/xvfb.log" 2>&1 &
fi
server=$!

deadline=$((SECONDS + 15))
until [ -s "$work/display" ]; do
  if ! kill -0 "$server" 2>/dev/null; then
    server=
    echo "Xvfb failed to start" >&2
    show_server_output
    exit 1
  fi
  if ((SECONDS >= deadline)); then
    echo "Xvfb did not start within 15 seconds" >&2
    show_server_output
    exit 1
  fi
  sleep 0.02
done
display=:$(head -n 1 "$work/display")
xauth -q -f "$work/auth" add "$display" . "$cookie"

if [ -n "$lasting" ]; then
  printf 'export DISPLAY=%q XAUTHORITY=%q\n' "$display" "$work/auth" >"$lasting/x-server.env"
  echo "$server" >"$lasting/x-server.pid"
  trap - EXIT
  exit 0
fi

status=0
DISPLAY=$display XAUTHORITY=$work/auth "$@" || status=$?
[ "$status" -eq 0 ] || show_server_output
exit "$status"
