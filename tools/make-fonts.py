#!/usr/bin/python3
"""Builds the three interface fonts of the resource bundle from Linux Libertine.

Linux Libertine is under the SIL Open Font License 1.1 (or GPL-2+ with the
font exception). Its names are Reserved Font Names under the OFL, so the
derivatives carry family names of their own; copyright and licence records
are kept, and the licence text is shipped beside the fonts.

Usage: /usr/bin/python3 tools/make-fonts.py [OUTDIR]   (default src/gui/resources/fonts)
"""
import os
import sys

import fontforge

# Fixed time stamps, so the generator reproduces the committed files.
os.environ.setdefault("SOURCE_DATE_EPOCH", "1764547200")

SOURCE = "/usr/share/fonts/opentype/linux-libertine"
KEEP_RECORDS = {"Copyright", "License", "License URL"}

# Latin, punctuation and symbols a launcher's texts use.
LATIN = [(0x20, 0x7E), (0xA0, 0x17F), (0x2010, 0x2027), (0x2030, 0x203A), (0x20AC, 0x20AC), (0x2116, 0x2116),
         (0x2122, 0x2122)]
CYRILLIC = [(0x400, 0x45F), (0x490, 0x491)]


def subset(font, ranges):
    font.selection.none()
    for lo, hi in ranges:
        font.selection.select(("more", "ranges", "unicode"), lo, hi)
    font.selection.invert()
    for glyph in font.selection.byGlyphs:
        if glyph.glyphname not in (".notdef",):
            font.removeGlyph(glyph)


def rename(font, family, style, weight, postscript):
    kept = [r for r in font.sfnt_names if r[1] in KEEP_RECORDS]
    font.sfnt_names = tuple(kept)
    font.familyname = family
    font.fontname = postscript
    font.fullname = family + " " + style
    font.weight = style
    font.os2_weight = weight
    # The style bits say which member of the family a face is for Windows' font mapper, which picks
    # a face by them: bold only for the bold face. Left as they come from the semibold source, the
    # medium face would claim to be bold too, and Windows would draw bold texts in it.
    bold = weight >= 700
    font.os2_stylemap = 0x20 if bold else 0x40
    font.macstyle = 1 if bold else 0
    font.version = "1.000"
    for lang in ("English (US)",):
        font.appendSFNTName(lang, "Family", family)
        font.appendSFNTName(lang, "SubFamily", style)
        font.appendSFNTName(lang, "Fullname", family + " " + style)
        font.appendSFNTName(lang, "PostScriptName", postscript)
        font.appendSFNTName(lang, "UniqueID", "Tessarine: " + family + " " + style + ": 2026")
        font.appendSFNTName(lang, "Version", "Version 1.000")
        font.appendSFNTName(lang, "Preferred Family", family)
        font.appendSFNTName(lang, "Preferred Styles", style)
        font.appendSFNTName(lang, "Descriptor",
                            "Derived for Tessarine from Linux Libertine (SIL Open Font License 1.1).")


def build(source, target, family, style, weight, postscript, ranges, truetype):
    font = fontforge.open(os.path.join(SOURCE, source))
    # Kerning and ligature tables refer to glyphs that the subset drops.
    for lookup in font.gsub_lookups + font.gpos_lookups:
        font.removeLookup(lookup)
    subset(font, ranges)
    rename(font, family, style, weight, postscript)
    if truetype:
        font.layers["Fore"].is_quadratic = True
    font.generate(target, flags=("opentype", "omit-instructions") if truetype else ("opentype",))
    font.close()


def write_licence(out):
    with open("/usr/share/doc/fonts-linuxlibertine/copyright", encoding="utf-8") as f:
        upstream = f.read()
    with open(os.path.join(out, "LICENSE-fonts.txt"), "w", encoding="utf-8") as f:
        f.write("The fonts friz_RU.ttf, friz_noRU.otf and friz_noRU_bold.otf are modified versions of\n"
                "Linux Libertine (LinLibertine_R, LinLibertine_RZ, LinLibertine_RB), made for Tessarine by\n"
                "tools/make-fonts.py: reduced to Latin (and Cyrillic for friz_RU.ttf) and renamed, as the\n"
                "Reserved Font Name clause of the SIL Open Font License requires. They are distributed\n"
                "under the same terms as the original, quoted below from the Debian package\n"
                "fonts-linuxlibertine.\n\n")
        f.write(upstream)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "src", "gui",
                                                               "resources", "fonts")
    os.makedirs(out, exist_ok=True)
    build("LinLibertine_R.otf", os.path.join(out, "friz_RU.ttf"), "FrizQuadrataCTT", "Regular", 400,
          "FrizQuadrataCTT", LATIN + CYRILLIC, truetype=True)
    build("LinLibertine_RZ.otf", os.path.join(out, "friz_noRU.otf"), "Friz Quadrata Std", "Medium", 500,
          "FrizQuadrataStd-Medium", LATIN, truetype=False)
    write_licence(out)
    build("LinLibertine_RB.otf", os.path.join(out, "friz_noRU_bold.otf"), "Friz Quadrata Std", "Bold", 700,
          "FrizQuadrataStd-Bold", LATIN, truetype=False)


if __name__ == "__main__":
    main()
