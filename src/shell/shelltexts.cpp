#include "shell/shelltexts.h"

QString ShellText::file()
{
    return QStringLiteral(":/duebil/shell/texts/shell.tsv");
}
