// Writes the rows of a demo sales database as SQL on standard output, the same for the same
// seed, size factor, order and day. Loading goes in multi-row INSERT statements.
//   miravel-demo-datos [--factor F] [--anios N] [--semilla S] [--orden fecha|azar]
// Documents and returns are numbered in date order, as a back-office numbers them while it makes
// them; --orden azar draws each date apart from its number, the worst case for a reader.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

// A small generator of our own, so the data do not depend on the library's distributions.
struct Azar {
    uint64_t estado;
    uint64_t Siguiente() {
        estado ^= estado << 13;
        estado ^= estado >> 7;
        estado ^= estado << 17;
        return estado;
    }
    int Entre(int a, int b) { return a + static_cast<int>(Siguiente() % uint64_t(b - a + 1)); }
    double Uno() { return double(Siguiente() >> 11) / double(1ULL << 53); }
    bool Prob(double p) { return Uno() < p; }
};

// Buffers rows of one table and writes them in statements of a thousand.
class Insercion {
  public:
    Insercion(const char* tabla, const char* columnas)
        : cabecera_(std::string("INSERT INTO ") + tabla + " (" + columnas + ") VALUES ") {}
    ~Insercion() { Vacia(); }
    void Fila(const std::string& valores) {
        texto_ += (filas_ ? ",(" : "(") + valores + ")";
        if (++filas_ == 1000) Vacia();
    }

  private:
    void Vacia() {
        if (!filas_) return;
        std::fputs(cabecera_.c_str(), stdout);
        std::fputs(texto_.c_str(), stdout);
        std::fputs(";\n", stdout);
        texto_.clear();
        filas_ = 0;
    }
    std::string cabecera_, texto_;
    int filas_ = 0;
};

std::string Num(double v, int decimales) {
    char b[64];
    std::snprintf(b, sizeof b, "%.*f", decimales, v);
    return b;
}

std::string Texto(const std::string& s) {
    return "'" + s + "'";
}

struct Fecha {
    int a, m, d;
    bool operator<(const Fecha& o) const {
        return a != o.a ? a < o.a : m != o.m ? m < o.m : d < o.d;
    }
    std::string Sql() const {
        char b[16];
        std::snprintf(b, sizeof b, "'%04d-%02d-%02d'", a, m, d);
        return b;
    }
};

int DiasDelMes(int a, int m) {
    static const int dias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool bisiesto = (a % 4 == 0 && a % 100 != 0) || a % 400 == 0;
    return m == 2 && bisiesto ? 29 : dias[m - 1];
}

const char* kVendedores[] = {
    "Ana María Torres", "Luis Hernández", "Carmen Ruiz",      "Jorge Castillo",  "Patricia Gómez",
    "Ricardo Salinas",  "Verónica Lara",  "Fernando Ibarra",  "Gabriela Núñez",  "Héctor Domínguez",
    "Lucía Ramírez",    "Óscar Medina",   "Sofía Villarreal", "Arturo Peña",     "Elena Cárdenas",
    "Manuel Ortega",    "Rosa Delgado",   "Tomás Aguilar",    "Mariana Fuentes", "Raúl Espinoza"};
const char* kLineas[] = {"Herramientas",         "Pinturas",   "Plomería",     "Material eléctrico",
                         "Tornillería",          "Jardinería", "Adhesivos",    "Iluminación",
                         "Seguridad industrial", "Limpieza",   "Cerrajería",   "Abrasivos",
                         "Construcción",         "Automotriz", "Refrigeración"};
// More sales towards the end of the year, fewer in January and in summer.
const double kTemporada[] = {0.70, 0.78, 0.95, 0.92, 1.00, 0.88,
                             0.82, 0.90, 1.02, 1.08, 1.20, 1.45};

struct Producto {
    std::string clave;
    double precio;
    double iva;
    double ieps;
};

struct Documentos {
    Azar& azar;
    const std::vector<Producto>& productos;
    const std::vector<std::string>& clientes;
    const std::vector<std::string>& vendedorDe;
    std::vector<std::pair<Fecha, double>> calendario;  // days and their weights
    bool enOrden;                                      // numbers follow dates

    Fecha Dia() {
        double x = azar.Uno() * calendario.back().second;
        size_t lo = 0, hi = calendario.size() - 1;
        while (lo < hi) {
            size_t mid = (lo + hi) / 2;
            if (calendario[mid].second < x)
                lo = mid + 1;
            else
                hi = mid;
        }
        return calendario[lo].first;
    }

    // The dates of documents 1 to cuantos.
    std::vector<Fecha> Fechas(int cuantos) {
        std::vector<Fecha> fechas(cuantos);
        for (Fecha& f : fechas) f = Dia();
        if (enOrden) std::stable_sort(fechas.begin(), fechas.end());
        return fechas;
    }

    void Escribe(const char* tabla, const char* detalle, int cuantos) {
        Insercion cab(tabla, "Id,Fecha,Cliente,Vendedor,Subtotal,IVA,ImpuestoAd");
        Insercion det(detalle, "Id,Producto,Cantidad,PrecioNeto,IVA");
        const std::vector<Fecha> fechas = Fechas(cuantos);
        for (int id = 1; id <= cuantos; ++id) {
            const size_t c = azar.Entre(0, int(clientes.size()) - 1);
            std::string vendedor = vendedorDe[c];
            if (azar.Prob(0.08)) vendedor = "V" + Num(azar.Entre(1, 20) + 100, 0).substr(1);
            if (azar.Prob(0.02)) vendedor = "NULL";
            double subtotal = 0, iva = 0, ieps = 0;
            const int renglones = azar.Prob(0.01) ? 0 : azar.Entre(1, 8);
            for (int r = 0; r < renglones; ++r) {
                const Producto& p = productos[azar.Entre(0, int(productos.size()) - 1)];
                const double cantidad = azar.Entre(1, 24);
                const double precio = p.precio * (0.9 + 0.2 * azar.Uno());
                subtotal += cantidad * precio;
                iva += cantidad * precio * p.iva / 100;
                ieps += cantidad * precio * p.ieps / 100;
                det.Fila(std::to_string(id) + "," + Texto(p.clave) + "," + Num(cantidad, 0) + "," +
                         Num(precio, 4) + "," + Num(p.iva, 0));
            }
            cab.Fila(std::to_string(id) + "," + fechas[id - 1].Sql() + "," + Texto(clientes[c]) +
                     "," + (vendedor == "NULL" ? vendedor : Texto(vendedor)) + "," +
                     Num(subtotal, 2) + "," + Num(iva, 2) + "," + Num(ieps, 2));
        }
    }

    void Devoluciones(int cuantas) {
        Insercion cab("devolucionctes", "DevolucionCtes,Cliente,Fecha,Subtotal,IVA,ImpuestoAd");
        Insercion det("devolucionctesdet", "DevolucionCtes,Producto,Cantidad,Precio,IVA");
        const std::vector<Fecha> fechas = Fechas(cuantas);
        for (int id = 1; id <= cuantas; ++id) {
            double subtotal = 0, iva = 0, ieps = 0;
            const int renglones = azar.Prob(0.03) ? 0 : azar.Entre(1, 3);
            for (int r = 0; r < renglones; ++r) {
                const Producto& p = productos[azar.Entre(0, int(productos.size()) - 1)];
                const double cantidad = azar.Entre(1, 6);
                subtotal += cantidad * p.precio;
                iva += cantidad * p.precio * p.iva / 100;
                ieps += cantidad * p.precio * p.ieps / 100;
                det.Fila(std::to_string(id) + "," + Texto(p.clave) + "," + Num(cantidad, 0) + "," +
                         Num(p.precio, 4) + "," + Num(p.iva, 0));
            }
            cab.Fila(std::to_string(id) + "," +
                     Texto(clientes[azar.Entre(0, int(clientes.size()) - 1)]) + "," +
                     fechas[id - 1].Sql() + "," + Num(subtotal, 2) + "," + Num(iva, 2) + "," +
                     Num(ieps, 2));
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    double factor = 1;
    int anios = 4;
    uint64_t semilla = 20240611;
    bool enOrden = true;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--factor"))
            factor = std::atof(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--anios"))
            anios = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--semilla"))
            semilla = std::strtoull(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--orden") &&
                 (!std::strcmp(argv[i + 1], "fecha") || !std::strcmp(argv[i + 1], "azar")))
            enOrden = !std::strcmp(argv[i + 1], "fecha");
        else {
            std::fprintf(stderr,
                         "uso: %s [--factor F] [--anios N] [--semilla S] [--orden fecha|azar]\n",
                         argv[0]);
            return 2;
        }
    }
    if (factor <= 0 || anios < 1) {
        std::fprintf(stderr, "--factor debe ser positivo y --anios al menos 1\n");
        return 2;
    }
    Azar azar{semilla * 2654435761ULL + 1};

    const std::time_t ahora = std::time(nullptr);
    const std::tm hoy = *std::localtime(&ahora);
    const Fecha fin{hoy.tm_year + 1900, hoy.tm_mon + 1, hoy.tm_mday};

    std::puts("SET autocommit=0, unique_checks=0, foreign_key_checks=0;");
    {
        Insercion v("vendedores", "Clave,Nombre");
        for (int i = 0; i < 20; ++i)
            v.Fila(Texto("V" + Num(i + 101, 0).substr(1)) + "," + Texto(kVendedores[i]));
    }
    std::vector<std::string> clientes, vendedorDe;
    {
        const char* nombres[] = {"Ferretería", "Materiales",    "Constructora",
                                 "Comercial",  "Distribuidora", "Taller"};
        const char* apellidos[] = {"del Norte",     "El Águila", "San José",  "La Esperanza",
                                   "Hermanos Ruiz", "Central",   "del Valle", "Santa Fe"};
        Insercion c("clientes", "Clave,Nombre,Vendedor");
        const int cuantos = 300;
        for (int i = 1; i <= cuantos; ++i) {
            std::string clave = "C" + Num(10000 + i, 0).substr(1);
            std::string vendedor =
                azar.Prob(0.06) ? "NULL" : "V" + Num(azar.Entre(1, 20) + 100, 0).substr(1);
            clientes.push_back(clave);
            vendedorDe.push_back(vendedor);
            c.Fila(
                Texto(clave) + "," +
                Texto(std::string(nombres[azar.Entre(0, 5)]) + " " + apellidos[azar.Entre(0, 7)]) +
                "," + (vendedor == "NULL" ? vendedor : Texto(vendedor)));
        }
    }
    {
        Insercion l("lineas", "Id,Linea");
        for (int i = 0; i < 15; ++i) l.Fila(std::to_string(i + 1) + "," + Texto(kLineas[i]));
    }
    std::vector<Producto> productos;
    {
        Insercion p("productos", "Clave,Descripcion,Linea");
        for (int i = 1; i <= 400; ++i) {
            const int linea = azar.Entre(1, 15);
            // A few products have no line, or one that lineas lacks.
            std::string lineaSql = i % 97 == 0    ? "NULL"
                                   : i % 131 == 0 ? "99"
                                                  : std::to_string(linea);
            // Lines sell differently: some cheap and frequent, some dear.
            const double precio = (20 + linea * 13) * (0.5 + azar.Uno() * 2.5);
            productos.push_back({"P" + Num(10000 + i, 0).substr(1), precio, linea == 6 ? 0.0 : 16.0,
                                 linea == 14 ? 8.0 : 0.0});
            p.Fila(Texto(productos.back().clave) + "," +
                   Texto(std::string(kLineas[linea - 1]) + " artículo " + std::to_string(i)) + "," +
                   lineaSql);
        }
    }
    std::puts("COMMIT;");

    Documentos docs{azar, productos, clientes, vendedorDe, {}, enOrden};
    double acumulado = 0;
    for (int a = fin.a - anios + 1; a <= fin.a; ++a)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= DiasDelMes(a, m); ++d) {
                if (a == fin.a && (m > fin.m || (m == fin.m && d > fin.d))) break;
                // Business grows a little every year.
                acumulado += kTemporada[m - 1] * (1 + 0.12 * (a - fin.a + anios - 1));
                docs.calendario.push_back({Fecha{a, m, d}, acumulado});
            }
    const double escala = factor * anios / 4.0;
    docs.Escribe("facturas", "facturasdetalle", int(4000 * escala));
    std::puts("COMMIT;");
    docs.Escribe("remisiones", "remisionesdetalle", int(2000 * escala));
    std::puts("COMMIT;");
    docs.Devoluciones(int(180 * escala));
    std::puts("COMMIT;");
    return 0;
}
