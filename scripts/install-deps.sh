#!/usr/bin/env bash
# Installs what the build needs on Debian 12, skipping what is already there.
set -euo pipefail
# qt6-svg-dev: pictures of a grid as SVG (QSvgGenerator); printing (Qt6::PrintSupport)
# comes with qt6-base-dev.
# qt6-charts-dev: the back-test window's chart; its CMake package needs Qt6OpenGL's,
# which Debian 12 ships in libqt6opengl6-dev.
packages=(qt6-base-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n libsqlcipher-dev
  fonts-ipafont-gothic xvfb xauth pkg-config cmake ninja-build g++ libgtest-dev libbenchmark-dev
  imagemagick mdbtools-dev nettle-dev desktop-file-utils appstream bash-completion
  clang libclang-rt-14-dev llvm  # the sanitizer build, libFuzzer, readable reports
  clang-format  # the sources' layout is checked against .clang-format
  libcurl4-openssl-dev ca-certificates  # `update` fetches the draws over HTTPS (the system's CAs)
  python3 openssl  # the update tests' own HTTP/HTTPS server on 127.0.0.1
  poppler-utils)  # the print tests read the PDF printer's pages as text
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
