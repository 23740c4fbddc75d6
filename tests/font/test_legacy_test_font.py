"""Checks build/fonts/LekhopakarTestLegacy.ttf against the converter's Preeti table.

    python3 -m unittest discover -s tests/font

LK_TEST_FONT and LK_FONT_TABLE_TOOL name the font and lk_dump_font_table when
they are not at build/fonts/ and build/native/.
"""
import os
import subprocess
import unittest
import unicodedata
from pathlib import Path

from fontTools.pens.boundsPen import BoundsPen
from fontTools.ttLib import TTFont

ROOT = Path(__file__).resolve().parents[2]
FONT = Path(os.environ.get("LK_TEST_FONT", ROOT / "build/fonts/LekhopakarTestLegacy.ttf"))
TOOL = Path(os.environ.get("LK_FONT_TABLE_TOOL", ROOT / "build/native/lk_dump_font_table"))

# The codes whose glyphs Preeti draws with no advance, over the glyph before.
ZERO_ADVANCE = set(b"\"'+F[\\]{|}") | {0xAB, 0xDE, 0x91}


def windows_char(code):
    try:
        return bytes([code]).decode("cp1252")
    except UnicodeDecodeError:
        return chr(code)  # the five codes 1252 leaves undefined


def preeti_table():
    lines = subprocess.run([str(TOOL), "Preeti"], check=True, capture_output=True,
                           text=True).stdout.splitlines()
    drawn, read_only = {}, set()
    for line in lines:
        code, points, kind = line.split("\t")
        if kind == "drawn":
            drawn[int(code, 16)] = [int(p, 16) for p in points.split()]
        else:
            read_only.add(int(code, 16))
    return drawn, read_only


class LegacyTestFont(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not FONT.is_file():
            raise AssertionError(f"{FONT} is missing; assets/make_test_font.py makes it")
        cls.font = TTFont(str(FONT))
        cls.cmap = cls.font.getBestCmap()
        cls.glyphs = cls.font.getGlyphSet()
        cls.drawn, cls.read_only = preeti_table()

    def outline_bounds(self, glyph):
        pen = BoundsPen(self.glyphs)
        self.glyphs[glyph].draw(pen)
        return pen.bounds

    def test_the_table_is_the_converters_whole_preeti_table(self):
        # A table cut short would let every other check here pass on nothing.
        self.assertGreaterEqual(len(self.drawn), 130)
        self.assertEqual(self.drawn[0x6D], [0xE001])  # the hook
        self.assertEqual(self.drawn[0x73], [0x0915])  # क

    def test_every_drawn_code_has_a_glyph_with_an_outline(self):
        for code, points in sorted(self.drawn.items()):
            with self.subTest(code=f"{code:02X}", text=points):
                glyph = self.cmap.get(ord(windows_char(code)))
                self.assertIsNotNone(glyph, "the font has no glyph for this code")
                self.assertNotEqual(glyph, ".notdef")
                if all(unicodedata.category(chr(p)) == "Zs" for p in points):
                    self.assertGreater(self.font["hmtx"][glyph][0], 0, "a blank with no width")
                else:
                    self.assertIsNotNone(self.outline_bounds(glyph), f"{glyph} draws nothing")

    def test_marks_take_no_room_and_the_rest_do(self):
        for code in sorted(self.drawn):
            glyph = self.cmap.get(ord(windows_char(code)))
            if glyph is None:
                continue  # reported by the outline check
            advance = self.font["hmtx"][glyph][0]
            with self.subTest(code=f"{code:02X}", glyph=glyph):
                if code in ZERO_ADVANCE:
                    self.assertEqual(advance, 0)
                else:
                    self.assertGreater(advance, 0)

    def test_codes_the_old_font_leaves_empty_stay_empty(self):
        for code in sorted(self.read_only):
            with self.subTest(code=f"{code:02X}"):
                self.assertNotIn(ord(windows_char(code)), self.cmap)

    def test_only_windows_1252_characters_are_mapped(self):
        # A Devanagari character in the cmap would let a program draw Unicode
        # text in it and hide a conversion that never happened.
        allowed = {ord(windows_char(code)) for code in range(0x20, 0x100)}
        self.assertEqual(set(self.cmap) - allowed, set())
        for table in ("GSUB", "GPOS", "GDEF"):
            self.assertNotIn(table, self.font)

    def test_named_as_ours_with_the_licence_kept(self):
        name = self.font["name"]
        for platform in ((3, 1, 0x409), (1, 0, 0)):
            with self.subTest(platform=platform):
                for name_id in (1, 4):
                    self.assertEqual(name.getName(name_id, *platform).toUnicode(), "Lekhopakar Test Legacy")
                for name_id in (1, 3, 4, 6):
                    self.assertNotIn("lohit", name.getName(name_id, *platform).toUnicode().lower())
                self.assertIn("Lohit Fonts Project", name.getName(0, *platform).toUnicode())
                self.assertIn("Derived from Lohit Devanagari (OFL-1.1)", name.getName(10, *platform).toUnicode())
                self.assertIn("Open Font License", name.getName(13, *platform).toUnicode())


if __name__ == "__main__":
    unittest.main()
