#!/usr/bin/env bash
# Builds, runs the gallery tests under Wine and copies the pictures they draw to docs/gallery.png
# (basic controls) and docs/gallery-advanced.png (advanced controls).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$ROOT/scripts/test.sh" -R 'GalleryTest\.|GalleryAdvancedTest\.'
for picture in gallery gallery-advanced; do
    cp "$BUILD_ROOT/x86_64/bin/$picture.png" "$ROOT/docs/$picture.png"
    log "gallery: $ROOT/docs/$picture.png"
done
