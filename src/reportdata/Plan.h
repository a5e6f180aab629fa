#pragma once
#include <QString>

namespace reportdata {

// How the builders ask the server: the original statements one figure at a time (the
// reference), or a handful of grouped statements that write the same work table.
enum class Plan { Fiel, Agrupado };

inline const QString kClavePlan = "Plan de consultas";

// The plan a setting names: empty or "agrupado", "fiel"; anything else is error 5 naming the
// key, the value and where it was read.
Plan PlanDe(const QString& valor, const QString& origen);

}  // namespace reportdata
