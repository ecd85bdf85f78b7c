#!/usr/bin/env bash
# Builds the Debian package build/varnelt_<version>_<arch>.deb: installs what it needs, builds
# the programs with Debian's hardening flags in build/package (without the tests) and lets
# CPack make the package, its dependencies worked out from the binaries by dpkg-shlibdeps.
# Then: apt install ./build/varnelt_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
out=$root/build/package
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
if [ ! -f "$out/build.ninja" ]; then
  cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNELT_BUILD_TESTS=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    -DCMAKE_MODULE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    $(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake --build "$out" -j2
rm -f "$out"/varnelt_*.deb
(cd "$out" && cpack -G DEB)
mv -f "$out"/varnelt_*.deb "$root/build/"
ls -l "$root"/build/varnelt_*.deb
# Debian's own package checks, when they are installed (apt install lintian).
if command -v lintian >/dev/null; then
  lintian --info "$root"/build/varnelt_*.deb || true
fi
