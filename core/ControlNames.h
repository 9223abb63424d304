#pragma once
// Names of controls. Every control carries its name as objectName, and a
// member of a control array carries the array's name with its index:
// "Degit(7)", "Text2(0)", "Option4(2)". Tests find controls by these names.
#include <QString>

namespace core {

inline QString indexedName(const char* arrayName, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(arrayName)).arg(index);
}

} // namespace core
