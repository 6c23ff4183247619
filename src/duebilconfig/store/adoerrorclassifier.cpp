#include "store/adoerrorclassifier.h"

#include "ado/adoerror.h"
#include "framework/frameworktexts.h"
#include "framework/textstore.h"

QString adoErrorDescription(const ado::AdoError &error, const TextStore *texts)
{
    if (error.kind() == ado::AdoError::Busy && texts)
        return texts->text(FrameworkText::DatabaseBusy) + QLatin1Char('\n') + error.message();
    return error.message();
}

ErrorTrap::Classifier adoErrorClassifier(const TextStore *texts)
{
    return [texts](const std::exception &e) -> std::optional<ErrorTrap::Error> {
        const auto *ado = dynamic_cast<const ado::AdoError *>(&e);
        if (!ado)
            return std::nullopt;
        QString description = adoErrorDescription(*ado, texts);
        if (!ado->statement().isEmpty())
            description += QStringLiteral("\n") + ado->statement().simplified();
        return ErrorTrap::Error{ado->number(), description};
    };
}
