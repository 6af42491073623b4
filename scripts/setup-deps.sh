#!/bin/sh
# Installs the Debian packages the build, the program and the tests need.
# Quiet and quick when everything is present already.
set -e
PACKAGES="build-essential cmake pkg-config qt6-base-dev libqt6printsupport6 libsqlcipher-dev \
libgtest-dev libjpeg62-turbo fonts-wqy-microhei qt6-translations-l10n"

missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing >/dev/null
