#!/usr/bin/env bash
# Makes the .deb of both programs from the default build (cpack -G DEB),
# lists what it holds, and fails when a program or the data it reads is
# missing, when it carries files the package manager makes, or when the
# programs unpacked from it do not start and find their data.
set -euo pipefail
cd "$(dirname "$0")/.."
build=out/default
rm -f "$build"/quillmark_*.deb
(cd "$build" && cpack -G DEB > cpack.log) || { cat "$build/cpack.log"; exit 1; }
deb=$(ls "$build"/quillmark_*.deb)
dpkg-deb -c "$deb" | awk '{print $6}' > "$build/package-contents.txt"
cat "$build/package-contents.txt"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"

missing=0
for path in usr/bin/quillmark usr/bin/pikeral usr/share/quillmark/macros.cfg \
    usr/share/quillmark/Dictionaries/english.qdf usr/share/applications/quillmark.desktop \
    usr/share/applications/pikeral.desktop usr/share/mime/packages/quillmark.xml usr/share/mime/packages/pikeral.xml; do
  grep -qx "./$path" "$build/package-contents.txt" || { echo "package: $path is missing"; missing=1; }
done
# The mime database's caches belong to the system, not to a package.
if grep -q '^\./usr/share/mime/[^/]\+$' "$build/package-contents.txt"; then
  echo "package: it holds the mime database's own files"; missing=1
fi
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || { echo "package: no Qt 6 dependency"; missing=1; }

# The programs as the package installs them, started from an unpacked copy
# (Quillmark last: what it found is checked after the loop).
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
dpkg-deb -x "$deb" "$tmp/root"
for program in pikeral quillmark; do
  out=$(env QT_QPA_PLATFORM=offscreen HOME="$tmp" XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" \
    QM_STARTUP_CHECK=1 "$tmp/root/usr/bin/$program" 2>/dev/null) || { echo "package: $program does not start"; missing=1; }
  grep -qx "data: $tmp/root/usr/share/quillmark" <<< "$out" || { echo "package: $program: $out"; missing=1; }
done
grep -qx "dictionary: english" <<< "$out" && grep -q "^macros: [1-9]" <<< "$out" ||
  { echo "package: quillmark did not load its macros and dictionary: $out"; missing=1; }
exit $missing
