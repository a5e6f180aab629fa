# Reads a workbook as a spreadsheet user sees it and prints it as JSON: every cell (value or
# formula, and number format), the frozen cell, and the charts' series references, value scale
# and label interval.
import json
import sys

import openpyxl


def referencia(r):
    return r.f if r else None


hojas = []
for hoja in openpyxl.load_workbook(sys.argv[1]).worksheets:
    celdas = {c.coordinate: {"valor": c.value, "formato": c.number_format}
              for fila in hoja.iter_rows() for c in fila if c.value is not None}
    graficas = [{"series": [{"valores": referencia(s.val.numRef if s.val else None),
                             "categorias": referencia((s.cat.strRef or s.cat.numRef) if s.cat else None)}
                            for s in g.series],
                 "escala": [g.y_axis.scaling.min, g.y_axis.scaling.max, g.x_axis.tickLblSkip]}
                for g in hoja._charts]
    hojas.append({"celdas": celdas, "congelada": hoja.freeze_panes, "graficas": graficas})
json.dump({"hojas": hojas}, sys.stdout, ensure_ascii=False)
