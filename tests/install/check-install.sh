#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks it as a user's machine sees it: every file
# in its place, the desktop entry and the AppStream metadata valid and pointing at what was
# installed, the installed layout leading the program to its help document, and a .deb from cpack
# that depends on the Qt runtime, holds the program and passes lintian without an error or a warning.
# Usage: check-install.sh BUILD_DIR DXS_TESTS
set -euo pipefail
build=$1
tests=$2
id=org.dxs4820.frontpanel
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/dxs4820 bin/dxs4820-sim share/dxs4820/HelpDoc.rtf \
            share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
            share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/16x16/apps/$id.png \
            share/icons/hicolor/48x48/apps/$id.png share/icons/hicolor/256x256/apps/$id.png \
            share/man/man1/dxs4820.1.gz share/man/man1/dxs4820-sim.1.gz; do
    [ -s "$prefix/$file" ] || fail "not installed: $file"
done
[ -x "$prefix/bin/dxs4820" ] && [ -x "$prefix/bin/dxs4820-sim" ] || fail "programs not executable"

desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop entry invalid"
appstreamcli validate --no-net "$metainfo" || fail "AppStream metadata invalid"
# The entry starts the installed program with the installed icon; the metadata names the entry,
# shows a screenshot and this release.
[ -x "$prefix/bin/$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")" ] || fail "Exec names no installed program"
[ "$(sed -n 's/^Icon=//p' "$desktop")" = "$id" ] || fail "Icon is not the installed icon's name"
grep -qx 'Exec=dxs4820 %f' "$desktop" || fail "the entry does not hand a file to the program"
[ "$id" = "${id,,}" ] || fail "the AppStream id is not in lower case"
for expected in "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
                '<release version="1.0.0" date="2026-12-07">' '<image>https://'; do
    grep -qF "$expected" "$metainfo" || fail "metadata lacks $expected"
done
for page in dxs4820 dxs4820-sim; do
    zcat "$prefix/share/man/man1/$page.1.gz" | grep "^\.TH ${page^^} 1 .*1\.0\.0" >/dev/null || fail "man page $page"
done
zcat "$prefix/share/man/man1/dxs4820.1.gz" | grep -F '\-\-transcript' >/dev/null || fail "man page lacks --transcript"
"$prefix/bin/dxs4820-sim" --help | grep -- '--garbage' >/dev/null || fail "installed simulator does not start"

# The installed layout: the program folder is <prefix>/bin, the help document in share.
output=$(DXS_INSTALL_PREFIX=$prefix "$tests" --gtest_filter='HelpLookup.InstalledProgramOpensTheInstalledDocument' 2>&1) ||
    { echo "$output"; fail "the installed layout misses its help document or its setting folder"; }
grep -q '\[  PASSED  \] 1 test' <<<"$output" && ! grep -q SKIPPED <<<"$output" || { echo "$output"; fail "help check did not run"; }

# The package: dependencies found by dpkg-shlibdeps, the program inside, no maintainer scripts.
(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null) || fail "cpack -G DEB"
deb=$(ls "$work"/deb/*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6core6 libqt6widgets6 libqt6serialport6 libqt6printsupport6; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/dxs4820 ./usr/bin/dxs4820-sim ./usr/share/dxs4820/HelpDoc.rtf \
            ./usr/share/applications/$id.desktop; do
    grep -q " $file\$" <<<"$contents" || fail "package lacks $file"
done
scripts=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -E 'inst$|rm$' || true)
[ -z "$scripts" ] || fail "package has maintainer scripts: $scripts"

# lintian: no error and no warning (its informational notes may stay). Its run is bounded, as it can
# be slow on a busy machine.
command -v lintian >/dev/null || fail "lintian is not installed (scripts/install-deps.sh installs it)"
report=$(timeout 600 lintian --fail-on none --tag-display-limit 0 "$deb" 2>&1) ||
    { echo "$report"; fail "lintian did not finish"; }
problems=$(grep -E '^[EW]: ' <<<"$report" || true)
[ -z "$problems" ] || { echo "$problems"; fail "lintian reports errors or warnings"; }
echo "install and package checks passed"
