#!/usr/bin/env bash
# Renders the icon's PNG sizes from its SVG; run after changing the SVG and commit the results.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" org.dxs4820.frontpanel.svg -o "org.dxs4820.frontpanel-$size.png"
done
