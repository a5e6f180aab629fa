#pragma once
#include <QString>
#include <QVariant>

namespace ado {

// The one place that turns a text into a MySQL string literal for a utf8mb4 connection.
// The result means the same under both settings of NO_BACKSLASH_ESCAPES.
QString Quote(const QString& value);

// A table or column name between backquotes.
QString QuoteIdentifier(const QString& name);

// A value as an SQL literal: NULL, a plain decimal number or a quoted text.
QString Literal(const QVariant& value);

}  // namespace ado
