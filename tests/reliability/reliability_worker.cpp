// A process that rewrites the layout of causal 300 without end, two layouts in turn, for the
// reliability suite to kill: reliability_worker DB
#include "ado/connection.h"
#include "ado/recordset.h"
#include "framework/errortrap.h"
#include "layout/layouteditor.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2)
        return 2;
    auto connection = std::make_shared<ado::Connection>();
    connection->setConnectionString(QStringLiteral("sqlite:") + args.at(1));
    connection->Open(QString(), QString(), QString(), -1);
    ErrorTrap trap(nullptr, nullptr);
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    LayoutEditor editor(connection);
    const QString layouts[2] = {QStringLiteral("10,20,30,40,50,60,70,80"), QStringLiteral("90,100,110")};
    for (int i = 0;; ++i) {
        const ado::RecordsetPtr rows = connection->Execute(
            "SELECT CGP1_DUEBILFIELD.*, 300 AS CGP3_CAUSALE_CGP0, CGP1_ID AS CGP3_IDFIELD_CGP1,"
            " CGP1_ID AS CGP3_VISIBLEORDER, 0 AS CGP3_SORTTYPE, 0 AS CGP3_GROUPED FROM CGP1_DUEBILFIELD"
            " WHERE CGP1_ID IN (" + layouts[i % 2] + ")");
        editor.UpdateLayOut(*rows, QStringLiteral("300"), trap);
    }
}
