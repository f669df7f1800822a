#!/usr/bin/env bash
# Builds, runs the screenshot tests under Wine and copies the pictures of Corvane's main window
# (the page without a device, each model's page, the sub-pages of models 6840 and 6891, the function tests
# mid-movement, the about pages) and of the key and mouse pickers to docs/.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$ROOT/scripts/test.sh" -R 'MainWindow\.ScreenshotsOfEveryPage|KeymapPage\.Screenshots|Model6891\.Screenshots|PickerDialog\.ScreenshotsOfBothPickers|FunctionTestPage\.ScreenshotsOfTestAndAboutPages'
for page in not-inserted 6891 6867 6852 6840 6840-keymap 6840-settings 6891-keymap 6891-keymap-layer2 6891-keymapB 6891-settings 6840-test 6891-test 6840-about 6891-about keyboard mouse; do
  cp "$BUILD_ROOT/x86_64/bin/corvane-$page.png" "$ROOT/docs/corvane-$page.png"
done
log "screenshots: $ROOT/docs/corvane-*.png"
