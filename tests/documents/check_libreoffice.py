#!/usr/bin/env python3
"""Has LibreOffice read the Word documents we convert.

Sample .docx files are written here by hand, so that they keep the split
runs an office suite would merge (an i-kar in one run and its consonant in
the next, a reph after its cluster), fonts that come from a style's basedOn
chain, a header, a footnote and a text box. They are converted by our
converter, and LibreOffice turns every output into flat XML (fodt) in one
call. Its plain-text export shows neither fonts nor notes, so the check
reads the flat XML: the text of each part (body, header, footnote) and the
font each piece of text resolves to through LibreOffice's own styles.

  check_libreoffice.py --converter build/native/lk_docx_convert [--keep DIR]
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET
import zipfile

W = "http://schemas.openxmlformats.org/wordprocessingml/2006/main"
NS = {
    "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
    "style": "urn:oasis:names:tc:opendocument:xmlns:style:1.0",
    "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0",
    "svg": "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0",
    "draw": "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0",
}
ROOT_NS = (
    f' xmlns:w="{W}"'
    ' xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
    ' xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006"'
    ' xmlns:w14="http://schemas.microsoft.com/office/word/2010/wordml"'
    ' xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing"'
    ' xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main"'
    ' xmlns:wps="http://schemas.microsoft.com/office/word/2010/wordprocessingShape"'
    ' xmlns:v="urn:schemas-microsoft-com:vml"'
    ' mc:Ignorable="w14"'
)
DECL = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
CT = "application/vnd.openxmlformats-officedocument.wordprocessingml."
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"


def run(text, font=None, props=""):
    fonts = f'<w:rFonts w:ascii="{font}" w:hAnsi="{font}"/>' if font else ""
    rpr = f"<w:rPr>{fonts}{props}</w:rPr>" if fonts or props else ""
    space = ' xml:space="preserve"' if text != text.strip() else ""
    return f"<w:r>{rpr}<w:t{space}>{text}</w:t></w:r>"


def para(content, style=None):
    ppr = f'<w:pPr><w:pStyle w:val="{style}"/></w:pPr>' if style else ""
    return f"<w:p>{ppr}{content}</w:p>"


STYLES = (
    DECL + f"<w:styles{ROOT_NS}>"
    '<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii="Liberation Serif" w:hAnsi="Liberation Serif"/>'
    "</w:rPr></w:rPrDefault></w:docDefaults>"
    '<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/></w:style>'
    '<w:style w:type="paragraph" w:styleId="PreetiBody"><w:name w:val="Preeti Body"/><w:basedOn w:val="Normal"/>'
    '<w:rPr><w:rFonts w:ascii="Preeti" w:hAnsi="Preeti"/><w:b/><w:sz w:val="28"/></w:rPr></w:style>'
    '<w:style w:type="paragraph" w:styleId="PreetiQuote"><w:name w:val="Preeti Quote"/>'
    '<w:basedOn w:val="PreetiBody"/></w:style>'
    '<w:style w:type="character" w:styleId="FootnoteReference"><w:name w:val="footnote reference"/>'
    '<w:rPr><w:vertAlign w:val="superscript"/></w:rPr></w:style>'
    "</w:styles>"
)


def text_box(paragraphs):
    box = f"<w:txbxContent>{paragraphs}</w:txbxContent>"
    return (
        '<w:r><mc:AlternateContent><mc:Choice Requires="wps"><w:drawing>'
        '<wp:anchor distT="0" distB="0" distL="0" distR="0" simplePos="0" relativeHeight="1" behindDoc="0"'
        ' locked="0" layoutInCell="1" allowOverlap="1"><wp:simplePos x="0" y="0"/>'
        '<wp:positionH relativeFrom="column"><wp:posOffset>0</wp:posOffset></wp:positionH>'
        '<wp:positionV relativeFrom="paragraph"><wp:posOffset>0</wp:posOffset></wp:positionV>'
        '<wp:extent cx="1828800" cy="457200"/><wp:effectExtent l="0" t="0" r="0" b="0"/><wp:wrapNone/>'
        '<wp:docPr id="1" name="Text Box 1"/><wp:cNvGraphicFramePr/>'
        '<a:graphic><a:graphicData uri="http://schemas.microsoft.com/office/word/2010/wordprocessingShape">'
        '<wps:wsp><wps:cNvSpPr txBox="1"/><wps:spPr><a:xfrm><a:off x="0" y="0"/><a:ext cx="1828800" cy="457200"/>'
        '</a:xfrm><a:prstGeom prst="rect"><a:avLst/></a:prstGeom></wps:spPr>'
        f"<wps:txbx>{box}</wps:txbx><wps:bodyPr/></wps:wsp></a:graphicData></a:graphic></wp:anchor></w:drawing>"
        '</mc:Choice><mc:Fallback><w:pict><v:shape style="width:144pt;height:36pt" type="#_x0000_t202">'
        f"<v:textbox>{box}</v:textbox></v:shape></w:pict></mc:Fallback></mc:AlternateContent></w:r>"
    )


def document(body_paragraphs, with_header, with_notes):
    sect = '<w:sectPr><w:headerReference w:type="default" r:id="rIdH"/>' if with_header else "<w:sectPr>"
    sect += '<w:pgSz w:w="11906" w:h="16838"/><w:pgMar w:top="1440" w:right="1440" w:bottom="1440" w:left="1440"' \
            ' w:header="708" w:footer="708" w:gutter="0"/></w:sectPr>'
    return DECL + f"<w:document{ROOT_NS}><w:body>{body_paragraphs}{sect}</w:body></w:document>"


def package(path, body, header=None, footnotes=None):
    types = [
        '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>',
        '<Default Extension="xml" ContentType="application/xml"/>',
        f'<Override PartName="/word/document.xml" ContentType="{CT}document.main+xml"/>',
        f'<Override PartName="/word/styles.xml" ContentType="{CT}styles+xml"/>',
    ]
    rels = [f'<Relationship Id="rIdS" Type="{REL}styles" Target="styles.xml"/>']
    parts = {"word/styles.xml": STYLES, "word/document.xml": document(body, header is not None, footnotes)}
    if header is not None:
        types.append(f'<Override PartName="/word/header1.xml" ContentType="{CT}header+xml"/>')
        rels.append(f'<Relationship Id="rIdH" Type="{REL}header" Target="header1.xml"/>')
        parts["word/header1.xml"] = DECL + f"<w:hdr{ROOT_NS}>{header}</w:hdr>"
    if footnotes is not None:
        types.append(f'<Override PartName="/word/footnotes.xml" ContentType="{CT}footnotes+xml"/>')
        rels.append(f'<Relationship Id="rIdF" Type="{REL}footnotes" Target="footnotes.xml"/>')
        parts["word/footnotes.xml"] = (
            DECL + f"<w:footnotes{ROOT_NS}>"
            '<w:footnote w:type="separator" w:id="-1"><w:p><w:r><w:separator/></w:r></w:p></w:footnote>'
            '<w:footnote w:type="continuationSeparator" w:id="0"><w:p><w:r><w:continuationSeparator/></w:r>'
            f'</w:p></w:footnote><w:footnote w:id="1">{footnotes}</w:footnote></w:footnotes>'
        )
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml", DECL + '<Types xmlns="http://schemas.openxmlformats.org/package/2006/'
                   'content-types">' + "".join(types) + "</Types>")
        z.writestr("_rels/.rels", DECL + '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/'
                   f'relationships"><Relationship Id="rId1" Type="{REL}officeDocument" Target="word/document.xml"/>'
                   "</Relationships>")
        z.writestr("word/_rels/document.xml.rels", DECL + '<Relationships xmlns="http://schemas.openxmlformats.org/'
                   'package/2006/relationships">' + "".join(rels) + "</Relationships>")
        for name, content in parts.items():
            z.writestr(name, content)


NOTE_REF = '<w:r><w:rPr><w:rStyle w:val="FootnoteReference"/></w:rPr><w:footnoteReference w:id="1"/></w:r>'
NOTE_MARK = '<w:r><w:rPr><w:rStyle w:val="FootnoteReference"/></w:rPr><w:footnoteRef/></w:r>'

# name: (body, header, footnotes), then what LibreOffice must show, per
# part: (text, the font it displays in).
SAMPLES = {
    "split_runs": (
        para(run("l", "Preeti") + '<w:proofErr w:type="spellStart"/>' + run("stfa", "Preeti")
             + '<w:proofErr w:type="spellEnd"/>' + run(" Hello ", "Times New Roman") + run("sd", "Preeti")
             + run("{", "Preeti")),
        None, None),
    "styles_header_note": (
        para(run("g]kfn") + NOTE_REF, "PreetiQuote") + para(run(";/sf/", props='<w:rStyle w:val="X"/>'), "PreetiBody"),
        para(run("l") + run("stfa"), "PreetiBody"),
        para(NOTE_MARK + run(" ") + run("sd", "Preeti") + run("{", "Preeti"))),
    "text_box": (para(run("g]kfn", "Preeti") + text_box(para(run("l", "Preeti") + run("stfa", "Preeti")))), None, None),
}
EXPECTED = {
    "split_runs": {"body": [("किताब", "Nirmala UI"), ("Hello", "Times New Roman"), ("कर्म", "Nirmala UI")]},
    "styles_header_note": {
        "body": [("नेपाल", "Nirmala UI"), ("सरकार", "Nirmala UI")],
        "header": [("किताब", "Nirmala UI")],
        "footnote": [("कर्म", "Nirmala UI")],
    },
    "text_box": {"body": [("नेपाल", "Nirmala UI")], "frame": [("किताब", "Nirmala UI")]},
}


def q(prefix, local):
    return "{%s}%s" % (NS[prefix], local)


class FlatDocument:
    """A flat OpenDocument text, with the font its styles give each text."""

    def __init__(self, path):
        self.root = ET.parse(path).getroot()
        self.faces = {}
        for face in self.root.iter(q("style", "font-face")):
            self.faces[face.get(q("style", "name"))] = face.get(q("svg", "font-family"), "").strip("'\"")
        self.styles = {}
        self.defaults = {}
        for s in self.root.iter(q("style", "style")):
            self.styles[(s.get(q("style", "family")), s.get(q("style", "name")))] = s
        for s in self.root.iter(q("style", "default-style")):
            self.defaults[s.get(q("style", "family"))] = s

    def _font_in(self, element, attribute):
        props = element.find(q("style", "text-properties")) if element is not None else None
        name = props.get(q("style", attribute)) if props is not None else None
        return self.faces.get(name, name) if name else None

    def _style_chain(self, family, name):
        seen = set()
        while name and (family, name) not in seen:
            seen.add((family, name))
            style = self.styles.get((family, name))
            if style is None:
                return
            yield style
            name = style.get(q("style", "parent-style-name"))

    def font(self, span_styles, paragraph_style, complex_script):
        attribute = "font-name-complex" if complex_script else "font-name"
        for span in reversed(span_styles):
            for style in self._style_chain("text", span):
                found = self._font_in(style, attribute)
                if found:
                    return found
        for style in self._style_chain("paragraph", paragraph_style):
            found = self._font_in(style, attribute)
            if found:
                return found
        return self._font_in(self.defaults.get("paragraph"), attribute)

    def pieces(self, region):
        """(text, font) of every stretch of text under region, notes and frames apart."""
        found = []

        def walk(element, spans, paragraph_style):
            if element.tag in (q("text", "note"), q("draw", "frame"), q("draw", "custom-shape")) and element is not region:
                return
            if element.tag in (q("text", "p"), q("text", "h")):
                paragraph_style = element.get(q("text", "style-name"))
            if element.tag == q("text", "span"):
                spans = spans + [element.get(q("text", "style-name"))]
            if element.text:
                found.append((element.text, spans, paragraph_style))
            for child in element:
                walk(child, spans, paragraph_style)
                if child.tail:
                    found.append((child.tail, spans, paragraph_style))

        walk(region, [], None)
        return [(text, self.font(spans, style, any("\u0900" <= c <= "\u097f" for c in text)))
                for text, spans, style in found]

    def region(self, part):
        body = self.root.find(q("office", "body"))
        if part == "body":
            return [body]
        if part == "header":
            return list(self.root.iter(q("style", "header")))
        if part == "footnote":
            return list(body.iter(q("text", "note-body")))
        if part == "frame":
            # A text box comes in as a shape holding paragraphs, or as a frame.
            return list(body.iter(q("draw", "custom-shape"))) + list(body.iter(q("draw", "text-box")))
        raise ValueError(part)

    def text_and_fonts(self, part):
        pieces = []
        for region in self.region(part):
            pieces.extend(self.pieces(region))
        return pieces


class LibreOfficeReadsOurDocuments(unittest.TestCase):
    converter = None
    keep = None

    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="lk_libreoffice_")
        inputs, outputs = os.path.join(cls.work, "in"), os.path.join(cls.work, "out")
        os.makedirs(inputs)
        os.makedirs(outputs)
        converted = []
        for name, (body, header, notes) in SAMPLES.items():
            source = os.path.join(inputs, name + ".docx")
            package(source, body, header, notes)
            converted.append(cls.convert(source, os.path.join(outputs, name + ".docx")))
        flat = os.path.join(cls.work, "flat")
        home = os.path.join(cls.work, "home")
        os.makedirs(home)
        env = dict(os.environ, HOME=home)
        # One call for the whole batch: LibreOffice starts once.
        subprocess.run(["soffice", "--headless", "--norestore", f"-env:UserInstallation=file://{home}/profile",
                        "--convert-to", "fodt", "--outdir", flat] + converted,
                       env=env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=600)
        cls.flat = {name: FlatDocument(os.path.join(flat, name + ".fodt")) for name in SAMPLES}

    @classmethod
    def tearDownClass(cls):
        if cls.keep:
            shutil.copytree(cls.work, cls.keep, dirs_exist_ok=True)
        shutil.rmtree(cls.work, ignore_errors=True)

    @classmethod
    def convert(cls, source, target):
        subprocess.run([cls.converter, "--to", "unicode", source, target], check=True, stdout=subprocess.DEVNULL)
        return target

    def test_every_part_reads_as_converted_in_the_unicode_font(self):
        for name, parts in EXPECTED.items():
            for part, wanted in parts.items():
                pieces = self.flat[name].text_and_fonts(part)
                joined = "".join(text for text, _ in pieces)
                for text, font in wanted:
                    with self.subTest(document=name, part=part, text=text):
                        self.assertIn(text, joined)
                        fonts = {f for t, f in pieces if any(c in t for c in text.strip())}
                        self.assertEqual(fonts, {font}, pieces)

    def test_no_legacy_text_is_left(self):
        for name, parts in EXPECTED.items():
            for part in parts:
                for text, font in self.flat[name].text_and_fonts(part):
                    with self.subTest(document=name, part=part, text=text):
                        self.assertNotIn(font, ("Preeti",))


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--converter", required=True, help="a program taking --to unicode IN OUT")
    parser.add_argument("--keep")
    args, rest = parser.parse_known_args()
    LibreOfficeReadsOurDocuments.converter = os.path.abspath(args.converter)
    LibreOfficeReadsOurDocuments.keep = args.keep
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
