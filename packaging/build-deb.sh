#!/usr/bin/env bash
# Builds the station's Debian package into build-deb/ and checks it: the files it installs, the
# packages it depends on (and that apt can find them), and its post-install note. Then it unpacks
# the package into a throw-away folder and runs the program from there.
#
#   packaging/build-deb.sh        then: sudo apt install ./build-deb/tallion_*.deb
#   packaging/build-deb.sh DIR    packages the build already made in DIR instead (CI: build/)
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { echo "build-deb: $*" >&2; exit 1; }
scripts/install-deps.sh
dir="${1:-}"
if [ -z "$dir" ]; then
  dir=build-deb
  scripts/build.sh "$dir" -DTALLION_TESTS=OFF
fi
[ -f "$dir/CMakeCache.txt" ] || fail "$dir holds no build"
rm -f "$dir"/tallion_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/tallion_*.deb)
echo "Built $deb"

contents=$(dpkg-deb --contents "$deb")
for file in ./usr/bin/tallion ./usr/share/tallion/Manual.pdf ./usr/share/applications/tallion.desktop \
            ./usr/share/icons/hicolor/scalable/apps/tallion.svg ./usr/share/icons/hicolor/48x48/apps/tallion.png \
            ./usr/bin/tallion-plant ./usr/lib/systemd/system/tallion-plant.service ./usr/share/tallion/tallion-plant.default; do
  grep -q " $file\$" <<<"$contents" || fail "the package lacks $file"
done

depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
for package in adduser libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libqt6printsupport6 libqt6charts6 libqt6svg6 \
               libcups2 libpq5; do
  grep -q "\b$package\b" <<<"$depends" || fail "Depends does not name $package"
done
echo "Recommends: $(dpkg-deb --field "$deb" Recommends)"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb --control "$deb" "$scratch/control"
grep -q dialout "$scratch/control/postinst" || fail "the post-install note does not mention dialout"
grep -q "adduser --system --group --home /var/lib/tallion-plant" "$scratch/control/postinst" \
  || fail "the post-install does not make the tallion-plant user"

# apt resolves every dependency from the configured archives (nothing is installed).
apt-get install --simulate --quiet --quiet "./$deb" >/dev/null || fail "apt cannot resolve the package's dependencies"

dpkg-deb --extract "$deb" "$scratch/root"
version=$("$scratch/root/usr/bin/tallion" --version)
[ "$version" = "tallion $(dpkg-deb --field "$deb" Version)" ] || fail "the packaged program answered \"$version\""
# The summary's charts are drawn without a display by the packaged program and its libraries.
env -u DISPLAY -u WAYLAND_DISPLAY "$scratch/root/usr/bin/tallion" summary tests/data/chart_records.dif \
  --chart "$scratch/chart.png" >/dev/null || fail "the packaged program cannot draw the summary's charts"
[ -s "$scratch/chart.png" ] || fail "the packaged program wrote no chart"
echo "Checked: files, Depends, post-install note, apt resolution, charts drawn without a display; the unpacked" \
  "program says \"$version\"."
