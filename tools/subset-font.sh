#!/usr/bin/env bash
# Rewrites ui/fonts/RobotoCondensed-Regular.ttf from Debian's fonts-roboto-unhinted, cut down to
# the characters the window can be expected to show: Basic Latin, Latin-1 and Latin Extended-A,
# punctuation, currency and letterlike signs. The outlines, metrics, kerning and other layout
# features of those characters are kept as they are, so the text looks the same; the program
# reads a sixth of the font at start-up. Any other character a user types is drawn by the
# system's fallback fonts.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-packages.sh python3-fonttools
# The font package is unpacked, not installed: installed, it would be a system font of the same
# family as the program's own.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"  # apt downloads as its own user
(cd "$work" && apt-get download -qq fonts-roboto-unhinted && dpkg-deb -x fonts-roboto-unhinted_*.deb root)
/usr/bin/python3 -m fontTools.subset \
    "$work/root/usr/share/fonts/truetype/roboto/unhinted/RobotoCondensed-Regular.ttf" \
    --unicodes='U+0020-007E,U+00A0-017F,U+2000-206F,U+20A0-20CF,U+2100-214F,U+2212,U+FFFD' \
    --layout-features='*' --name-IDs='*' --name-legacy --name-languages='*' \
    --notdef-glyph --notdef-outline --recommended-glyphs \
    --output-file=ui/fonts/RobotoCondensed-Regular.ttf
