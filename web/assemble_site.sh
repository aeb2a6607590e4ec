#!/usr/bin/env bash
# Puts the web site together: the page, the program, Qt's loader, the icon and the fonts'
# licence and sources, each text and binary file also as a pre-compressed .gz copy.
#
#   assemble_site.sh <site> <build folder> <source folder> <fonts folder>
set -euo pipefail
site=$1 build=$2 source=$3 fonts=$4

rm -rf "$site"
mkdir -p "$site/fonts"
cp "$source/web/index.html" "$build/function-lesson.js" "$build/function-lesson.wasm" "$build/qtloader.js" "$site/"
cp "$source/data/icons/function-lesson.svg" "$source/data/icons/function-lesson-32.png" "$site/"
cp "$fonts"/lesson-gothic.ttf "$fonts"/lesson-gothic-fallback.ttf "$fonts"/characters.txt \
   "$fonts"/LICENSE.txt "$fonts"/subset_fonts.py "$site/fonts/"
cp "$source/web/fonts-README.txt" "$site/fonts/README.txt"

# Zopfli writes gzip files about 4 % smaller than gzip -9 does, which every browser reads
# alike; without it, gzip. Neither records a time stamp, so the same site compresses to the
# same bytes.
for file in "$site"/*.html "$site"/*.js "$site"/*.wasm "$site"/*.svg; do
    if command -v zopfli > /dev/null; then
        zopfli --i5 "$file"
    else
        gzip -9 -n -k -f "$file"
    fi
done
