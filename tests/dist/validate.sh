#!/bin/sh
# Checks the desktop entry, the AppStream metadata and the manual page with
# the validators the distributions use, where they are installed (Debian
# packages desktop-file-utils, appstream, groff), and that the files agree
# with each other and with the program's version.
# Usage: validate.sh <dist folder> <version>. Exit 77: no validator installed.
set -u
dist=$1
version=$2
id=org.plimsa.Plimsa
desktop=$dist/$id.desktop
metainfo=$dist/$id.metainfo.xml
failed=0
validated=0

fail() {
    echo "FAIL: $*"
    failed=1
}

# Hints (such as two main categories) are advice; errors and warnings fail.
if command -v desktop-file-validate >/dev/null; then
    validated=1
    out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate exit status"
    [ -n "$out" ] && echo "$out"
    echo "$out" | grep -Eq ': (error|warning):' && fail "desktop-file-validate: $desktop"
else
    echo "skipped: desktop-file-validate is not installed"
fi

if command -v appstreamcli >/dev/null; then
    validated=1
    out=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1) || fail "appstreamcli validate"
    echo "$out"
    echo "$out" | grep -Eq '^(E|W):' && fail "appstreamcli: errors or warnings in $metainfo"
else
    echo "skipped: appstreamcli is not installed"
fi

if command -v groff >/dev/null; then
    validated=1
    out=$(groff -man -ww -z "$dist/plimsa.1" 2>&1)
    [ -n "$out" ] && fail "groff: $out"
else
    echo "skipped: groff is not installed"
fi

[ "$validated" = 1 ] || exit 77

# The files name one another and the version; a rename or a new release must
# reach all of them.
grep -qx "Icon=$id" "$desktop" || fail "Icon= is not $id"
grep -q "<id>$id</id>" "$metainfo" || fail "metainfo <id> is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "metainfo does not launch $id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "no metainfo release $version"
grep -q "^\.TH PLIMSA 1 .*\"Plimsa $version\"" "$dist/plimsa.1" || fail "man page is not of $version"
for size in 16 32 48 64 128 256; do
    [ -f "$dist/icons/hicolor/${size}x$size/apps/$id.png" ] || fail "no ${size} px icon"
done

[ "$failed" = 0 ] && echo "desktop entry, metainfo and manual page are valid"
exit "$failed"
