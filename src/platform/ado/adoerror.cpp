#include "ado/adoerror.h"

namespace ado {

AdoError::AdoError(Kind kind, const QString &message, const QString &statement)
    : std::runtime_error(message.toStdString()), m_kind(kind), m_message(message),
      m_statement(statement)
{
}

int AdoError::number() const
{
    // Numbers in the range of the provider's errors, one per kind, so a message can say
    // which kind of failure it was without parsing the text.
    switch (m_kind) {
    case ConnectionFailed: return -2147467259;
    case Busy: return -2147217871;
    case Full: return -2147217895;
    case MissingObject: return -2147217865;
    case Constraint: return -2147217873;
    case ReadOnly: return -2147217911;
    case Conflict: return -2147217864;
    case Unsupported: return -2147217900;
    case Usage: return 3021;
    case Generic: break;
    }
    return -2147217900 - 1;
}

} // namespace ado
