#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running the game need, when missing.
# As root it installs them; otherwise through sudo; otherwise it prints the apt-get line and stops.
# Optional groups add what one more command needs: `fuzz` (make fuzz), `package` (make package),
# `bench` (make bench).
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  qt6-base-dev qt6-translations-l10n libgl-dev
  libgtest-dev libbenchmark-dev libcadical-dev
  fonts-liberation2
  desktop-file-utils appstream
  xvfb openbox xdotool x11-utils
)
for group in "$@"; do
  case "$group" in
    fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;
    package) packages+=(dpkg-dev file) ;;
    bench) packages+=(libxcb1-dev) ;;
    *) echo "install-deps.sh: unknown group $group" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

line="apt-get install -y ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  run=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  run=(sudo)
else
  echo "Missing packages. Install them with:" >&2
  echo "  sudo apt-get update && sudo $line" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${run[@]}" apt-get update -qq
"${run[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
