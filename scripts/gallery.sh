#!/usr/bin/env bash
# Builds, runs the gallery test under Wine and copies the picture it draws to docs/gallery.png.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$ROOT/scripts/test.sh" -R 'GalleryTest\.'
cp "$BUILD_ROOT/x86_64/bin/gallery.png" "$ROOT/docs/gallery.png"
log "gallery: $ROOT/docs/gallery.png"
