#!/usr/bin/env bash
# Installs what is missing, builds, lays out build/app/ and starts the program.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/setup.sh"
exec "$top/build/app/helan-rental" "$@"
