#!/usr/bin/env python3
"""Builds task_fields.xlsx: a Task Worksheet "Tasks" whose header row 1 names four columns (one
header spans two lines) above one task. Run from this folder; the output is committed."""
import zipfile

NS = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" ' \
     'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
DECL = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
REL = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships'
PKG_REL = 'http://schemas.openxmlformats.org/package/2006/relationships'
CT = 'application/vnd.openxmlformats-officedocument.spreadsheetml'

HEADERS = ['Task', 'Start\nDate', 'Finish', 'Man Hours']

parts = {
    '[Content_Types].xml': DECL +
    '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
    '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
    '<Default Extension="xml" ContentType="application/xml"/>'
    f'<Override PartName="/xl/workbook.xml" ContentType="{CT}.sheet.main+xml"/>'
    f'<Override PartName="/xl/worksheets/sheet1.xml" ContentType="{CT}.worksheet+xml"/>'
    f'<Override PartName="/xl/sharedStrings.xml" ContentType="{CT}.sharedStrings+xml"/>'
    f'<Override PartName="/xl/styles.xml" ContentType="{CT}.styles+xml"/>'
    '</Types>',
    '_rels/.rels': DECL + f'<Relationships xmlns="{PKG_REL}">'
    f'<Relationship Id="rId1" Type="{REL}/officeDocument" Target="xl/workbook.xml"/></Relationships>',
    'xl/workbook.xml': DECL + f'<workbook {NS}><sheets>'
    '<sheet name="Tasks" sheetId="1" r:id="rId1"/></sheets></workbook>',
    'xl/_rels/workbook.xml.rels': DECL + f'<Relationships xmlns="{PKG_REL}">'
    f'<Relationship Id="rId1" Type="{REL}/worksheet" Target="worksheets/sheet1.xml"/>'
    f'<Relationship Id="rId2" Type="{REL}/sharedStrings" Target="sharedStrings.xml"/>'
    f'<Relationship Id="rId3" Type="{REL}/styles" Target="styles.xml"/></Relationships>',
    'xl/sharedStrings.xml': DECL + f'<sst {NS} count="5" uniqueCount="5">' +
    ''.join(f'<si><t xml:space="preserve">{h}</t></si>' for h in HEADERS + ['Pump']) + '</sst>',
    'xl/styles.xml': DECL + f'<styleSheet {NS}>'
    '<fonts count="1"><font><sz val="11"/><name val="Calibri"/></font></fonts>'
    '<fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills>'
    '<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>'
    '<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>'
    '<cellXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/></cellXfs>'
    '<cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles>'
    '</styleSheet>',
    'xl/worksheets/sheet1.xml': DECL + f'<worksheet {NS}><dimension ref="A1:D2"/><sheetData>'
    '<row r="1">' + ''.join(f'<c r="{c}1" t="s"><v>{i}</v></c>' for i, c in enumerate('ABCD')) +
    '</row><row r="2"><c r="A2" t="s"><v>4</v></c><c r="B2"><v>1</v></c><c r="C2"><v>2</v></c>'
    '<c r="D2"><v>3</v></c></row></sheetData></worksheet>',
}

with zipfile.ZipFile('task_fields.xlsx', 'w', zipfile.ZIP_DEFLATED) as z:
    for name, text in parts.items():
        z.writestr(name, text)
