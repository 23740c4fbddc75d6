#!/usr/bin/env python3
"""OpenDocument files LibreOffice wrote, converted by lekhopakar-convert and
read back by LibreOffice.

LibreOffice turns the flat sources beside this script (odf/*.fodt, *.fods,
*.fodp) into genuine .odt/.ods/.odp files, our converter (lk_odf_package,
the package layer and the OpenDocument converter) converts them, and
LibreOffice saves what it reads from our output as flat XML again (every
sheet, every slide, headers and notes included), where the text and the font
it resolves for each piece are checked. The packages themselves are checked
too: the mimetype entry first and stored, every part we did not rewrite
unchanged, and converting the output again changing nothing.

Usage: check_opendocument.py --convert build/native/lk_odf_package [--work DIR]
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zipfile

from odf_names import NS, q

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCES = os.path.join(HERE, "odf")
UNICODE_FONT = "Nirmala UI"


# What LibreOffice must read back: (where, paragraph text, piece, font the
# piece is drawn in). Converted Devanagari must be in the Unicode font in its
# Latin and its complex-script slot alike; English keeps the font it had.
EXPECTED = {
    "letter": [
        ("body", "नेपाल", "नेपाल", UNICODE_FONT),
        ("body", "Dear reader, किताब ends here.", "किताब", UNICODE_FONT),
        ("body", "Dear reader, किताब ends here.", "Dear reader, ", "Liberation Serif"),
        ("body", "कर्म", "कर्म", UNICODE_FONT),  # the footnote
        ("master", "सरकार", "सरकार", UNICODE_FONT),  # the header
    ],
    "budget": [
        ("body", "नेपाल", "नेपाल", UNICODE_FONT),  # a column's default cell style
        ("body", "सरकार", "सरकार", UNICODE_FONT),
        ("body", "Total", "Total", "Liberation Sans"),
        ("body", "2080", "2080", "Liberation Sans"),
        ("body", "किताब", "किताब", UNICODE_FONT),  # the second sheet, a bold cell style
        ("body", "Books", "Books", "Liberation Sans"),
    ],
    "slides": [
        ("body", "नेपाल", "नेपाल", UNICODE_FONT),  # the first slide's title
        ("body", "Agenda किताब", "किताब", UNICODE_FONT),
        ("body", "Agenda किताब", "Agenda ", "Liberation Sans"),
        ("body", "कर्म", "कर्म", UNICODE_FONT),  # the first slide's notes
        ("body", "नेपाल सरकार", "नेपाल सरकार", UNICODE_FONT),  # the second slide's title
        ("master", "सरकार", "सरकार", UNICODE_FONT),  # text on the master page
    ],
}
FORMATS = {".fodt": (".odt", ".fodt"), ".fods": (".ods", ".fods"), ".fodp": (".odp", ".fodp")}


def soffice(home, target, outdir, files):
    env = dict(os.environ, HOME=home)
    subprocess.run(["soffice", "--headless", "--norestore", "--convert-to", target, "--outdir", outdir, *files],
                   env=env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=600)


class FlatDocument:
    """A flat OpenDocument file and the fonts its text resolves to."""

    def __init__(self, path):
        self.root = ET.parse(path).getroot()
        self.parent = {child: node for node in self.root.iter() for child in node}
        self.fonts = {}
        for face in self.root.iter(q("style:font-face")):
            self.fonts[face.get(q("style:name"))] = unquote(face.get(q("svg:font-family"), ""))
        self.styles, self.defaults = {}, {}
        for container in ("office:styles", "office:automatic-styles"):
            for holder in self.root.findall(q(container)):
                for style in holder.findall(q("style:style")):
                    self.styles[(style.get(q("style:family")), style.get(q("style:name")))] = style
                for style in holder.findall(q("style:default-style")):
                    self.defaults[style.get(q("style:family"))] = style
        self.column_defaults = {}
        for table in self.root.iter(q("table:table")):
            self._index_columns(table)

    def _index_columns(self, table):
        columns = []
        for column in table.iter(q("table:table-column")):
            repeated = min(int(column.get(q("table:number-columns-repeated"), "1")), 1024)
            columns += [column.get(q("table:default-cell-style-name"))] * repeated
        for row in table.iter(q("table:table-row")):
            index = 0
            for cell in row:
                if cell.tag not in (q("table:table-cell"), q("table:covered-table-cell")):
                    continue
                if index < len(columns):
                    self.column_defaults[cell] = row.get(q("table:default-cell-style-name")) or columns[index]
                index += int(cell.get(q("table:number-columns-repeated"), "1"))

    def paragraphs(self, region):
        top = self.root.find(q("office:body" if region == "body" else "office:master-styles"))
        return [p for p in top.iter() if p.tag in (q("text:p"), q("text:h"))]

    def levels(self, node):
        """The styles a text node's font is looked up in, innermost first."""
        levels, default = [], "paragraph"
        in_cell = False
        while node is not None:
            tag = node.tag
            if tag in (q("text:span"), q("text:a")):
                levels.append(("text", node.get(q("text:style-name"))))
            elif tag in (q("text:p"), q("text:h")):
                levels.append(("paragraph", node.get(q("text:style-name"))))
            elif tag in (q("table:table-cell"), q("table:covered-table-cell")):
                in_cell = True
                levels.append(("table-cell", node.get(q("table:style-name")) or self.column_defaults.get(node)))
            elif tag.startswith("{%s}" % NS["draw"]) and tag != q("draw:text-box"):
                levels.append(("paragraph", node.get(q("draw:text-style-name"))))
                levels.append(("presentation", node.get(q("presentation:style-name"))))
                levels.append(("graphic", node.get(q("draw:style-name"))))
                default = "graphic"
                break
            elif tag == q("text:note-body"):
                break
            node = self.parent.get(node)
        if in_cell and default == "paragraph" and self.root.find(".//" + q("office:spreadsheet")) is not None:
            default = "table-cell"
        styles = [self.styles.get(level) for level in levels if level[1]]
        return [s for s in styles if s is not None] + [self.defaults.get(default)]

    def resolve(self, levels, name_attribute, family_attribute):
        for style in levels:
            depth = 0
            while style is not None and depth < 32:
                properties = style.find(q("style:text-properties"))
                if properties is not None:
                    if properties.get(q(name_attribute)):
                        name = properties.get(q(name_attribute))
                        return self.fonts.get(name, name)
                    if properties.get(q(family_attribute)):
                        return unquote(properties.get(q(family_attribute)))
                parent = style.get(q("style:parent-style-name"))
                style = self.styles.get((style.get(q("style:family")), parent)) if parent else None
                depth += 1
        return None

    def pieces(self, paragraph):
        """(text, latin font, complex font) of each text node in reading order."""
        out = []

        def walk(node):
            if node.text:
                out.append((node.text, node))
            for child in node:
                if child.tag in (q("text:span"), q("text:a")):
                    walk(child)
                elif child.tag == q("text:s"):
                    out.append((" " * int(child.get(q("text:c"), "1")), node))
                elif child.tag == q("text:tab"):
                    out.append(("\t", node))
                if child.tail:
                    out.append((child.tail, node))

        walk(paragraph)
        return [(text, self.resolve(self.levels(holder), "style:font-name", "fo:font-family"),
                 self.resolve(self.levels(holder), "style:font-name-complex", "style:font-family-complex"))
                for text, holder in out]


def unquote(value):
    value = value.split(",")[0].strip()
    if len(value) >= 2 and value[0] in "'\"" and value[-1] == value[0]:
        value = value[1:-1].strip()
    return value


def check_package(source, converted, again, failures):
    """The mimetype first and stored; parts we did not rewrite unchanged."""
    with zipfile.ZipFile(source) as zin, zipfile.ZipFile(converted) as zout, zipfile.ZipFile(again) as ztwice:
        entries = zout.infolist()
        if entries[0].filename != "mimetype" or entries[0].compress_type != zipfile.ZIP_STORED:
            failures.append(f"{converted}: mimetype is not the first entry, stored")
        if [e.filename for e in entries] != [e.filename for e in zin.infolist()]:
            failures.append(f"{converted}: the entries are not those of the input in its order")
        for entry in zin.infolist():
            if entry.filename in ("content.xml", "styles.xml"):
                continue
            if zout.read(entry.filename) != zin.read(entry.filename):
                failures.append(f"{converted}: {entry.filename} changed")
        for entry in entries:
            if ztwice.read(entry.filename) != zout.read(entry.filename):
                failures.append(f"{again}: converting twice changed {entry.filename}")


def check_text(name, flat, failures):
    document = FlatDocument(flat)
    for region, paragraph_text, piece, font in EXPECTED[name]:
        found = [document.pieces(p) for p in document.paragraphs(region)]
        matches = [pieces for pieces in found if "".join(text for text, _, _ in pieces) == paragraph_text]
        if not matches:
            texts = ["".join(text for text, _, _ in pieces) for pieces in found]
            failures.append(f"{name}: no {region} paragraph reads {paragraph_text!r}; read {texts}")
            continue
        for text, latin, complex_ in matches[0]:
            if not text.startswith(piece) and not piece.startswith(text):
                continue
            fonts = (latin, complex_) if font == UNICODE_FONT else (latin,)
            if any(f != font for f in fonts):
                failures.append(f"{name}: {text!r} is drawn in {fonts}, not {font}")
            break
        else:
            failures.append(f"{name}: {piece!r} is not a piece of {paragraph_text!r}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--convert", required=True, help="the lk_odf_package program")
    parser.add_argument("--work", help="a folder to work in (default: a temporary one)")
    args = parser.parse_args()
    if not shutil.which("soffice"):
        sys.exit("soffice is not installed (libreoffice-writer-nogui, -calc-nogui, -impress-nogui)")
    work = args.work or tempfile.mkdtemp(prefix="lk-odf-")
    home, made, converted, again, back = (os.path.join(work, d) for d in ("home", "made", "converted", "again", "back"))
    for d in (home, made, converted, again, back):
        os.makedirs(d, exist_ok=True)

    sources = sorted(f for f in os.listdir(SOURCES) if os.path.splitext(f)[1] in FORMATS)
    for flat_ext, (package_ext, _) in FORMATS.items():
        batch = [os.path.join(SOURCES, f) for f in sources if f.endswith(flat_ext)]
        if batch:
            soffice(home, package_ext[1:], made, batch)

    failures = []
    outputs = {}
    for source in sources:
        name, flat_ext = os.path.splitext(source)
        package_ext = FORMATS[flat_ext][0]
        made_file = os.path.join(made, name + package_ext)
        output = os.path.join(converted, name + package_ext)
        twice = os.path.join(again, name + package_ext)
        for what, target in ((made_file, output), (output, twice)):
            result = subprocess.run([args.convert, "--to", "unicode", what, target], capture_output=True, text=True)
            if result.returncode != 0:
                failures.append(f"{what}: the converter said {result.returncode}: {result.stderr.strip()}")
        if os.path.exists(twice):
            check_package(made_file, output, twice, failures)
        outputs.setdefault(flat_ext, []).append((name, output))

    for flat_ext, files in outputs.items():
        soffice(home, flat_ext[1:], back, [output for _, output in files if os.path.exists(output)])
        for name, _ in files:
            flat = os.path.join(back, name + flat_ext)
            if not os.path.exists(flat):
                failures.append(f"{name}: LibreOffice did not read our output")
                continue
            check_text(name, flat, failures)

    for failure in failures:
        print("FAIL", failure)
    checked = sum(len(v) for v in EXPECTED.values())
    print(f"OpenDocument read back by LibreOffice: {len(sources)} documents, {checked} pieces, "
          f"{len(failures)} failures")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
