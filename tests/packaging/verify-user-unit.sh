#!/bin/bash
# Checks the systemd user unit with systemd-analyze verify, on an instance whose program is the
# vexlink just built. Skipped (status 77) where systemd-analyze is not installed.
# usage: verify-user-unit.sh TEMPLATE PROGRAM WORKDIR
set -euo pipefail
template=$1 program=$2 dir=$3/unit-check
command -v systemd-analyze >/dev/null || { echo "systemd-analyze not found"; exit 77; }
rm -rf "$dir" && mkdir -p "$dir"
sed "s|@VEXLINK_UNIT_PROGRAM@|$program|" "$template" > "$dir/vexlink-stream@COM3.service"
out=$(systemd-analyze verify --man=no "$dir/vexlink-stream@COM3.service" 2>&1) || { echo "$out"; exit 1; }
# verify reports some problems as warnings with status 0: none may name this unit.
if grep -q "vexlink-stream" <<<"$out"; then echo "$out"; exit 1; fi
echo "unit verified"
