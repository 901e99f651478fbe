#!/usr/bin/env python3
"""Builds the workbook fixtures of the spreadsheet engine tests with the standard library only.

Run from this folder: python3 make_fixtures.py. The output is committed beside this script.
"""
import zipfile

NS = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" ' \
     'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
DECL = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
REL = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships'
PKG_REL = 'http://schemas.openxmlformats.org/package/2006/relationships'
CT_MAIN = 'application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml'
CT_XLSM = 'application/vnd.ms-excel.sheet.macroEnabled.main+xml'
CT_SHEET = 'application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml'
CT_CHARTSHEET = 'application/vnd.openxmlformats-officedocument.spreadsheetml.chartsheet+xml'

# A 1x1 PNG image.
PNG = bytes.fromhex(
    '89504e470d0a1a0a0000000d4948445200000001000000010806000000'
    '1f15c4890000000d49444154789c6360f8cfc0f01f0005000201e2b32c5d0000000049454e44ae426082')


def rels(items):
    body = ''.join(f'<Relationship Id="{i}" Type="{t}" Target="{g}"/>' for i, t, g in items)
    return DECL + f'<Relationships xmlns="{PKG_REL}">{body}</Relationships>'


def content_types(overrides, macro=False):
    defaults = ('<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
                '<Default Extension="xml" ContentType="application/xml"/>'
                '<Default Extension="png" ContentType="image/png"/>'
                '<Default Extension="bin" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.printerSettings"/>')
    if macro:
        defaults = defaults.replace('spreadsheetml.printerSettings', 'spreadsheetml.printerSettings')
    body = ''.join(f'<Override PartName="/{p}" ContentType="{t}"/>' for p, t in overrides)
    return DECL + ('<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
                   f'{defaults}{body}</Types>')


STYLES = DECL + f'''<styleSheet {NS}>
<numFmts count="2"><numFmt numFmtId="164" formatCode="dd\\-mmm\\-yyyy"/><numFmt numFmtId="165" formatCode="#,##0.00;[Red]\\-#,##0.00"/></numFmts>
<fonts count="2"><font><sz val="11"/><color theme="1"/><name val="Calibri"/><family val="2"/><scheme val="minor"/></font><font><b/><sz val="11"/><name val="Calibri"/><family val="2"/></font></fonts>
<fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills>
<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>
<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>
<cellXfs count="5"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/><xf numFmtId="164" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/><xf numFmtId="165" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/><xf numFmtId="0" fontId="1" fillId="0" borderId="0" xfId="0" applyFont="1"/><xf numFmtId="10" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/></cellXfs>
<cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles>
</styleSheet>'''

THEME = DECL + '''<a:theme xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" name="Fixture Theme"><a:themeElements><a:clrScheme name="Fixture"><a:dk1><a:sysClr val="windowText" lastClr="000000"/></a:dk1><a:lt1><a:sysClr val="window" lastClr="FFFFFF"/></a:lt1><a:dk2><a:srgbClr val="1F497D"/></a:dk2><a:lt2><a:srgbClr val="EEECE1"/></a:lt2><a:accent1><a:srgbClr val="4F81BD"/></a:accent1><a:accent2><a:srgbClr val="C0504D"/></a:accent2><a:accent3><a:srgbClr val="9BBB59"/></a:accent3><a:accent4><a:srgbClr val="8064A2"/></a:accent4><a:accent5><a:srgbClr val="4BACC6"/></a:accent5><a:accent6><a:srgbClr val="F79646"/></a:accent6><a:hlink><a:srgbClr val="0000FF"/></a:hlink><a:folHlink><a:srgbClr val="800080"/></a:folHlink></a:clrScheme><a:fontScheme name="Fixture"><a:majorFont><a:latin typeface="Cambria"/><a:ea typeface=""/><a:cs typeface=""/></a:majorFont><a:minorFont><a:latin typeface="Calibri"/><a:ea typeface=""/><a:cs typeface=""/></a:minorFont></a:fontScheme><a:fmtScheme name="Fixture"><a:fillStyleLst><a:solidFill><a:schemeClr val="phClr"/></a:solidFill><a:solidFill><a:schemeClr val="phClr"/></a:solidFill><a:solidFill><a:schemeClr val="phClr"/></a:solidFill></a:fillStyleLst><a:lnStyleLst><a:ln w="9525"><a:solidFill><a:schemeClr val="phClr"/></a:solidFill></a:ln><a:ln w="25400"><a:solidFill><a:schemeClr val="phClr"/></a:solidFill></a:ln><a:ln w="38100"><a:solidFill><a:schemeClr val="phClr"/></a:solidFill></a:ln></a:lnStyleLst><a:effectStyleLst><a:effectStyle><a:effectLst/></a:effectStyle><a:effectStyle><a:effectLst/></a:effectStyle><a:effectStyle><a:effectLst/></a:effectStyle></a:effectStyleLst><a:bgFillStyleLst><a:solidFill><a:schemeClr val="phClr"/></a:solidFill><a:solidFill><a:schemeClr val="phClr"/></a:solidFill><a:solidFill><a:schemeClr val="phClr"/></a:solidFill></a:bgFillStyleLst></a:fmtScheme></a:themeElements></a:theme>'''

SST = DECL + f'''<sst {NS} count="4" uniqueCount="4">
<si><t>Task</t></si><si><t xml:space="preserve">  padded  </t></si><si><r><rPr><b/></rPr><t>Rich</t></r><r><t xml:space="preserve"> text</t></r></si><si><t>Line_x000D_break</t></si>
</sst>'''

# Summary: values of every kind, a shared formula, an autoFilter with a filtered row, a split
# window, hidden row 12 and hidden column F, an extLst that must survive.
SUMMARY = DECL + f'''<worksheet {NS} xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006">
<dimension ref="A1:E11"/>
<sheetViews><sheetView tabSelected="1" workbookViewId="0"><pane xSplit="2000" ySplit="1500" topLeftCell="C4" activePane="bottomRight"/><selection pane="topRight"/><selection pane="bottomLeft"/><selection pane="bottomRight" activeCell="C4" sqref="C4"/></sheetView></sheetViews>
<sheetFormatPr defaultRowHeight="15"/>
<cols><col min="2" max="2" width="12" customWidth="1"/><col min="5" max="7" width="9" hidden="1"/></cols>
<sheetData>
<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c><c r="C1" t="s"><v>2</v></c><c r="D1" t="s"><v>3</v></c></row>
<row r="2"><c r="A2"><v>12.5</v></c><c r="B2" s="1"><v>46365</v></c><c r="C2" t="inlineStr"><is><t>inline</t></is></c><c r="D2" t="b"><v>1</v></c><c r="E2" t="e"><v>#N/A</v></c></row>
<row r="3"><c r="A3"><v>-1234.567</v></c><c r="B3" s="2"><v>-1234.567</v></c><c r="C3"><f>A2*2</f><v>25</v></c><c r="D3" t="str"><f>"x"&amp;"y"</f><v>xy</v></c><c r="E3" s="4"><v>0.125</v></c></row>
<row r="4"><c r="A4"><v>1</v></c><c r="B4"><f t="shared" ref="B4:B7" si="0">A4*10+$A$2</f><v>22.5</v></c></row>
<row r="5"><c r="A5"><v>2</v></c><c r="B5"><f t="shared" si="0"/><v>32.5</v></c></row>
<row r="6"><c r="A6"><v>3</v></c><c r="B6"><f t="shared" si="0"/><v>42.5</v></c></row>
<row r="7"><c r="A7"><v>4</v></c><c r="B7"><f t="shared" si="0"/><v>52.5</v></c></row>
<row r="8" hidden="1"><c r="A8"><v>5</v></c></row>
<row r="11" s="3" customFormat="1"><c r="E11" s="3"/></row>
<row r="12" hidden="1"/>
</sheetData>
<autoFilter ref="A1:A8"><filterColumn colId="0"><filters><filter val="1"/></filters></filterColumn></autoFilter>
<pageMargins left="0.7" right="0.7" top="0.75" bottom="0.75" header="0.3" footer="0.3"/>
<pageSetup orientation="portrait" r:id="rId1"/>
<extLst><ext uri="{{78C0D931-6437-407d-A8EE-F0AAD7539E65}}" xmlns:x14="http://schemas.microsoft.com/office/spreadsheetml/2009/9/main"><x14:conditionalFormattings/></ext></extLst>
</worksheet>'''

# Chart Data: a frozen pane, a block of dates and numbers feeding the chart, a drawing.
CHART_DATA_ROWS = ''.join(
    f'<row r="{r}"><c r="A{r}" s="1"><v>{46357 + r}</v></c><c r="B{r}"><v>{r * 1.5}</v></c></row>'
    for r in range(8, 12))
CHART_DATA = DECL + f'''<worksheet {NS}>
<dimension ref="A1:B11"/>
<sheetViews><sheetView workbookViewId="0"><pane ySplit="7" topLeftCell="A8" activePane="bottomLeft" state="frozen"/><selection pane="bottomLeft" activeCell="A8" sqref="A8"/></sheetView></sheetViews>
<sheetFormatPr defaultRowHeight="15"/>
<sheetData><row r="1"><c r="A1" t="s"><v>0</v></c></row>{CHART_DATA_ROWS}</sheetData>
<pageMargins left="0.7" right="0.7" top="0.75" bottom="0.75" header="0.3" footer="0.3"/>
<drawing r:id="rId1"/>
</worksheet>'''

HIDDEN = DECL + f'<worksheet {NS}><sheetData/></worksheet>'

DRAWING = DECL + '''<xdr:wsDr xmlns:xdr="http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing" xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships" xmlns:c="http://schemas.openxmlformats.org/drawingml/2006/chart">
<xdr:twoCellAnchor><xdr:from><xdr:col>3</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>1</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:from><xdr:to><xdr:col>9</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>15</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:to>
<xdr:graphicFrame macro=""><xdr:nvGraphicFramePr><xdr:cNvPr id="2" name="Chart 1"/><xdr:cNvGraphicFramePr/></xdr:nvGraphicFramePr><xdr:xfrm><a:off x="0" y="0"/><a:ext cx="0" cy="0"/></xdr:xfrm><a:graphic><a:graphicData uri="http://schemas.openxmlformats.org/drawingml/2006/chart"><c:chart r:id="rId1"/></a:graphicData></a:graphic></xdr:graphicFrame><xdr:clientData/></xdr:twoCellAnchor>
<xdr:oneCellAnchor><xdr:from><xdr:col>10</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>1</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:from><xdr:ext cx="9525" cy="9525"/>
<xdr:pic><xdr:nvPicPr><xdr:cNvPr id="3" name="Picture 2"/><xdr:cNvPicPr/></xdr:nvPicPr><xdr:blipFill><a:blip r:embed="rId2"/><a:stretch><a:fillRect/></a:stretch></xdr:blipFill><xdr:spPr><a:prstGeom prst="rect"><a:avLst/></a:prstGeom></xdr:spPr></xdr:pic><xdr:clientData/></xdr:oneCellAnchor>
</xdr:wsDr>'''

CHART = DECL + '''<c:chartSpace xmlns:c="http://schemas.openxmlformats.org/drawingml/2006/chart" xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><c:chart><c:plotArea><c:layout/>
<c:lineChart><c:grouping val="standard"/><c:varyColors val="0"/><c:ser><c:idx val="0"/><c:order val="0"/>
<c:cat><c:numRef><c:f>'Chart Data'!$A$8:$A$11</c:f><c:numCache><c:formatCode>dd\\-mmm\\-yyyy</c:formatCode><c:ptCount val="4"/><c:pt idx="0"><c:v>46365</c:v></c:pt><c:pt idx="1"><c:v>46366</c:v></c:pt><c:pt idx="2"><c:v>46367</c:v></c:pt><c:pt idx="3"><c:v>46368</c:v></c:pt></c:numCache></c:numRef></c:cat>
<c:val><c:numRef><c:f>'Chart Data'!$B$8:$B$11</c:f><c:numCache><c:formatCode>General</c:formatCode><c:ptCount val="4"/><c:pt idx="0"><c:v>12</c:v></c:pt><c:pt idx="1"><c:v>13.5</c:v></c:pt><c:pt idx="2"><c:v>15</c:v></c:pt><c:pt idx="3"><c:v>16.5</c:v></c:pt></c:numCache></c:numRef></c:val>
<c:smooth val="0"/></c:ser><c:marker val="1"/><c:axId val="1"/><c:axId val="2"/></c:lineChart>
<c:dateAx><c:axId val="1"/><c:scaling><c:orientation val="minMax"/></c:scaling><c:delete val="0"/><c:axPos val="b"/><c:numFmt formatCode="dd\\-mmm\\-yyyy" sourceLinked="1"/><c:crossAx val="2"/><c:auto val="1"/><c:lblOffset val="100"/><c:baseTimeUnit val="days"/></c:dateAx>
<c:valAx><c:axId val="2"/><c:scaling><c:orientation val="minMax"/></c:scaling><c:delete val="0"/><c:axPos val="l"/><c:crossAx val="1"/></c:valAx>
</c:plotArea><c:plotVisOnly val="1"/></c:chart></c:chartSpace>'''

CHARTSHEET = DECL + f'''<chartsheet {NS}><sheetPr/><sheetViews><sheetView workbookViewId="0" zoomToFit="1"/></sheetViews><drawing r:id="rId1"/></chartsheet>'''

CUSTOM_XML = DECL + '<fixture xmlns="urn:krv:fixture"><item>kept as it is</item></fixture>'


def workbook_xml(sheets, date1904=False, active=0):
    pr = '<workbookPr date1904="1"/>' if date1904 else '<workbookPr defaultThemeVersion="124226"/>'
    body = ''.join(
        f'<sheet name="{n}" sheetId="{i + 1}"{" state=" + chr(34) + s + chr(34) if s else ""} r:id="rId{i + 1}"/>'
        for i, (n, s) in enumerate(sheets))
    return DECL + (f'<workbook {NS}>{pr}<bookViews><workbookView xWindow="0" yWindow="0" '
                   f'windowWidth="16000" windowHeight="9000" activeTab="{active}"/></bookViews>'
                   f'<sheets>{body}</sheets><calcPr calcId="145621"/></workbook>')


def write(name, parts):
    with zipfile.ZipFile(name, 'w', zipfile.ZIP_DEFLATED) as archive:
        for part, data in parts:
            archive.writestr(part, data)


def template():
    ws = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet'
    sheets = [('Summary', None), ('Chart Data', None), ('Hidden', 'hidden'), ('Chart1', None)]
    wb_rels = [('rId1', ws, 'worksheets/sheet1.xml'), ('rId2', ws, 'worksheets/sheet2.xml'),
               ('rId3', ws, 'worksheets/sheet3.xml'),
               ('rId4', f'{REL}/chartsheet', 'chartsheets/sheet1.xml'),
               ('rId5', f'{REL}/styles', 'styles.xml'), ('rId6', f'{REL}/sharedStrings', 'sharedStrings.xml'),
               ('rId7', f'{REL}/theme', 'theme/theme1.xml'), ('rId8', f'{REL}/calcChain', 'calcChain.xml')]
    parts = [
        ('[Content_Types].xml', content_types([
            ('xl/workbook.xml', CT_MAIN),
            ('xl/worksheets/sheet1.xml', CT_SHEET), ('xl/worksheets/sheet2.xml', CT_SHEET),
            ('xl/worksheets/sheet3.xml', CT_SHEET), ('xl/chartsheets/sheet1.xml', CT_CHARTSHEET),
            ('xl/styles.xml', 'application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml'),
            ('xl/sharedStrings.xml', 'application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml'),
            ('xl/theme/theme1.xml', 'application/vnd.openxmlformats-officedocument.theme+xml'),
            ('xl/calcChain.xml', 'application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml'),
            ('xl/drawings/drawing1.xml', 'application/vnd.openxmlformats-officedocument.drawing+xml'),
            ('xl/drawings/drawing2.xml', 'application/vnd.openxmlformats-officedocument.drawing+xml'),
            ('xl/charts/chart1.xml', 'application/vnd.openxmlformats-officedocument.drawingml.chart+xml'),
            ('customXml/item1.xml', 'application/xml')])),
        ('_rels/.rels', rels([('rId1', f'{REL}/officeDocument', 'xl/workbook.xml')])),
        ('xl/workbook.xml', workbook_xml(sheets)),
        ('xl/_rels/workbook.xml.rels', rels(wb_rels)),
        ('xl/worksheets/sheet1.xml', SUMMARY),
        ('xl/worksheets/_rels/sheet1.xml.rels',
         rels([('rId1', f'{REL}/printerSettings', '../printerSettings/printerSettings1.bin')])),
        ('xl/worksheets/sheet2.xml', CHART_DATA),
        ('xl/worksheets/_rels/sheet2.xml.rels', rels([('rId1', f'{REL}/drawing', '../drawings/drawing1.xml')])),
        ('xl/worksheets/sheet3.xml', HIDDEN),
        ('xl/chartsheets/sheet1.xml', CHARTSHEET),
        ('xl/chartsheets/_rels/sheet1.xml.rels', rels([('rId1', f'{REL}/drawing', '../drawings/drawing2.xml')])),
        ('xl/drawings/drawing1.xml', DRAWING),
        ('xl/drawings/_rels/drawing1.xml.rels', rels([('rId1', f'{REL}/chart', '../charts/chart1.xml'),
                                                      ('rId2', f'{REL}/image', '../media/image1.png')])),
        ('xl/drawings/drawing2.xml', DRAWING.split('<xdr:oneCellAnchor>')[0] + '</xdr:wsDr>'),
        ('xl/drawings/_rels/drawing2.xml.rels', rels([('rId1', f'{REL}/chart', '../charts/chart1.xml')])),
        ('xl/charts/chart1.xml', CHART),
        ('xl/media/image1.png', PNG),
        ('xl/printerSettings/printerSettings1.bin', bytes(range(256)) * 4),
        ('xl/styles.xml', STYLES),
        ('xl/sharedStrings.xml', SST),
        ('xl/theme/theme1.xml', THEME),
        ('xl/calcChain.xml', DECL + f'<calcChain {NS}><c r="C3" i="1"/><c r="B4" i="1"/></calcChain>'),
        ('customXml/item1.xml', CUSTOM_XML),
    ]
    write('template.xlsx', parts)


def dates1904():
    sheet = DECL + (f'<worksheet {NS}><sheetData><row r="1"><c r="A1" s="1"><v>0</v></c>'
                    '<c r="B1" s="1"><v>44927</v></c></row></sheetData></worksheet>')
    write('dates1904.xlsx', [
        ('[Content_Types].xml', content_types([('xl/workbook.xml', CT_MAIN), ('xl/worksheets/sheet1.xml', CT_SHEET),
                                               ('xl/styles.xml', 'application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml')])),
        ('_rels/.rels', rels([('rId1', f'{REL}/officeDocument', 'xl/workbook.xml')])),
        ('xl/workbook.xml', workbook_xml([('Dates', None)], date1904=True)),
        ('xl/_rels/workbook.xml.rels', rels([('rId1', f'{REL}/worksheet', 'worksheets/sheet1.xml'),
                                            ('rId2', f'{REL}/styles', 'styles.xml')])),
        ('xl/worksheets/sheet1.xml', sheet),
        ('xl/styles.xml', STYLES),
    ])


def macro():
    sheet = DECL + f'<worksheet {NS}><sheetData><row r="1"><c r="A1"><v>7</v></c></row></sheetData></worksheet>'
    write('macro.xlsm', [
        ('[Content_Types].xml', content_types([('xl/workbook.xml', CT_XLSM), ('xl/worksheets/sheet1.xml', CT_SHEET),
                                               ('xl/vbaProject.bin', 'application/vnd.ms-office.vbaProject')])),
        ('_rels/.rels', rels([('rId1', f'{REL}/officeDocument', 'xl/workbook.xml')])),
        ('xl/workbook.xml', workbook_xml([('Macro Sheet', None)])),
        ('xl/_rels/workbook.xml.rels', rels([('rId1', f'{REL}/worksheet', 'worksheets/sheet1.xml'),
                                            ('rId2', 'http://schemas.microsoft.com/office/2006/relationships/vbaProject',
                                             'vbaProject.bin')])),
        ('xl/worksheets/sheet1.xml', sheet),
        ('xl/vbaProject.bin', b'\xd0\xcf\x11\xe0not really a project'),
    ])


def foreign():
    with open('html_named.xls', 'w') as f:
        f.write('<html><body><table><tr><td>1</td></tr></table></body></html>\n')
    with open('xml_named.xls', 'w') as f:
        f.write('<?xml version="1.0"?>\n<Workbook xmlns="urn:schemas-microsoft-com:office:spreadsheet">'
                '<Worksheet ss:Name="Sheet1" xmlns:ss="urn:schemas-microsoft-com:office:spreadsheet"/></Workbook>\n')
    write('document.docx', [
        ('[Content_Types].xml', content_types([('word/document.xml',
          'application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml')])),
        ('_rels/.rels', rels([('rId1', f'{REL}/officeDocument', 'word/document.xml')])),
        ('word/document.xml', DECL + '<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"/>'),
    ])


if __name__ == '__main__':
    template()
    dates1904()
    macro()
    foreign()
