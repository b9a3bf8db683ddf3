#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

PACKAGES=(
  g++ cmake make pkgconf
  qt6-base-dev qt6-multimedia-dev libqt6sql6-sqlite libsqlite3-dev libfluidsynth-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  fluid-soundfont-gm fonts-noto-cjk fonts-arphic-ukai qt6-translations-l10n
  xvfb xauth poppler-utils
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

echo "Installing: ${missing[*]}"
if ! $SUDO apt-get install -y --no-install-recommends "${missing[@]}"; then
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
