#!/usr/bin/env bash
# The installed package, as another project sees it.
#   package-test.sh install   BUILD STAGE LIBDIR          install every component into STAGE/prefix
#   package-test.sh cmake     STAGE LIBDIR CONSUMER SIM   build CONSUMER with find_package(Vexlink), run it
#   package-test.sh pkgconfig STAGE LIBDIR CONSUMER SIM   build CONSUMER with pkg-config, run it
#   package-test.sh programs  STAGE LIBDIR                run the installed programs against each other
# CXX and CONSUMER_FLAGS (for example the sanitizer flags of the build) are used for the consumer.
set -euo pipefail

fail() { echo "package test: $*" >&2; exit 1; }

mode=$1
case $mode in
install)
  build=$2 stage=$3 libdir=$4
  prefix=$stage/prefix
  rm -rf "$stage"
  mkdir -p "$stage"
  cmake --install "$build" --prefix "$prefix" >"$stage/install.log" || { cat "$stage/install.log" >&2; fail "install failed"; }
  lib=$prefix/$libdir
  # The library with its SONAME links: the development link to the SONAME, that to the file.
  [[ $(readlink "$lib/libvexlink.so") == libvexlink.so.1 ]] || fail "libvexlink.so does not link to libvexlink.so.1"
  real=$(readlink "$lib/libvexlink.so.1") || fail "libvexlink.so.1 is missing"
  [[ $real == libvexlink.so.1.* && -f $lib/$real && ! -L $lib/$real ]] || fail "libvexlink.so.1 links to '$real'"
  readelf -d "$lib/$real" | grep -q 'SONAME.*\[libvexlink\.so\.1\]' || fail "the library's SONAME is not libvexlink.so.1"
  for f in include/vexlink/Vexlink.h include/vexlink/SerialTypes.h "$libdir/pkgconfig/vexlink.pc" \
           "$libdir/cmake/Vexlink/VexlinkConfig.cmake" "$libdir/cmake/Vexlink/VexlinkConfigVersion.cmake" \
           "$libdir/cmake/Vexlink/VexlinkTargets.cmake"; do
    [[ -f $prefix/$f ]] || fail "$f is not installed"
  done
  if [[ -e $prefix/bin/gyrodesk ]]; then
    [[ -f $prefix/share/applications/gyrodesk.desktop ]] || fail "the console's desktop entry is not installed"
    compgen -G "$prefix/share/icons/hicolor/*/apps/gyrodesk.*" >/dev/null || fail "the console's icon is not installed"
  fi
  # Nothing of the build tree may leak into the installed package files.
  if grep -rl -- "$build" "$prefix/$libdir/cmake" "$prefix/$libdir/pkgconfig" >/dev/null; then
    fail "installed package files refer to the build folder"
  fi
  ;;
cmake)
  stage=$2 libdir=$3 consumer=$4 sim=$5
  out=$stage/consumer-cmake
  rm -rf "$out"
  cmake -S "$consumer" -B "$out" -DCMAKE_PREFIX_PATH="$stage/prefix" -DCMAKE_FIND_PACKAGE_NO_PACKAGE_REGISTRY=ON \
        -DCMAKE_CXX_COMPILER="${CXX:-c++}" -DCMAKE_CXX_FLAGS="${CONSUMER_FLAGS:-}" \
        -DCMAKE_EXE_LINKER_FLAGS="${CONSUMER_FLAGS:-}" >"$out.log" 2>&1 || { cat "$out.log" >&2; fail "configure failed"; }
  grep -q "$stage/prefix/$libdir/cmake/Vexlink" "$out/CMakeCache.txt" || fail "Vexlink was not found in the staged prefix"
  cmake --build "$out" >>"$out.log" 2>&1 || { cat "$out.log" >&2; fail "build failed"; }
  readelf -d "$out/consumer" | grep -q 'NEEDED.*\[libvexlink\.so\.1\]' || fail "the consumer does not need libvexlink.so.1"
  "$sim" --com 1 -- "$out/consumer"
  ;;
pkgconfig)
  stage=$2 libdir=$3 consumer=$4 sim=$5
  out=$stage/consumer-pkgconfig
  rm -rf "$out" && mkdir -p "$out"
  export PKG_CONFIG_PATH=$stage/prefix/$libdir/pkgconfig
  [[ $(pkg-config --modversion vexlink) == 1.* ]] || fail "pkg-config reports version '$(pkg-config --modversion vexlink)'"
  flags=$(pkg-config --cflags --libs vexlink)
  libpath=$(pkg-config --variable=libdir vexlink)
  # shellcheck disable=SC2086  # the flags are words
  "${CXX:-c++}" -std=c++20 -Wall -Wextra ${CONSUMER_FLAGS:-} "$consumer/consumer.cpp" $flags \
      -Wl,-rpath,"$libpath" -o "$out/consumer" || fail "build failed"
  "$sim" --com 1 -- "$out/consumer"
  ;;
programs)
  stage=$2 libdir=$3
  bin=$stage/prefix/bin
  [[ -x $bin/vexlink && -x $bin/korvisor-sim ]] || fail "the programs are not installed"
  # They must find the installed library by themselves.
  version=$(env -u LD_LIBRARY_PATH "$bin/korvisor-sim" --version 4.2x --com 2 -- "$bin/vexlink" version --port COM2)
  [[ $version == 4.2x ]] || fail "the installed vexlink read the version '$version'"
  ;;
*)
  fail "unknown mode '$mode'"
  ;;
esac
