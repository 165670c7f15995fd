#!/usr/bin/env bash
# The shared prefix's Wine server and its services (the desktop, the service manager,
# the device manager), started once for the programs that run in it and stopped after
# the last: a program that finds no server starts all of them and they stop again
# seconds after it ends, about three seconds per program.
# Usage: wine_server.sh start|stop WINE_RUN
set -euo pipefail
wine_run="$2"
# The server and the services outlive this script: none may hold CTest's output pipe.
exec </dev/null >/dev/null 2>&1
case "$1" in
  start)
    # Five idle minutes bound a server whose run was interrupted before its stop; one
    # still running from such a run serves as well as a new one.
    "$wine_run" --server -p300 || true
    "$wine_run" cmd /c exit 0
    ;;
  stop)
    "$wine_run" --server -k || true
    "$wine_run" --server -w || true
    ;;
esac
