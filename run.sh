#!/usr/bin/env bash
# Starts the calculator window; with arguments, runs the command line orvex-calc instead.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup-deps
scripts/build build
if [ $# -gt 0 ]; then
  exec build/orvex-calc "$@"
fi
if [ -x build/orvex ]; then
  exec build/orvex
fi
exec build/orvex-calc --help
