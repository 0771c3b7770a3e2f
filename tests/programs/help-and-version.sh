#!/bin/sh
# Every program answers --help and --version at once and touches no port: each runs against a
# simulated tracker on COM1 whose log of received bytes must stay empty, no window opens (the
# run would not end), and nothing is written into the working folder.
# Usage: help-and-version.sh KORVISOR_SIM PROGRAM...
set -u
sim=$1
shift
work=$(mktemp -d "${TMPDIR:-/tmp}/help-and-version.XXXXXX")
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

for prog in "$@"; do
  name=$(basename "$prog")
  for arg in --help --version; do
    run="$work/$name$arg"
    mkdir "$run"
    if [ "$prog" = "$sim" ]; then
      (cd "$run" && timeout -k 2 10 "$prog" "$arg" >"$run.out" 2>"$run.err")
      status=$?
    else
      (cd "$run" && timeout -k 2 10 "$sim" --log "$work/$name$arg.rx" --com 1 -- "$prog" "$arg" \
        >"$run.out" 2>"$run.err")
      status=$?
      if grep -qv '^#' "$work/$name$arg.rx"; then
        fail "$name $arg sent bytes to a port: $(grep -v '^#' "$work/$name$arg.rx" | head -3)"
      fi
    fi
    [ "$status" -eq 0 ] || fail "$name $arg exited with $status: $(head -3 "$run.err")"
    case $arg in
      --help) grep -q '^[Uu]sage: ' "$run.out" || fail "$name --help printed no usage: $(head -3 "$run.out")" ;;
      --version) grep -qx "$name [0-9][0-9.]*" "$run.out" || fail "$name --version printed: $(head -3 "$run.out")" ;;
    esac
    [ -z "$(ls -A "$run")" ] || fail "$name $arg wrote into the working folder: $(ls -A "$run")"
  done
done

[ "$failures" -eq 0 ] && echo "every program answered --help and --version"
exit $((failures != 0))
