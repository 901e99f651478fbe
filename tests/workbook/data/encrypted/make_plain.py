#!/usr/bin/env python3
"""Writes plain.xlsx: a minimal workbook whose sheet is stored uncompressed, so that the
encrypted package is larger than the compound file's small-stream cutoff and spans several
4096-byte segments."""
import zipfile

CONTENT_TYPES = """<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">
<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>
<Default Extension="xml" ContentType="application/xml"/>
<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>
<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>
</Types>"""
ROOT_RELS = """<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>
</Relationships>"""
WORKBOOK = """<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
<sheets><sheet name="Secret" sheetId="1" r:id="rId1"/></sheets>
</workbook>"""
WORKBOOK_RELS = """<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>
</Relationships>"""


def sheet():
    rows = ['<row r="1"><c r="A1" t="inlineStr"><is><t>Tessel secret</t></is></c></row>']
    for r in range(2, 151):
        rows.append(f'<row r="{r}"><c r="A{r}"><v>{r * 7}</v></c><c r="B{r}"><v>{r / 8}</v></c></row>')
    return ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
            '<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">'
            '<sheetData>' + ''.join(rows) + '</sheetData></worksheet>')


def entry(name):
    info = zipfile.ZipInfo(name, date_time=(2020, 1, 1, 0, 0, 0))
    info.compress_type = zipfile.ZIP_STORED if name.endswith('sheet1.xml') else zipfile.ZIP_DEFLATED
    return info


with zipfile.ZipFile('plain.xlsx', 'w') as z:
    z.writestr(entry('[Content_Types].xml'), CONTENT_TYPES)
    z.writestr(entry('_rels/.rels'), ROOT_RELS)
    z.writestr(entry('xl/workbook.xml'), WORKBOOK)
    z.writestr(entry('xl/_rels/workbook.xml.rels'), WORKBOOK_RELS)
    z.writestr(entry('xl/worksheets/sheet1.xml'), sheet())
