#!/bin/bash
# Takes the README's screenshot of the add-destination wizard on its computer page, filled
# from the tests' network (WizardShow.exe), the way tools/screenshot.sh takes the main window:
#   tools/wizard-screenshot.sh [out.png]       (default docs/images/wizard.png)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
FERN_SHOT_RUN="./WizardShow.exe 60000" FERN_SHOT_TITLE="Wizard Window" \
    exec "$root/tools/screenshot.sh" "$(realpath -m "${1:-$root/docs/images/wizard.png}")"
