#!/usr/bin/env bash
# Builds the Debian package from this build tree and checks what a school's administrator
# gets: the files, the dependencies, a valid desktop entry and valid metainfo.
set -euo pipefail
build=$1
source_dir=$2
cd "$build"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB -B "$work" > "$work/cpack.log" || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/*.deb)
echo "package: $(basename "$deb")"

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in \
    ./usr/bin/function-lesson \
    ./usr/share/applications/io.github.functionlesson.FunctionLesson.desktop \
    ./usr/share/metainfo/io.github.functionlesson.FunctionLesson.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/function-lesson.svg \
    ./usr/share/icons/hicolor/16x16/apps/function-lesson.png \
    ./usr/share/icons/hicolor/48x48/apps/function-lesson.png \
    ./usr/share/icons/hicolor/256x256/apps/function-lesson.png; do
    grep -qxF "$path" <<<"$contents" || { echo "missing from the package: $path"; exit 1; }
done
if grep -qE '/(lib|include)/|\.a$' <<<"$contents"; then
    echo "the package carries build files:"; grep -E '/(lib|include)/|\.a$' <<<"$contents"; exit 1
fi

depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
for dep in libqt6widgets6 libqt6printsupport6 libqt6gui6 libqt6core6 qt6-qpa-plugins libqrcodegencpp1 fonts-monapo fonts-ipafont-gothic; do
    grep -qw -- "$dep" <<<"$depends" || { echo "missing dependency: $dep"; exit 1; }
done
# Every shared library the program loads comes with a package it depends on (libgcc-s1
# comes with libc6).
dpkg-deb -x "$deb" "$work/root"
# Read whole and searched afterwards: an awk that stops at its match could close the pipe
# under ldconfig, which pipefail would then take for a failure.
cache=$(ldconfig -p)
for library in $(objdump -p "$work/root/usr/bin/function-lesson" | awk '$1 == "NEEDED" { print $2 }'); do
    path=$(awk -v l="$library" '$1 == l && /x86-64/ { print $NF; exit }' <<<"$cache")
    real=$(realpath "$path")
    # dpkg knows a file by the path its package gives, with or without /usr in front.
    package=$(dpkg -S "$path" "$real" "${real#/usr}" 2>/dev/null | head -1 | cut -d: -f1 || true)
    [ "$package" = libgcc-s1 ] || grep -qw -- "$package" <<<"$depends" ||
        { echo "$library (from ${package:-no package}) is not among the dependencies"; exit 1; }
done

desktop-file-validate "$work/root/usr/share/applications/io.github.functionlesson.FunctionLesson.desktop"
grep -qx 'Name=関数の利用' "$work/root/usr/share/applications/io.github.functionlesson.FunctionLesson.desktop"
grep -qx 'Categories=Education;Math;' "$work/root/usr/share/applications/io.github.functionlesson.FunctionLesson.desktop"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/io.github.functionlesson.FunctionLesson.metainfo.xml"
cmp "$work/root/usr/share/icons/hicolor/scalable/apps/function-lesson.svg" "$source_dir/data/icons/function-lesson.svg"
