#!/usr/bin/env python3
"""Draws "Lekhopakar Test Legacy", a font whose Windows-1252 codes carry the
glyphs of the Preeti layout, from Lohit Devanagari (OFL-1.1).

No legacy Nepali font may be shipped, so screenshots and end-to-end runs would
otherwise show Latin letters on the keys. The codes and what they draw come
from the converter itself (lk_dump_font_table), so the font and the converter
cannot drift apart.

    make_test_font.py --table-tool build/native/lk_dump_font_table \\
                      --out build/fonts/LekhopakarTestLegacy.ttf

Needs Debian's python3-fonttools, libharfbuzz-bin (hb-shape) and
fonts-lohit-deva.
"""
import argparse
import json
import subprocess
import sys
import unicodedata
from pathlib import Path

from fontTools import subset
from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont
from fontTools.ttLib.tables._c_m_a_p import cmap_format_4
from fontTools.ttLib.tables._g_l_y_f import Glyph, GlyphComponent

SOURCE = Path("/usr/share/fonts/truetype/lohit-devanagari/Lohit-Devanagari.ttf")
FAMILY = "Lekhopakar Test Legacy"
POSTSCRIPT_NAME = "LekhopakarTestLegacy-Regular"
DERIVED = "Derived from Lohit Devanagari (OFL-1.1)"
OFL_NOTICE = ("This Font Software is licensed under the SIL Open Font License, Version 1.1. "
              "This license is available with a FAQ at: https://openfontlicense.org")

REPH, HOOK, EYELASH = 0xE000, 0xE001, 0xE002
VIRAMA, RA = 0x094D, 0x0930
DOTTED_CIRCLE = 0x25CC

# A legacy font draws a mark at one fixed place after whatever glyph comes
# before; it is placed as it sits on the first of these letters that Lohit
# does not fuse with it.
REFERENCE_BASES = ("क", "ट")

# Preeti has two rakar keys for one Unicode ्र: `|`, the slanted stroke at the
# foot of a stem, and `«`, the caret under ट ठ ड ढ. HarfBuzz gives only the
# caret on its own; Lohit's slanted stroke ends, at the origin, where the stem
# of most letters stands before their advance.
SLANTED_RAKAR_CODE = 0x7C
SLANTED_RAKAR_GLYPH = "viramadeva_radeva_alt"

# The hook's advance: what Lohit's फ adds to प, near Preeti's 212/1000 em.
HOOK_ADVANCE = 238


def cp1252_char(code):
    """The character Windows maps a Windows-1252 code to; the five codes
    1252 leaves undefined map to the C1 controls of the same value."""
    try:
        return bytes([code]).decode("cp1252")
    except UnicodeDecodeError:
        return chr(code)


def read_table(tool, font="Preeti"):
    """[(code, [code points])] for every code the font draws and the converter writes."""
    out = subprocess.run([str(tool), font], check=True, capture_output=True, text=True).stdout
    rows = []
    for line in out.splitlines():
        code, points, kind = line.split("\t")
        if kind == "drawn":
            rows.append((int(code, 16), [int(p, 16) for p in points.split()]))
        elif kind != "read-only":
            raise ValueError(f"unexpected line from {tool}: {line!r}")
    return rows


class Shaper:
    """HarfBuzz's view of Lohit: glyph names with their offsets and advances."""

    def __init__(self, font_path, glyph_order):
        self.font_path = font_path
        self.glyph_order = glyph_order

    def shape_all(self, texts):
        # One hb-shape run for all texts: it shapes each input line on its own.
        result = subprocess.run(
            ["hb-shape", "--output-format=json", "--no-glyph-names", str(self.font_path)],
            input="\n".join(texts) + "\n", check=True, capture_output=True, text=True).stdout
        shaped = []
        for line in result.splitlines():
            glyphs = json.loads(line)
            shaped.append([(self.glyph_order[g["g"]], g["cl"], g["dx"], g["dy"], g["ax"]) for g in glyphs])
        if len(shaped) != len(texts):
            raise RuntimeError(f"hb-shape gave {len(shaped)} results for {len(texts)} texts")
        return dict(zip(texts, shaped))


def is_mark(cp):
    return unicodedata.category(chr(cp)) == "Mn"


def draw_hook(glyph_set):
    """The hook that turns प into फ, भ into झ, उ into ऊ. It has no Unicode
    character, so Lohit has no glyph of its own for it: its outline is traced
    from Lohit's फ (2.95.4) and moved so that it meets the stem of a प before it.
    """
    # Lohit's फ joins its hook to a stem whose right edge is at x=421; प's
    # stem ends 99 units before its advance, where the hook's pen starts.
    shift = -421 - 99
    hook = [("move", (421, 419)),
            ("curve", (447, 451), (521, 486), (561, 486)),
            ("curve", (630, 486), (727, 377), (727, 300)),
            ("curve", (727, 240), (682, 124), (640, 73)),
            ("line", (581, 107)),
            ("curve", (619, 145), (660, 245), (660, 300)),
            ("curve", (660, 349), (602, 419), (561, 419)),
            ("curve", (526, 419), (453, 378), (421, 340))]
    pen = TTGlyphPen(glyph_set)
    for kind, *points in hook:
        moved = [(x + shift, y) for x, y in points]
        {"move": pen.moveTo, "line": pen.lineTo}.get(kind, pen.qCurveTo)(*moved)
    pen.closePath()
    # The headline over the hook, overhanging its advance as Lohit's letters do.
    left, right, bottom, top = -20, HOOK_ADVANCE + 14, 606, 666
    pen.moveTo((left, bottom))
    pen.lineTo((left, top))
    pen.lineTo((right, top))
    pen.lineTo((right, bottom))
    pen.closePath()
    return pen.glyph()


class FontBuilder:
    def __init__(self, source):
        self.font = TTFont(str(source))
        self.glyph_order = self.font.getGlyphOrder()
        self.glyf = self.font["glyf"]
        self.hmtx = self.font["hmtx"]
        self.source_cmap = self.font.getBestCmap()
        self.shaper = Shaper(source, self.glyph_order)
        self.new_glyphs = []

    def has_outline(self, name):
        pen = BoundsPen(self.font.getGlyphSet())
        self.font.getGlyphSet()[name].draw(pen)
        return pen.bounds is not None

    def add_glyph(self, name, glyph, advance):
        glyph.recalcBounds(self.glyf)
        self.glyf.glyphs[name] = glyph
        self.glyph_order.append(name)
        self.hmtx.metrics[name] = (advance, getattr(glyph, "xMin", 0))
        self.new_glyphs.append(name)
        return name

    def composite(self, name, parts, advance):
        """parts: [(glyph name, x, y)]; one part at the origin with the same
        advance needs no glyph of its own."""
        if not parts:
            raise RuntimeError(f"{name}: nothing to draw")
        if len(parts) == 1 and parts[0][1:] == (0, 0) and self.hmtx[parts[0][0]][0] == advance:
            return parts[0][0]
        glyph = Glyph()
        glyph.numberOfContours = -1
        glyph.components = []
        for part, x, y in parts:
            component = GlyphComponent()
            component.glyphName = part
            component.x, component.y = x, y
            component.flags = 0x4  # ROUND_XY_TO_GRID
            glyph.components.append(component)
        return self.add_glyph(name, glyph, advance)

    def placed(self, shaped, keep=lambda index, glyph: True):
        """Glyphs laid out from the pen's start: [(name, x, y)] and the total advance."""
        parts, pen = [], 0
        for index, (name, cluster, dx, dy, ax) in enumerate(shaped):
            if name == ".notdef" or name == self.glyph_for(DOTTED_CIRCLE):
                raise RuntimeError(f"shaping gave {name}: {shaped}")
            # The joiner comes out as an empty glyph of no width.
            empty = ax == 0 and not self.has_outline(name)
            if keep(index, shaped[index]) and not empty:
                parts.append((name, pen + dx, dy))
            pen += ax
        return parts, pen

    def glyph_for(self, cp):
        return self.source_cmap.get(cp)

    def build(self, rows):
        texts = {}
        for code, points in rows:
            texts[code] = self.shaping_text(points)
        wanted = set()
        for text in texts.values():
            if isinstance(text, tuple):
                wanted.update(text)
            elif text:
                wanted.add(text)
        shaped = self.shaper.shape_all(sorted(wanted))
        mapping = {}
        for code, points in rows:
            mapping[ord(cp1252_char(code))] = self.draw(code, points, texts[code], shaped)
        return mapping

    def shaping_text(self, points):
        if points == [HOOK] or len(points) == 1 and unicodedata.category(chr(points[0])) in ("Mc", "Zs"):
            return None  # drawn or taken as is
        if points == [REPH]:
            return "र्क"
        if points == [EYELASH]:
            return "र्\u200dय"
        text = "".join(map(chr, points))
        # Rakar takes no room in a legacy font: it is placed like a vowel sign.
        if points == [VIRAMA, RA] or all(map(is_mark, points)):
            return tuple(base + text for base in REFERENCE_BASES)
        if points[0] == VIRAMA:
            return "क" + text  # ्य: the phala after a half form
        if points[-1] == VIRAMA:
            return text + "\u200d"  # the half form, not the visible virama
        return text

    def draw(self, code, points, text, shaped):
        name = f"lk{code:02X}"
        if code == SLANTED_RAKAR_CODE and points == [VIRAMA, RA]:
            return self.composite(name, [(SLANTED_RAKAR_GLYPH, 0, 0)], 0)
        if points == [HOOK]:
            return self.add_glyph(name, draw_hook(self.font.getGlyphSet()), HOOK_ADVANCE)
        if text is None:
            found = self.glyph_for(points[0])
            if found is None and unicodedata.category(chr(points[0])) == "Zs":
                found = self.glyph_for(0x20)  # no-break space: a space to the eye
            if found is None:
                raise RuntimeError(f"code {code:02X}: Lohit has no glyph for U+{points[0]:04X}")
            return found
        if points == [REPH]:
            # Reph follows its base in HarfBuzz's output; it sits over the end
            # of the syllable before it and takes no room.
            parts, advance = self.placed(shaped[text], keep=lambda i, g: g[0] != "kadeva")
            return self.composite(name, [(n, x - advance, y) for n, x, y in parts], 0)
        if points == [EYELASH]:
            parts, _ = self.placed(shaped[text], keep=lambda i, g: g[1] == 0)
            advance = sum(g[4] for g in shaped[text] if g[1] == 0)
            return self.composite(name, parts, advance)
        if isinstance(text, tuple):
            return self.draw_mark(code, name, text, shaped)
        if points[0] == VIRAMA:
            glyphs = shaped[text]
            parts, advance = self.placed(glyphs, keep=lambda i, g: i > 0)
            first = glyphs[0][4]
            return self.composite(name, [(n, x - first, y) for n, x, y in parts], advance - first)
        parts, advance = self.placed(shaped[text])
        return self.composite(name, parts, advance)

    def draw_mark(self, code, name, texts, shaped):
        """A mark of no width, where it sits after the reference base; the
        first base it does not fuse with is taken."""
        for text in texts:
            base = self.glyph_for(ord(text[0]))
            glyphs = shaped[text]
            if glyphs[0][0] != base or sum(1 for g in glyphs if g[0] == base) != 1:
                continue
            parts, advance = self.placed(glyphs, keep=lambda i, g: i > 0)
            return self.composite(name, [(n, x - advance, y) for n, x, y in parts], 0)
        raise RuntimeError(f"code {code:02X}: every reference base fuses with the mark: {texts}")


def rename(font):
    name = font["name"]
    copyright_notice = name.getDebugName(0)
    name.names = []
    entries = {
        0: copyright_notice,
        1: FAMILY,
        2: "Regular",
        3: f"{POSTSCRIPT_NAME};1.000",
        4: FAMILY,
        5: "Version 1.000",
        6: POSTSCRIPT_NAME,
        10: f"{DERIVED}. Its Windows-1252 codes carry the glyphs of the Preeti keyboard layout; "
            "made for testing Lekhopakar, not for documents.",
        13: OFL_NOTICE,
        14: "https://openfontlicense.org",
    }
    for name_id, text in entries.items():
        name.setName(text, name_id, 3, 1, 0x409)
        name.setName(text, name_id, 1, 0, 0)


def set_cmap(font, mapping):
    table = cmap_format_4(4)
    table.platformID, table.platEncID, table.language = 3, 1, 0
    table.cmap = dict(mapping)
    font["cmap"].tables = [table]


def set_os2(font, mapping):
    os2 = font["OS/2"]
    # Latin 1 only: Windows lists the font under the Western script, as the
    # legacy fonts are, and applies no Devanagari shaping to it.
    os2.ulCodePageRange1, os2.ulCodePageRange2 = 1, 0
    os2.ulUnicodeRange1 = (1 << 0) | (1 << 1) | (1 << 31)
    os2.ulUnicodeRange2 = os2.ulUnicodeRange3 = os2.ulUnicodeRange4 = 0
    os2.usFirstCharIndex, os2.usLastCharIndex = min(mapping), max(mapping)
    os2.achVendID = "NONE"


def make(tool, out):
    rows = read_table(tool)
    builder = FontBuilder(SOURCE)
    mapping = builder.build(rows)
    font = builder.font
    font.setGlyphOrder(builder.glyph_order)
    set_cmap(font, mapping)

    options = subset.Options()
    options.glyph_names = True
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.layout_features = []
    options.hinting = False
    options.drop_tables += ["GSUB", "GPOS", "GDEF", "FFTM"]
    subsetter = subset.Subsetter(options)
    subsetter.populate(glyphs=sorted(set(mapping.values())))
    subsetter.subset(font)
    for table in ("GSUB", "GPOS", "GDEF"):
        if table in font:
            del font[table]
    set_cmap(font, mapping)
    set_os2(font, mapping)
    rename(font)

    out.parent.mkdir(parents=True, exist_ok=True)
    temporary = out.with_suffix(".tmp")
    font.save(str(temporary))
    temporary.replace(out)
    return len(rows)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--table-tool", required=True, type=Path, help="lk_dump_font_table")
    parser.add_argument("--out", required=True, type=Path)
    args = parser.parse_args()
    count = make(args.table_tool, args.out)
    print(f"make_test_font: {args.out} ({count} codes)")


if __name__ == "__main__":
    sys.exit(main())
