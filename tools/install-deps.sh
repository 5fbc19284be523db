#!/usr/bin/env bash
# Installs, as root on Debian 12, what the build needs and is missing.
#   tools/install-deps.sh demo   what the command-line host needs
#   tools/install-deps.sh all    everything: tests, sanitizers, fuzzing, benchmarks, Windows
#                                (32- and 64-bit), Wine, the installer tools
set -euo pipefail
what=${1:-all}

demo=(cmake make g++ pkg-config libpng-dev libfreetype-dev fonts-dejavu-core fonts-liberation)
all=("${demo[@]}" ninja-build libgtest-dev libbenchmark-dev clang libclang-rt-14-dev clang-format
     valgrind g++-mingw-w64-i686 mingw-w64-tools binutils-mingw-w64-i686 g++-mingw-w64-x86-64
     binutils-mingw-w64-x86-64 libwine-dev wine wine32 wine64 msitools wixl xvfb x11-apps
     imagemagick python3 qt6-base-dev qt6-tools-dev qt6-tools-dev-tools libqt6opengl6-dev
     qt6-declarative-dev qml6-module-qtqml qml6-module-qtqml-workerscript qml6-module-qtquick)

case "$what" in
  demo) wanted=("${demo[@]}") ;;
  all) wanted=("${all[@]}") ;;
  *) echo "usage: $0 demo|all" >&2; exit 2 ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
  arch_pkg=$pkg
  [ "$pkg" = wine32 ] && arch_pkg=wine32:i386
  dpkg-query -W -f='${Status}' "$arch_pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
if [[ " ${missing[*]} " == *" wine32 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]/#wine32/wine32:i386}" >/dev/null
