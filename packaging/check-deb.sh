#!/usr/bin/env bash
# Builds the Debian package from a build tree and checks it the way a desktop will use it:
# the control fields, the run-time dependencies, and the unpacked files (the program in
# usr/bin, the desktop entry, the icons and the AppStream metainfo), each validated.
# Usage: check-deb.sh BUILD_DIR SCRATCH_DIR LUMIPAD_BINARY PROJECT_VERSION
set -euo pipefail
fail() { echo "check-deb: $*" >&2; exit 1; }
build=$1 scratch=$2 binary=$3 project_version=$4
# Debian versions of this package have three parts: 1.1 is packaged as 1.1.0.
version=$project_version
if [[ "$version" =~ ^[0-9]+\.[0-9]+$ ]]; then version=$version.0; fi
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "project version '$project_version' is not N.N or N.N.N"
here=$(cd "$(dirname "$0")" && pwd)

[ "$binary" != NO-LUMIPAD-TARGET ] \
  || fail "this build tree has no 'lumipad' executable target, so there is no program to package"
[ -x "$binary" ] || fail "$binary is not built; build the 'lumipad' target before running the tests"

rm -rf "$scratch"
mkdir -p "$scratch"
if ! (cd "$build" && cpack -G DEB -B "$scratch/out") >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  fail "cpack failed"
fi
shopt -s nullglob
debs=("$scratch"/out/*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one .deb in $scratch/out, found ${#debs[@]}"
deb=${debs[0]}
echo "check-deb: built $(basename "$deb")"

# Control fields.
field() { dpkg-deb --field "$deb" "$1"; }
expect_field() {
  local got
  got=$(field "$1")
  [ "$got" = "$2" ] || fail "$1 is '$got', expected '$2'"
}
expect_field Package lumipad
expect_field Version "$version"
expect_field Section graphics
expect_field Architecture "$(dpkg --print-architecture)"
[[ "$(field Maintainer)" == "Lumipad developers <"*">" ]] \
  || fail "Maintainer is '$(field Maintainer)', expected 'Lumipad developers <address>'"
[ "$(basename "$deb")" = "lumipad_${version}_$(dpkg --print-architecture).deb" ] \
  || fail "file name $(basename "$deb") does not follow name_version_architecture.deb"

# Run-time dependencies, as dpkg-shlibdeps found them in the binary.
depends=$(field Depends)
echo "check-deb: Depends: $depends"
names=$(tr ',|' '\n\n' <<<"$depends" | awk '{print $1}')
for lib in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libpng16-16 libjpeg62-turbo; do
  # Debian's 64-bit time transition renames some of them with a t64 suffix.
  grep -Eqx "$lib(t64)?" <<<"$names" || fail "Depends does not name $lib"
done

# The unpacked files.
root=$scratch/root
dpkg-deb -x "$deb" "$root"
echo "check-deb: files in the package:"
(cd "$root" && find . -type f -o -type l | sort | sed 's|^\./|  |')

icons=usr/share/icons/hicolor
for f in usr/bin/lumipad usr/share/applications/lumipad.desktop \
         $icons/48x48/apps/lumipad.png $icons/256x256/apps/lumipad.png \
         $icons/scalable/apps/lumipad.svg usr/share/metainfo/org.lumipad.Lumipad.metainfo.xml; do
  [ -s "$root/$f" ] || fail "$f is missing or empty"
done
[ -x "$root/usr/bin/lumipad" ] || fail "usr/bin/lumipad is not executable"
file -b "$root/usr/bin/lumipad" | grep -q '^ELF' || fail "usr/bin/lumipad is not an ELF program"
strays=$(cd "$root" && find . \( -type f -o -type l \) ! -path './usr/bin/*' ! -path './usr/share/*')
[ -z "$strays" ] || fail "files outside usr/bin and usr/share: $strays"

# Each icon must be the rendering made for its size.
cmp -s "$root/$icons/48x48/apps/lumipad.png" "$here/icons/lumipad-48.png" \
  || fail "the 48x48 icon is not icons/lumipad-48.png"
cmp -s "$root/$icons/256x256/apps/lumipad.png" "$here/icons/lumipad-256.png" \
  || fail "the 256x256 icon is not icons/lumipad-256.png"

bash "$here/check-desktop.sh" "$root/usr/share/applications/lumipad.desktop"
# Checks the metainfo together with the desktop entry it launches and the icons, as installed.
appstreamcli validate-tree --no-net --pedantic --strict "$root" \
  || fail "appstreamcli validate-tree rejects the unpacked package"
echo "check-deb: ok"
