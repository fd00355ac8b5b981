#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest.
# Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/prepare.sh
marubo_install_packages
marubo_build build
ctest --test-dir build --output-on-failure --timeout 600 -j"$(nproc)"
