#include "parametercontrols.h"

namespace ParameterControls {

const QList<Control> &parametri()
{
    static const QList<Control> list = {
        {"CBO_TIPOOPERAZIONE", "CGP5_TIPOCAUSALE", 0, 0},
        {"CBO_TIPOSCADENZA", "CGP5_TIPOSCADENZA", 0, 0},
        {"CBO_MODRECUPERO", "CGP5_INDRECUPERO", 0, 0},
        {"CBO_MODIMPMAX", "CGP5_INDIMPMASSIMO", 0, 0},
        {"CBO_MODIMPSCAD", "CGP5_INDIMPSCADENZA", 0, 0},
        {"CHK_INDGESTABBUONO", "CGP5_INDGESTABBUONI", 0, 0},
        {"CHK_STAMPAASSEGNI", "CGP5_CREADISTINTA", 0, 0},
    };
    return list;
}

const QList<Control> &parametriDitta()
{
    static const QList<Control> list = {
        {"TXT_MESI", "CGP6_MESI", 0, 0},
        {"CHK_DESCRAGGTEST", "CGP6_DESCRAGGTESTATA", 1, 0},
        {"CBO_TIPOREGISTRAZIONE", "CGP6_TIPOREGISTRAZIONE", 1, 0},
        {"CHK_CREADISTINTA", "CGP6_CREADISTINTA", 0, 0},
        {"CHK_GESTIONEACCONTI", "CGP6_INDACCONTI", 0, 0},
        {"CHK_MODIFICACONTI", "CGP6_MODIFICACONTI", 1, 0},
        {"CHK_NUMDATAORI", "CGP6_INDNUMDATADOC", 1, 0},
        {"TXT_DELTAIMPORTO", "CGP6_DELTAIMPORTO", 0, 995022},
        {"CHK_NETTOPREVISIONALI", "CGP6_INDNETTOPREVISIONALI", 0, 0},
        {"TXT_CAUSALECOMPCLI", "CGP6_CAUSALECOMPCLI_CGP0", 0, 995008},
        {"TXT_CAUSALECOMPFOR", "CGP6_CAUSALECOMPFOR_CGP0", 0, 995009},
        {"CBO_MODVISANTEPRIMA", "CGP6_INDVISANTEPRIMA", 0, 0},
        {"CHK_GESTVALUTE", "CGP6_INDPAGVALUTA", 0, 0},
    };
    return list;
}

const QList<Control> &persReg()
{
    static const QList<Control> list = {
        {"TXT_CAUSALECOGE", "CGP7_CAUSALECOGE_CG33", 1, 0},
        {"TXT_CONTODARE", "CGP7_CONTODARE_CG24", 1, 995045},
        {"TXT_CONTOAVERE", "CGP7_CONTOAVERE_CG24", 1, 995047},
        {"CBO_DETTREG", "CGP7_INDDETTREGIST", 1, 0},
        {"CBO_DETTRIGACONT", "CGP7_INDDETTRIGACONT", 1, 0},
        {"TXT_CAUABBUONI", "CGP7_CAUSALEABB_CG33", 1, 0},
        {"TXT_CONTOABBUONIATTIVI", "CGP7_CONTOABBATTIVI_CG24", 1, 0},
        {"TXT_CONTOABBUONIPASSIVI", "CGP7_CONTOABBPASSIVI_CG24", 1, 0},
        {"TXT_TESTOPARAMETRICO", "CGP7_TESTORIGA", 1, 0},
        {"CBO_GESTIONERITENUTE", "CGP7_INDPAGRITENUTE", 1, 0},
        {"TXT_CODPAGACCONTI", "CGP7_CONDPAGACCONTI_CG62", 1, 0},
        {"TXT_SEZIONALEACCONTI", "CGP7_SEZIONALEACCONTI_CG68", 1, 0},
        {"CBO_DESCRCONTRAUTO", "CGP7_INDDESCRCP", 1, 0},
    };
    return list;
}

const Control *find(const QString &name)
{
    for (const QList<Control> *list : {&parametri(), &parametriDitta(), &persReg()}) {
        for (const Control &c : *list) {
            if (name == QLatin1String(c.name))
                return &c;
        }
    }
    return nullptr;
}

} // namespace ParameterControls
