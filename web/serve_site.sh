#!/usr/bin/env bash
# Serves the web site with nginx as a school's server would (web/nginx.conf.in), on
# 127.0.0.1, in the foreground and as the user who runs it; Ctrl+C ends it.
#
#   serve_site.sh <site> <port> <folder for the server's own files>
set -euo pipefail
mkdir -p "$3"
site=$(realpath "$1") port=$2 run=$(realpath "$3")
sed -e "s|@SITE@|$site|g" -e "s|@PORT@|$port|g" -e "s|@RUN@|$run|g" \
    "$(dirname "${BASH_SOURCE[0]}")/nginx.conf.in" > "$run/nginx.conf"
exec /usr/sbin/nginx -e stderr -p "$run/" -c "$run/nginx.conf"
