#include "window/formtranslator.h"

#include <QHash>
#include <QStringList>

namespace {

const QHash<int, int> &checkTexts()
{
    static const QHash<int, int> table = {
        {1, 6934},   {2, 10848},  {3, 15396},  {4, 17344},  {5, 44968},  {6, 67446},  {7, 44970},  {8, 16998},
        {9, 66719},  {10, 10869}, {11, 33916}, {12, 47926}, {13, 70949}, {14, 49063}, {15, 40277}, {16, 32501},
        {17, 50330}, {18, 50328}, {19, 50325}, {20, 23463}, {21, 6024},  {22, 6064},  {23, 51048}, {24, 10709},
        {25, 85459}, {26, 53511}, {27, 85460}, {28, 85461}, {29, 85462}, {30, 85463}, {31, 39318}, {32, 52384},
    };
    return table;
}

const QHash<int, int> &fieldTexts()
{
    static const QHash<int, int> table = {
        {10, 8531},    {20, 41642},   {30, 49403},   {40, 65002},   {50, 45428},   {60, 85422},   {70, 9191},
        {80, 12190},   {90, 43494},   {100, 15647},  {110, 85423},  {120, 56342},  {130, 50085},  {140, 50579},
        {150, 85424},  {170, 6537},   {180, 85425},  {190, 52112},  {200, 8826},   {210, 18946},  {220, 18210},
        {230, 38667},  {240, 52186},  {250, 8827},   {260, 38675},  {270, 31784},  {280, 85426},  {290, 85427},
        {300, 85428},  {310, 31659},  {320, 85429},  {330, 85430},  {340, 85431},  {350, 85432},  {360, 57949},
        {370, 57951},  {380, 8975},   {390, 8983},   {400, 54030},  {410, 85433},  {420, 31763},  {430, 85434},
        {440, 54066},  {450, 85435},  {460, 60174},  {470, 9485},   {480, 17866},  {490, 8650},   {500, 5385},
        {510, 8695},   {520, 5400},   {530, 48084},  {540, 48086},  {550, 85436},  {560, 85437},  {570, 15905},
        {580, 5349},   {581, 47708},  {590, 14525},  {591, 85438},  {600, 55078},  {610, 42113},  {620, 57263},
        {630, 57138},  {640, 60389},  {650, 54175},  {660, 47926},  {670, 5133},   {680, 53513},  {690, 26187},
        {700, 29253},  {710, 49045},  {720, 85439},  {730, 85440},  {740, 85441},  {750, 85442},  {760, 55298},
        {1000, 40505}, {1010, 40444}, {1020, 8653},  {1030, 85443}, {1040, 85444}, {1050, 51246}, {2000, 47949},
        {2010, 45977}, {2020, 5349},  {2021, 47954}, {2030, 36452}, {2031, 85445}, {2040, 7084},  {2041, 73402},
        {2050, 61595}, {2051, 73403}, {2060, 36476}, {2061, 73404}, {2070, 10232}, {2071, 85446}, {2080, 53640},
        {2081, 73405}, {2090, 85447}, {2091, 85448}, {2100, 85449}, {2101, 85450}, {2110, 85451}, {2111, 85452},
        {3000, 11771}, {3010, 85453}, {3020, 85454}, {3030, 85455}, {3040, 85456}, {3050, 20313}, {3060, 10318},
        {3070, 85457}, {3080, 85458}, {4000, 6616},  {4010, 66749},
    };
    return table;
}

// Catalogue ids compare as numbers, so "5" and 5.0 both find check 5.
int catalogueText(const QHash<int, int> &table, const QVariant &id)
{
    bool ok = false;
    const double value = id.toString().trimmed().toDouble(&ok);
    if (!ok || value != double(int(value)))
        return 0;
    return table.value(int(value), 0);
}

} // namespace

FormTranslator::FormTranslator(TextService service) : m_service(std::move(service)) {}

void FormTranslator::setTextService(TextService service)
{
    m_service = std::move(service);
}

QString FormTranslator::Traduci_IdTesto(int idTesto, const QVariantList &params) const
{
    QStringList texts;
    for (const QVariant &p : params)
        texts.append(p.isValid() && !p.isNull() ? p.toString() : QString());
    bool ok = false;
    QString text;
    try {
        if (m_service)
            text = m_service(idTesto, texts, &ok);
    } catch (...) {
        ok = false;
    }
    return ok ? text : QString::number(idTesto);
}

int FormTranslator::checkTextId(const QVariant &cgp2Id)
{
    return catalogueText(checkTexts(), cgp2Id);
}

int FormTranslator::fieldTextId(const QVariant &cgp1Id)
{
    return catalogueText(fieldTexts(), cgp1Id);
}

QString FormTranslator::Traduci_CGP2_DESCRIZIONE(const QVariant &cgp2Id) const
{
    const int id = checkTextId(cgp2Id);
    return id ? Traduci_IdTesto(id) : QString();
}

QString FormTranslator::Traduci_CGP1_DESCRIZIONE(const QVariant &cgp1Id) const
{
    const int id = fieldTextId(cgp1Id);
    return id ? Traduci_IdTesto(id) : QString();
}
