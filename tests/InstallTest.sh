#!/usr/bin/env bash
# What `cmake --install` lays out for a desktop: both programs, the menu entry
# and its metadata, the icon in every size, the manual pages and the shell
# completion. Usage: InstallTest.sh BUILD_FOLDER
set -uo pipefail
build=$1
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
DESTDIR=$dest cmake --install "$build" --prefix /usr >/dev/null || { echo "FAIL: install"; exit 1; }
root=$dest/usr
failures=0
fail() { echo "FAIL: $*"; ((failures++)); }

for f in bin/numbers4marvo bin/numbers4marvo-cli; do
    [[ -x $root/$f ]] || fail "$f is not an installed program"
done
app=jp.numbers4marvo.Numbers4Marvo
desktop=$root/share/applications/$app.desktop
[[ -f $desktop ]] || fail "no desktop file"
[[ -f $root/share/metainfo/$app.metainfo.xml ]] || fail "no metainfo"
grep -q "<launchable type=\"desktop-id\">$app.desktop</launchable>" \
    "$root/share/metainfo/$app.metainfo.xml" || fail "metainfo does not launch $app.desktop"

# The menu entry starts an installed program and shows an installed icon.
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
[[ -x $root/bin/$exec_name ]] || fail "Exec=$exec_name is not installed"
[[ -f $root/share/icons/hicolor/scalable/apps/$icon_name.svg ]] || fail "no scalable $icon_name"
for size in 16 22 24 32 48 64 128 256; do
    png=$root/share/icons/hicolor/${size}x${size}/apps/$icon_name.png
    if [[ ! -f $png ]]; then
        fail "no ${size}x${size} icon"
        continue
    fi
    # PNG header: width and height, big-endian, at bytes 16 and 20.
    read -r w h < <(od -An -tu1 -j16 -N8 "$png" |
        awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
    [[ $w == "$size" && $h == "$size" ]] || fail "${size}x${size} icon is ${w}x${h}"
done

for page in numbers4marvo numbers4marvo-cli; do
    gz=$root/share/man/man1/$page.1.gz
    zcat "$gz" 2>/dev/null | grep -q "^\.TH ${page^^} 1" || fail "manual page $page"
done
[[ -f $root/share/bash-completion/completions/numbers4marvo-cli ]] || fail "no bash completion"

# The installed tool answers --help on standard output.
help=$("$root/bin/numbers4marvo-cli" --help 2>/dev/null) || fail "installed --help exit $?"
[[ $help == *"export"* ]] || fail "installed --help says nothing of export"

((failures == 0)) && echo "install layout as expected"
exit $((failures > 0))
