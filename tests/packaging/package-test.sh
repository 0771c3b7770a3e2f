#!/usr/bin/env bash
# The installed package, as another project sees it.
#   package-test.sh install   BUILD STAGE LIBDIR MAP      install into STAGE/prefix; MAP is debian/components
#   package-test.sh cmake     STAGE LIBDIR CONSUMER SIM   build CONSUMER with find_package(Vexlink), run it
#   package-test.sh pkgconfig STAGE LIBDIR CONSUMER SIM   build CONSUMER with pkg-config, run it
#   package-test.sh programs  STAGE LIBDIR                run every installed program from the prefix
# CXX and CONSUMER_FLAGS (for example the sanitizer flags of the build) are used for the consumer.
set -euo pipefail

fail() { echo "package test: $*" >&2; exit 1; }

mode=$1
case $mode in
install)
  build=$2 stage=$3 libdir=$4 map=$5
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
  # Every program with its manual page; the console with its desktop entry, its icon at every
  # size and scalable, and its AppStream metadata.
  for program in "$prefix"/bin/*; do
    name=$(basename "$program")
    [[ -f $prefix/share/man/man1/$name.1 ]] || fail "$name is installed without its manual page"
  done
  [[ ! -e $prefix/bin/gyrodesk-render ]] || fail "gyrodesk-render is installed; it belongs to the build tree"
  if [[ -e $prefix/bin/gyrodesk ]]; then
    [[ -f $prefix/share/applications/gyrodesk.desktop ]] || fail "the console's desktop entry is not installed"
    for size in 16 32 48 64 128 256; do
      icon=$prefix/share/icons/hicolor/${size}x$size/apps/gyrodesk.png
      [[ -f $icon && $(od --endian=big -An -tu4 -j16 -N8 "$icon" | xargs) == "$size $size" ]] ||
        fail "the console's $size px icon is not installed, or not $size px"
    done
    [[ -f $prefix/share/icons/hicolor/scalable/apps/gyrodesk.svg ]] || fail "the console's scalable icon is not installed"
    compgen -G "$prefix/share/metainfo/*.metainfo.xml" >/dev/null || fail "the console's AppStream metadata is not installed"
  fi
  # Nothing of the build tree may leak into the installed package files.
  if grep -rl -- "$build" "$prefix/$libdir/cmake" "$prefix/$libdir/pkgconfig" >/dev/null; then
    fail "installed package files refer to the build folder"
  fi
  # One install rule a file: none is installed twice.
  dup=$(sort "$build/install_manifest.txt" | uniq -d)
  [[ -z $dup ]] || fail "installed more than once: $dup"
  # Each file goes into one of the Debian packages: it belongs to a component that MAP lists.
  installed=$(cd "$prefix" && find . ! -type d | sort)
  packaged=$(sed -e 's/#.*//' "$map" | while read -r _package component; do
    [[ -n $component ]] || continue
    part=$stage/component-$component
    mkdir -p "$part"  # a component this build does not make (the Python module) installs nothing
    cmake --install "$build" --prefix "$part" --component "$component" >/dev/null
    (cd "$part" && find . ! -type d)
  done | sort)
  stray=$(comm -23 <(echo "$installed") <(echo "$packaged"))
  [[ -z $stray ]] || fail "installed in no component that $(basename "$map") maps to a package: $stray"
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
  # Every installed program starts from the prefix by itself (its RUNPATH finds the installed
  # library) and answers --help without a window or a port.
  for program in "$bin"/*; do
    name=$(basename "$program")
    libs=$(env -u LD_LIBRARY_PATH ldd "$program")
    [[ $libs != *"not found"* ]] || fail "$name does not find its libraries: $libs"
    status=0
    out=$(env -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen VEXLINK_COM1=/nonexistent/COM1 \
          VEXLINK_COM2=/nonexistent/COM2 VEXLINK_COM3=/nonexistent/COM3 VEXLINK_COM4=/nonexistent/COM4 \
          timeout 20 "$program" --help </dev/null 2>&1) || status=$?
    ((status == 0)) || fail "$name --help ended with status $status: $out"
    grep -qi "usage" <<<"$out" || fail "$name --help printed no usage: $out"
  done
  version=$(env -u LD_LIBRARY_PATH "$bin/korvisor-sim" --version 4.2x --com 2 -- "$bin/vexlink" version --port COM2)
  [[ $version == 4.2x ]] || fail "the installed vexlink read the version '$version'"
  ;;
*)
  fail "unknown mode '$mode'"
  ;;
esac
