#!/usr/bin/env python3
"""Genuine .xlsx and .pptx files, converted by our converter and read
back by LibreOffice: every sheet and every slide (notes and comments too)
must show the expected text in the expected font.

LibreOffice writes the .xlsx/.pptx from the flat sources beside this file,
so the files come from a real office suite, not from us; after conversion
it exports them again as flat XML (all sheets and slides, with their
styles), where each text portion's font is resolved through its span, its
paragraph, its frame or cell and their parent styles.

  check_office_libreoffice.py --tool build/native/lk_office_convert [--keep DIR]

The tool is called as TOOL --to unicode IN OUT.
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
UNICODE = "Nirmala UI"

# (source, target format, [(place, text, font)]): place is "sheet NAME",
# "slide N" or "notes N"; the text must be found whole in one portion of
# that place shown in that font.
CASES = [
    ("sheets.fods", "xlsx", "fods", [
        # one shared string in a Preeti and an Arial cell
        ("sheet Budget", "नेपाल सरकार", UNICODE),
        ("sheet Budget", "g]kfn ;/sf/", "Arial"),
        # a Preeti run beside an Arial run in one cell
        ("sheet Budget", "किताब", UNICODE),
        ("sheet Budget", "Book", "Arial"),
        # numbers are not text: the Preeti cell keeps its font
        ("sheet Budget", "2080", "Preeti"),
        ("sheet Budget", "Total", "Arial"),
        # a second sheet, and the comment on its cell
        ("sheet Names", "काठमाडौं", UNICODE),
        ("comments Names", "काठमाडौं", UNICODE),
        # the page header's and footer's Preeti font switches, and the
        # English and the page number field beside them
        ("page PageStyle_Budget", "नेपाल", UNICODE),
        ("page PageStyle_Budget", "सरकार", UNICODE),
        ("page PageStyle_Budget", "Page", None),
        # a table's header cell
        ("sheet Items", "नेपाल", UNICODE),
    ]),
    ("slides.fodp", "pptx", "fodp", [
        # the master's Preeti title and outline
        ("slide 1", "नेपाल सरकार", UNICODE),
        ("slide 1", "किताब", UNICODE),
        ("slide 1", "Office", "Arial"),
        ("notes 1", "काठमाडौं", UNICODE),
        # a text box and a group
        ("slide 2", "सरकार", UNICODE),
        ("slide 2", "Nepal", "Arial"),
        ("slide 2", "नेपाल", UNICODE),
        ("slide 2", "Group", "Arial"),
    ]),
]

# The column names each converted workbook's tables must end with; every
# table's names must equal its header cells' text besides.
TABLES = {"sheets.fods": {"ItemList": ["नेपाल", "Total"]}}

# Legacy text that must not be left anywhere but where the case says.
LEGACY_LEFT = {"sheets.fods": {"g]kfn ;/sf/"}, "slides.fodp": set()}


class Styles:
    def __init__(self, root):
        self.fonts = {}
        for face in root.iter(q("style:font-face")):
            self.fonts[face.get(q("style:name"))] = face.get(q("svg:font-family"), "").strip("'\"")
        self.styles = {}
        self.defaults = {}
        for style in root.iter(q("style:style")):
            self.styles.setdefault(style.get(q("style:name")), style)
        for style in root.iter(q("style:default-style")):
            self.defaults[style.get(q("style:family"))] = style

    def own_font(self, style):
        props = style.find(q("style:text-properties"))
        if props is None:
            return None
        name = props.get(q("style:font-name"))
        if name:
            return self.fonts.get(name, name)
        family = props.get(q("fo:font-family"))
        return family.strip("'\"") if family else None

    def font(self, name):
        seen = set()
        while name and name not in seen:
            seen.add(name)
            style = self.styles.get(name)
            if style is None:
                return None
            font = self.own_font(style)
            if font:
                return font
            name = style.get(q("style:parent-style-name"))
        return None


STYLE_ATTRIBUTES = [q("text:style-name"), q("draw:text-style-name"), q("presentation:style-name"),
                    q("draw:style-name"), q("table:style-name")]


def portions(paragraph, chain, styles, paragraph_style=True):
    """The paragraph's text as (text, font) portions; chain lists the
    style names above it, nearest first."""
    out = []

    def font_of(names):
        for name in names:
            font = styles.font(name)
            if font:
                return font
        default = styles.defaults.get("table-cell") or styles.defaults.get("graphic")
        return styles.own_font(default) if default is not None else None

    def walk(element, names):
        own = element.get(q("text:style-name")) if paragraph_style or element is not paragraph else None
        names = ([own] if own else []) + names
        if element.text:
            out.append((element.text, font_of(names)))
        for child in element:
            if child.tag in (q("text:s"),):
                out.append((" " * int(child.get(q("text:c"), "1")), font_of(names)))
            elif child.tag in (q("text:tab"), q("text:line-break")):
                out.append((" ", font_of(names)))
            else:
                walk(child, names)
            if child.tail:
                out.append((child.tail, font_of(names)))

    walk(paragraph, chain)
    return out


def places_of_spreadsheet(root, styles):
    body = root.find(q("office:body")).find(q("office:spreadsheet"))
    for table in body.findall(q("table:table")):
        name = table.get(q("table:name"))
        column_styles = []
        for column in table.iter(q("table:table-column")):
            count = int(column.get(q("table:number-columns-repeated"), "1"))
            column_styles += [column.get(q("table:default-cell-style-name"))] * min(count, 1024)
        for row in table.iter(q("table:table-row")):
            index = 0
            for cell in row:
                if cell.tag not in (q("table:table-cell"), q("table:covered-table-cell")):
                    continue
                style = cell.get(q("table:style-name"))
                if style is None and index < len(column_styles):
                    style = column_styles[index]
                chain = [style] if style else []
                for p in cell.findall(q("text:p")):
                    yield "sheet " + name, portions(p, chain, styles)
                # LibreOffice gives a comment's paragraph a default font of
                # its own and keeps the comment's run font in the
                # annotation's text style.
                for note in cell.findall(q("office:annotation")):
                    note_chain = [note.get(q("draw:text-style-name")), note.get(q("draw:style-name"))]
                    for p in note.iter(q("text:p")):
                        yield "comments " + name, portions(p, [n for n in note_chain if n], styles, False)
                index += int(cell.get(q("table:number-columns-repeated"), "1"))
    # Page headers and footers, each region's text in the font its spans
    # give it.
    masters = root.find(q("office:master-styles"))
    for page in (masters if masters is not None else []):
        for p in page.iter(q("text:p")):
            yield "page " + page.get(q("style:display-name"), page.get(q("style:name"), "")), portions(p, [], styles)


def places_of_presentation(root, styles):
    body = root.find(q("office:body")).find(q("office:presentation"))
    for number, page in enumerate(body.findall(q("draw:page")), 1):
        for place, scope in (("slide", page), ("notes", page.find(q("presentation:notes")))):
            if scope is None:
                continue
            parents = {child: parent for parent in scope.iter() for child in parent}
            for p in scope.iter(q("text:p")):
                if place == "slide" and any(a.tag == q("presentation:notes") for a in ancestors(p, parents)):
                    continue
                chain = []
                for ancestor in ancestors(p, parents):
                    chain += [ancestor.get(attribute) for attribute in STYLE_ATTRIBUTES[1:]
                              if ancestor.get(attribute)]
                yield "%s %d" % (place, number), portions(p, chain, styles)


def ancestors(element, parents):
    while element in parents:
        element = parents[element]
        yield element


def merged(found):
    """Neighbouring portions of one font read as one text."""
    out = []
    for text, font in found:
        if out and out[-1][1] == font:
            out[-1] = (out[-1][0] + text, font)
        else:
            out.append((text, font))
    return out


def check(source, flat_file, expectations):
    root = ET.parse(flat_file).getroot()
    styles = Styles(root)
    reader = places_of_spreadsheet if flat_file.endswith(".fods") else places_of_presentation
    places = {}
    for place, found in reader(root, styles):
        places.setdefault(place, []).extend(merged(found))
    failures = []
    for place, text, font in expectations:
        shown = places.get(place, [])
        # None: whatever font LibreOffice gives it by default.
        if not any(text in t and (f == font or font is None) for t, f in shown):
            failures.append("%s: %s: %r in %s not found; it shows %r" % (source, place, text, font, shown))
    allowed = LEGACY_LEFT.get(source, set())
    for place, shown in places.items():
        for t, f in shown:
            if f == "Preeti" and t.strip() and not t.strip().isdigit() and t.strip() not in allowed:
                failures.append("%s: %s: %r is still in Preeti" % (source, place, t))
    return failures


def header_cells_text(package, sheet_part):
    """Each cell's shown text of a sheet, by its reference ("A1")."""
    main = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
    strings = []
    if "xl/sharedStrings.xml" in package.namelist():
        for item in ET.fromstring(package.read("xl/sharedStrings.xml")).findall(main + "si"):
            strings.append("".join(t.text or "" for t in item.iter(main + "t")
                                   if all(t not in rph.iter() for rph in item.findall(main + "rPh"))))
    cells = {}
    for cell in ET.fromstring(package.read(sheet_part)).iter(main + "c"):
        kind = cell.get("t")
        if kind == "s":
            cells[cell.get("r")] = strings[int(cell.find(main + "v").text)]
        elif kind == "inlineStr":
            cells[cell.get("r")] = "".join(t.text or "" for t in cell.iter(main + "t"))
    return cells


def check_tables(source, xlsx):
    """Excel repairs a file whose table column names differ from their
    header cells: every table's names must read as its cells do."""
    main = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
    failures = []
    found = {}
    with zipfile.ZipFile(xlsx) as package:
        names = package.namelist()
        for rels in (n for n in names if n.startswith("xl/worksheets/_rels/")):
            sheet_part = "xl/worksheets/" + os.path.basename(rels)[:-len(".rels")]
            for relationship in ET.fromstring(package.read(rels)):
                if not relationship.get("Type", "").endswith("/table"):
                    continue
                table_part = os.path.normpath(os.path.join("xl/worksheets", relationship.get("Target")))
                table = ET.fromstring(package.read(table_part))
                first = table.get("ref").split(":")[0]
                column, row = first.rstrip("0123456789"), first[len(first.rstrip("0123456789")):]
                cells = header_cells_text(package, sheet_part)
                columns = [c.get("name") for c in table.iter(main + "tableColumn")]
                found[table.get("name")] = [c.replace("_x000a_", "\n") for c in columns]
                for offset, name in enumerate(columns):
                    ref = chr(ord(column) + offset) + row  # tables of a few columns from A
                    shown = cells.get(ref, "").replace("\n", "_x000a_")
                    if shown != name:
                        failures.append("%s: table %s: column %r but its header cell %s reads %r"
                                        % (source, table.get("name"), name, ref, shown))
    for table, columns in TABLES.get(source, {}).items():
        if found.get(table) != columns:
            failures.append("%s: table %s: columns %r, expected %r" % (source, table, found.get(table), columns))
    return failures


def soffice(home, target, outdir, files):
    subprocess.run(["soffice", "--headless", "--norestore", "--convert-to", target, "--outdir", outdir] + files,
                   check=True, env=dict(os.environ, HOME=home), stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=600)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tool", required=True, help="the converter: TOOL --to unicode IN OUT")
    parser.add_argument("--keep", help="keep the files made here in this folder")
    args = parser.parse_args()
    if not shutil.which("soffice"):
        print("LibreOffice (soffice) is not installed", file=sys.stderr)
        return 2
    work = args.keep or tempfile.mkdtemp(prefix="lk_office_")
    os.makedirs(work, exist_ok=True)
    home, genuine, converted, back = (os.path.join(work, d) for d in ("home", "genuine", "converted", "back"))
    for folder in (home, genuine, converted, back):
        os.makedirs(folder, exist_ok=True)
    try:
        by_format = {}
        for source, office, flat, _ in CASES:
            by_format.setdefault(office, []).append(os.path.join(HERE, source))
        for office, files in by_format.items():
            soffice(home, office, genuine, files)
        outputs = []
        for source, office, flat, _ in CASES:
            stem = os.path.splitext(source)[0]
            made = os.path.join(converted, stem + "." + office)
            subprocess.run([args.tool, "--to", "unicode", os.path.join(genuine, stem + "." + office), made],
                           check=True, stdout=subprocess.DEVNULL)
            outputs.append(made)
        for flat in {case[2] for case in CASES}:
            soffice(home, flat, back, [o for o, case in zip(outputs, CASES) if case[2] == flat])
        failures = []
        for source, office, flat, expectations in CASES:
            stem = os.path.splitext(source)[0]
            failures += check(source, os.path.join(back, stem + "." + flat), expectations)
            if office == "xlsx":
                failures += check_tables(source, os.path.join(converted, stem + "." + office))
        for failure in failures:
            print(failure, file=sys.stderr)
        print("office files read back by LibreOffice: %d cases, %d failed"
              % (sum(len(c[3]) for c in CASES), len(failures)))
        return 1 if failures else 0
    finally:
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
