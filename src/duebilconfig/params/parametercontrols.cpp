#include "params/parametercontrols.h"

namespace ParameterControls {

const QList<Control> &generalParameters()
{
    static const QList<Control> list = {
        {"CBO_TIPOOPERAZIONE", "CGP5_TIPOCAUSALE", 0, 0, Kind::Integer},
        {"CBO_TIPOSCADENZA", "CGP5_TIPOSCADENZA", 0, 0, Kind::Integer},
        {"CBO_MODRECUPERO", "CGP5_INDRECUPERO", 0, 0, Kind::Integer},
        {"CBO_MODIMPMAX", "CGP5_INDIMPMASSIMO", 0, 0, Kind::Integer},
        {"CBO_MODIMPSCAD", "CGP5_INDIMPSCADENZA", 0, 0, Kind::Integer},
        {"CHK_INDGESTABBUONO", "CGP5_INDGESTABBUONI", 0, 0, Kind::Flag},
        {"CHK_STAMPAASSEGNI", "CGP5_CREADISTINTA", 0, 0, Kind::Flag},
    };
    return list;
}

const QList<Control> &companyParameters()
{
    static const QList<Control> list = {
        {"TXT_MESI", "CGP6_MESI", 0, 0, Kind::Integer, 5},
        {"CHK_DESCRAGGTEST", "CGP6_DESCRAGGTESTATA", 1, 0, Kind::Flag},
        {"CBO_TIPOREGISTRAZIONE", "CGP6_TIPOREGISTRAZIONE", 1, 0, Kind::Integer},
        {"CHK_CREADISTINTA", "CGP6_CREADISTINTA", 0, 0, Kind::Flag},
        {"CHK_GESTIONEACCONTI", "CGP6_INDACCONTI", 0, 0, Kind::Flag},
        {"CHK_MODIFICACONTI", "CGP6_MODIFICACONTI", 1, 0, Kind::Flag},
        {"CHK_NUMDATAORI", "CGP6_INDNUMDATADOC", 1, 0, Kind::Flag},
        {"TXT_DELTAIMPORTO", "CGP6_DELTAIMPORTO", 0, 995022, Kind::Decimal, 5},
        {"CHK_NETTOPREVISIONALI", "CGP6_INDNETTOPREVISIONALI", 0, 0, Kind::Flag},
        {"TXT_CAUSALECOMPCLI", "CGP6_CAUSALECOMPCLI_CGP0", 0, 995008, Kind::Integer, 3},
        {"TXT_CAUSALECOMPFOR", "CGP6_CAUSALECOMPFOR_CGP0", 0, 995009, Kind::Integer, 3},
        {"CBO_MODVISANTEPRIMA", "CGP6_INDVISANTEPRIMA", 0, 0, Kind::Integer},
        {"CHK_GESTVALUTE", "CGP6_INDPAGVALUTA", 0, 0, Kind::Flag},
    };
    return list;
}

const QList<Control> &postingParameters()
{
    static const QList<Control> list = {
        {"TXT_CAUSALECOGE", "CGP7_CAUSALECOGE_CG33", 1, 0, Kind::Code, 4},
        {"TXT_CONTODARE", "CGP7_CONTODARE_CG24", 1, 995045, Kind::Code},
        {"TXT_CONTOAVERE", "CGP7_CONTOAVERE_CG24", 1, 995047, Kind::Code},
        {"CBO_DETTREG", "CGP7_INDDETTREGIST", 1, 0, Kind::Integer},
        {"CBO_DETTRIGACONT", "CGP7_INDDETTRIGACONT", 1, 0, Kind::Integer},
        {"TXT_CAUABBUONI", "CGP7_CAUSALEABB_CG33", 1, 0, Kind::Code, 4},
        {"TXT_CONTOABBUONIATTIVI", "CGP7_CONTOABBATTIVI_CG24", 1, 0, Kind::Code},
        {"TXT_CONTOABBUONIPASSIVI", "CGP7_CONTOABBPASSIVI_CG24", 1, 0, Kind::Code},
        {"TXT_TESTOPARAMETRICO", "CGP7_TESTORIGA", 1, 0, Kind::Text, 240},
        {"CBO_GESTIONERITENUTE", "CGP7_INDPAGRITENUTE", 1, 0, Kind::Integer},
        {"TXT_CODPAGACCONTI", "CGP7_CONDPAGACCONTI_CG62", 1, 0, Kind::Code, 6},
        {"TXT_SEZIONALEACCONTI", "CGP7_SEZIONALEACCONTI_CG68", 1, 0, Kind::Code, 2},
        {"CBO_DESCRCONTRAUTO", "CGP7_INDDESCRCP", 1, 0, Kind::Integer},
    };
    return list;
}

const QList<Control> &causalHeader()
{
    static const QList<Control> list = {
        {"TXT_CAUSALE", "CGP0_CAUSALE", -1, 0, Kind::Integer, 3},
        {"TXT_DESCRIZIONE", "CGP0_DESCRIZIONE", -1, 0, Kind::Text, 100},
    };
    return list;
}

const QList<Control> &exclusionRows()
{
    static const QList<Control> list = {
        {"TXT_GRUPPO", "CGP8_ID_FW06", 4, 0, Kind::Integer},
        {"TXT_UTENTE", "CGP8_ID_FW07", 4, 0, Kind::Integer},
    };
    return list;
}

QVariant columnValue(Kind kind, const QVariant &shown)
{
    if (shown.typeId() == QMetaType::Bool)
        return shown.toBool() ? 1 : 0;
    QString text = shown.toString();
    if (kind != Kind::Text)
        text = text.trimmed();
    if (text.isEmpty())
        return {};
    bool ok = false;
    switch (kind) {
    case Kind::Integer:
    case Kind::Flag: {
        const qlonglong number = text.toLongLong(&ok);
        return ok ? QVariant(number) : QVariant();
    }
    case Kind::Decimal: {
        text.replace(QLatin1Char(','), QLatin1Char('.'));
        const double number = text.toDouble(&ok);
        if (!ok)
            return {};
        // A whole amount stays a whole number, as the column gives it back.
        if (number == double(qlonglong(number)) && !text.contains(QLatin1Char('.')))
            return qlonglong(number);
        return number;
    }
    case Kind::Code:
    case Kind::Text:
        break;
    }
    return text;
}

namespace {

const Control *findBy(const char *Control::*member, const QString &value)
{
    for (const QList<Control> *list : {&generalParameters(), &companyParameters(), &postingParameters(), &causalHeader(), &exclusionRows()}) {
        for (const Control &c : *list) {
            if (value == QLatin1String(c.*member))
                return &c;
        }
    }
    return nullptr;
}

} // namespace

const Control *find(const QString &name)
{
    return findBy(&Control::name, name);
}

const Control *findColumn(const QString &column)
{
    return findBy(&Control::column, column);
}

} // namespace ParameterControls
