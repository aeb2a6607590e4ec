#!/usr/bin/env bash
# Puts the web site together: the page, its manifest and service worker, the program, Qt's
# loader, the icons and the fonts' licence and sources, each file but the PNG pictures also
# as a pre-compressed .gz copy.
#
#   assemble_site.sh <site> <build folder> <source folder> <fonts folder> <icons folder>
set -euo pipefail
site=$1 build=$2 source=$3 fonts=$4 icons=$5

rm -rf "$site"
mkdir -p "$site/fonts"
cp "$source/web/index.html" "$source/web/manifest.webmanifest" \
   "$build/function-lesson.js" "$build/function-lesson.wasm" "$build/qtloader.js" "$site/"
cp "$source/data/icons/function-lesson.svg" "$source/data/icons/function-lesson-32.png" \
   "$icons"/function-lesson-192.png "$icons"/function-lesson-512.png "$icons"/apple-touch-icon.png "$site/"
cp "$fonts"/lesson-gothic.ttf "$fonts"/lesson-gothic-fallback.ttf "$fonts"/characters.txt \
   "$fonts"/LICENSE.txt "$fonts"/subset_fonts.py "$site/fonts/"
cp "$source/web/fonts-README.txt" "$site/fonts/README.txt"

# The service worker keeps every file of the site in a cache named for this build: a hash
# of all of them, so that any change makes a new worker and a new cache.
files=$(cd "$site" && find . -type f -printf '%P\n' | LC_ALL=C sort)
build_id=$(cd "$site" && sha256sum $files | sha256sum | cut -c1-16)
list=$(printf '"%s", ' $files)
sed -e "s|@BUILD@|$build_id|" -e "s|@FILES@|${list%, }|" "$source/web/service-worker.js" > "$site/service-worker.js"

# Zopfli writes gzip files about 4 % smaller than gzip -9 does, which every browser reads
# alike; without it, gzip. Neither records a time stamp, so the same site compresses to the
# same bytes. The PNG icons are compressed already.
find "$site" -type f ! -name '*.png' -print0 | while IFS= read -r -d '' file; do
    if command -v zopfli > /dev/null; then
        zopfli --i5 "$file"
    else
        gzip -9 -n -k -f "$file"
    fi
done
