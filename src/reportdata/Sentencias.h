#pragma once
// The SQL pieces the program sends. XXX stands for the document table (facturas or
// remisiones) and is replaced before any value is appended, so values are never touched.
#include <QString>
#include <array>

namespace reportdata {

// Report database and work-table templates.
inline const QString kBaseReportes = "orvaloreportes";
inline const QString kVersionPlantillasActuales = "5.11.8";
inline const std::array<QString, 12> kMeses = {"Ene", "Feb", "Mar", "Abr", "May", "Jun",
                                               "Jul", "Ago", "Sep", "Oct", "Nov", "Dic"};
inline const int kAnchoVendedor = 10;  // `Vendedor` varchar(10) of ventasde3yporvend

// Selection lists.
inline const QString kVendedoresPorClave = "vendedores order by Clave";
inline const QString kLineasPorNombre = "lineas order by Linea";
inline const QString kVendedorPorClave = "vendedores where Clave=XXX";

// Amounts.
inline const QString kTotalDocumento = "Subtotal+IVA+ImpuestoAd";
inline const QString kTotalDevolucion = "Subtotal+IVA+devolucionctes.ImpuestoAd";
inline const QString kImporteVendido =
    "XXXdetalle.Cantidad * XXXdetalle.PrecioNeto * (1 + XXXdetalle.IVA / 100)";
inline const QString kImporteDevuelto =
    "devolucionctesdet.Cantidad * devolucionctesdet.Precio * (1 + devolucionctesdet.IVA / 100)";

// By month.
inline const QString kDevolucionesConCliente =
    "devolucionctes left join clientes on clientes.Clave=devolucionctes.Cliente";

// By product line.
inline const QString kLineasVendidas =
    " left join XXXdetalle on XXX.Id=XXXdetalle.Id "
    "left join productos on XXXdetalle.Producto=productos.Clave "
    "left join lineas on productos.Linea=lineas.Id where not isnull(lineas.Linea) ";
// Which line takes which slot follows this order: said, since MySQL 8 does not sort a GROUP BY.
inline const QString kAgrupaPorLinea = " group by lineas.Linea order by lineas.Linea";
// The line's name and its weight in the column's collation: equal weights, one line.
inline const QString kLineaYPeso = "lineas.Linea, weight_string(lineas.Linea) as Peso";
inline const QString kVentasDeLinea =
    " left join XXXdetalle on XXX.id=XXXdetalle.id "
    "left join productos on XXXdetalle.Producto=productos.clave "
    "left join lineas on productos.Linea=lineas.Id";
inline const QString kDevolucionesDeLinea =
    "devolucionctes left join devolucionctesdet on devolucionctesdet.DevolucionCtes="
    "devolucionctes.DevolucionCtes left join productos on "
    "productos.Clave=devolucionctesdet.Producto "
    "left join clientes on clientes.Clave=devolucionctes.Cliente "
    "left join lineas on productos.Linea=lineas.Id";

// By salesperson.
inline const QString kDetalleDeVentas = " left join XXXdetalle on XXX.Id=XXXdetalle.Id ";
inline const QString kProductosYLineas =
    "left join productos on XXXdetalle.Producto=productos.Clave "
    "left join lineas on productos.Linea=lineas.Id ";

// A document table and its lines read the other way: every detail line in its own order, each
// document looked up by its primary key. Documents without lines count in no detail amount.
inline const QString kDetalleAntes = "XXXdetalle STRAIGHT_JOIN XXX on XXX.Id=XXXdetalle.Id ";
inline const QString kDevolucionesDeVendedor =
    "Select year(Fecha) as Anio,(devolucionctesdet.Cantidad * devolucionctesdet.Precio * "
    "(1 + devolucionctesdet.IVA / 100)) as Devoluc from devolucionctes"
    " left join devolucionctesdet on "
    "devolucionctes.DevolucionCtes=devolucionctesdet.DevolucionCtes "
    "left join clientes on devolucionctes.Cliente=clientes.Clave "
    "left join productos on devolucionctesdet.Producto=productos.Clave "
    "left join lineas on productos.Linea=lineas.Id";

}  // namespace reportdata
