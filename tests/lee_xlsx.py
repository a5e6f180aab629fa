# Reads a workbook as a spreadsheet user sees it and prints it as JSON: the sheets, every cell
# (value or formula, and number format), the frozen cell, the page setup and the charts' series
# references and colours, value scale and label interval.
import json
import sys

import openpyxl

libro = openpyxl.load_workbook(sys.argv[1])
salida = {"hojas": []}
for hoja in libro.worksheets:
    celdas = {}
    for fila in hoja.iter_rows():
        for c in fila:
            if c.value is not None:
                celdas[c.coordinate] = {"valor": c.value, "formato": c.number_format}
    graficas = []
    for g in hoja._charts:
        series = []
        for s in g.series:
            cat = s.cat.strRef or s.cat.numRef if s.cat else None
            series.append({"nombre": s.tx.strRef.f if s.tx and s.tx.strRef else None,
                           "valores": s.val.numRef.f if s.val and s.val.numRef else None,
                           "categorias": cat.f if cat else None,
                           "color": str(s.graphicalProperties.solidFill.srgbClr)
                           if s.graphicalProperties and s.graphicalProperties.solidFill else None})
        graficas.append({"tipo": g.tagname, "agrupacion": getattr(g, "grouping", None),
                         "series": series, "escala": [g.y_axis.scaling.min,
                                                      g.y_axis.scaling.max, g.x_axis.tickLblSkip]})
    salida["hojas"].append({"nombre": hoja.title, "celdas": celdas,
                            "congelada": hoja.freeze_panes, "graficas": graficas,
                            "orientacion": hoja.page_setup.orientation,
                            "anchoEnPaginas": (hoja.page_setup.fitToWidth or 1)
                            if hoja.sheet_properties.pageSetUpPr
                            and hoja.sheet_properties.pageSetUpPr.fitToPage else 0,
                            "cortes": [c.id for c in hoja.row_breaks.brk]})
json.dump(salida, sys.stdout, ensure_ascii=False)
