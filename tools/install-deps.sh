#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the application
# need, only those missing. Used by run.sh and test.sh.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev
  qt6-tools-dev qt6-documentation-tools libqt6sql6-sqlite  # the help window: QtHelp, qhelpgenerator, its search index
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  libpugixml-dev  # the XMILE import reads its XML with it
  fonts-liberation locales xvfb xauth qt6-translations-l10n
  file  # cpack reads the executable's libraries through it (tools/package.sh)
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Number text must not depend on the locale; the tests prove it under a
# Russian one, so make sure that locale exists.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU.utf8$'; then
  if [ -f /etc/locale.gen ]; then
    $SUDO sed -i 's/^# *ru_RU.UTF-8 UTF-8/ru_RU.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
  fi
fi
