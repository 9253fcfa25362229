#!/usr/bin/env python3
"""Makes the workbooks of other producers that the spreadsheet tests read.

Writes the same content as a Gnumeric XML file and as a flat ODF spreadsheet
and converts them with the real programs:
    ssconvert   sources/producers.gnumeric  gnumeric.xls
    ssconvert --export-type=Gnumeric_Excel:excel_biff7  (the same)  gnumeric-biff5.xls
    soffice --headless --convert-to xls:"MS Excel 97" sources/producers.fods
The .xls files are committed; run this only to make them anew.
"""
import os
import shutil
import subprocess
import sys
import tempfile
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))
SRC = os.path.join(HERE, "sources")

HEADER = ["Autor", "Titel", "Jahr", "Preis", "Flag", "Fehler", "Formeltext", "Formelzahl"]
# (kind, value) per cell; kind: s text, n number, b boolean, f formula (gnumeric, odf)
ROWS = [
    [("s", "Müller"), ("s", "Über Äpfel – 5 €"), ("n", "1999"), ("n", "12.5"), ("b", True),
     ("f", ("=1/0", "of:=1/0")), ("f", ('=A2&" Jr."', 'of:=[.A2]&" Jr."')), ("f", ("=C2+1", "of:=[.C2]+1"))],
    [("s", "Groß"), None, ("n", "2001"), ("n", "-3.25"), ("b", False),
     ("f", ("=NA()", "of:=NA()")), ("f", ('=IF(1>2,"x","")', 'of:=IF(1>2;"x";"")')),
     ("f", ("=C3*2", "of:=[.C3]*2"))],
    [("s", "nur eins"), None, None, None, None, None, None, None],
    [("s", "Zahlen"), ("n", "0.1"), ("n", "100000000000000000000"), ("n", "123456789012"),
     ("f", ("=1>0", "of:=1>0")), ("f", ("=SQRT(-1)", "of:=SQRT(-1)")),
     ("f", ('="a"+1', 'of:="a"+1')), ("n", "-7")],
]
# A shared string table far beyond one record: distinct texts, some with "€"
# (16-bit) and some long ones that straddle record boundaries.
BIG_FIRST_ROW = 10
BIG = []
for i in range(600):
    if i % 7 == 3:
        BIG.append(f"Preis {i} € – Lang " + "x" * (i % 250))
    elif i % 5 == 0:
        BIG.append(f"Eintrag {i:04d} Straße " + "ä" * (i % 150))
    else:
        BIG.append(f"Eintrag {i:04d}")


def cells():
    for r, row in enumerate([[("s", h) for h in HEADER]] + ROWS):
        for c, cell in enumerate(row):
            if cell:
                yield r, c, cell
    for i, text in enumerate(BIG):
        yield BIG_FIRST_ROW + i, 0, ("s", text)
        yield BIG_FIRST_ROW + i, 1, ("n", str(i))


def gnumeric():
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           '<gnm:Workbook xmlns:gnm="http://www.gnumeric.org/v10.dtd">',
           '<gnm:SheetNameIndex><gnm:SheetName>Daten</gnm:SheetName>'
           '<gnm:SheetName>Zweite</gnm:SheetName></gnm:SheetNameIndex>',
           '<gnm:Sheets><gnm:Sheet><gnm:Name>Daten</gnm:Name><gnm:Cells>']
    for r, c, (kind, v) in cells():
        if kind == "s":
            out.append(f'<gnm:Cell Row="{r}" Col="{c}" ValueType="60">{escape(v)}</gnm:Cell>')
        elif kind == "n":
            out.append(f'<gnm:Cell Row="{r}" Col="{c}" ValueType="40">{v}</gnm:Cell>')
        elif kind == "b":
            out.append(f'<gnm:Cell Row="{r}" Col="{c}" ValueType="20">{"TRUE" if v else "FALSE"}</gnm:Cell>')
        else:
            out.append(f'<gnm:Cell Row="{r}" Col="{c}">{escape(v[0])}</gnm:Cell>')
    out.append('</gnm:Cells></gnm:Sheet><gnm:Sheet><gnm:Name>Zweite</gnm:Name><gnm:Cells>'
               '<gnm:Cell Row="0" Col="0" ValueType="60">zweites Blatt</gnm:Cell>'
               '</gnm:Cells></gnm:Sheet></gnm:Sheets></gnm:Workbook>')
    return "\n".join(out)


def fods():
    grid = {}
    for r, c, cell in cells():
        grid.setdefault(r, {})[c] = cell
    rows = []
    last = max(grid)
    for r in range(last + 1):
        row = grid.get(r, {})
        xs = []
        for c in range(max(row) + 1 if row else 0):
            cell = row.get(c)
            if not cell:
                xs.append("<table:table-cell/>")
                continue
            kind, v = cell
            if kind == "s":
                xs.append(f'<table:table-cell office:value-type="string"><text:p>{escape(v)}</text:p></table:table-cell>')
            elif kind == "n":
                xs.append(f'<table:table-cell office:value-type="float" office:value="{v}"/>')
            elif kind == "b":
                xs.append(f'<table:table-cell office:value-type="boolean" office:boolean-value="{"true" if v else "false"}"/>')
            else:
                xs.append(f'<table:table-cell table:formula="{escape(v[1], {chr(34): "&quot;"})}"/>')
        rows.append("<table:table-row>" + "".join(xs) + "</table:table-row>")
    return f'''<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:body><office:spreadsheet>
<table:table table:name="Daten">{"".join(rows)}</table:table>
<table:table table:name="Zweite"><table:table-row><table:table-cell office:value-type="string"><text:p>zweites Blatt</text:p></table:table-cell></table:table-row></table:table>
</office:spreadsheet></office:body></office:document>
'''


def main():
    os.makedirs(SRC, exist_ok=True)
    with open(os.path.join(SRC, "producers.gnumeric"), "w", encoding="utf-8") as f:
        f.write(gnumeric())
    with open(os.path.join(SRC, "producers.fods"), "w", encoding="utf-8") as f:
        f.write(fods())
    subprocess.run(["ssconvert", "--recalc", os.path.join(SRC, "producers.gnumeric"),
                    os.path.join(HERE, "gnumeric.xls")], check=True)
    subprocess.run(["ssconvert", "--recalc", "--export-type=Gnumeric_Excel:excel_biff7",
                    os.path.join(SRC, "producers.gnumeric"), os.path.join(HERE, "gnumeric-biff5.xls")],
                   check=True)
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run(["soffice", f"-env:UserInstallation=file://{tmp}/profile", "--headless",
                        "--convert-to", 'xls:MS Excel 97', "--outdir", tmp,
                        os.path.join(SRC, "producers.fods")], check=True)
        shutil.copy(os.path.join(tmp, "producers.xls"), os.path.join(HERE, "libreoffice.xls"))


if __name__ == "__main__":
    sys.exit(main())
