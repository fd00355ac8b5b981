#!/usr/bin/env bash
# Installs what is missing, builds, creates the sample data sets on first run
# (run/sample) and starts the program there.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/prepare.sh
marubo_install_packages
marubo_build build

mkdir -p run
if [ ! -f run/sample/A/tables.sqlite ]; then
    echo "見本のデータを作成します: run/sample"
    ./build/tools/marubo-sample run/sample
fi
if [ -x build/app/marubo ]; then
    cd run
    exec ../build/app/marubo "$@"
fi
echo "見本のデータは run/sample にあります（A階層: run/sample/A）。"
echo "メイン画面はまだありません。"
