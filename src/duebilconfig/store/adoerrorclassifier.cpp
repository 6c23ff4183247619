#include "adoerrorclassifier.h"

#include "adoerror.h"

ErrorTrap::Classifier adoErrorClassifier()
{
    return [](const std::exception &e) -> std::optional<ErrorTrap::Error> {
        const auto *ado = dynamic_cast<const ado::AdoError *>(&e);
        if (!ado)
            return std::nullopt;
        QString description = ado->message();
        if (!ado->statement().isEmpty())
            description += QStringLiteral("\n") + ado->statement().simplified();
        return ErrorTrap::Error{ado->number(), description};
    };
}
