#!/usr/bin/env bash
# Builds, runs the screenshot test under Wine and copies the pictures of Corvane's main window
# (the page without a device and each model's page) and of the key and mouse pickers to docs/.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$ROOT/scripts/test.sh" -R 'MainWindow\.ScreenshotsOfEveryPage|PickerDialog\.ScreenshotsOfBothPickers'
for page in not-inserted 6891 6867 6852 6840 keyboard mouse; do
  cp "$BUILD_ROOT/x86_64/bin/corvane-$page.png" "$ROOT/docs/corvane-$page.png"
done
log "screenshots: $ROOT/docs/corvane-*.png"
