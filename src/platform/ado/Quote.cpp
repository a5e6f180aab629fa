#include "platform/ado/Quote.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>

namespace ado {

QString Quote(const QString& value) {
    // A backslash or a control character reads differently under the two backslash modes,
    // so such a value goes as a hex literal, which both modes read alike.
    const bool llano = std::none_of(value.begin(), value.end(),
                                    [](QChar c) { return c == '\\' || c.unicode() < 0x20; });
    if (llano) return "'" + QString(value).replace("'", "''") + "'";
    return "_utf8mb4 X'" + QString::fromLatin1(value.toUtf8().toHex()) + "'";
}

QString QuoteIdentifier(const QString& name) {
    return "`" + QString(name).replace("`", "``") + "`";
}

QString Literal(const QVariant& value) {
    if (value.isNull()) return "NULL";
    switch (value.typeId()) {
        case QMetaType::Bool:
            return value.toBool() ? "1" : "0";
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::UChar:
        case QMetaType::SChar:
            return value.toString();
        case QMetaType::Double:
        case QMetaType::Float:
            return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
        case QMetaType::QDate:
            return Quote(value.toDate().toString("yyyy-MM-dd"));
        case QMetaType::QDateTime:
            return Quote(value.toDateTime().toString("yyyy-MM-dd HH:mm:ss"));
        default:
            return Quote(value.toString());
    }
}

}  // namespace ado
