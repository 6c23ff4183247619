#include "framework/frameworktexts.h"

QString FrameworkText::file()
{
    return QStringLiteral(":/duebil/framework/texts/framework.tsv");
}
