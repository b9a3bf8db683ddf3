#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

PACKAGES=(
  g++ cmake make pkgconf
  qt6-base-dev qt6-multimedia-dev libqt6sql6-sqlite libsqlite3-dev libfluidsynth-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  timgm6mb-soundfont fonts-noto-cjk fonts-arphic-ukai fonts-arphic-uming qt6-translations-l10n
  xdg-utils
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

# Another installation may hold the package manager's lock (an update running
# at boot, a second terminal). Wait for it rather than fail at once.
LOCK_WAIT=300
apt() {
  if command -v fuser >/dev/null && $SUDO fuser /var/lib/dpkg/lock-frontend /var/lib/apt/lists/lock >/dev/null 2>&1; then
    echo "Waiting up to ${LOCK_WAIT} s for another package installation to finish..."
  fi
  $SUDO apt-get -o DPkg::Lock::Timeout="$LOCK_WAIT" "$@"
}

echo "Installing: ${missing[*]}"
if ! apt install -y --no-install-recommends "${missing[@]}"; then
  apt update
  apt install -y --no-install-recommends "${missing[@]}"
fi
