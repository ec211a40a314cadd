#!/usr/bin/env bash
# Builds the Debian package quorvane_<version>_amd64.deb in the source folder:
# a Release build of the packaged layout in build-package/, laid out and
# packed by CPack (dependencies from dpkg-shlibdeps). Only what the package
# holds is built, not the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DQUORVANE_PACKAGED=ON \
  -DQUORVANE_BENCH=OFF -DQUORVANE_WERROR=ON -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build build-package -j"$(nproc)" --target Tallimer pristine_db desktop_assets
(cd build-package && cpack -G DEB -B "$PWD/cpack" >/dev/null)
deb=$(ls build-package/cpack/quorvane_*_amd64.deb)
mv -f "$deb" .
echo "Built $(basename "$deb")"
