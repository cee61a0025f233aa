#!/usr/bin/env bash
# Installs every Debian package the project builds, tests and runs with. Idempotent.
set -euo pipefail
pkgs=(
  build-essential cmake ninja-build g++ clang clang-format clang-tidy libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcairo2-dev libjpeg62-turbo-dev fonts-dejavu-core
  libmicrohttpd-dev libsqlite3-dev sqlite3 libpq-dev postgresql
  qt6-base-dev libgl-dev xvfb xauth
)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
