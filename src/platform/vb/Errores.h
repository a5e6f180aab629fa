#pragma once
// Every error number the program raises, by name. Database errors carry the server's own
// number instead.

namespace vbError {
inline constexpr int kArgumentoNoValido = 5;      // invalid procedure call or argument
inline constexpr int kDesbordamiento = 6;         // overflow
inline constexpr int kSubindiceFueraDeRango = 9;  // subscript out of range
inline constexpr int kTiposNoCoinciden = 13;      // type mismatch
inline constexpr int kErrorInterno = 51;
inline constexpr int kArchivoNoEncontrado = 53;
inline constexpr int kAccesoArchivo = 75;  // path/file access error
inline constexpr int kIndicePropiedad = 381;
inline constexpr int kNoCreaObjeto = 429;  // component cannot create the object
inline constexpr int kImpresora = 482;
inline constexpr int kFinDeDatos = 3021;            // BOF or EOF
inline constexpr int kOrigenNoActualizable = 3251;  // recordset cannot be updated
inline constexpr int kElementoNoEncontrado = 3265;  // item not found in the collection
inline constexpr int kObjetoCerrado = 3704;
inline constexpr int kFormulaInvalida = 20515;   // report engine: formula or table error
inline constexpr int kArchivoDeReporte = 20536;  // report engine: a report file it cannot read
inline constexpr int kErrorDeProveedor = -2147467259;  // provider error without a number
}  // namespace vbError

// Server error numbers the program answers itself.
namespace mysqlError {
inline constexpr int kColumnaDesconocida = 1054;    // ER_BAD_FIELD_ERROR
inline constexpr int kTablaExiste = 1050;           // ER_TABLE_EXISTS_ERROR
inline constexpr int kTablaNoExiste = 1146;         // ER_NO_SUCH_TABLE
inline constexpr int kDatoMuyLargo = 1406;          // ER_DATA_TOO_LONG
inline constexpr int kConsultaInterrumpida = 1317;  // ER_QUERY_INTERRUPTED
inline constexpr int kInterbloqueo = 1213;          // ER_LOCK_DEADLOCK, a lost certification too
}  // namespace mysqlError
