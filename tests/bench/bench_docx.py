#!/usr/bin/env python3
"""Input and yardstick for scripts/bench-documents.

  bench_docx.py make OUT.docx PARAGRAPHS   writes a Word document as a typist's
      looks after years of editing: Preeti text split into many runs per
      paragraph (syllables cut between runs, spell-check marks between them),
      English runs beside it, paragraphs whose font comes from a Preeti style,
      a header and a picture.
  bench_docx.py copy IN.docx OUT.docx      unpacks every entry and packs it
      again at zlib's default level, the way any zip tool rewrites a package,
      and prints the seconds the copy took (reading and writing only), by the
      wall clock and in CPU time.
"""
import random
import sys
import time
import zipfile

W = "http://schemas.openxmlformats.org/wordprocessingml/2006/main"
R = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"

# Preeti keystrokes for common words (the project's own fuzz seeds and the
# letters around them); i-kar comes before its consonant and reph after its
# cluster, which is what splitting runs breaks.
WORDS = ["g]kfn", "sfof{no", "k|wfgdGqL", "lxdfn", "lqmof", "ljBfno", "l;+x", "sd{", "ef}uf]lns",
         "cfly{s", "k|ltj]bg", "hgtf", ";/sf/", "lhNnf", "ufpF", "kflnsf", "clwsf/", "sfd", "lbg", "jif{"]
ENGLISH = ["Ref. No.", "Kathmandu", "Annex 2", "Table", "ISBN 978", "Total", "e-mail"]


def escape(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def run(text, preeti, bold=False):
    props = ""
    if preeti:
        props += '<w:rFonts w:ascii="Preeti" w:hAnsi="Preeti"/>'
    else:
        props += '<w:rFonts w:ascii="Times New Roman" w:hAnsi="Times New Roman"/>'
    if bold:
        props += "<w:b/>"
    props += '<w:sz w:val="24"/>'
    space = ' xml:space="preserve"' if text != text.strip() else ""
    return f'<w:r w:rsidR="00A1{random.randrange(65536):04X}"><w:rPr>{props}</w:rPr><w:t{space}>{escape(text)}</w:t></w:r>'


def bare_run(text):
    space = ' xml:space="preserve"' if text != text.strip() else ""
    return f"<w:r><w:t{space}>{escape(text)}</w:t></w:r>"


def split(text, pieces):
    cuts = sorted(random.sample(range(1, len(text)), min(pieces - 1, len(text) - 1)))
    out, last = [], 0
    for cut in cuts + [len(text)]:
        out.append(text[last:cut])
        last = cut
    return out


def paragraph(i):
    words = [random.choice(WORDS) for _ in range(random.randint(6, 14))]
    text = " ".join(words) + " ."
    parts = []
    if i % 5 == 0:
        # the font comes from the paragraph's style
        for piece in split(text, random.randint(3, 6)):
            parts.append(bare_run(piece))
        return f'<w:p><w:pPr><w:pStyle w:val="PreetiBody"/></w:pPr>{"".join(parts)}</w:p>'
    for n, piece in enumerate(split(text, random.randint(4, 9))):
        if n and random.random() < 0.3:
            parts.append('<w:proofErr w:type="spellStart"/>')
        parts.append(run(piece, True, bold=(i % 7 == 0)))
    if i % 3 == 0:
        parts.append(run(" " + random.choice(ENGLISH) + " ", False))
        parts.append(run(random.choice(WORDS), True))
    return f"<w:p>{''.join(parts)}</w:p>"


def make(path, paragraphs):
    random.seed(16)
    body = "".join(paragraph(i) for i in range(paragraphs))
    document = (f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<w:document xmlns:w="{W}" xmlns:r="{R}">'
                f'<w:body>{body}<w:sectPr><w:headerReference w:type="default" r:id="rId3"/></w:sectPr>'
                "</w:body></w:document>")
    styles = (f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<w:styles xmlns:w="{W}">'
              '<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii="Calibri" w:hAnsi="Calibri"/>'
              '<w:sz w:val="22"/></w:rPr></w:rPrDefault></w:docDefaults>'
              '<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/></w:style>'
              '<w:style w:type="paragraph" w:styleId="PreetiBody"><w:name w:val="Preeti Body"/>'
              '<w:basedOn w:val="Normal"/><w:rPr><w:rFonts w:ascii="Preeti" w:hAnsi="Preeti"/>'
              '<w:sz w:val="26"/></w:rPr></w:style></w:styles>')
    header = (f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<w:hdr xmlns:w="{W}"><w:p>'
              + run("g]kfn ", True) + run(";/sf/", True) + "</w:p></w:hdr>")
    types = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
             '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
             '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
             '<Default Extension="xml" ContentType="application/xml"/>'
             '<Default Extension="png" ContentType="image/png"/>'
             '<Override PartName="/word/document.xml" ContentType="application/'
             'vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>'
             '<Override PartName="/word/styles.xml" ContentType="application/'
             'vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/>'
             '<Override PartName="/word/header1.xml" ContentType="application/'
             'vnd.openxmlformats-officedocument.wordprocessingml.header+xml"/></Types>')
    rels = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
            '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
            '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/'
            'officeDocument" Target="word/document.xml"/></Relationships>')
    document_rels = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
                     '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
                     f'<Relationship Id="rId1" Type="{R}/styles" Target="styles.xml"/>'
                     f'<Relationship Id="rId2" Type="{R}/image" Target="media/image1.png"/>'
                     f'<Relationship Id="rId3" Type="{R}/header" Target="header1.xml"/></Relationships>')
    picture = random.randbytes(300_000)
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as package:
        package.writestr("[Content_Types].xml", types)
        package.writestr("_rels/.rels", rels)
        package.writestr("word/document.xml", document)
        package.writestr("word/styles.xml", styles)
        package.writestr("word/header1.xml", header)
        package.writestr("word/_rels/document.xml.rels", document_rels)
        package.writestr("word/media/image1.png", picture)


def copy(source, target):
    start = time.perf_counter()
    cpu = time.process_time()
    with zipfile.ZipFile(source) as original, zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as copied:
        for info in original.infolist():
            copied.writestr(info.filename, original.read(info), compress_type=zipfile.ZIP_DEFLATED)
    print(f"{time.perf_counter() - start:.3f} {time.process_time() - cpu:.3f}")


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "make":
        make(sys.argv[2], int(sys.argv[3]))
    elif len(sys.argv) == 4 and sys.argv[1] == "copy":
        copy(sys.argv[2], sys.argv[3])
    else:
        sys.exit(__doc__)
