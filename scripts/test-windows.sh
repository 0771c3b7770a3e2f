#!/usr/bin/env bash
# Tests the Windows build under Wine against simulated trackers on Linux. A private Wine prefix
# maps COM ports onto Unix paths (HKLM\Software\Wine\Ports, which Wine turns into the comN links
# of the prefix's dosdevices folder):
#   COM1, COM4  paths that do not exist       COM2  korvisor-sim --silent
#   COM3        korvisor-sim --pose 10,90,-5  COM255 (unmapped) no such port
# Then it runs the Windows test programs and the packaged vexlink.exe: open, identify, detect,
# version, read in every mode, stream to a UDP listener on 127.0.0.1 (the datagrams compared
# with the Linux program's), a silent port, missing ports and a held port.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/build-windows.sh --tests >/dev/null
# The simulator, and the Linux program for the datagram comparison, from the normal build.
if [[ ! -x build/sim/korvisor-sim || ! -x build/tools/vexlink ]]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j"$(nproc)" --target korvisor-sim vexlink_cli >/dev/null
fi
for p in wine zip; do
  command -v $p >/dev/null || { echo "missing: $p (scripts/install-deps.sh installs it)"; exit 1; }
done

work=$(mktemp -d /tmp/vexlink-wine.XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml=" WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY
pids=()
cleanup() {
  wineserver -k 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

sim=$root/build/sim/korvisor-sim
"$sim" --link "$work/tracker" --pose 10,90,-5 --log "$work/tracker.log" >"$work/tracker.out" 2>&1 & pids+=($!)
"$sim" --link "$work/silent" --silent >"$work/silent.out" 2>&1 & pids+=($!)
for link in tracker silent; do
  for _ in $(seq 50); do [[ -e $work/$link ]] && break; sleep 0.1; done
  [[ -e $work/$link ]] || { echo "the simulator did not start"; exit 1; }
done

echo "== Wine prefix (the first start of a prefix takes a while)"
wineboot -i >/dev/null 2>&1
cat >"$work/ports.reg" <<REG
REGEDIT4

[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]
"COM1"="/nonexistent/vexlink-com1"
"COM2"="$work/silent"
"COM3"="$work/tracker"
"COM4"="/nonexistent/vexlink-com4"
REG
wine regedit /S "$work/ports.reg"
wineserver -k; wineserver -w
wineserver -p  # kept running: every later start of a program is quick
wine cmd /c exit >/dev/null 2>&1  # Wine's device manager makes the comN links
for n in 1 2 3 4; do
  target=$(readlink "$WINEPREFIX/dosdevices/com$n" || true)
  case $n:$target in
    1:/nonexistent/*|4:/nonexistent/*|2:$work/silent|3:$work/tracker) ;;
    *) echo "com$n links to '$target', not to the test's port"; exit 1 ;;
  esac
done

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

echo "== Windows test programs"
tests=build-windows/tests/windows
cp build-windows/vexlink/vexlink.dll "$tests/"
for t in cli_unit_tests vexlink_platform_tests vexlink_link_tests; do
  if wine "$tests/$t.exe" --gtest_brief=1 >"$work/$t.log" 2>&1; then
    pass "$t: $(grep -a 'PASSED' "$work/$t.log" | tr -d '\r')"
  else
    cat "$work/$t.log"; fail "$t"
  fi
done

echo "== vexlink.exe from the package"
exe=build-windows/vexlink-windows-x64/vexlink.exe
# run NAME EXPECTED-STATUS ARGS...: runs the program, keeps its output in $out and $err.
run() {
  local name=$1 want=$2; shift 2
  local start=$(date +%s%N) status=0
  wine "$exe" "$@" >"$work/out" 2>"$work/err" || status=$?
  took_ms=$(( ($(date +%s%N) - start) / 1000000 ))
  out=$(tr -d '\r' <"$work/out"); err=$(tr -d '\r' <"$work/err")
  if [[ $status != "$want" ]]; then fail "$name: status $status, not $want: $err"; return 1; fi
}

run ports 0 ports && { [[ $out == *COM2* && $out == *COM3* ]] && pass "ports: lists COM2 and COM3 from the registry" \
                                                         || fail "ports: '$out'"; }
run version 0 version --port COM3 && { [[ $out == 1.02 ]] && pass "version: $out" || fail "version: '$out'"; }
run detect 0 detect && { [[ $out == "COM3 version 1.02" ]] && pass "detect: $out" || fail "detect: '$out'"; }

# Every good sample is the tracker's pose; on a loaded machine one sample of a stream may come
# too late (the simulator runs on the same cores), so one miss is tolerated.
for mode in "" "--checksum" "--continuous" "--checksum --continuous" "--ascii" "--ascii --continuous"; do
  # shellcheck disable=SC2086
  run "read $mode" 0 read --port COM3 --count 6 $mode || continue
  good=$(grep -c ',good$' <<<"$out" || true)
  right=$(grep -c '^[0-9.]*,10,90,-5,good$' <<<"$out" || true)
  if [[ $good == "$right" && $good -ge 5 ]]; then
    pass "read ${mode:-(binary, upon request)}: $good of 6 samples good, all at 10,90,-5"
  else
    fail "read $mode: $good good samples of 6, $right at the pose: $out"
  fi
done

# A UDP listener on 127.0.0.1 that keeps the first N datagrams, in hex, one a line.
listen() {
  /usr/bin/python3 - "$1" "$2" <<'PY' &
import socket, sys
n, path = int(sys.argv[1]), sys.argv[2]
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind(("127.0.0.1", 0))
s.settimeout(20)
with open(path + ".port", "w") as f:
    f.write(str(s.getsockname()[1]))
got = []
try:
    while len(got) < n:
        got.append(s.recv(2048).hex())
except socket.timeout:
    pass
with open(path, "w") as f:
    f.write("".join(g + "\n" for g in got))
PY
  listener=$!
  for _ in $(seq 50); do [[ -s $2.port ]] && break; sleep 0.1; done
  port=$(cat "$2.port")
}

listen 5 "$work/windows.udp"
run stream 0 stream --port COM3 --continuous --count 5 --udp "127.0.0.1:$port"
wait "$listener" || true
listen 5 "$work/linux.udp"
VEXLINK_COM3=$work/tracker build/tools/vexlink stream --port COM3 --continuous --count 5 \
  --udp "127.0.0.1:$port" >/dev/null 2>&1 || fail "stream on Linux"
wait "$listener" || true
if [[ $(wc -l <"$work/windows.udp") == 5 && $(sort -u "$work/windows.udp" | wc -l) == 1 ]] &&
   cmp -s "$work/windows.udp" "$work/linux.udp"; then
  pass "stream: 5 datagrams of $(($(head -1 "$work/windows.udp" | tr -d '\n' | wc -c) / 2)) bytes, the same as on Linux"
else
  fail "stream: Windows sent $(wc -l <"$work/windows.udp"), Linux $(wc -l <"$work/linux.udp"), or they differ"
fi

run "silent port" 1 read --port COM2 --count 1 &&
  { [[ $err == *"no tracker answered on COM2"* && $took_ms -lt 5000 ]] && pass "silent port: '$err' (${took_ms} ms with Wine's start)" \
                                                                  || fail "silent port: '$err' after $took_ms ms"; }
for port in COM255 COM1; do
  run "missing port $port" 1 version --port $port &&
    { [[ $err == *"does not exist"* ]] && pass "missing port $port: $err" || fail "missing port $port: '$err'"; }
done

# A port held by another program: a stream holds COM3 while a second program asks for it.
listen 1 "$work/held.udp"
wine "$exe" stream --port COM3 --continuous --seconds 6 --udp "127.0.0.1:$port" >/dev/null 2>&1 &
holder=$!
wait "$listener" || true  # the first datagram: the stream holds the port now
run "held port" 1 version --port COM3 &&
  { [[ $err == *"in use by another program"* ]] && pass "held port: $err" || fail "held port: '$err'"; }
wait "$holder" || fail "the stream that held the port"
run "released port" 0 version --port COM3 && pass "the port opens again once released"

if ((failures)); then
  echo "$failures Windows check(s) failed; what the tracker heard that it did not take in:"
  grep -v ' understood$\| intact$' "$work/tracker.log" | tail -20 || true
  exit 1
fi
echo "All Windows checks passed under Wine."
